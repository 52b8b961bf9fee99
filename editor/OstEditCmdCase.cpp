// Changing the case of the word at the caret or of the selection, through
// the code page's own case tables so that Polish letters follow.

#include "editor/OstEdit.h"
#include "platform/CodePage.h"

namespace ostrel {

namespace {

std::string ToggleCase(std::string_view s)
{
    std::string result(s);
    for (char& c : result) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(codepage::toUpper(u) == u ? codepage::toLower(u) : codepage::toUpper(u));
    }
    return result;
}

std::string ConvertCase(TOstEditorCommand command, std::string_view s)
{
    switch (command) {
    case ecUpperCase:
    case ecUpperCaseBlock: return codepage::toUpper(s);
    case ecLowerCase:
    case ecLowerCaseBlock: return codepage::toLower(s);
    case ecTitleCase: return codepage::toUpper(s.substr(0, 1)) + codepage::toLower(s.substr(1));
    default: return ToggleCase(s);
    }
}

}  // namespace

bool TCustomOstEdit::SelectWordForCase()
{
    const TBufferCoord start = WordStartEx(CaretXY());
    const TBufferCoord end = WordEndEx(CaretXY());
    if (start.Char >= end.Char)
        return false;
    SetCaretAndSelection(end, start, end);
    return true;
}

void TCustomOstEdit::DoCaseChange(TOstEditorCommand command)
{
    const bool block = command >= ecUpperCaseBlock;
    const bool hadSelection = SelAvail();
    const TBufferCoord oldCaret = CaretXY();
    const TBufferCoord oldBegin = blockBegin_;
    const TBufferCoord oldEnd = blockEnd_;
    TOstPaintLockGuard lock(*this);
    // A word, or one character, is a stream of characters whatever mode new
    // selections use.
    const bool ownSelection = !block || !hadSelection;
    ActiveModeScope mode(*this, ownSelection ? smNormal : activeSelectionMode_);
    if (!block) {
        // The word at the caret, else the previous one (tried twice: from
        // the start of a line the first step only reaches the line above).
        bool found = SelectWordForCase();
        for (int attempt = 0; attempt < 2 && !found; ++attempt) {
            SetCaretXYEx(true, PrevWordPos());
            found = SelectWordForCase();
        }
        if (!found) {
            SetCaretAndSelection(oldCaret, oldBegin, oldEnd);
            return;
        }
    } else if (!hadSelection) {
        if (caretX_ > static_cast<int>(lines_.Get(caretY_ - 1).size()) && caretY_ < lines_.Count())
            SetCaretXYEx(true, {1, caretY_ + 1});
        if (caretX_ > static_cast<int>(lines_.Get(caretY_ - 1).size()))
            return;
        SetCaretAndSelection({caretX_ + 1, caretY_}, CaretXY(), {caretX_ + 1, caretY_});
    }
    const std::string text = UndoTextOfSelection();
    const std::string converted = ConvertCase(command, text);
    if (converted != text) {
        TOstUndoBlock undoBlock(undoList_);
        const TOstSelectionMode recordMode = activeSelectionMode_;
        if (hadSelection)
            undoList_.AddChange(crSelection, std::min(oldBegin, oldEnd), std::max(oldBegin, oldEnd), std::string(),
                                recordMode);
        else
            undoList_.AddChange(crSelection, oldCaret, oldCaret, std::string(), recordMode);
        undoList_.AddChange(crCaret, oldCaret, oldCaret, std::string(), recordMode);
        RecordDeleteOfSelection(crDeleteBackward);
        SetSelTextPrimitive(activeSelectionMode_, converted, true);
        const TBufferCoord insertStart =
            activeSelectionMode_ == smLine ? TBufferCoord{1, lastInsertStart_.Line} : lastInsertStart_;
        if (activeSelectionMode_ != smColumn)
            undoList_.AddChange(crInsert, insertStart, lastInsertEnd_, lastInsertTrimmed_, smNormal);
    }
    if (block && hadSelection) {
        SetCaretAndSelection(oldCaret, oldBegin, oldEnd);
    } else if (!block) {
        SetCaretAndSelection(oldCaret, oldCaret, oldCaret);
    }
}

}  // namespace ostrel
