// Text commands: the dispatch of everything that changes text, and typing
// characters in insert and overwrite mode.

#include <algorithm>
#include <cstring>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

// Characters that typing accepts: controls and DEL are keys, not text.
std::string TypedText(std::string_view text)
{
    std::string result;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u != 127)
            result += c;
    }
    return result;
}

}  // namespace

void TCustomOstEdit::ExecuteEditCommand(TOstEditorCommand command, char aChar, const void* data)
{
    if (readOnly_)
        return;
    switch (command) {
    case ecDeleteLastChar: DoDeleteLastChar(); break;
    case ecDeleteChar: DoDeleteChar(); break;
    case ecDeleteWord: DoDeleteWord(); break;
    case ecDeleteLastWord: DoDeleteBackTo(PrevWordPos()); break;
    case ecDeleteBOL: DoDeleteBackTo({1, caretY_}); break;
    case ecDeleteEOL: DoDeleteToEol(); break;
    case ecDeleteLine: DoDeleteLine(); break;
    case ecClearAll: ClearAll(); break;
    case ecLineBreak: InsertLineBreak(true); break;
    case ecInsertLine: InsertLineBreak(false); break;
    case ecChar:
        DoTypeText(TypedText(data ? std::string_view(static_cast<const char*>(data)) : std::string_view(&aChar, 1)));
        break;
    case ecImeStr:
        if (data)
            DoTypeText(TypedText(static_cast<const char*>(data)));
        break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecCut: CutToClipboard(); break;
    case ecPaste: PasteFromClipboard(); break;
    case ecBlockIndent: DoBlockIndent(); break;
    case ecBlockUnindent: DoBlockUnindent(); break;
    case ecTab: DoTabKey(); break;
    case ecShiftTab: DoShiftTabKey(); break;
    default:
        if (EditorCommandFamily(command) == TOstCommandFamily::Case)
            DoCaseChange(command);
        break;
    }
}

// ---- typing ---------------------------------------------------------------------------

void TCustomOstEdit::DoTypeText(std::string_view text)
{
    if (text.empty())
        return;
    if (SelAvail()) {
        // The selection's text goes (recorded as a backward delete) and the
        // typed text takes its place (recorded as an insert).
        SetSelText(text);
        EnsureCursorPosVisible();
        return;
    }
    const int y = caretY_;
    ScrollPastEolScope pastEol(*this);
    TOstUndoBlock block(undoList_);

    std::string line(lines_.Get(y - 1));
    const int len = static_cast<int>(line.size());
    int at = caretX_;
    const bool padded = caretX_ > len + 1;
    if (padded) {
        // Typing beyond the end first fills the gap: spaces after text, an
        // indentation (TABs where allowed) on an empty line.
        const int gap = caretX_ - 1 - len;
        const std::string padding = len > 0 ? std::string(static_cast<size_t>(gap), ' ') : GetLeftSpacing(gap, true);
        line += padding;
        at = len + 1 + static_cast<int>(padding.size());
        undoList_.AddChange(crPaddingInsert, {len + 1, y}, {at, y}, std::string(), smNormal);
    }
    const size_t pos = static_cast<size_t>(at - 1);
    std::string overwritten;
    if (insertMode_) {
        line.insert(pos, text);
    } else {
        // As many whole characters go as are typed.
        overwritten = line.substr(pos, OverwrittenLength(line, pos, text));
        line.replace(pos, overwritten.size(), text);
    }
    const int end = at + static_cast<int>(text.size());
    WriteLine(y, line);
    // After padding, the insert item spans the padding too: trimming may
    // drop a padding of TABs between the undo of the two items, and redo
    // must still rebuild it as it was.
    const int insertStart = padded ? len + 1 : at;
    undoList_.AddChange(crInsert, {insertStart, y}, {end, y}, overwritten, smNormal);
    SetCaretXYEx(false, {end, y});
    // A mark typed after a letter joins it: no end may stay inside the pair.
    blockBegin_ = blockEnd_ = CaretXY();

    if (charsInWindow_ > 0 && DisplayXY().Column >= leftChar_ + charsInWindow_)
        SetLeftChar(leftChar_ + std::min(25, charsInWindow_ - 1));
    EnsureCursorPosVisible();
}

void TCustomOstEdit::DuplicateLine()
{
    if (readOnly_ || lines_.Count() == 0)
        return;
    const TBufferCoord caret = CaretXY();
    const TBufferCoord lineStart{1, caret.Line};
    const std::string copy = std::string(lines_.Get(caret.Line - 1)) + "\r\n";
    TOstPaintLockGuard lock(*this);
    BreakUndoGroup();
    TOstUndoBlock block(undoList_);
    ScrollPastEolScope pastEol(*this);
    ActiveModeScope normal(*this, smNormal);
    {
        const TrimSuspendScope exactCopy(*this);
        InsertTextAt(lineStart, copy, smNormal);
    }
    undoList_.AddChange(crInsert, lineStart, {1, caret.Line + 1}, std::string(), smNormal);
    SetCaretAndSelection(caret, caret, caret);
    EnsureCursorPosVisible();
}

size_t TCustomOstEdit::OverwrittenLength(std::string_view line, size_t pos, std::string_view typed) const
{
    const TOstTextChars& chars = lines_.Chars();
    size_t end = pos;
    for (size_t t = 0; t < typed.size() && end < line.size(); t = chars.Next(typed, t))
        end = chars.Next(line, end);
    return end - pos;
}

}  // namespace ostrel
