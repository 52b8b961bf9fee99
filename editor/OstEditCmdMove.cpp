// Caret movement commands, with and without extending the selection.

#include <algorithm>
#include <cstdlib>

#include "editor/OstEdit.h"

namespace ostrel {

void TCustomOstEdit::ExecuteMoveCommand(TOstEditorCommand command, const void* data)
{
    if (command == ecSelectAll) {
        SelectAll();
        return;
    }
    const bool select = command > ecSelection;
    const TOstEditorCommand move = select ? static_cast<TOstEditorCommand>(command - ecSelection) : command;
    const TBufferCoord caret = CaretXY();
    switch (move) {
    case ecLeft: MoveCaretHorz(-1, select); break;
    case ecRight: MoveCaretHorz(1, select); break;
    case ecUp: MoveCaretVert(-1, select); break;
    case ecDown: MoveCaretVert(1, select); break;
    case ecWordLeft: MoveCaretAndSelection(caret, PrevWordPos(), select); break;
    case ecWordRight: MoveCaretAndSelection(caret, NextWordPos(), select); break;
    case ecLineStart: DoHomeKey(select); break;
    case ecLineEnd: DoLineEndKey(select); break;
    case ecPageUp: DoPageUpDown(true, select); break;
    case ecPageDown: DoPageUpDown(false, select); break;
    case ecPageLeft: MoveCaretHorz(-charsInWindow_, select); break;
    case ecPageRight: MoveCaretHorz(charsInWindow_, select); break;
    case ecPageTop: DoPageTopBottom(true, select); break;
    case ecPageBottom: DoPageTopBottom(false, select); break;
    case ecEditorTop: MoveCaretAndSelection(caret, {1, 1}, select); break;
    case ecEditorBottom: {
        const int last = std::max(lines_.Count(), 1);
        MoveCaretAndSelection(caret, {static_cast<int>(lines_.Get(last - 1).size()) + 1, last}, select);
        break;
    }
    case ecGotoXY:
        if (data)
            MoveCaretAndSelection(caret, *static_cast<const TBufferCoord*>(data), select);
        break;
    default: break;
    }
}

void TCustomOstEdit::MoveCaretHorz(int dx, bool select)
{
    if (wordWrap_ && WrapMoveHorz(dx))
        return;
    const TBufferCoord from = CaretXY();
    const int len = static_cast<int>(lines_.Get(from.Line - 1).size());
    // Without virtual space, single steps wrap to the neighbouring lines.
    const bool wrapLines = !options_.has(eoScrollPastEol);
    TBufferCoord to = from;
    if (wrapLines && dx == -1 && from.Char == 1 && from.Line > 1) {
        to = {static_cast<int>(lines_.Get(from.Line - 2).size()) + 1, from.Line - 1};
    } else if (wrapLines && dx == 1 && from.Char > len && from.Line < lines_.Count()) {
        to = {1, from.Line + 1};
    } else {
        to.Char = StepChars(from, dx);
        if (dx > 0 && wrapLines)
            to.Char = std::min(to.Char, len + 1);
    }
    LimitToWrappedWidth(to);
    MoveCaretAndSelection(from, to, select);
    // Passing a wrapped row's last character stops at that row's end first.
    if (wordWrap_ && dx == 1 && CaretXY() != from)
        SetCaretAtRowEnd(true);
}

// The position count characters to the right (left when negative), whole
// characters at a time; beyond the line's end one cell a step.
int TCustomOstEdit::StepChars(TBufferCoord from, int count)
{
    if (lines_.IsSimpleLine(from.Line - 1))
        return std::max(1, from.Char + count);
    int at = from.Char;
    for (int k = 0; k < std::abs(count) && (count > 0 || at > 1); ++k)
        at = count > 0 ? NextCharPos(from.Line, at) : PrevCharPos(from.Line, at);
    return std::max(1, at);
}

void TCustomOstEdit::MoveCaretVert(int dy, bool select)
{
    const TDisplayCoord from = DisplayXY();
    TDisplayCoord to = from;
    to.Row = std::clamp(from.Row + dy, 1, std::max(DisplayLineCount(), 1));
    if (to.Row != from.Row && options_.has(eoKeepCaretX))
        to.Column = lastCaretX_;
    // The column to come back to survives the move, so that passing short
    // lines does not lose it.
    const int savedColumn = lastCaretX_;
    MoveCaretAndSelection(CaretXY(), DisplayToBufferPos(to), select);
    SetCaretAtRowEnd(IsBeyondRowEnd(to));
    lastCaretX_ = savedColumn;
}

void TCustomOstEdit::DoHomeKey(bool select)
{
    // On a wrapped line's later rows Home goes to the row's start.
    const TDisplayCoord shown = DisplayXY();
    if (wordWrap_ && shown.Row > LineToRow(caretY_)) {
        MoveCaretAndSelection(CaretXY(), DisplayToBufferPos({1, shown.Row}), select);
        return;
    }
    int newX = 1;
    if (options_.has(eoEnhanceHomeKey)) {
        const std::string_view s = lines_.Get(caretY_ - 1);
        int blanks = 0;
        while (blanks < static_cast<int>(s.size()) && (s[static_cast<size_t>(blanks)] == ' ' ||
                                                       s[static_cast<size_t>(blanks)] == '\t'))
            ++blanks;
        // From inside the indentation Home goes to character 1, from
        // anywhere else (character 1 included) to the first non-blank.
        if (caretX_ - 1 > blanks || caretX_ == 1)
            newX = blanks + 1;
    }
    MoveCaretAndSelection(CaretXY(), {newX, caretY_}, select);
}

void TCustomOstEdit::DoPageUpDown(bool up, bool select)
{
    int distance = options_.has(eoHalfPageScroll) ? linesInWindow_ / 2 : linesInWindow_;
    if (options_.has(eoScrollByOneLess))
        --distance;
    if (up)
        distance = -distance;
    SetTopLine(topLine_ + distance);
    MoveCaretVert(distance, select);
}

void TCustomOstEdit::DoPageTopBottom(bool top, bool select)
{
    // Bottom means the last whole row in the window, so that the view does
    // not move under the caret.
    const int lastRow = std::max(DisplayLineCount(), 1);
    const int row = top ? topLine_ : std::min(topLine_ + std::max(linesInWindow_, 1) - 1, lastRow);
    const TDisplayCoord to{DisplayXY().Column, row};
    MoveCaretAndSelection(CaretXY(), DisplayToBufferPos(to), select);
    SetCaretAtRowEnd(IsBeyondRowEnd(to));
}

}  // namespace ostrel
