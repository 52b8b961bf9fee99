// Tab and Shift+Tab, and indenting and unindenting blocks of lines.

#include <algorithm>
#include <vector>

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

char At(std::string_view s, int charIndex)
{
    return s[static_cast<size_t>(charIndex - 1)];
}

// What block unindent takes from the start of a line: one TAB, or up to a
// tab width of spaces with a TAB after fewer of them.
std::string_view RemovablePrefix(std::string_view s, int tabWidth)
{
    if (!s.empty() && s[0] == '\t')
        return s.substr(0, 1);
    size_t n = 0;
    while (n < s.size() && s[n] == ' ' && static_cast<int>(n) < tabWidth)
        ++n;
    if (n > 0 && static_cast<int>(n) < tabWidth && n < s.size() && s[n] == '\t')
        ++n;
    return s.substr(0, n);
}

}  // namespace

bool TCustomOstEdit::SelectionIsTabBlock() const
{
    if (!SelAvail() || activeSelectionMode_ == smColumn)
        return false;
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    return activeSelectionMode_ == smLine || bb.Line != be.Line ||
           (bb.Char == 1 && be.Char > Len(lines_.Get(be.Line - 1)));
}

int TCustomOstEdit::LastBlockLine() const
{
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    // A selection ending at character 1 leaves its last line alone.
    return std::max(be.Char == 1 ? be.Line - 1 : be.Line, bb.Line);
}

// ---- Tab --------------------------------------------------------------------------------

void TCustomOstEdit::DoTabKey()
{
    if (options_.has(eoTabIndent) && SelectionIsTabBlock()) {
        const bool oneWholeLine = BlockBegin().Line == BlockEnd().Line;
        DoBlockIndent();
        if (oneWholeLine) {
            // The line stays wholly selected, so that Tab indents it again
            // instead of replacing it.
            TBufferCoord& begin = blockBegin_ < blockEnd_ ? blockBegin_ : blockEnd_;
            begin.Char = 1;
            InvalidateLines(begin.Line, begin.Line);
        }
        return;
    }
    TOstPaintLockGuard lock(*this);
    TOstUndoBlock block(undoList_);
    if (SelAvail()) {
        RecordDeleteOfSelection(crDeleteBackward);
        SetSelTextPrimitive(activeSelectionMode_, std::string_view());
    }
    int newCaret = caretX_;
    const std::string text = TabText(newCaret);
    if (!text.empty()) {
        const int end = caretX_ + Len(text);
        SetSelTextPrimitive(smNormal, text);
        undoList_.AddChange(crInsert, lastInsertStart_, lastInsertEnd_, lastInsertTrimmed_, smNormal);
        ScrollPastEolScope pastEol(*this);
        SetCaretXYEx(false, {end, caretY_});
    } else {
        ScrollPastEolScope pastEol(*this);
        SetCaretXYEx(false, {newCaret, caretY_});
    }
    EnsureCursorPosVisible();
}

