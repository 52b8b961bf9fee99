// The mouse: placing the caret, selecting by dragging and by double click,
// the wheel, and scrolling while the mouse selects beyond the text.

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "editor/OstEdit.h"
#include "platform/CodePage.h"

namespace ostrel {

namespace {

constexpr int kScrollIntervalMs = 100;
constexpr int kWheelNotch = 120;

// Cells (columns or rows) beyond [low, high) the pointer stands: negative
// before the area, positive after it, one at least once outside.
int ScrollStep(int pos, int low, int high, int cell)
{
    if (pos < low)
        return (pos - low) / cell - 1;
    if (pos >= high)
        return (pos - high) / cell + 1;
    return 0;
}

}  // namespace

// ---- positions ---------------------------------------------------------------------

TDisplayCoord TCustomOstEdit::MouseRowColumn(int x, int y) const
{
    TDisplayCoord p = PixelsToNearestRowColumn(x, y);
    p.Row = std::clamp(p.Row, 1, std::max(DisplayLineCount(), 1));
    return p;
}

TBufferCoord TCustomOstEdit::PixelsToNearestBufferPos(int x, int y) const
{
    return DisplayToBufferPos(MouseRowColumn(x, y));
}

// Beyond the end of a wrapped row the caret stays at that row's end instead
// of showing at the start of the next one.
void TCustomOstEdit::SetCaretToMouse(int x, int y)
{
    const TDisplayCoord p = MouseRowColumn(x, y);
    SetCaretXYEx(true, DisplayToBufferPos(p));
    SetCaretAtRowEnd(IsBeyondRowEnd(p));
}

bool TCustomOstEdit::IsPointInSelection(TBufferCoord p) const
{
    if (!SelAvail())
        return false;
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    if (activeSelectionMode_ == smColumn) {
        int left = 0, right = 0;
        ColumnBlockColumns(bb, be, left, right);
        const int column = LineColumn(p);
        return p.Line >= bb.Line && p.Line <= be.Line && column >= left && column <= right;
    }
    if (activeSelectionMode_ == smLine)
        return p.Line >= bb.Line && p.Line <= be.Line;
    return bb <= p && p <= be;
}

TRect TCustomOstEdit::TextArea() const
{
    // Headless, before a host tells its size, the window counts stand for it.
    const int right = clientWidth_ > 0 ? clientWidth_ : gutterWidth_ + 2 + charsInWindow_ * charWidth_;
    const int bottom = clientHeight_ > 0 ? clientHeight_ : linesInWindow_ * lineHeight_;
    return {gutterWidth_, 0, right, bottom};
}

void TCustomOstEdit::PlaceCaretAtPixels(int x, int y)
{
    if (options_.has(eoGroupUndo) && undoList_.CanUndo())
        undoList_.AddGroupBreak();
    SetCaretToMouse(x, y);
}

void TCustomOstEdit::SetDragDistance(int pixels)
{
    dragDistance_ = std::max(pixels, 1);
}

// ---- buttons ---------------------------------------------------------------------------

void TCustomOstEdit::MouseDown(TOstMouseButton button, TOstShiftState shift, int x, int y)
{
    GutterMouseDown(button, x, y);
    if (button == mbLeft)
        LeftMouseDown(shift, x, y);
    else if (button == mbRight)
        RightMouseDown(x, y);
}

void TCustomOstEdit::LeftMouseDown(TOstShiftState shift, int x, int y)
{
    doubleClicked_ = false;
    waitForDragging_ = false;
    if (!InTextArea(x))
        return;
    const bool hadSelection = SelAvail();
    TOstPaintLockGuard lock(*this);
    PlaceCaretAtPixels(x, y);
    mouseCaptured_ = true;
    mouseDownX_ = lastMouseX_ = x;
    mouseDownY_ = lastMouseY_ = y;
    lastMouseShift_ = shift;
    // Nothing else changes until the mouse moves: it may drag the selection.
    if (hadSelection && options_.has(eoDragDropEditing) && activeSelectionMode_ == smNormal &&
        IsPointInSelection(CaretXY())) {
        waitForDragging_ = true;
        return;
    }
    if (shift & ssShift) {
        SetBlockEnd(CaretXY());
        return;
    }
    if (options_.has(eoAltSetsColumnMode) && activeSelectionMode_ != smLine) {
        // Before the block begin is set: it is clamped by the mode.
        const TOstSelectionMode mode = (shift & ssAlt) ? smColumn : smNormal;
        SetSelectionMode(mode);
        SetActiveSelectionMode(mode);
    }
    SetBlockBegin(CaretXY());
}

void TCustomOstEdit::RightMouseDown(int x, int y)
{
    if (!options_.has(eoRightMouseMovesCursor) || !InTextArea(x))
        return;
    // A click on the selection keeps it for the context menu.
    if (IsPointInSelection(PixelsToNearestBufferPos(x, y)))
        return;
    TOstPaintLockGuard lock(*this);
    PlaceCaretAtPixels(x, y);
    SetBlockBegin(CaretXY());
}

void TCustomOstEdit::MouseMove(TOstShiftState shift, int x, int y)
{
    lastMouseX_ = x;
    lastMouseY_ = y;
    lastMouseShift_ = shift;
    if (!mouseCaptured_)
        return;
    if (waitForDragging_) {
        if (std::abs(x - mouseDownX_) >= dragDistance_ || std::abs(y - mouseDownY_) >= dragDistance_) {
            // The host's drag takes the mouse from here; no release comes back.
            EndMouseCapture();
            if (OnStartDrag)
                OnStartDrag();
        }
        return;
    }
    ComputeScroll(x, y);
    FollowMouse(x, y);
}

// The caret and the block end follow the mouse; along an axis the timer
// scrolls, the timer moves them.
void TCustomOstEdit::FollowMouse(int x, int y)
{
    TOstPaintLockGuard lock(*this);
    if (scrollDeltaX_ == 0 && scrollDeltaY_ == 0) {
        SetCaretToMouse(x, y);
    } else {
        const TDisplayCoord caret = DisplayXY();
        const std::optional<int> column = scrollDeltaX_ != 0 ? std::optional<int>(caret.Column) : std::nullopt;
        const std::optional<int> row = scrollDeltaY_ != 0 ? std::optional<int>(caret.Row) : std::nullopt;
        SetCaretXYEx(true, MouseTarget(x, y, column, row));
    }
    SetBlockEnd(CaretXY());
}

TBufferCoord TCustomOstEdit::MouseTarget(int x, int y, std::optional<int> column, std::optional<int> row) const
{
    const TBufferCoord p = PixelsToNearestBufferPos(x, y);
    if (!column && !row)
        return p;
    TDisplayCoord d = BufferToDisplayPos(p);
    if (column)
        d.Column = std::max(*column, 1);
    if (row)
        d.Row = std::clamp(*row, 1, std::max(DisplayLineCount(), 1));
    return DisplayToBufferPos(d);
}

void TCustomOstEdit::MouseUp(TOstMouseButton button, TOstShiftState shift, int x, int y)
{
    GutterMouseUp(button, x, y);
    SetScrollDeltas(0, 0);
    if (button != mbLeft)
        return;
    const bool pressedOnSelection = waitForDragging_ && !doubleClicked_;
    EndMouseCapture();
    doubleClicked_ = false;
    if (!pressedOnSelection)
        return;
    // A press on the selection that never became a drag is a plain click.
    TOstPaintLockGuard lock(*this);
    PlaceCaretAtPixels(x, y);
    if (shift & ssShift)
        SetBlockEnd(CaretXY());
    else
        SetBlockBegin(CaretXY());
}

void TCustomOstEdit::MouseCaptureLost()
{
    if (mouseCaptured_)
        EndMouseCapture();
}

void TCustomOstEdit::EndMouseCapture()
{
    mouseCaptured_ = false;
    waitForDragging_ = false;
    SetScrollDeltas(0, 0);
}

// ---- double click ----------------------------------------------------------------------

void TCustomOstEdit::DoubleClick(TOstShiftState, int x, int y)
{
    EndMouseCapture();
    doubleClicked_ = true;
    if (!InTextArea(x))
        return;
    TOstPaintLockGuard lock(*this);
    PlaceCaretAtPixels(x, y);
    if (!options_.has(eoNoSelection))
        SelectWordAt(CaretXY());
}

bool TCustomOstEdit::IsDoubleClickWordChar(std::string_view s, size_t i) const
{
    // Every letter of the encoding belongs to a word, Polish ones included,
    // whatever the highlighter counts as an identifier.
    return IsWordCharAt(s, i) || lines_.Chars().IsLetterOrDigitAt(s, i);
}

void TCustomOstEdit::SelectWordAt(TBufferCoord p)
{
    const std::string_view s = lines_.Get(p.Line - 1);
    const int len = static_cast<int>(s.size());
    if (p.Char > len + 1)
        return;
    const TOstTextChars& chars = lines_.Chars();
    size_t first = chars.Floor(s, static_cast<size_t>(p.Char - 1));
    while (first > 0 && IsDoubleClickWordChar(s, chars.Prev(s, first)))
        first = chars.Prev(s, first);
    size_t last = chars.Floor(s, static_cast<size_t>(p.Char - 1));
    while (last < s.size() && IsDoubleClickWordChar(s, last))
        last = chars.Next(s, last);
    const int start = static_cast<int>(first) + 1;
    const int end = static_cast<int>(last) + 1;
    if (start == end)
        return;
    SetBlockBegin({start, p.Line});
    SetBlockEnd({end, p.Line});
    SetCaretXYEx(true, {end, p.Line});
}

// ---- scrolling while selecting ------------------------------------------------------------

void TCustomOstEdit::ComputeScroll(int x, int y)
{
    const TRect area = TextArea();
    SetScrollDeltas(ScrollStep(x, area.Left, area.Right, charWidth_),
                    ScrollStep(y, area.Top, area.Bottom, lineHeight_));
}

void TCustomOstEdit::SetScrollDeltas(int dx, int dy)
{
    scrollDeltaX_ = dx;
    scrollDeltaY_ = dy;
    if (!scrollTimer_)
        return;
    const bool wanted = dx != 0 || dy != 0;
    if (wanted && !scrollTimer_->Active())
        scrollTimer_->Start(kScrollIntervalMs);
    else if (!wanted && scrollTimer_->Active())
        scrollTimer_->Stop();
}

void TCustomOstEdit::ScrollTimerTick()
{
    if (scrollDeltaX_ == 0 && scrollDeltaY_ == 0) {
        SetScrollDeltas(0, 0);
        return;
    }
    TOstPaintLockGuard lock(*this);
    std::optional<int> column;
    std::optional<int> row;
    if (scrollDeltaX_ != 0) {
        SetLeftChar(leftChar_ + scrollDeltaX_);
        column = scrollDeltaX_ > 0 ? leftChar_ + std::max(charsInWindow_, 1) - 1 : leftChar_;
    }
    if (scrollDeltaY_ != 0) {
        const int rows = (lastMouseShift_ & ssShift) ? scrollDeltaY_ * linesInWindow_ : scrollDeltaY_;
        SetTopLine(topLine_ + rows);
        row = scrollDeltaY_ > 0 ? topLine_ + std::max(linesInWindow_, 1) - 1 : topLine_;
    }
    // The caret goes to the edge the view uncovered.
    SetCaretXYEx(true, MouseTarget(lastMouseX_, lastMouseY_, column, row));
    if (!dragging_)
        SetBlockEnd(CaretXY());
}

// ---- wheel -------------------------------------------------------------------------------

void TCustomOstEdit::MouseWheel(TOstShiftState shift, int delta)
{
    wheelAccumulator_ += delta;
    const int notches = wheelAccumulator_ / kWheelNotch;
    wheelAccumulator_ -= notches * kWheelNotch;
    if (notches != 0)
        ScrollByWheelNotch(notches, shift);
}

void TCustomOstEdit::ScrollByWheelNotch(int notches, TOstShiftState shift)
{
    int lines = wheelScrollLines_;
    if (shift & ssCtrl)
        lines = options_.has(eoHalfPageScroll) ? linesInWindow_ / 2 : linesInWindow_;
    else if (lines < 0 || lines > linesInWindow_)
        lines = linesInWindow_;
    SetTopLine(topLine_ - notches * lines);
    if (OnScroll)
        OnScroll(sbVertical);
}

}  // namespace ostrel
