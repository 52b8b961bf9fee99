#pragma once
// The undo and redo lists of an editor control. Every edit records what it
// changed as items; change numbers tie items into groups that undo in one step.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "editor/OstEditTypes.h"
#include "platform/TextEncoding.h"

namespace ostrel {

enum TOstChangeReason : uint8_t {
    crInsert = 0,
    crPaste = 1,
    crDragDropInsert = 2,
    crDeleteForward = 3,
    crDeleteBackward = 4,
    crLineBreak = 5,
    crIndent = 6,
    crUnindent = 7,
    crDeleteBackwardQuiet = 8,
    crDeleteForwardQuiet = 9,
    crAutoCompleteBegin = 10,
    crAutoCompleteEnd = 11,
    crPasteBegin = 12,
    crPasteEnd = 13,
    crSpecial1Begin = 14,
    crSpecial1End = 15,
    crSpecial2Begin = 16,
    crSpecial2End = 17,
    crCaret = 18,
    crSelection = 19,
    crNothing = 20,
    crGroupBreak = 21,
    crDeleteAll = 22,
    crWhiteSpaceAdd = 23,
    // Trailing blanks that trimming took from a line an edit wrote.
    crWhiteSpaceDelete = 24,
    crPaddingInsert = 25,
    // The whole text and its encoding before a command that rewrote them
    // all (a conversion to another encoding, a recoding).
    crWholeText = 26,
};

// Begin and end markers come in pairs: 10/11, 12/13, 14/15, 16/17.
inline bool IsBeginMarker(TOstChangeReason r)
{
    return r == crAutoCompleteBegin || r == crPasteBegin || r == crSpecial1Begin || r == crSpecial2Begin;
}
inline bool IsEndMarker(TOstChangeReason r)
{
    return r == crAutoCompleteEnd || r == crPasteEnd || r == crSpecial1End || r == crSpecial2End;
}
inline TOstChangeReason MatchingBeginMarker(TOstChangeReason end)
{
    return static_cast<TOstChangeReason>(end - 1);
}
inline TOstChangeReason MatchingEndMarker(TOstChangeReason begin)
{
    return static_cast<TOstChangeReason>(begin + 1);
}

struct TOstEditUndoItem {
    TOstChangeReason ChangeReason = crNothing;
    TOstSelectionMode ChangeSelMode = smNormal;
    TBufferCoord ChangeStartPos;
    TBufferCoord ChangeEndPos;
    std::string ChangeStr;
    int ChangeNumber = 0;
    // On redo items of inserts: the text the insert had overwritten, so that
    // redoing an overwrite replaces it again instead of inserting beside it.
    std::string OverwrittenStr;
    // On line breaks: the blanks before the caret that trimming took from
    // the left part, put back exactly when the break is undone.
    std::string TrimmedStr;
    // On whole-text items: the encoding the text was in.
    TOstEncoding Encoding = TOstEncoding::Windows1250;
};

class TOstEditUndoList {
public:
    TOstEditUndoList() = default;

    void AddChange(TOstChangeReason reason, TBufferCoord start, TBufferCoord end,
                   const std::string& text, TOstSelectionMode mode);
    // The whole text (lines joined by CR LF) with its encoding, and the caret.
    void AddWholeText(TBufferCoord caret, std::string text, TOstEncoding encoding);
    void AddGroupBreak();
    // Records a change that belongs to the newest item's step (the blanks
    // trimming took after an edit): undone and redone with it.
    void AddToNewestGroup(TOstChangeReason reason, TBufferCoord start, TBufferCoord end, const std::string& text);
    void BeginBlock();
    void EndBlock();

    // Discards every item and clears the full-undo-impossible flag.
    void Clear();
    bool CanUndo() const { return !items_.empty(); }
    int ItemCount() const { return static_cast<int>(items_.size()); }
    // The newest item, or nullptr when the list is empty.
    const TOstEditUndoItem* PeekItem() const { return items_.empty() ? nullptr : &items_.back(); }
    TOstEditUndoItem* MutableTop() { return items_.empty() ? nullptr : &items_.back(); }
    std::unique_ptr<TOstEditUndoItem> PopItem();
    // Puts an item back unchanged (its change number kept).
    void PushItem(TOstEditUndoItem item);
    TOstChangeReason LastChangeReason() const;
    const TOstEditUndoItem& Item(int i) const { return items_[static_cast<size_t>(i)]; }

    int MaxUndoActions() const { return maxUndo_; }
    void SetMaxUndoActions(int value);
    bool FullUndoImpossible() const { return fullUndoImpossible_; }

    // While locked, nothing is recorded.
    void Lock() { ++lockCount_; }
    void Unlock() { if (lockCount_ > 0) --lockCount_; }
    bool IsLocked() const { return lockCount_ > 0; }

    int BlockCount() const { return blockCount_; }
    int BlockChangeNumber() const { return blockChangeNumber_; }
    void SetBlockChangeNumber(int n) { blockChangeNumber_ = n; }
    int NextChangeNumber() const { return nextChangeNumber_; }

    // The saved mark behind the editor's modified flag.
    void MarkTopAsSaved();
    void MarkModified();
    bool IsAtSavedState() const;
    int TopChangeNumber() const { return items_.empty() ? 0 : items_.back().ChangeNumber; }

    // Called whenever an item other than a group break was added, and once
    // more when a block closes that the newest item belongs to.
    std::function<void()> OnAddedUndo;

    // Copies every item and every counter of another list (not the callback).
    void Assign(const TOstEditUndoList& other);

private:
    void Append(TOstEditUndoItem item);
    void AdvanceChangeNumber();
    void Trim();

    std::deque<TOstEditUndoItem> items_;
    int maxUndo_ = 1024;
    int nextChangeNumber_ = 1;
    int blockCount_ = 0;
    int blockChangeNumber_ = 0;
    int outerChangeNumber_ = 0;
    int lockCount_ = 0;
    bool fullUndoImpossible_ = false;
    int savedMark_ = 0;
};

// Keeps an undo block open for a scope, so no early return leaves it open.
class TOstUndoBlock {
public:
    explicit TOstUndoBlock(TOstEditUndoList& list) : list_(list) { list_.BeginBlock(); }
    ~TOstUndoBlock() { list_.EndBlock(); }
    TOstUndoBlock(const TOstUndoBlock&) = delete;
    TOstUndoBlock& operator=(const TOstUndoBlock&) = delete;

private:
    TOstEditUndoList& list_;
};

}  // namespace ostrel