std::string TCustomOstEdit::TabText(int& newCaret)
{
    const int y = caretY_;
    const int caret = caretX_;
    const std::string_view line = lines_.Get(y - 1);
    const int column = LineColumn(CaretXY());
    // Smart tabs aim at the next word start in the nearest line above that
    // reaches the caret's column.
    int width = 0;
    int targetColumn = 0;
    if (options_.has(eoSmartTabs) && y >= 2 && y <= lines_.Count()) {
        for (int l = y - 1; l >= 1 && width == 0; --l) {
            const int from = CharAtLineColumn(l, column);
            const std::string_view above = lines_.Get(l - 1);
            if (Len(above) < from)
                continue;
            int p = from;
            while (p <= Len(above) && !IsBlank(At(above, p)))
                ++p;
            while (p <= Len(above) && IsBlank(At(above, p)))
                ++p;
            width = p - from;
            targetColumn = LineColumn({p, l});
        }
    }
    const bool smart = width > 0;
    if (!smart)
        width = options_.has(eoTabsToSpaces) ? tabWidth_ - (caret - 1) % tabWidth_ : tabWidth_;
    if (!smart)
        targetColumn = column + tabWidth_ - (column - 1) % tabWidth_;

    if (options_.has(eoTabsToSpaces))
        return std::string(static_cast<size_t>(width), ' ');
    if (options_.has(eoTrimTrailingSpaces) && caret > Len(line)) {
        // A TAB written here would be trimmed at once: the caret just moves.
        newCaret = caret + targetColumn - column;
        return std::string();
    }
    if (!smart)
        return "\t";
    for (int i = 0; i < caret - 1 && i < Len(line); ++i)
        if (!IsBlank(line[static_cast<size_t>(i)]))
            return "\t";  // smart tabs only indent, they do not align text
    int distance = targetColumn - column;
    std::string text;
    const int toStop = tabWidth_ - (column - 1) % tabWidth_;
    if (toStop <= distance) {
        text = "\t";
        distance -= toStop;
    }
    text.append(static_cast<size_t>(std::max(distance, 0) / tabWidth_), '\t');
    text.append(static_cast<size_t>(std::max(distance, 0) % tabWidth_), ' ');
    return text;
}

// ---- Shift+Tab ------------------------------------------------------------------------------

void TCustomOstEdit::DoShiftTabKey()
{
    if (options_.has(eoTabIndent) && SelectionIsTabBlock()) {
        DoBlockUnindent();
        return;
    }
    const int y = caretY_;
    const int caret = caretX_;
    if (caret == 1)
        return;  // nothing before the caret to take back
    const std::string_view line = lines_.Get(y - 1);
    const int len = Len(line);
    // Only blanks (or virtual space) before the caret may go.
    int blankStart = caret;
    while (blankStart > 1 && (blankStart - 1 > len || IsBlank(At(line, blankStart - 1))))
        --blankStart;

    int newX = caret;
    if (options_.has(eoSmartTabs) && y >= 2 && y <= lines_.Count()) {
        for (int l = y - 1; l >= 1; --l) {
            const std::string_view above = lines_.Get(l - 1);
            if (Len(above) < caret - 1)
                continue;
            // Back over spaces, then over the word: to the word's start.
            while (newX > 1 && At(above, newX - 1) == ' ')
                --newX;
            while (newX > 1 && At(above, newX - 1) != ' ')
                --newX;
            break;
        }
        newX = std::max(newX, blankStart);
    }
    if (newX == caret) {
        const int stop = ((caret - 2) / tabWidth_) * tabWidth_ + 1;
        if (newX > len)
            newX = stop;
        else if (newX > stop && At(line, newX - 1) == '\t')
            --newX;
        else
            while (newX > stop && (newX - 1 > len || At(line, newX - 1) == ' '))
                --newX;
        newX = std::max(newX, blankStart);
    }
    if (newX < caret)
        DeleteRangeRecorded({newX, y}, {caret, y}, crDeleteForward);
}

// ---- block indentation -------------------------------------------------------------------------

