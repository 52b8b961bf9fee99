// Changing the case of the word at the caret or of the selection: in UTF-8
// by the simple Unicode case mappings, in the code pages through the page's
// own case tables, so that Polish letters follow either way.

#include "editor/OstEdit.h"
#include "platform/CodePage.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

enum class TCaseChange { Upper, Lower, Toggle, Title };

TCaseChange CaseChangeOf(TOstEditorCommand command)
{
    switch (command) {
    case ecUpperCase:
    case ecUpperCaseBlock: return TCaseChange::Upper;
    case ecLowerCase:
    case ecLowerCaseBlock: return TCaseChange::Lower;
    case ecTitleCase: return TCaseChange::Title;
    default: return TCaseChange::Toggle;
    }
}

// The case of the character at `index` of the text: title case makes the
// first one upper and the rest lower.
template <typename Char, typename Upper, typename Lower>
Char ChangedCase(TCaseChange change, Char c, size_t index, Upper upper, Lower lower)
{
    switch (change) {
    case TCaseChange::Upper: return upper(c);
    case TCaseChange::Lower: return lower(c);
    case TCaseChange::Title: return index == 0 ? upper(c) : lower(c);
    case TCaseChange::Toggle: break;
    }
    return upper(c) == c ? lower(c) : upper(c);
}

std::string ConvertUtf8(TCaseChange change, std::string_view s)
{
    std::string result;
    result.reserve(s.size());
    size_t index = 0;
    for (size_t i = 0; i < s.size(); ++index) {
        const utf8::TDecoded d = utf8::Decode(s, i);
        if (d.valid)
            utf8::Append(result, ChangedCase(change, d.cp, index, unicode::SimpleUpper, unicode::SimpleLower));
        else
            result += s[i];  // an invalid byte stays as it is
        i += d.length;
    }
    return result;
}

std::string ConvertInPage(TCaseChange change, std::string_view s, const codepage::TCodePage& page)
{
    std::string result(s);
    for (size_t i = 0; i < result.size(); ++i) {
        const auto c = static_cast<unsigned char>(result[i]);
        result[i] = static_cast<char>(ChangedCase(
            change, c, i, [&](unsigned char b) { return page.ToUpper(b); },
            [&](unsigned char b) { return page.ToLower(b); }));
    }
    return result;
}

std::string ConvertCase(TOstEditorCommand command, std::string_view s, TOstEncoding encoding)
{
    const TCaseChange change = CaseChangeOf(command);
    if (HoldsUtf8(encoding))
        return ConvertUtf8(change, s);
    return ConvertInPage(change, s, *CodePageOf(encoding));
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
        // The character at the caret, all of its bytes.
        const std::string_view line = lines_.Get(caretY_ - 1);
        const int after = static_cast<int>(lines_.Chars().Next(line, static_cast<size_t>(caretX_ - 1))) + 1;
        SetCaretAndSelection({after, caretY_}, CaretXY(), {after, caretY_});
    }
    const std::string text = UndoTextOfSelection();
    const std::string converted = ConvertCase(command, text, Encoding());
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
