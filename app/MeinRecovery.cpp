// Crash recovery at start: the journals a crashed instance left are listed,
// and each chosen document comes back with its text, encoding, line breaks,
// file path, caption, caret and modified state.

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include "app/Document.h"
#include "app/Mein.h"
#include "app/RecoveryJournal.h"
#include "app/UiGuards.h"

namespace ostrel {

namespace {

QString ItemText(const TOstRecoveryRecord& record)
{
    const QString title = QString::fromStdString(record.title);
    return record.path.empty() ? title : QFile::decodeName(QByteArray::fromStdString(record.path));
}

}  // namespace

bool TOstrel3Main::OfferRecovery()
{
    const auto leftOver = journal_->LeftOver();
    if (leftOver.empty())
        return false;
    QStringList items;
    for (const auto& [journal, record] : leftOver)
        items << ItemText(record);
    const std::optional<std::vector<bool>> chosen = dialogs_->ChooseRecovered(this, items);
    if (!chosen)
        return false;  // asked again at the next start
    bool restored = false;
    for (size_t i = 0; i < leftOver.size(); ++i) {
        if (i < chosen->size() && (*chosen)[i]) {
            RestoreRecovered(leftOver[i].second);
            restored = true;
        }
        // After the restored document's own journal, which is written first.
        journal_->Discard(leftOver[i].first);
    }
    return restored;
}

void TOstrel3Main::RestoreRecovered(const TOstRecoveryRecord& record)
{
    const bool untitled = record.path.empty();
    TUpdatesFrozen frozen(this);
    // The lines come back before a highlighter is attached, so that only
    // the document's own highlighter scans them.
    TDocumentPage* document = AddDocumentTab(nullptr, untitled);
    TOstEdit& editor = document->Editor();
    RestoreRecoveredLines(record, editor.Lines());
    const QString title = QString::fromStdString(record.title);
    if (!untitled) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(record.path));
        document->SetPath(path);
        HighlighterForFile(path, *document);
        RecordDiskState(*document, path);
    } else {
        document->SetHighlighter(smWzor1.Highlighter());
        if (const int number = title.section(u' ', 0, 0).toInt(); number > UntitledCounter)
            UntitledCounter = number;  // later untitled documents go on from it
    }
    pcEdytory1->setTabText(pcEdytory1->indexOf(document), title);
    editor.SetCaretXY({record.caretX, record.caretY});
    editor.SetModified(record.modified);
    RefreshCurrentTab(record.modified);
    journal_->JournalNow(*document);
}

}  // namespace ostrel
