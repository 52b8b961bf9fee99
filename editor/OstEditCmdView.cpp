// Commands that change the view and the modes: scrolling, insert and
// selection modes, bracket matching, context help, copying.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

constexpr char kBrackets[] = {'(', ')', '[', ']', '{', '}', '<', '>'};

}  // namespace

void TCustomOstEdit::ExecuteViewCommand(TOstEditorCommand command)
{
    switch (command) {
    case ecCopy: CopyToClipboard(); break;
    case ecScrollUp: DoScrollUpDown(true); break;
    case ecScrollDown: DoScrollUpDown(false); break;
    case ecScrollLeft: SetLeftChar(leftChar_ - 1); break;
    case ecScrollRight: SetLeftChar(leftChar_ + 1); break;
    case ecInsertMode: SetInsertMode(true); break;
    case ecOverwriteMode: SetInsertMode(false); break;
    case ecToggleMode: SetInsertMode(!insertMode_); break;
    case ecNormalSelect: SetSelectionMode(smNormal); break;
    case ecColumnSelect: SetSelectionMode(smColumn); break;
    case ecLineSelect: SetSelectionMode(smLine); break;
    case ecMatchBracket: DoMatchBracket(); break;
    case ecContextHelp:
        if (OnContextHelp)
            OnContextHelp(WordAtCursor());
        break;
    default: break;
    }
}

void TCustomOstEdit::DoScrollUpDown(bool up)
{
    const int row = DisplayXY().Row;
    if (row < topLine_ || row >= topLine_ + linesInWindow_) {
        // A caret out of view is only brought back into it.
        EnsureCursorPosVisible();
        return;
    }
    if (up) {
        SetTopLine(topLine_ - 1);
        const int lastVisible = topLine_ + linesInWindow_ - 1;
        if (row > lastVisible)
            MoveCaretVert(lastVisible - row, false);
    } else {
        SetTopLine(topLine_ + 1);
        if (row < topLine_)
            MoveCaretVert(topLine_ - row, false);
    }
    EnsureCursorPosVisible();
}

// ---- brackets -----------------------------------------------------------------------

bool TCustomOstEdit::IsCommentOrString(TBufferCoord p)
{
    TOstCustomHighlighter* hl = Highlighter();
    if (!hl)
        return false;
    std::string token;
    int kind = 0;
    TOstHighlighterAttributes* attr = nullptr;
    if (!GetHighlighterAttriAtRowCol(p, token, kind, attr) || !attr)
        return false;
    return attr == hl->DefaultAttribute(daComment) || attr == hl->DefaultAttribute(daString);
}

TBufferCoord TCustomOstEdit::GetMatchingBracketEx(TBufferCoord p)
{
    if (p.Line < 1 || p.Line > lines_.Count())
        return {0, 0};
    const std::string_view start = lines_.Get(p.Line - 1);
    if (p.Char < 1 || p.Char > static_cast<int>(start.size()))
        return {0, 0};
    const char* found = std::find(std::begin(kBrackets), std::end(kBrackets), start[static_cast<size_t>(p.Char - 1)]);
    if (found == std::end(kBrackets))
        return {0, 0};
    const int index = static_cast<int>(found - kBrackets);
    const char same = kBrackets[index];
    const char partner = kBrackets[index ^ 1];
    const bool forward = index % 2 == 0;
    int depth = 1;
    int line = p.Line;
    int pos = p.Char;
    while (true) {
        const std::string_view s = lines_.Get(line - 1);
        const int len = static_cast<int>(s.size());
        for (pos += forward ? 1 : -1; pos >= 1 && pos <= len; pos += forward ? 1 : -1) {
            const char c = s[static_cast<size_t>(pos - 1)];
            if ((c != same && c != partner) || IsCommentOrString({pos, line}))
                continue;
            depth += c == same ? 1 : -1;
            if (depth == 0)
                return {pos, line};
        }
        if (forward ? line >= lines_.Count() : line <= 1)
            return {0, 0};
        line += forward ? 1 : -1;
        pos = forward ? 0 : static_cast<int>(lines_.Get(line - 1).size()) + 1;
    }
}

void TCustomOstEdit::DoMatchBracket()
{
    const TBufferCoord partner = GetMatchingBracket();
    if (partner.Char > 0)
        MoveCaretAndSelection(CaretXY(), partner, false);
}

}  // namespace ostrel
