// Word wrap in the control: switching it, re-wrapping when the window or
// the text's measures change, and the caret at the ends of wrapped rows.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

bool CaretInView(const TCustomOstEdit& e)
{
    const int row = e.DisplayXY().Row;
    return row >= e.TopLine() && row < e.TopLine() + std::max(e.LinesInWindow(), 1);
}

}  // namespace

// The line at the top of the window stays there, unless the caret was in
// view: then it stays in view.
void TCustomOstEdit::SetWordWrap(bool on)
{
    if (on == WordWrap())
        return;
    TOstPaintLockGuard lock(*this);
    const int topLineShown = RowToLine(topLine_);
    const bool caretShown = CaretInView(*this);
    caretAtRowEnd_ = false;
    if (on)
        wordWrap_ = std::make_unique<TOstWordWrapPlugin>(this);
    else
        wordWrap_.reset();
    SetLeftChar(1);
    topLine_ = std::clamp(LineToRow(topLineShown), 1, MaxTopLine());
    UpdateLastCaretColumn();
    if (caretShown)
        EnsureCursorPosVisible();
    InvalidateAll();
    StatusChanged(scTopLine | scLeftChar);
}

void TCustomOstEdit::RewrapAll(bool onlyWhenWidthChanged)
{
    if (!wordWrap_)
        return;
    const int topLineShown = RowToLine(topLine_);
    const bool caretShown = CaretInView(*this);
    if (onlyWhenWidthChanged) {
        if (!wordWrap_->DisplayChanged())
            return;
    } else {
        wordWrap_->Reset();
    }
    TOstPaintLockGuard lock(*this);
    caretAtRowEnd_ = false;
    topLine_ = std::clamp(LineToRow(topLineShown), 1, MaxTopLine());
    UpdateLastCaretColumn();
    if (caretShown)
        EnsureCursorPosVisible();
    InvalidateAll();
    StatusChanged(scTopLine);
}

// ---- the caret at the end of a wrapped row ------------------------------------------

TDisplayCoord TCustomOstEdit::DisplayXY() const
{
    const TDisplayCoord p = BufferToDisplayPos(CaretXY());
    if (!caretAtRowEnd_ || !wordWrap_ || p.Column != 1 || p.Row <= LineToRow(caretY_))
        return p;
    return {wordWrap_->RowLength(p.Row - 1) + 1, p.Row - 1};
}

// A column past the last cell of a row that continues on the next one.
bool TCustomOstEdit::IsBeyondRowEnd(TDisplayCoord p) const
{
    if (!wordWrap_ || p.Row < 1 || p.Row > wordWrap_->RowCount())
        return false;
    const TOstWrapRow row = wordWrap_->RowInfo(p.Row);
    return !row.LastOfLine && p.Column > row.Length;
}

// Only a caret that stands at the start of a continuation row can show at
// the end of the row before instead.
void TCustomOstEdit::SetCaretAtRowEnd(bool atEnd)
{
    if (atEnd) {
        const TDisplayCoord p = BufferToDisplayPos(CaretXY());
        atEnd = wordWrap_ && p.Column == 1 && p.Row > LineToRow(caretY_);
    }
    if (atEnd == caretAtRowEnd_)
        return;
    TOstPaintLockGuard lock(*this);
    caretAtRowEnd_ = atEnd;
    UpdateLastCaretColumn();
    EnsureCursorPosVisible();
    StatusChanged(scCaretX);
}

void TCustomOstEdit::SetDisplayXY(TDisplayCoord p)
{
    TOstPaintLockGuard lock(*this);
    SetCaretXY(DisplayToBufferPos(p));
    SetCaretAtRowEnd(IsBeyondRowEnd(p));
}

// One step left or right that only changes the row the caret shows on:
// from a row's end to the next row's start and back.
bool TCustomOstEdit::WrapMoveHorz(int dx)
{
    if (dx == 1 && caretAtRowEnd_) {
        SetCaretAtRowEnd(false);
        return true;
    }
    if (dx == -1 && !caretAtRowEnd_ && caretX_ > 1) {
        SetCaretAtRowEnd(true);
        return caretAtRowEnd_;
    }
    return false;
}

void TCustomOstEdit::DoLineEndKey(bool select)
{
    const TBufferCoord caret = CaretXY();
    if (wordWrap_) {
        const TDisplayCoord p = DisplayXY();
        if (IsBeyondRowEnd({wordWrap_->MaxRowLength() + 1, p.Row})) {
            const TDisplayCoord end{wordWrap_->RowInfo(p.Row).Length + 1, p.Row};
            MoveCaretAndSelection(caret, DisplayToBufferPos(end), select);
            SetCaretAtRowEnd(true);
            return;
        }
    }
    MoveCaretAndSelection(caret, {static_cast<int>(lines_.Get(caretY_ - 1).size()) + 1, caretY_}, select);
}

// Virtual space on a wrapped line reaches no further than a row may.
void TCustomOstEdit::LimitToWrappedWidth(TBufferCoord& to) const
{
    if (!wordWrap_ || wordWrap_->MaxRowLength() <= 0)
        return;
    const int limit = wordWrap_->MaxRowLength() + 1;
    const int column = BufferToDisplayPos(to).Column;
    if (to.Char > static_cast<int>(lines_.Get(to.Line - 1).size()) + 1 && column > limit)
        to.Char = std::max(1, to.Char - (column - limit));
}

}  // namespace ostrel
