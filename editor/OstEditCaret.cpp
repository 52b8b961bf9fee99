// Coordinates, the caret and scrolling.

#include <algorithm>
#include <climits>
#include <cmath>

#include "editor/OstEdit.h"

namespace ostrel {

// ---- coordinates -----------------------------------------------------------------

int TCustomOstEdit::DisplayLineCount() const
{
    // Lines the map has not seen yet count one row each.
    return wordWrap_ ? wordWrap_->LineToRow(lines_.Count() + 1) - 1 : lines_.Count();
}

int TCustomOstEdit::LineToRow(int line) const
{
    return wordWrap_ ? wordWrap_->LineToRow(line) : line;
}

int TCustomOstEdit::RowToLine(int row) const
{
    return wordWrap_ ? wordWrap_->RowToLine(row) : row;
}

int TCustomOstEdit::LineColumn(TBufferCoord p) const
{
    const size_t at = static_cast<size_t>(std::max(p.Char, 1) - 1);
    return lines_.Chars().ColumnOf(lines_.Get(p.Line - 1), at, tabWidth_) + 1;
}

int TCustomOstEdit::CharAtLineColumn(int line, int column) const
{
    return static_cast<int>(lines_.Chars().ByteAtColumn(lines_.Get(line - 1), column - 1, tabWidth_)) + 1;
}

// ---- characters ------------------------------------------------------------------

int TCustomOstEdit::NextCharPos(int line, int charPos) const
{
    const std::string_view s = lines_.Get(line - 1);
    const size_t at = static_cast<size_t>(std::max(charPos, 1) - 1);
    if (at >= s.size())
        return charPos + 1;
    return static_cast<int>(lines_.Chars().Next(s, lines_.Chars().Floor(s, at))) + 1;
}

int TCustomOstEdit::PrevCharPos(int line, int charPos) const
{
    const std::string_view s = lines_.Get(line - 1);
    const size_t at = static_cast<size_t>(std::max(charPos, 1) - 1);
    if (at == 0)
        return 1;
    if (at > s.size())
        return charPos - 1;
    return static_cast<int>(lines_.Chars().Prev(s, lines_.Chars().Floor(s, at))) + 1;
}

int TCustomOstEdit::SnapCharPos(int line, int charPos) const
{
    const std::string_view s = lines_.Get(line - 1);
    const size_t at = static_cast<size_t>(std::max(charPos, 1) - 1);
    return static_cast<int>(lines_.Chars().Floor(s, at)) + 1;
}

TDisplayCoord TCustomOstEdit::BufferToDisplayPos(TBufferCoord p) const
{
    const int column = LineColumn(p);
    if (wordWrap_)
        return wordWrap_->LineColumnToDisplay(p.Line, column);
    return {column, p.Line};
}

TBufferCoord TCustomOstEdit::DisplayToBufferPos(TDisplayCoord p) const
{
    int line = p.Row;
    int column = p.Column;
    if (wordWrap_)
        wordWrap_->DisplayToLineColumn(p, line, column);
    return {CharAtLineColumn(line, column), line};
}

TBufferCoord TCustomOstEdit::PixelsToBufferPos(int x, int y) const
{
    return DisplayToBufferPos(PixelsToRowColumn(x, y));
}

void TCustomOstEdit::BufferPosToPixels(TBufferCoord p, int& x, int& y) const
{
    RowColumnToPixels(BufferToDisplayPos(p), x, y);
}

int TCustomOstEdit::TextOffset() const
{
    return gutterWidth_ + 2 - (leftChar_ - 1) * charWidth_;
}

TDisplayCoord TCustomOstEdit::PixelsToRowColumn(int x, int y) const
{
    return {std::max(1, leftChar_ + (x - gutterWidth_ - 2) / charWidth_),
            std::max(1, topLine_ + y / lineHeight_)};
}

TDisplayCoord TCustomOstEdit::PixelsToNearestRowColumn(int x, int y) const
{
    const double cells = static_cast<double>(x - gutterWidth_ - 2) / charWidth_;
    // A partly visible last row does not count.
    if (y >= linesInWindow_ * lineHeight_)
        y = std::max(0, linesInWindow_ * lineHeight_ - 1);
    return {std::max(1, leftChar_ + static_cast<int>(std::lround(cells))),
            std::max(1, topLine_ + y / lineHeight_)};
}

void TCustomOstEdit::RowColumnToPixels(TDisplayCoord p, int& x, int& y) const
{
    x = (p.Column - 1) * charWidth_ + TextOffset();
    y = (p.Row - topLine_) * lineHeight_;
}

void TCustomOstEdit::SetWindowSize(int charsInWindow, int linesInWindow)
{
    charsInWindow_ = std::max(charsInWindow, 0);
    linesInWindow_ = std::max(linesInWindow, 0);
    TOstPaintLockGuard lock(*this);
    RewrapAll(true);
    SetTopLine(topLine_);
    SetLeftChar(leftChar_);
}

void TCustomOstEdit::SetCellSize(int charWidth, int lineHeight)
{
    charWidth_ = std::max(charWidth, 1);
    lineHeight_ = std::max(lineHeight, 1);
    InvalidateAll();
}

void TCustomOstEdit::SetGutterWidth(int value)
{
    value = std::max(value, 0);
    if (value == gutterWidth_)
        return;
    gutterWidth_ = value;
    InvalidateAll();
}

// ---- caret ----------------------------------------------------------------------------

int TCustomOstEdit::MaxCaretChar(int line) const
{
    const int lineEnd = lines_.Count() == 0 ? 1 : static_cast<int>(lines_.Get(line - 1).size()) + 1;
    // The width limits virtual space only: the end of a longer line is
    // always within reach.
    if (options_.has(eoScrollPastEol))
        return std::max(maxLineWidth_ + 1, lineEnd);
    return lineEnd;
}

void TCustomOstEdit::UpdateLastCaretColumn()
{
    lastCaretX_ = DisplayXY().Column;
}

void TCustomOstEdit::SetCaretXYEx(bool ensureVisible, TBufferCoord p)
{
    p.Line = std::max(std::min(p.Line, lines_.Count()), 1);
    const int maxChar = MaxCaretChar(p.Line);
    const bool unlimited = options_.has(eoScrollPastEol) && options_.has(eoAutoSizeMaxLineWidth);
    if (p.Char > maxChar && !unlimited)
        p.Char = maxChar;
    // The caret stands between characters, never inside one.
    p.Char = exactPositions_ ? std::max(p.Char, 1) : SnapCharPos(p.Line, std::max(p.Char, 1));

    // Every move leaves the end of a wrapped row; the moves that stop there
    // say so afterwards.
    const bool wasAtRowEnd = caretAtRowEnd_;
    caretAtRowEnd_ = false;
    if (p.Char == caretX_ && p.Line == caretY_) {
        UpdateLastCaretColumn();
        if (wasAtRowEnd) {
            TOstPaintLockGuard lock(*this);
            if (ensureVisible)
                EnsureCursorPosVisible();
            StatusChanged(scCaretX);
        }
        return;
    }
    TOstPaintLockGuard lock(*this);
    if (p.Char != caretX_) {
        caretX_ = p.Char;
        StatusChanged(scCaretX);
    }
    if (p.Line != caretY_) {
        // The active line colour moves with the caret.
        if (activeLineColor_ != clNone) {
            InvalidateLines(caretY_, caretY_);
            InvalidateLines(p.Line, p.Line);
        }
        caretY_ = p.Line;
        StatusChanged(scCaretY);
    }
    UpdateLastCaretColumn();
    if (ensureVisible)
        EnsureCursorPosVisible();
    if (bracketHighlight_)
        UpdateBracketPair();
}

void TCustomOstEdit::SetCaretXY(TBufferCoord p)
{
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(true, p);
    if (SelAvail())
        InvalidateLines(blockBegin_.Line, blockEnd_.Line);
    blockBegin_ = blockEnd_ = CaretXY();
    StatusChanged(scSelection);
}

void TCustomOstEdit::EnsureCursorPosVisibleEx(bool forceToMiddle)
{
    TOstPaintLockGuard lock(*this);
    const TDisplayCoord caret = DisplayXY();
    if (caret.Column < leftChar_)
        SetLeftChar(caret.Column);
    else if (charsInWindow_ > 0 && caret.Column >= leftChar_ + charsInWindow_)
        SetLeftChar(caret.Column - charsInWindow_ + 1);

    const int row = caret.Row;
    if (forceToMiddle) {
        const int middle = linesInWindow_ / 2;
        if (row < topLine_)
            SetTopLine(std::max(1, row - middle));
        else if (row > topLine_ + linesInWindow_ - 2)
            SetTopLine(row - (linesInWindow_ - 1) + middle);
    } else if (row < topLine_) {
        SetTopLine(row);
    } else if (linesInWindow_ > 0 && row > topLine_ + linesInWindow_ - 1) {
        SetTopLine(row - (linesInWindow_ - 1));
    }
}

// ---- scrolling -------------------------------------------------------------------------

int TCustomOstEdit::MaxTopLine() const
{
    if (options_.has(eoScrollPastEof))
        return std::max(DisplayLineCount(), 1);
    return std::max(DisplayLineCount() - linesInWindow_ + 1, 1);
}

int TCustomOstEdit::MaxLeftChar() const
{
    if (wordWrap_)
        return 1;
    if (!options_.has(eoScrollPastEol)) {
        const int longest = const_cast<TOstEditStringList&>(lines_).LongestLineWidth();
        if (longest > charsInWindow_)
            return longest - charsInWindow_ + 1;
        return std::max(longest, 1);
    }
    if (options_.has(eoAutoSizeMaxLineWidth))
        return INT_MAX - charsInWindow_;
    const int widest = std::max(maxLineWidth_, const_cast<TOstEditStringList&>(lines_).LongestLineWidth());
    return std::max(widest - charsInWindow_ + 1, 1);
}

void TCustomOstEdit::SetTopLine(int value)
{
    value = std::clamp(value, 1, MaxTopLine());
    if (value == topLine_)
        return;
    const int delta = topLine_ - value;
    topLine_ = value;
    if (host_ && paintLock_ == 0 && std::abs(delta) < linesInWindow_)
        host_->ScrollView(0, delta);
    else
        InvalidateAll();
    // Under the paint lock the bars follow when it ends.
    if (host_ && paintLock_ == 0)
        host_->UpdateScrollBars();
    StatusChanged(scTopLine);
}

void TCustomOstEdit::SetLeftChar(int value)
{
    value = std::clamp(value, 1, MaxLeftChar());
    if (options_.has(eoScrollPastEol) && options_.has(eoAutoSizeMaxLineWidth) &&
        value + charsInWindow_ > maxLineWidth_ && value <= INT_MAX - 1 - charsInWindow_)
        maxLineWidth_ = value + charsInWindow_;
    if (value == leftChar_)
        return;
    const int delta = leftChar_ - value;
    leftChar_ = value;
    if (host_ && paintLock_ == 0 && std::abs(delta) < charsInWindow_)
        host_->ScrollView(delta, 0);
    else
        InvalidateAll();
    if (host_ && paintLock_ == 0)
        host_->UpdateScrollBars();
    StatusChanged(scLeftChar);
}

}  // namespace ostrel
