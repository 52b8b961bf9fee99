#include "editor/OstEditUndo.h"

namespace ostrel {

void TOstEditUndoList::AdvanceChangeNumber()
{
    ++nextChangeNumber_;
    // 0 means "no block" and "empty list", so the counter never takes it.
    if (nextChangeNumber_ == 0)
        nextChangeNumber_ = 1;
}

void TOstEditUndoList::AddChange(TOstChangeReason reason, TBufferCoord start, TBufferCoord end,
                                 const std::string& text, TOstSelectionMode mode)
{
    if (lockCount_ > 0)
        return;
    TOstEditUndoItem item;
    item.ChangeReason = reason;
    item.ChangeSelMode = mode;
    item.ChangeStartPos = start;
    item.ChangeEndPos = end;
    item.ChangeStr = text;
    Append(std::move(item));
}

void TOstEditUndoList::AddWholeText(TBufferCoord caret, std::string text, TOstEncoding encoding)
{
    if (lockCount_ > 0)
        return;
    TOstEditUndoItem item;
    item.ChangeReason = crWholeText;
    item.ChangeStartPos = item.ChangeEndPos = caret;
    item.ChangeStr = std::move(text);
    item.Encoding = encoding;
    Append(std::move(item));
}

void TOstEditUndoList::Append(TOstEditUndoItem item)
{
    const TOstChangeReason reason = item.ChangeReason;
    if (blockChangeNumber_ != 0) {
        item.ChangeNumber = blockChangeNumber_;
    } else {
        item.ChangeNumber = nextChangeNumber_;
        AdvanceChangeNumber();
    }
    items_.push_back(std::move(item));
    Trim();
    if (reason != crGroupBreak && OnAddedUndo)
        OnAddedUndo();
}

void TOstEditUndoList::AddToNewestGroup(TOstChangeReason reason, TBufferCoord start, TBufferCoord end,
                                        const std::string& text)
{
    if (lockCount_ > 0)
        return;
    if (blockChangeNumber_ != 0 || items_.empty() || items_.back().ChangeReason == crGroupBreak) {
        AddChange(reason, start, end, text, smNormal);
        return;
    }
    TOstEditUndoItem item;
    item.ChangeReason = reason;
    item.ChangeStartPos = start;
    item.ChangeEndPos = end;
    item.ChangeStr = text;
    item.ChangeNumber = items_.back().ChangeNumber;
    items_.push_back(std::move(item));
    Trim();
    if (OnAddedUndo)
        OnAddedUndo();
}

void TOstEditUndoList::AddGroupBreak()
{
    if (!items_.empty() && items_.back().ChangeReason == crGroupBreak)
        return;
    AddChange(crGroupBreak, {}, {}, std::string(), smNormal);
}

void TOstEditUndoList::BeginBlock()
{
    // A group number set from outside (while a redo or undo step runs) stays
    // in force, so a block opened inside that step joins its group.
    if (blockCount_++ == 0) {
        outerChangeNumber_ = blockChangeNumber_;
        if (blockChangeNumber_ == 0)
            blockChangeNumber_ = nextChangeNumber_;
    }
}

void TOstEditUndoList::EndBlock()
{
    if (blockCount_ == 0)
        return;
    --blockCount_;
    if (blockCount_ != 0)
        return;
    const int closed = blockChangeNumber_;
    blockChangeNumber_ = outerChangeNumber_;
    if (outerChangeNumber_ == 0)
        AdvanceChangeNumber();
    if (!items_.empty() && items_.back().ChangeNumber == closed && OnAddedUndo)
        OnAddedUndo();
}

void TOstEditUndoList::Clear()
{
    items_.clear();
    fullUndoImpossible_ = false;
}

std::unique_ptr<TOstEditUndoItem> TOstEditUndoList::PopItem()
{
    if (items_.empty())
        return nullptr;
    auto item = std::make_unique<TOstEditUndoItem>(std::move(items_.back()));
    items_.pop_back();
    return item;
}

void TOstEditUndoList::PushItem(TOstEditUndoItem item)
{
    items_.push_back(std::move(item));
    Trim();
}

TOstChangeReason TOstEditUndoList::LastChangeReason() const
{
    return items_.empty() ? crNothing : items_.back().ChangeReason;
}

void TOstEditUndoList::SetMaxUndoActions(int value)
{
    if (value < 0)
        return;
    maxUndo_ = value;
    Trim();
}

// Whole steps go, oldest first, and never the newest one: a step cut in
// two would undo into a text that never existed (half a Replace All).
void TOstEditUndoList::Trim()
{
    if (static_cast<int>(items_.size()) <= maxUndo_)
        return;
    fullUndoImpossible_ = true;
    if (maxUndo_ == 0) {
        items_.clear();
        return;
    }
    while (static_cast<int>(items_.size()) > maxUndo_ && items_.front().ChangeNumber != items_.back().ChangeNumber) {
        const int oldest = items_.front().ChangeNumber;
        while (items_.front().ChangeNumber == oldest)
            items_.pop_front();
    }
}

void TOstEditUndoList::MarkTopAsSaved()
{
    savedMark_ = TopChangeNumber();
}

void TOstEditUndoList::MarkModified()
{
    if (savedMark_ == TopChangeNumber())
        savedMark_ = -1;
}

bool TOstEditUndoList::IsAtSavedState() const
{
    return TopChangeNumber() == savedMark_;
}

void TOstEditUndoList::Assign(const TOstEditUndoList& other)
{
    items_ = other.items_;
    maxUndo_ = other.maxUndo_;
    nextChangeNumber_ = other.nextChangeNumber_;
    blockCount_ = other.blockCount_;
    blockChangeNumber_ = other.blockChangeNumber_;
    outerChangeNumber_ = other.outerChangeNumber_;
    lockCount_ = other.lockCount_;
    fullUndoImpossible_ = other.fullUndoImpossible_;
    savedMark_ = other.savedMark_;
}

}  // namespace ostrel
