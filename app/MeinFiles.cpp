// Commands on the current document's file: save, save as, save all, rename,
// run it, and show its properties.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include "app/AppErrors.h"
#include "app/Document.h"
#include "app/FileProperties.h"
#include "app/GlobalRes.h"
#include "app/RecoveryJournal.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "platform/SafeWrite.h"

namespace ostrel {

bool TOstrel3Main::WriteDocument(TDocumentPage& document, const QString& path)
{
    if (IsReadOnlyFile(QFile::encodeName(path).toStdString())) {
        dialogs_->Error(this, res::kReadOnlyFile);
        return false;
    }
    if (!MaySaveOver(document, path))
        return false;
    try {
        RecodeBeforeSave(document);
        document.Editor().Lines().SaveToFile(QFile::encodeName(path).toStdString());
        RecordDiskState(document, path);
        journal_->Forget(document);
        return true;
    } catch (const std::exception& error) {
        // The old file is intact; say why rather than let the user believe
        // the text is safe.
        dialogs_->Error(this, SaveErrorText(error));
        return false;
    }
}

bool TOstrel3Main::SaveDocument(TDocumentPage& document)
{
    if (document.Path().isEmpty()) {
        miZapiszjako1Click();
    } else if (WriteDocument(document, document.Path())) {
        UpdateModifiedState(false);
    }
    return !document.Editor().Modified();
}

void TOstrel3Main::miZapisz1Click() { SaveDocument(*RequireCurrentDocument()); }

void TOstrel3Main::miZapiszjako1Click()
{
    TDocumentPage* document = RequireCurrentDocument();
    TellDialogsTheFolder();
    const QString chosen = dialogs_->SaveFile(this, TFileDialogId::Save, res::kFileFilters);
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    try {
        const TWaitCursor wait;
        if (WriteDocument(*document, path)) {
            document->SetPath(path);
            pcEdytory1->setTabText(pcEdytory1->indexOf(document), QFileInfo(path).fileName());
            UpdateModifiedState(false);
            pcEdytory1Change();
        }
    } catch (const std::exception& error) {
        dialogs_->Error(this, SaveErrorText(error));
    }
}

void TOstrel3Main::miZapiszwszystkie1Click()
{
    QWidget* active = pcEdytory1->currentWidget();
    for (int i = DocumentCount() - 1; i >= 0; --i) {
        ActivateDocument(i);
        pcEdytory1Change();
        miZapisz1Click();
    }
    ActivateDocument(pcEdytory1->indexOf(active));
    pcEdytory1Change();
}

bool TOstrel3Main::IsValidFileName(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return std::none_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

void TOstrel3Main::miZmienNazwe1Click()
{
    TDocumentPage* document = RequireCurrentDocument();
    if (document->Editor().Modified()) {
        dialogs_->Information(this, res::kRenameSaveFirst);
        return;
    }
    const QFileInfo file(document->Path());
    const QString answer = dialogs_->Input(this, res::kMessageCaption, res::kRenamePrompt, file.fileName());
    if (answer == file.fileName())
        return;
    const QString target = file.dir().filePath(answer);
    if (!answer.isEmpty() && QFileInfo::exists(target)) {
        dialogs_->Information(this, res::kRenameExists);
        return;
    }
    if (!IsValidFileName(answer)) {
        dialogs_->Error(this, res::kRenameInvalid);
        return;
    }
    if (answer.isEmpty()) {
        dialogs_->Information(this, res::kRenameEmpty);
        return;
    }
    if (!QFile::rename(document->Path(), target)) {
        dialogs_->Error(this, res::kRenameFailed);
        return;
    }
    document->SetPath(QFileInfo(target).absoluteFilePath());
    pcEdytory1->setTabText(pcEdytory1->indexOf(document), answer);
    pcEdytory1Change();
}

void TOstrel3Main::miWlasciwosci1Click()
{
    auto* window = new TwndWlasciwosci(RequireCurrentDocument()->Path(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

// The file on disk is what runs; unsaved changes are not saved first.
void TOstrel3Main::miUruchomPlik1Click()
{
    if (OpenWithDesktop)
        OpenWithDesktop(RequireCurrentDocument()->Path());
}

}  // namespace ostrel