void TCustomOstEdit::DoBlockIndent()
{
    if (!SelAvail())
        return;
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    const TOstSelectionMode mode = activeSelectionMode_;
    const int last = LastBlockLine();
    const bool spaces = options_.has(eoTabsToSpaces);
    const std::string indent = spaces ? std::string(static_cast<size_t>(tabWidth_), ' ') : "\t";
    std::string text = indent;
    for (int l = bb.Line; l < last; ++l)
        text += "\r\n" + indent;
    const TBufferCoord at = mode == smColumn ? ColumnBlockStart(bb, be) : TBufferCoord{1, bb.Line};
    const int shift = Len(indent);
    const TBufferCoord oldCaret = CaretXY();
    const TBufferCoord oldAnchor = blockBegin_;
    const TBufferCoord oldMoving = blockEnd_;

    TOstPaintLockGuard lock(*this);
    {
        TOstUndoBlock block(undoList_);
        // The old range first and the new one last: undo ends on the old
        // selection, redo on the new one.
        undoList_.AddChange(crIndent, bb, be, std::string(), smColumn);
        ActiveModeScope column(*this, smColumn);
        SetCaretAndSelection(at, at, at);
        int left = 1, right = 1;
        if (mode == smColumn)
            ColumnBlockColumns(bb, be, left, right);
        SetSelTextPrimitive(smColumn, text, true, crInsert, left);
        undoList_.AddChange(crIndent, {bb.Char + shift, bb.Line}, {be.Char + shift, be.Line}, std::string(),
                            smColumn);
    }
    // The begin moves with the indentation, the end unless it stands at
    // character 1; the caret stays on the end it was on.
    auto shifted = [&](TBufferCoord p) {
        return p == bb || p.Char > 1 ? TBufferCoord{p.Char + shift, p.Line} : p;
    };
    TBufferCoord caret{be.Char == 1 ? 1 : oldCaret.Char + (spaces ? tabWidth_ : 1), oldCaret.Line};
    if (oldCaret == oldAnchor || oldCaret == oldMoving)
        caret = shifted(oldCaret);
    ScrollPastEolScope pastEol(*this);
    // Indenting an empty line writes nothing when trimming: ends stay on
    // their lines.
    SetCaretAndSelection(caret, ClampBlockPoint(shifted(oldAnchor)), ClampBlockPoint(shifted(oldMoving)));
}

void TCustomOstEdit::DoBlockUnindent()
{
    if (!SelAvail())
        return;
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    const TOstSelectionMode mode = activeSelectionMode_;
    const int last = LastBlockLine();
    int left = 1, right = 1;
    if (mode == smColumn)
        ColumnBlockColumns(bb, be, left, right);
    std::vector<int> removed;
    std::vector<int> starts;
    std::string text;
    for (int l = bb.Line; l <= last; ++l) {
        const std::string_view s = lines_.Get(l - 1);
        const int column = CharAtColumnCeil(l, left);
        starts.push_back(column);
        const std::string_view prefix =
            RemovablePrefix(s.substr(std::min(static_cast<size_t>(column - 1), s.size())), tabWidth_);
        if (l > bb.Line)
            text += "\r\n";
        text += prefix;
        removed.push_back(Len(prefix));
    }
    if (std::all_of(removed.begin(), removed.end(), [](int n) { return n == 0; }))
        return;
    const TBufferCoord oldCaret = CaretXY();
    const TBufferCoord oldAnchor = blockBegin_;
    const TBufferCoord oldMoving = blockEnd_;
    TOstPaintLockGuard lock(*this);
    {
        TOstUndoBlock block(undoList_);
        TOstBufferUpdateGuard update(lines_);
        for (int l = bb.Line; l <= last; ++l) {
            const int n = removed[static_cast<size_t>(l - bb.Line)];
            if (n == 0)
                continue;
            std::string s(lines_.Get(l - 1));
            s.erase(static_cast<size_t>(starts[static_cast<size_t>(l - bb.Line)] - 1), static_cast<size_t>(n));
            WriteLine(l, s);
        }
        undoList_.AddChange(crUnindent, bb, be, text, mode);
    }
    if (mode == smColumn) {
        SetCaretAndSelection(oldCaret, oldAnchor, oldMoving);
        return;
    }
    // Ends and caret keep their places in the text that stayed.
    auto shifted = [&](TBufferCoord p) {
        if (p.Char == 1 || p.Line < bb.Line || p.Line > last)
            return p;
        const int n = removed[static_cast<size_t>(p.Line - bb.Line)];
        return TBufferCoord{std::max(p.Char - n, 1), p.Line};
    };
    ScrollPastEolScope pastEol(*this);
    SetCaretAndSelection(shifted(oldCaret), shifted(oldAnchor), shifted(oldMoving));
}

}  // namespace ostrel
