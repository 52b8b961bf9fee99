#include "app/RecoveryJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QTimer>
#include <chrono>

#include "app/Document.h"
#include "platform/UniqueFd.h"

namespace ostrel {

namespace {

// How long one slice of copying may hold the window.
constexpr auto kSliceBudget = std::chrono::milliseconds(2);

std::string ReadWhole(const std::string& path)
{
    const TUniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen())
        return {};
    try {
        return file.ReadAll();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

TRecoveryJournal::TRecoveryJournal(std::function<QString(TDocumentPage&)> title, QObject* parent)
    : QObject(parent), title_(std::move(title)), slicer_(new QTimer(this))
{
    slicer_->setInterval(0);
    connect(slicer_, &QTimer::timeout, this, &TRecoveryJournal::Slice);
}

TRecoveryJournal::~TRecoveryJournal() = default;

std::string TRecoveryJournal::JournalPath(TDocumentPage& document) const
{
    const auto found = entries_.find(&document);
    return found == entries_.end() ? std::string() : folder_.JournalPath(found->second.serial);
}

void TRecoveryJournal::Track(TDocumentPage& document)
{
    TEntry& entry = entries_[&document];
    entry.serial = nextSerial_++;
    entry.seenRevision = document.Editor().Lines().Revision();
    entry.debounce = new QTimer(this);
    entry.debounce->setSingleShot(true);
    entry.debounce->setInterval(kDelayMs);
    connect(entry.debounce, &QTimer::timeout, this, [this, &document] { DebounceEnded(document); });
    connect(&document, &TDocumentPage::StatusChanged, this, [this, &document] { Changed(document); });
    connect(&document, &QObject::destroyed, this, [this, page = &document] { Untrack(page); });
}

void TRecoveryJournal::Untrack(TDocumentPage* document)
{
    const auto found = entries_.find(document);
    if (found == entries_.end())
        return;
    delete found->second.debounce;
    if (found->second.written)
        writer_.Remove(folder_.JournalPath(found->second.serial));
    entries_.erase(found);
}

// Every status change passes here (caret moves too); only a change of the
// text restarts the wait.
void TRecoveryJournal::Changed(TDocumentPage& document)
{
    const auto found = entries_.find(&document);
    if (found == entries_.end())
        return;
    TEntry& entry = found->second;
    const uint64_t revision = document.Editor().Lines().Revision();
    if (revision == entry.seenRevision)
        return;
    entry.seenRevision = revision;
    DropSnapshot(entry);
    entry.debounce->start();
}

void TRecoveryJournal::DropSnapshot(TEntry& entry)
{
    if (entry.snapshot)
        writer_.Dispose(entry.snapshot->TakeBlocks());
    entry.snapshot.reset();
}

void TRecoveryJournal::Forget(TDocumentPage& document)
{
    const auto found = entries_.find(&document);
    if (found == entries_.end())
        return;
    TEntry& entry = found->second;
    entry.debounce->stop();
    DropSnapshot(entry);
    entry.seenRevision = document.Editor().Lines().Revision();
    if (std::exchange(entry.written, false))
        writer_.Remove(folder_.JournalPath(entry.serial));
}

void TRecoveryJournal::DebounceEnded(TDocumentPage& document)
{
    TEntry& entry = entries_.at(&document);
    if (!folder_.Usable())
        return;
    if (!document.Editor().Modified()) {
        // Undone back to what is on disk: nothing to keep.
        if (std::exchange(entry.written, false))
            writer_.Remove(folder_.JournalPath(entry.serial));
        return;
    }
    entry.snapshot = std::make_unique<TOstTextSnapshot>(document.Editor().Lines());
    slicer_->start();
}

void TRecoveryJournal::Slice()
{
    const auto deadline = std::chrono::steady_clock::now() + kSliceBudget;
    bool pending = false;
    for (auto& [document, entry] : entries_) {
        if (!entry.snapshot)
            continue;
        if (entry.snapshot->Stale()) {
            DropSnapshot(entry);  // a change restarted the wait already
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline || !entry.snapshot->Continue(deadline)) {
            pending = true;
            continue;
        }
        Submit(*document, entry);
    }
    if (!pending)
        slicer_->stop();
}

void TRecoveryJournal::Submit(TDocumentPage& document, TEntry& entry)
{
    const TOstEdit& editor = document.Editor();
    TOstRecoveryRecord record;
    record.path = document.NativePath();
    record.title = title_(document).toStdString();
    record.encoding = editor.Lines().Encoding();
    record.lineBreaks = editor.Lines().LineBreakStyle();
    record.trailingBreak = editor.Lines().TrailingLineBreak();
    record.modified = editor.Modified();
    record.caretX = editor.CaretX();
    record.caretY = editor.CaretY();
    record.textBlocks = entry.snapshot->TakeBlocks();
    entry.snapshot.reset();
    std::vector<std::string> blocks;
    blocks.reserve(record.textBlocks.size() + 1);
    blocks.push_back(RecoveryHeader(record));
    for (std::string& block : record.textBlocks)
        blocks.push_back(std::move(block));
    writer_.Write(folder_.JournalPath(entry.serial), std::move(blocks), TSafeWriteOptions{.newFileMode = 0600});
    entry.written = true;
}

void TRecoveryJournal::JournalNow(TDocumentPage& document)
{
    TEntry& entry = entries_.at(&document);
    if (!folder_.Usable())
        return;
    entry.debounce->stop();
    entry.seenRevision = document.Editor().Lines().Revision();
    entry.snapshot = std::make_unique<TOstTextSnapshot>(document.Editor().Lines());
    entry.snapshot->Continue(std::chrono::steady_clock::time_point::max());
    Submit(document, entry);
}

std::vector<std::pair<std::string, TOstRecoveryRecord>> TRecoveryJournal::LeftOver() const
{
    std::vector<std::pair<std::string, TOstRecoveryRecord>> found;
    if (!folder_.Usable())
        return found;
    for (const std::string& path : folder_.Orphans()) {
        TOstRecoveryRecord record;
        if (ParseRecoveryRecord(ReadWhole(path), record))
            found.emplace_back(path, std::move(record));
    }
    return found;
}

void TRecoveryJournal::Discard(const std::string& journal) { writer_.Remove(journal); }

void TRecoveryJournal::Shutdown()
{
    slicer_->stop();
    for (auto& [document, entry] : entries_) {
        entry.debounce->stop();
        DropSnapshot(entry);
        if (std::exchange(entry.written, false))
            writer_.Remove(folder_.JournalPath(entry.serial));
    }
    writer_.Drain();
    folder_.Release();
}

void TRecoveryJournal::Flush()
{
    while (slicer_->isActive())
        Slice();
    writer_.Drain();
}

}  // namespace ostrel
