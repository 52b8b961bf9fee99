#pragma once
// The crash recovery journal: each document with unsaved changes, untitled
// ones too, is written to the recovery folder two seconds after its last
// change. The text is copied in slices between the events of the window and
// written on a thread of its own, so no key typed meanwhile waits for it.
// Saving or closing a document removes its journal; a normal end leaves none.

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/OstRecoveryRecord.h"
#include "platform/BackgroundWriter.h"
#include "platform/RecoveryFolder.h"

class QTimer;

namespace ostrel {

class TDocumentPage;

class TRecoveryJournal : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 2000;

    // title gives a document's caption as its tab shows it.
    TRecoveryJournal(std::function<QString(TDocumentPage&)> title, QObject* parent);
    ~TRecoveryJournal() override;

    void Track(TDocumentPage& document);
    // The document was saved: its journal goes until the next change.
    void Forget(TDocumentPage& document);
    // Journals the document now, in one piece (a document just restored).
    void JournalNow(TDocumentPage& document);

    // Journals of an instance that ended without closing its documents,
    // oldest first, with what they hold; damaged ones are left out.
    std::vector<std::pair<std::string, TOstRecoveryRecord>> LeftOver() const;
    // Removes a left-over journal, after whatever is being written now.
    void Discard(const std::string& journal);
    // A normal end: every journal of ours goes, and the instance's lock.
    void Shutdown();
    // Waits until the journals in progress are on disk.
    void Flush();
    // The journal a document has (or would have).
    std::string JournalPath(TDocumentPage& document) const;

private:
    struct TEntry {
        int serial = 0;
        QTimer* debounce = nullptr;
        uint64_t seenRevision = 0;
        std::unique_ptr<TOstTextSnapshot> snapshot;
        bool written = false;
    };
    void Changed(TDocumentPage& document);
    void DebounceEnded(TDocumentPage& document);
    void Slice();
    void Submit(TDocumentPage& document, TEntry& entry);
    void Untrack(TDocumentPage* document);
    void DropSnapshot(TEntry& entry);

    std::function<QString(TDocumentPage&)> title_;
    TRecoveryFolder folder_;
    TBackgroundWriter writer_;
    std::map<TDocumentPage*, TEntry> entries_;
    QTimer* slicer_;
    int nextSerial_ = 1;
};

}  // namespace ostrel
