// Dragging selected text within one editor control or between two, and
// files dropped on the control.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

bool TCustomOstEdit::AcceptsDragFrom(const TCustomOstEdit* source) const
{
    return source != nullptr && !readOnly_;
}

void TCustomOstEdit::DragOver(const TCustomOstEdit* source, int x, int y)
{
    if (!AcceptsDragFrom(source))
        return;
    if (!dragging_) {
        dragging_ = true;
        caretBeforeDragOver_ = CaretXY();
    }
    lastMouseX_ = x;
    lastMouseY_ = y;
    ComputeScroll(x, y);
    // The caret shows where the text would go, on the cells in view; beyond
    // them the timer scrolls and moves it.
    if (scrollDeltaX_ != 0 || scrollDeltaY_ != 0)
        return;
    const TRect area = TextArea();
    SetCaretXYEx(false, PixelsToNearestBufferPos(std::clamp(x, area.Left, std::max(area.Left, area.Right - 1)), y));
}

void TCustomOstEdit::DragLeave()
{
    SetScrollDeltas(0, 0);
    if (!dragging_)
        return;
    dragging_ = false;
    SetCaretXYEx(false, caretBeforeDragOver_);
}

bool TCustomOstEdit::DragDrop(TCustomOstEdit& source, TOstShiftState shift, int x, int y)
{
    const bool wasDragging = dragging_;
    const TBufferCoord caretBefore = wasDragging ? caretBeforeDragOver_ : CaretXY();
    dragging_ = false;
    SetScrollDeltas(0, 0);
    // Drags start only from a character-stream selection.
    if (!AcceptsDragFrom(&source) || !source.SelAvail() || source.activeSelectionMode_ != smNormal) {
        SetCaretXYEx(false, caretBefore);
        return false;
    }
    const bool self = &source == this;
    const bool move = self ? !(shift & ssCtrl) : (shift & ssShift) != 0;
    // Into a document of another encoding the characters are converted; this
    // may first take the document over to one that holds them, so it comes
    // before any position is taken.
    std::string text;
    if (!TextForDocument(source.SelText(), source.Encoding(), text)) {
        SetCaretXYEx(false, caretBefore);
        return false;
    }
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(false, PixelsToNearestBufferPos(x, y));
    TBufferCoord dropAt = CaretXY();
    if (self && !DropPointOutsideSelection(dropAt, move)) {
        SetCaretXYEx(false, caretBefore);
        return false;
    }
    // Not to be undone together with typing that went before.
    if (options_.has(eoGroupUndo) && undoList_.CanUndo())
        undoList_.AddGroupBreak();
    TOstUndoBlock block(undoList_);
    if (move && self)
        dropAt = RemoveSelectionForMove(dropAt);
    else if (move)
        source.ClearSelection();
    InsertDroppedText(dropAt, text, self ? crDragDropInsert : crInsert);
    return true;
}

// Moving, the selection's own edges are no place to go either.
bool TCustomOstEdit::DropPointOutsideSelection(TBufferCoord p, bool move) const
{
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    if (move)
        return p < bb || p > be;
    return p <= bb || p >= be;
}

// Removes the selection as one recorded delete and returns where the drop
// point went with the text after it.
TBufferCoord TCustomOstEdit::RemoveSelectionForMove(TBufferCoord dropAt)
{
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    RecordDeleteOfSelection(crDeleteBackward);
    SetSelTextPrimitive(smNormal, std::string_view());
    if (dropAt > be) {
        if (dropAt.Line == be.Line)
            dropAt.Char -= be.Char - bb.Char;
        dropAt.Line -= be.Line - bb.Line;
    }
    return dropAt;
}

void TCustomOstEdit::InsertDroppedText(TBufferCoord at, const std::string& text, TOstChangeReason reason)
{
    // The drop point may lie beyond its line's end; the line is padded up to it.
    ScrollPastEolScope pastEol(*this);
    SetCaretAndSelection(at, at, at);
    SetSelTextPrimitive(smNormal, text);
    const TBufferCoord end = lastInsertEnd_;
    undoList_.AddChange(reason, lastInsertStart_, end, lastInsertTrimmed_, smNormal);
    // Selected, the caret at its start, ready to be dragged on.
    SetCaretAndSelection(at, end, at);
}

bool TCustomOstEdit::AcceptsDroppedFiles() const
{
    return options_.has(eoDropFiles) && OnDropFiles != nullptr;
}

void TCustomOstEdit::DropFiles(const std::vector<std::string>& paths, int x, int y)
{
    if (AcceptsDroppedFiles() && !paths.empty())
        OnDropFiles(paths, x, y);
}

}  // namespace ostrel
