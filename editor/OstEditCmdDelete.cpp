// Deleting commands: Backspace, Delete, words, line parts and whole lines.
// Every deletion goes through the editing primitive and records exactly the
// bytes it removed, so undo gives them back.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int Len(std::string_view s)
{
    return static_cast<int>(s.size());
}

}  // namespace

void TCustomOstEdit::DeleteRangeRecorded(TBufferCoord from, TBufferCoord to, TOstChangeReason reason)
{
    ScrollPastEolScope pastEol(*this);
    ActiveModeScope normal(*this, smNormal);
    SetCaretAndSelection(from, from, to);
    const std::string text = UndoTextOfSelection();
    // A range wholly in virtual space leaves the text alone.
    if (!text.empty()) {
        undoList_.AddChange(reason, from, to, text, smNormal);
        SetSelTextPrimitive(smNormal, std::string_view());
    }
    SetCaretAndSelection(from, from, from);
}

void TCustomOstEdit::DeleteSelectionForKey()
{
    TOstUndoBlock block(undoList_);
    // A selection made forwards goes like Backspace, one made backwards
    // like Delete: undo puts the caret back at its end.
    RecordDeleteOfSelection(blockBegin_ < blockEnd_ ? crDeleteBackward : crDeleteForward);
    SetSelTextPrimitive(activeSelectionMode_, std::string_view());
    EnsureCursorPosVisible();
}

int TCustomOstEdit::SmartIndentTarget(int line, int below, bool columns) const
{
    // The indentation of the nearest line above with less than "below";
    // none gives 0.
    for (int l = line - 1; l >= 1; --l) {
        const std::string_view s = lines_.Get(l - 1);
        const int indent = columns ? LeftSpacesColumns(s) : LeftSpaces(s);
        if (indent < below)
            return indent;
    }
    return 0;
}

void TCustomOstEdit::DoDeleteLastChar()
{
    if (SelAvail()) {
        DeleteSelectionForKey();
        return;
    }
    const int y = caretY_;
    const std::string_view line = lines_.Get(y - 1);
    const int len = Len(line);
    if (caretX_ > len + 1) {
        // In virtual space nothing is deleted; the caret only steps back.
        int newX = caretX_ - 1;
        if (options_.has(eoSmartTabDelete))
            newX = len > 0 ? len + 1 : SmartIndentTarget(y, caretX_ - 1, true) + 1;
        ScrollPastEolScope pastEol(*this);
        SetCaretXYEx(true, {newX, y});
        return;
    }
    if (caretX_ == 1) {
        if (y > 1)
            DeleteRangeRecorded({Len(lines_.Get(y - 2)) + 1, y - 1}, {1, y}, crDeleteBackwardQuiet);
        return;
    }
    int count = 1;
    const int indent = LeftSpaces(line);
    if (static_cast<unsigned char>(line[static_cast<size_t>(caretX_ - 2)]) <= 32 && indent == caretX_ - 1) {
        if (options_.has(eoSmartTabDelete)) {
            count = indent - SmartIndentTarget(y, indent, false);
        } else if (line[static_cast<size_t>(caretX_ - 2)] != '\t') {
            // Spaces back to the previous tab stop, not past a TAB.
            const int column = LineColumn(CaretXY());
            const int stop = ((column - 2) / tabWidth_) * tabWidth_ + 1;
            count = 0;
            for (int i = caretX_ - 1; i >= 1 && line[static_cast<size_t>(i - 1)] == ' ' &&
                                      LineColumn({i, y}) >= stop;
                 --i)
                ++count;
            count = std::max(count, 1);
        }
    }
    const int from = count == 1 ? PrevCharPos(y, caretX_) : caretX_ - count;
    DeleteRangeRecorded({from, y}, CaretXY(), crDeleteBackwardQuiet);
}

void TCustomOstEdit::JoinNextLine()
{
    // The line break goes, then the gap up to a caret in virtual space is
    // filled with spaces. Recording them in this order lets redo rebuild
    // the gap even where trimming has dropped it meanwhile.
    const TBufferCoord caret = CaretXY();
    const int len = Len(lines_.Get(caret.Line - 1));
    TOstUndoBlock block(undoList_);
    DeleteRangeRecorded({len + 1, caret.Line}, {1, caret.Line + 1}, crDeleteForwardQuiet);
    if (caret.Char > len + 1) {
        std::string line(lines_.Get(caret.Line - 1));
        line.insert(static_cast<size_t>(len), static_cast<size_t>(caret.Char - 1 - len), ' ');
        WriteLine(caret.Line, line);
        undoList_.AddChange(crPaddingInsert, {len + 1, caret.Line}, caret, std::string(), smNormal);
    }
    ScrollPastEolScope pastEol(*this);
    SetCaretXYEx(true, caret);
}

void TCustomOstEdit::DoDeleteChar()
{
    if (SelAvail()) {
        DeleteSelectionForKey();
        return;
    }
    const int len = Len(lines_.Get(caretY_ - 1));
    if (caretX_ <= len)
        DeleteRangeRecorded(CaretXY(), {NextCharPos(caretY_, caretX_), caretY_}, crDeleteForwardQuiet);
    else if (caretY_ < lines_.Count())
        JoinNextLine();
}

void TCustomOstEdit::DoDeleteWord()
{
    const std::string_view line = lines_.Get(caretY_ - 1);
    const int len = Len(line);
    if (caretX_ > len) {
        if (caretY_ < lines_.Count())
            JoinNextLine();
        return;
    }
    int end = caretX_;
    const char at = line[static_cast<size_t>(caretX_ - 1)];
    if (IsWordCharAt(line, static_cast<size_t>(caretX_ - 1)))
        end = WordEndEx(CaretXY()).Char;
    else if (!IsBlank(at))
        end = NextCharPos(caretY_, caretX_);
    while (end <= len && IsBlank(line[static_cast<size_t>(end - 1)]))
        ++end;
    DeleteRangeRecorded(CaretXY(), {end, caretY_}, crDeleteForwardQuiet);
}

void TCustomOstEdit::DoDeleteToEol()
{
    const int len = Len(lines_.Get(caretY_ - 1));
    if (caretX_ <= len)
        DeleteRangeRecorded(CaretXY(), {len + 1, caretY_}, crDeleteForwardQuiet);
}

void TCustomOstEdit::DoDeleteBackTo(TBufferCoord target)
{
    if (target < CaretXY())
        DeleteRangeRecorded(target, CaretXY(), crDeleteBackwardQuiet);
}

void TCustomOstEdit::DeleteLineRecorded(int y)
{
    const int count = lines_.Count();
    if (readOnly_ || y < 1 || y > count || (count == 1 && lines_.Get(0).empty()))
        return;
    const int len = Len(lines_.Get(y - 1));
    BreakUndoGroup();
    if (count == 1) {
        DeleteRangeRecorded({1, 1}, {len + 1, 1}, crDeleteForward);
    } else if (y < count) {
        DeleteRangeRecorded({1, y}, {1, y + 1}, crDeleteForward);
    } else {
        // The last line goes with the line break before it, so that undo and
        // redo rebuild the same number of lines; the line above keeps every
        // byte it had.
        DeleteRangeRecorded({Len(lines_.Get(y - 2)) + 1, y - 1}, {len + 1, y}, crDeleteForward);
    }
}

void TCustomOstEdit::DoDeleteLine()
{
    const int y = caretY_;
    DeleteLineRecorded(y);
    SetCaretXY({1, y});
}

}  // namespace ostrel
