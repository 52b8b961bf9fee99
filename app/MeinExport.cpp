// Polish recoding of the current document and its exports: UTF-8, the
// selection to a file, appending to a file, and RTF with the highlighter's
// colours.

#include <QAction>
#include <QFile>
#include <QFileInfo>

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "editor/OstPolishRecode.h"
#include "print/OstEditExport.h"
#include "platform/SafeWrite.h"
#include "print/OstExportRTF.h"

namespace ostrel {

namespace {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool HasText(const TOstEditStringList& lines) { return lines.Count() > 1 || (lines.Count() == 1 && !lines[0].empty()); }

}  // namespace

// ---- recoding ---------------------------------------------------------------------------

void TOstrel3Main::SetDecodeBeforeSave(int value)
{
    // Anything else (a hand-edited setting) would recode nothing anyway.
    DecodeBeforeSave = value == 1 || value == 2 ? value : 0;
}

void TOstrel3Main::RecodeDocument(TDocumentPage& document, TOstPolishRecoding recoding)
{
    {
        const TUpdatesFrozen frozen(this);
        const TWaitCursor wait;
        RecodeEditor(document.Editor(), recoding);
    }
    if (&document == CurrentDocument()) {
        UpdateModifiedState(document.Editor().Modified());
        UpdateEncodingItems();
    }
}

void TOstrel3Main::miPrzekodujNaISO1Click()
{
    RecodeDocument(*RequireCurrentDocument(), TOstPolishRecoding::ToIso);
}

void TOstrel3Main::miPrzekodujNaWindows1Click()
{
    RecodeDocument(*RequireCurrentDocument(), TOstPolishRecoding::ToWindows);
}

void TOstrel3Main::miPrzekodujNaBezPolskich1Click()
{
    RecodeDocument(*RequireCurrentDocument(), TOstPolishRecoding::StripDiacritics);
}

// The document being written is recoded, which is the current one whenever
// a save starts from the menus; a later failure to write leaves it recoded.
void TOstrel3Main::RecodeBeforeSave(TDocumentPage& document)
{
    if (DecodeBeforeSave == 1)
        RecodeDocument(document, TOstPolishRecoding::ToIso);
    else if (DecodeBeforeSave == 2)
        RecodeDocument(document, TOstPolishRecoding::ToWindows);
}

// ---- exports ----------------------------------------------------------------------------

void TOstrel3Main::UpdateExportItems()
{
    const TDocumentPage* document = CurrentDocument();
    if (!document)
        return;
    const TOstEdit& editor = document->Editor();
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miEksportZaznaczonyTekstDoPliku1")), editor.SelAvail());
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miExportRTF1")),
                   document->Highlighter() != nullptr && HasText(editor.Lines()));
}

// The chosen path, or empty when the dialog was cancelled or the chosen
// file may not be written (after saying so).
QString TOstrel3Main::RunExportDialog(const QString& filter, const QString& defaultSuffix)
{
    TellDialogsTheFolder();
    const QString chosen = dialogs_->SaveFile(this, TFileDialogId::Export, filter, defaultSuffix);
    if (chosen.isEmpty())
        return {};
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (IsReadOnlyFile(NativePath(path))) {
        dialogs_->Error(this, res::kReadOnlyFile);
        return {};
    }
    return path;
}

void TOstrel3Main::miUTF8Click()
{
    const TDocumentPage* document = RequireCurrentDocument();
    const QString path = RunExportDialog(res::kExportFilter, {});
    if (!path.isEmpty())
        ExportUtf8(NativePath(path), JoinedText(document->Editor().Lines()), document->Editor().Encoding());
}

void TOstrel3Main::miEksportZaznaczonyTekstDoPliku1Click()
{
    const TDocumentPage* document = RequireCurrentDocument();
    const QString path = RunExportDialog(res::kExportFilter, {});
    if (!path.isEmpty())
        WriteFileSafely(NativePath(path), document->Editor().SelText());
}

void TOstrel3Main::miExportDolaczNaKoniecPliku1Click()
{
    const TDocumentPage* document = RequireCurrentDocument();
    const QString path = RunExportDialog(res::kExportFilter, {});
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        dialogs_->Warning(this, res::kAppendTargetMissing);
        return;
    }
    AppendToFileSafely(NativePath(path), JoinedText(document->Editor().Lines()));
}

TOstExporterRTF& TOstrel3Main::RtfExporter()
{
    if (!seRtf1) {
        seRtf1 = std::make_unique<TOstExporterRTF>();
        ApplyMainWindowExportSettings(*seRtf1);
    }
    return *seRtf1;
}

// A document the exporter refuses (no highlighter, no text) writes no file;
// the menu item is disabled for such a document anyway.
void TOstrel3Main::miExportRTF1Click()
{
    const TDocumentPage* document = RequireCurrentDocument();
    const QString path = RunExportDialog(res::kRtfExportFilter, QStringLiteral("rtf"));
    if (path.isEmpty())
        return;
    const TWaitCursor wait;
    (void)ExportLinesToFile(RtfExporter(), document->Highlighter(), document->Editor().Lines(), NativePath(path));
}

}  // namespace ostrel
