// Undoing and redoing recorded items, and the line break that redo re-runs.

#include <algorithm>

#include "editor/OstEdit.h"
#include "editor/OstTextLines.h"

namespace ostrel {

namespace {

bool IsDeleteReason(TOstChangeReason r)
{
    return r == crDeleteForward || r == crDeleteBackward || r == crDeleteBackwardQuiet ||
           r == crDeleteForwardQuiet || r == crDeleteAll || r == crWhiteSpaceDelete;
}

bool IsForwardDelete(TOstChangeReason r)
{
    return r == crDeleteForward || r == crDeleteForwardQuiet || r == crDeleteAll || r == crWhiteSpaceDelete;
}

bool IsInsertReason(TOstChangeReason r)
{
    return r == crInsert || r == crPaste || r == crDragDropInsert;
}

// The reason of the newest item of a group (at the top of the list) that is
// not trimming; trimming's own when the group holds nothing else.
TOstChangeReason EditReasonOf(const TOstEditUndoList& list, int group)
{
    for (int i = list.ItemCount() - 1; i >= 0 && list.Item(i).ChangeNumber == group; --i)
        if (list.Item(i).ChangeReason != crWhiteSpaceDelete)
            return list.Item(i).ChangeReason;
    return crWhiteSpaceDelete;
}

}  // namespace

// Where deleted text goes back: the earlier end, or a column block's top
// left.
TBufferCoord TCustomOstEdit::InsertionPoint(const TOstEditUndoItem& item) const
{
    const TBufferCoord a = item.ChangeStartPos;
    const TBufferCoord b = item.ChangeEndPos;
    if (item.ChangeSelMode == smColumn)
        return ColumnBlockStart(a, b);
    return std::min(a, b);
}

// Holds what one undo or redo of an item changes for its duration: the
// selection mode becomes the item's, the caret may stand anywhere, and the
// paint lock is held.
class TCustomOstEdit::UndoRedoStep {
public:
    UndoRedoStep(TCustomOstEdit& editor, TOstSelectionMode mode)
        : editor_(editor), lock_(editor), oldMode_(editor.activeSelectionMode_),
          hadScrollPastEol_(editor.options_.has(eoScrollPastEol)), wasExact_(editor.exactPositions_)
    {
        editor_.activeSelectionMode_ = mode;
        editor_.options_.include(eoScrollPastEol);
        // Text goes back exactly where it was, also where a mark joined to
        // the character before it has made that place the inside of one.
        editor_.exactPositions_ = true;
    }
    ~UndoRedoStep()
    {
        editor_.activeSelectionMode_ = oldMode_;
        editor_.options_.set(eoScrollPastEol, hadScrollPastEol_);
        editor_.exactPositions_ = wasExact_;
        // The item's mode may have let the ends into virtual space.
        editor_.ClampBlockToMode();
        if (!wasExact_)
            editor_.SetCaretXYEx(false, editor_.CaretXY());
    }
    UndoRedoStep(const UndoRedoStep&) = delete;
    UndoRedoStep& operator=(const UndoRedoStep&) = delete;

private:
    TCustomOstEdit& editor_;
    TOstPaintLockGuard lock_;
    TOstSelectionMode oldMode_;
    bool hadScrollPastEol_;
    bool wasExact_;
};

void TCustomOstEdit::SetCaretAndSelection(TBufferCoord caret, TBufferCoord blockBegin, TBufferCoord blockEnd)
{
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(true, caret);
    if (SelAvail())
        InvalidateLines(blockBegin_.Line, blockEnd_.Line);
    // Ends stay where given (virtual space included), but never inside a
    // character, which an edit can make of a place: a mark that joins the
    // character before it once what stood between them is gone.
    const auto onBoundary = [this](TBufferCoord p) {
        return exactPositions_ ? p : TBufferCoord{SnapCharPos(p.Line, p.Char), p.Line};
    };
    blockBegin_ = onBoundary(blockBegin);
    blockEnd_ = onBoundary(blockEnd);
    if (SelAvail())
        InvalidateLines(blockBegin_.Line, blockEnd_.Line);
    StatusChanged(scSelection);
}

void TCustomOstEdit::InsertTextAt(TBufferCoord at, const std::string& text, TOstSelectionMode mode, int column)
{
    SetCaretAndSelection(at, at, at);
    SetSelTextPrimitive(mode, text, false, crInsert, column);
}

int TCustomOstEdit::ColumnBlockLeft(const TOstEditUndoItem& item) const
{
    if (item.ChangeSelMode != smColumn)
        return 0;
    int left = 0, right = 0;
    ColumnBlockColumns(item.ChangeStartPos, item.ChangeEndPos, left, right);
    return left;
}

// Items that only carry positions reverse the same way in both directions:
// the opposite list gets the current state, the item's state comes back.
// Markers and group breaks have nothing to reverse.
void TCustomOstEdit::ReversePositionItem(const TOstEditUndoItem& item, TOstEditUndoList& opposite)
{
    const TBufferCoord start = item.ChangeStartPos;
    const TBufferCoord end = item.ChangeEndPos;
    switch (item.ChangeReason) {
    case crIndent:
        opposite.AddChange(crIndent, start, end, item.ChangeStr, item.ChangeSelMode);
        SetCaretAndSelection(end, start, end);
        break;
    case crCaret:
        opposite.AddChange(crCaret, CaretXY(), CaretXY(), std::string(), activeSelectionMode_);
        SetCaretXYEx(true, start);
        break;
    case crSelection:
        opposite.AddChange(crSelection, BlockBegin(), BlockEnd(), std::string(), activeSelectionMode_);
        SetCaretAndSelection(CaretXY(), start, end);
        break;
    default:
        break;
    }
}

// ---- undo ------------------------------------------------------------------------------

// One user step: the newest group of `from`, or everything between a pair of
// markers, or with eoGroupUndo a run of items of one kind. Undoing ends at an
// end marker's begin marker, redoing the other way round. The items the step
// puts on `to` share one group number, so the step reverses as one again.
void TCustomOstEdit::RunGroupedStep(bool undoing)
{
    TOstEditUndoList& from = undoing ? undoList_ : redoList_;
    TOstEditUndoList& to = undoing ? redoList_ : undoList_;
    const auto opens = undoing ? IsEndMarker : IsBeginMarker;
    const auto partner = undoing ? MatchingBeginMarker : MatchingEndMarker;
    const auto reverseOne = [&] { undoing ? UndoItem() : RedoItem(); };

    const TOstEditUndoItem* top = from.PeekItem();
    const int group = top->ChangeNumber;
    // Trimmed blanks ride along with the edit they followed: the step is
    // judged by the items of the edits themselves.
    const TOstChangeReason firstReason = EditReasonOf(from, group);
    const int savedBlock = to.BlockChangeNumber();
    to.SetBlockChangeNumber(group);
    TOstChangeReason reversed = firstReason;
    while (true) {
        if (from.PeekItem()->ChangeReason != crWhiteSpaceDelete)
            reversed = from.PeekItem()->ChangeReason;
        reverseOne();
        top = from.PeekItem();
        if (!top)
            break;
        if (opens(firstReason)) {
            if (top->ChangeReason == partner(firstReason))
                break;
            continue;
        }
        const bool sameGroup = top->ChangeNumber == group;
        const TOstChangeReason next = EditReasonOf(from, top->ChangeNumber);
        const bool grouped = options_.has(eoGroupUndo) && next == reversed && reversed != crIndent &&
                             reversed != crUnindent;
        if (!sameGroup && !grouped)
            break;
    }
    if (opens(firstReason) && top && top->ChangeReason == partner(firstReason))
        reverseOne();
    // Redone, the trimming of a step comes after the step's last item.
    for (top = from.PeekItem(); top && top->ChangeNumber == group && top->ChangeReason == crWhiteSpaceDelete;
         top = from.PeekItem())
        reverseOne();
    to.SetBlockChangeNumber(savedBlock);
}

void TCustomOstEdit::Undo()
{
    if (readOnly_)
        return;
    TOstPaintLockGuard lock(*this);
    // Undo puts back the text as it was, blanks included.
    const TrimSuspendScope exact(*this);
    const TOstEditUndoItem* top = undoList_.PeekItem();
    if (top && top->ChangeReason == crGroupBreak) {
        redoList_.PushItem(*undoList_.PopItem());
        top = undoList_.PeekItem();
    }
    if (!top)
        return;
    RunGroupedStep(true);
    StatusChanged(scModified);
}

void TCustomOstEdit::UndoItem()
{
    const std::unique_ptr<TOstEditUndoItem> owned = undoList_.PopItem();
    if (!owned)
        return;
    const TOstEditUndoItem& item = *owned;
    const TOstSelectionMode mode = item.ChangeSelMode;
    UndoRedoStep step(*this, mode);
    const TBufferCoord start = item.ChangeStartPos;
    const TBufferCoord end = item.ChangeEndPos;

    if (IsInsertReason(item.ChangeReason) || item.ChangeReason == crPaddingInsert) {
        SetCaretAndSelection(start, start, end);
        const std::string inserted = UndoTextOfSelection();
        redoList_.AddChange(item.ChangeReason, start, end, inserted, mode);
        if (TOstEditUndoItem* redoItem = redoList_.MutableTop(); redoItem && !item.ChangeStr.empty())
            redoItem->OverwrittenStr = item.ChangeStr;
        SetSelTextPrimitive(mode, item.ChangeStr);
        SetCaretAndSelection(start, start, start);
    } else if (IsDeleteReason(item.ChangeReason)) {
        const TBufferCoord at = InsertionPoint(item);
        if (IsForwardDelete(item.ChangeReason) && at.Line > lines_.Count())
            lines_.AddLine(std::string_view());
        InsertTextAt(at, item.ChangeStr, mode, ColumnBlockLeft(item));
        const TBufferCoord caret = IsForwardDelete(item.ChangeReason) ? start : end;
        if (item.ChangeReason == crDeleteForward || item.ChangeReason == crDeleteBackward)
            SetCaretAndSelection(caret, start, end);
        else
            SetCaretAndSelection(caret, caret, caret);
        redoList_.AddChange(item.ChangeReason, start, end, std::string(), mode);
        if (item.ChangeReason == crDeleteAll)
            SetCaretAndSelection({1, 1}, {1, 1}, {1, 1});
        EnsureCursorPosVisible();
    } else {
        switch (item.ChangeReason) {
        case crLineBreak: UndoLineBreak(item); break;
        case crUnindent: UndoUnindent(item); break;
        case crWholeText: ReverseWholeText(item, redoList_); break;
        default: ReversePositionItem(item, redoList_); break;
        }
    }
}

void TCustomOstEdit::UndoLineBreak(const TOstEditUndoItem& item)
{
    const TBufferCoord start = item.ChangeStartPos;
    redoList_.AddChange(crLineBreak, start, item.ChangeEndPos, item.ChangeStr, item.ChangeSelMode);
    const LineEditScope edit(*this);
    if (start.Line == 0) {
        // The first line of an empty buffer, added by a column insert.
        lines_.RemoveLine(0);
        SetCaretAndSelection({1, 1}, {1, 1}, {1, 1});
        return;
    }
    SetCaretAndSelection(start, start, start);
    std::string line(lines_.Get(start.Line - 1));
    // Blanks the break trimmed off the left part come back before the text.
    if (!item.TrimmedStr.empty()) {
        line += item.TrimmedStr;
    } else {
        const bool textStartsBlank = !item.ChangeStr.empty() &&
                                     (item.ChangeStr[0] == ' ' || item.ChangeStr[0] == '\t');
        if (!item.ChangeStr.empty() && !textStartsBlank && static_cast<int>(line.size()) < start.Char - 1)
            line.append(static_cast<size_t>(start.Char - 1) - line.size(), ' ');
    }
    WriteLine(start.Line, line + item.ChangeStr);
    if (start.Line < lines_.Count())
        lines_.RemoveLine(start.Line);
    SetCaretAndSelection(start, start, start);
}

void TCustomOstEdit::UndoUnindent(const TOstEditUndoItem& item)
{
    const TBufferCoord start = item.ChangeStartPos;
    const TBufferCoord end = item.ChangeEndPos;
    redoList_.AddChange(crUnindent, start, end, item.ChangeStr, item.ChangeSelMode);
    const TBufferCoord at = item.ChangeSelMode == smColumn ? ColumnBlockStart(start, end)
                                                           : TBufferCoord{1, std::min(start.Line, end.Line)};
    activeSelectionMode_ = smColumn;
    InsertTextAt(at, item.ChangeStr, smColumn, item.ChangeSelMode == smColumn ? ColumnBlockLeft(item) : 1);
    activeSelectionMode_ = item.ChangeSelMode;
    SetCaretAndSelection(start, start, end);
}

// ---- redo ------------------------------------------------------------------------------

void TCustomOstEdit::Redo()
{
    if (readOnly_ || !redoList_.PeekItem())
        return;
    TOstPaintLockGuard lock(*this);
    // The trimming of the edit comes back as its own recorded item.
    const TrimSuspendScope exact(*this);
    redoRunning_ = true;
    RunGroupedStep(false);
    redoRunning_ = false;
    const TOstEditUndoItem* top = redoList_.PeekItem();
    if (top && top->ChangeReason == crGroupBreak)
        undoList_.PushItem(*redoList_.PopItem());
    StatusChanged(scModified);
}

void TCustomOstEdit::RedoItem()
{
    const std::unique_ptr<TOstEditUndoItem> owned = redoList_.PopItem();
    if (!owned)
        return;
    const TOstEditUndoItem& item = *owned;
    const TOstSelectionMode mode = item.ChangeSelMode;
    UndoRedoStep step(*this, mode);
    const TBufferCoord start = item.ChangeStartPos;
    const TBufferCoord end = item.ChangeEndPos;

    if (IsInsertReason(item.ChangeReason) || item.ChangeReason == crPaddingInsert) {
        // An overwrite replaces what it overwrote, within its line.
        const TBufferCoord overwrittenEnd{start.Char + static_cast<int>(item.OverwrittenStr.size()), start.Line};
        SetCaretAndSelection(start, start, overwrittenEnd);
        const std::string overwritten = UndoTextOfSelection();
        SetSelTextPrimitive(mode, item.ChangeStr);
        SetCaretXYEx(true, end);
        undoList_.AddChange(item.ChangeReason, start, end, overwritten, mode);
        if (item.ChangeReason == crDragDropInsert)
            SetCaretAndSelection(end, start, end);
        else
            SetCaretAndSelection(end, end, end);
    } else if (IsDeleteReason(item.ChangeReason)) {
        SetCaretAndSelection(start, start, end);
        undoList_.AddChange(item.ChangeReason, start, end, UndoTextOfSelection(), mode);
        SetSelTextPrimitive(mode, std::string_view());
        SetCaretAndSelection(start, start, start);
    } else {
        switch (item.ChangeReason) {
        case crLineBreak:
            if (mode == smColumn) {
                // A line a column insert added below the last line.
                const LineEditScope edit(*this);
                lines_.InsertLine(std::min(start.Line, lines_.Count()), std::string_view());
                undoList_.AddChange(crLineBreak, start, end, std::string(), smColumn);
            } else {
                SetCaretAndSelection(start, start, start);
                InsertLineBreak(end != start);
            }
            break;
        case crUnindent: RedoUnindent(item); break;
        case crWholeText: ReverseWholeText(item, undoList_); break;
        default: ReversePositionItem(item, undoList_); break;
        }
    }
}

void TCustomOstEdit::RedoUnindent(const TOstEditUndoItem& item)
{
    const TBufferCoord start = item.ChangeStartPos;
    const TBufferCoord end = item.ChangeEndPos;
    undoList_.AddChange(crUnindent, start, end, item.ChangeStr, item.ChangeSelMode);
    int left = 1, right = 1;
    if (item.ChangeSelMode == smColumn)
        ColumnBlockColumns(start, end, left, right);
    int line = std::min(start.Line, end.Line);
    for (const std::string_view row : SplitTextLines(item.ChangeStr)) {
        std::string s(lines_.Get(line - 1));
        const int at = CharAtColumnCeil(line, left);
        if (static_cast<int>(s.size()) >= at)
            s.erase(static_cast<size_t>(at - 1), row.size());
        WriteLine(line, s);
        ++line;
    }
    SetCaretAndSelection(start, start, end);
}

// ---- the line break -----------------------------------------------------------------------

void TCustomOstEdit::InsertLineBreak(bool moveCaret)
{
    if (readOnly_)
        return;
    TOstPaintLockGuard lock(*this);
    TOstUndoBlock block(undoList_);
    if (SelAvail()) {
        RecordDeleteOfSelection(crDeleteBackward);
        SetSelTextPrimitive(activeSelectionMode_, std::string_view());
    }
    TOstBufferUpdateGuard update(lines_);
    if (lines_.Count() == 0)
        lines_.AddLine(std::string_view());
    const LineEditScope edit(*this);
    const TBufferCoord caret = CaretXY();
    const std::string line(lines_.Get(caret.Line - 1));
    const int len = static_cast<int>(line.size());
    TBufferCoord newCaret = caret;
    std::string moved;
    std::string trimmed;

    if (len == 0) {
        lines_.InsertLine(caret.Line - 1, std::string_view());
        int indent = 0;
        if (options_.has(eoAutoIndent)) {
            for (int i = caret.Line - 1; i >= 1; --i) {
                const std::string_view above = lines_.Get(i - 1);
                if (!above.empty()) {
                    indent = LeftSpacesColumns(above);
                    break;
                }
            }
        }
        newCaret = {indent + 1, caret.Line + 1};
    } else if (caret.Char > len) {
        const std::string indent = line.substr(0, static_cast<size_t>(LeftSpaces(line)));
        const std::string written = moveCaret ? indent : std::string();
        InsertWrittenLine(caret.Line, written);
        // Trimming may leave the new line empty: the caret still goes to the
        // indentation's column, in virtual space.
        newCaret = {written.empty() ? LeftSpacesColumns(indent) + 1 : static_cast<int>(written.size()) + 1,
                    caret.Line + 1};
    } else if (caret.Char == 1) {
        lines_.InsertLine(caret.Line - 1, std::string_view());
        moved = line;
        newCaret = {1, caret.Line + 1};
    } else {
        const std::string left = line.substr(0, static_cast<size_t>(caret.Char - 1));
        moved = line.substr(static_cast<size_t>(caret.Char - 1));
        const std::string indent = GetLeftSpacing(LeftSpacesColumns(left), true);
        WriteLine(caret.Line, left);
        trimmed = left.substr(lines_.Get(caret.Line - 1).size());
        InsertWrittenLine(caret.Line, indent + moved);
        newCaret = {static_cast<int>(indent.size()) + 1, caret.Line + 1};
    }
    const TBufferCoord target = moveCaret ? newCaret : caret;
    // The end tells a redo whether this was Enter or insert line.
    undoList_.AddChange(crLineBreak, caret, target, moved, smNormal);
    if (TOstEditUndoItem* item = undoList_.MutableTop(); item && item->ChangeReason == crLineBreak)
        item->TrimmedStr = trimmed;
    SetCaretAndSelection(target, target, target);
    EnsureCursorPosVisible();
}

}  // namespace ostrel
