#include "app/Dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include "app/GlobalRes.h"
#include "app/dlgRecovery.h"

namespace ostrel {

namespace {

QString QtFilter(const QString& name, const QString& patterns)
{
    QStringList list;
    for (const QString& p : patterns.split(u';', Qt::SkipEmptyParts))
        list << (p.trimmed() == u"*.*" ? QStringLiteral("*") : p.trimmed());
    QString title = name.trimmed();
    const qsizetype open = title.lastIndexOf(u'(');
    if (open > 0 && title.endsWith(u')'))
        title = title.left(open).trimmed();
    return title + QStringLiteral(" (") + list.join(u' ') + u')';
}

int ShowMessage(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, res::kMessageCaption, text, buttons, owner);
    return box.exec();
}

}  // namespace

QString ConvertFileFilters(const QString& filters)
{
    const QStringList parts = filters.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << QtFilter(parts[i], parts[i + 1]);
    return result.join(QStringLiteral(";;"));
}

TAnswer TQtDialogs::Question(QWidget* owner, const QString& text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    switch (ShowMessage(owner, QMessageBox::Question, text, buttons)) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        // Closing the box counts as the safe answer: Cancel when there is
        // one, No otherwise.
        return withCancel ? TAnswer::Cancel : TAnswer::No;
    }
}

void TQtDialogs::Information(QWidget* owner, const QString& text)
{
    ShowMessage(owner, QMessageBox::Information, text, QMessageBox::Ok);
}

void TQtDialogs::Warning(QWidget* owner, const QString& text)
{
    ShowMessage(owner, QMessageBox::Warning, text, QMessageBox::Ok);
}

void TQtDialogs::Error(QWidget* owner, const QString& text)
{
    ShowMessage(owner, QMessageBox::Critical, text, QMessageBox::Ok);
}

QString TQtDialogs::Input(QWidget* owner, const QString& caption, const QString& prompt,
                          const QString& initial)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? answer : initial;
}

QString TQtDialogs::StartFolder(const TPlace& place) const
{
    return documentFolder_.isEmpty() ? place.folder : documentFolder_;
}

void TQtDialogs::Remember(TPlace& place, const QFileDialog& dialog)
{
    const QStringList files = dialog.selectedFiles();
    place.folder = files.isEmpty() ? dialog.directory().absolutePath() : QFileInfo(files.first()).absolutePath();
    place.filter = dialog.selectedNameFilter();
}

QStringList TQtDialogs::OpenFiles(QWidget* owner, const QString& filters, std::optional<TOstEncoding>& encoding)
{
    TPlace& place = places_[TFileDialogId::Open];
    QFileDialog dialog(owner, QString(), StartFolder(place), ConvertFileFilters(filters));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!place.filter.isEmpty())
        dialog.selectNameFilter(place.filter);
    QComboBox* encodings = AddEncodingChoice(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    Remember(place, dialog);
    const int chosen = encodings->currentData().toInt();
    encoding = chosen < 0 ? std::nullopt : std::optional<TOstEncoding>(static_cast<TOstEncoding>(chosen));
    return dialog.selectedFiles();
}

// A row below the file type: "Automatycznie", then every encoding. The
// dialog is the program's own, as a desktop's dialog takes no extra row.
QComboBox* TQtDialogs::AddEncodingChoice(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* combo = new QComboBox(&dialog);
    combo->setObjectName(QStringLiteral("cbKodowanie1"));
    combo->addItem(res::kAutomaticEncoding, -1);
    for (int i = 0; i < kEncodingCount; ++i) {
        const std::string_view title = EncodingTitle(static_cast<TOstEncoding>(i));
        combo->addItem(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())), i);
    }
    auto* label = new QLabel(res::kEncodingLabel, &dialog);
    label->setBuddy(combo);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
    }
    return combo;
}

QString TQtDialogs::SaveFile(QWidget* owner, TFileDialogId id, const QString& filters,
                             const QString& defaultSuffix)
{
    TPlace& place = places_[id];
    QFileDialog dialog(owner, QString(), StartFolder(place), ConvertFileFilters(filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!place.filter.isEmpty())
        dialog.selectNameFilter(place.filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    Remember(place, dialog);
    return dialog.selectedFiles().first();
}

std::optional<QColor> TQtDialogs::ChooseColor(QWidget* owner, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, owner);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

std::optional<QFont> TQtDialogs::ChooseFont(QWidget* owner, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

std::optional<QFont> TQtDialogs::ChooseEditorFont(QWidget* owner, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner, QString(), QFontDialog::MonospacedFonts);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

bool TQtDialogs::Print(QWidget* owner, QPrinter& printer)
{
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtDialogs::PrinterSetup(QWidget* owner, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::vector<bool>> TQtDialogs::ChooseRecovered(QWidget* owner, const QStringList& items)
{
    TdlgRecovery dialog(owner, items);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}

}  // namespace ostrel
