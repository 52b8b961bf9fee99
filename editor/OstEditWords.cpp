// Word boundaries and indentation rules.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

int Len(std::string_view s)
{
    return static_cast<int>(s.size());
}

}  // namespace

TOstCharSet TCustomOstEdit::DefaultIdentChars()
{
    TOstCharSet set;
    for (int c = '0'; c <= '9'; ++c) set.set(static_cast<size_t>(c));
    for (int c = 'A'; c <= 'Z'; ++c) set.set(static_cast<size_t>(c));
    for (int c = 'a'; c <= 'z'; ++c) set.set(static_cast<size_t>(c));
    set.set('_');
    for (int c = 192; c <= 255; ++c)
        if (c != 215 && c != 247) set.set(static_cast<size_t>(c));
    // The Polish letters below 192 in Windows-1250 (ą, ł, ś, ź, ż and their
    // capitals, with the other letters there) belong to words too.
    for (int c : {0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xA3, 0xA5, 0xAA, 0xAF,
                  0xB3, 0xB9, 0xBA, 0xBC, 0xBE, 0xBF})
        set.set(static_cast<size_t>(c));
    return set;
}

TOstCharSet TCustomOstEdit::DefaultWordBreakChars()
{
    TOstCharSet set;
    for (int c : {33, 34, 58, 59, 61, 63, 123, 124, 125})
        set.set(static_cast<size_t>(c));
    for (int c = 39; c <= 47; ++c) set.set(static_cast<size_t>(c));
    for (int c = 91; c <= 94; ++c) set.set(static_cast<size_t>(c));
    return set;
}

void TCustomOstEdit::SetWordCharSets(const TOstCharSet& identChars, const TOstCharSet& wordBreakChars)
{
    identChars_ = identChars;
    wordBreakChars_ = wordBreakChars;
    wordChars_ = identChars & ~wordBreakChars;
    RewrapAll();  // rows break after characters that are not identifier characters
}

bool TCustomOstEdit::IsIdentChar(unsigned char c) const
{
    return identChars_.test(c);
}

bool TCustomOstEdit::IsWordBreakChar(unsigned char c) const
{
    return wordBreakChars_.test(c);
}

bool TCustomOstEdit::IsWordChar(unsigned char c) const
{
    return wordChars_.test(c);
}

// ---- characters of words -----------------------------------------------------------

namespace {

// From the character at byte i on, the first character pred refuses (or
// the end), and back from byte i the start of the run pred accepts.
template <typename Pred>
size_t SkipForward(const TOstTextChars& chars, std::string_view s, size_t i, Pred pred)
{
    while (i < s.size() && pred(i))
        i = chars.Next(s, i);
    return i;
}

template <typename Pred>
size_t SkipBackward(const TOstTextChars& chars, std::string_view s, size_t i, Pred pred)
{
    while (i > 0) {
        const size_t before = chars.Prev(s, i);
        if (!pred(before))
            break;
        i = before;
    }
    return i;
}

}  // namespace

// ASCII is judged by the highlighter's sets; beyond it every letter and
// digit of the encoding belongs to words.
bool TCustomOstEdit::IsWordCharAt(std::string_view s, size_t i) const
{
    const auto c = static_cast<unsigned char>(s[i]);
    return (c < 0x80 || !lines_.Chars().Utf8()) ? IsWordChar(c) : lines_.Chars().IsLetterOrDigitAt(s, i);
}

bool TCustomOstEdit::IsIdentCharAt(std::string_view s, size_t i) const
{
    const auto c = static_cast<unsigned char>(s[i]);
    return (c < 0x80 || !lines_.Chars().Utf8()) ? IsIdentChar(c) : lines_.Chars().IsLetterOrDigitAt(s, i);
}

TBufferCoord TCustomOstEdit::NextWordPosEx(TBufferCoord from) const
{
    const TOstTextChars& chars = lines_.Chars();
    const std::string_view s = lines_.Get(from.Line - 1);
    const auto word = [&](std::string_view t) { return [this, t](size_t i) { return IsWordCharAt(t, i); }; };
    const auto notWord = [&](std::string_view t) { return [this, t](size_t i) { return !IsWordCharAt(t, i); }; };
    const int len = Len(s);
    if (from.Char >= len + 1) {
        if (from.Line >= lines_.Count())
            return from;
        const std::string_view next = lines_.Get(from.Line);
        const size_t first = SkipForward(chars, next, 0, notWord(next));
        return {first < next.size() ? static_cast<int>(first) + 1 : 1, from.Line + 1};
    }
    size_t pos = chars.Floor(s, static_cast<size_t>(std::max(from.Char, 1) - 1));
    if (IsWordCharAt(s, pos)) {
        pos = SkipForward(chars, s, pos, word(s));
        if (pos >= s.size())
            return {len + 1, from.Line};
    }
    pos = SkipForward(chars, s, pos, notWord(s));
    return {static_cast<int>(pos) + 1, from.Line};
}

TBufferCoord TCustomOstEdit::PrevWordPosEx(TBufferCoord from) const
{
    const TOstTextChars& chars = lines_.Chars();
    const std::string_view s = lines_.Get(from.Line - 1);
    size_t pos = chars.Floor(s, static_cast<size_t>(std::clamp(from.Char, 1, Len(s) + 1) - 1));
    const auto endOfLineAbove = [&]() -> TBufferCoord {
        if (from.Line > 1)
            return {Len(lines_.Get(from.Line - 2)) + 1, from.Line - 1};
        return {1, from.Line};
    };
    if (pos == 0)
        return endOfLineAbove();
    pos = SkipBackward(chars, s, pos, [this, s](size_t i) { return !IsWordCharAt(s, i); });
    if (pos == 0)
        return endOfLineAbove();
    pos = SkipBackward(chars, s, pos, [this, s](size_t i) { return IsWordCharAt(s, i); });
    return {static_cast<int>(pos) + 1, from.Line};
}

TBufferCoord TCustomOstEdit::WordStartEx(TBufferCoord from) const
{
    const TOstTextChars& chars = lines_.Chars();
    const std::string_view s = lines_.Get(from.Line - 1);
    size_t pos = chars.Floor(s, static_cast<size_t>(std::clamp(from.Char, 1, Len(s) + 1) - 1));
    pos = SkipBackward(chars, s, pos, [this, s](size_t i) { return IsWordCharAt(s, i); });
    return {static_cast<int>(pos) + 1, from.Line};
}

TBufferCoord TCustomOstEdit::WordEndEx(TBufferCoord from) const
{
    const TOstTextChars& chars = lines_.Chars();
    const std::string_view s = lines_.Get(from.Line - 1);
    const int start = std::max(from.Char, 1);
    if (start > Len(s))
        return {Len(s) + 1, from.Line};
    size_t pos = chars.Floor(s, static_cast<size_t>(start - 1));
    pos = SkipForward(chars, s, pos, [this, s](size_t i) { return IsWordCharAt(s, i); });
    return {static_cast<int>(pos) + 1, from.Line};
}

std::string TCustomOstEdit::GetWordAtRowCol(TBufferCoord p) const
{
    const TOstTextChars& chars = lines_.Chars();
    const std::string_view s = lines_.Get(p.Line - 1);
    if (p.Char < 1 || p.Char > Len(s))
        return std::string();
    const size_t at = chars.Floor(s, static_cast<size_t>(p.Char - 1));
    if (!IsIdentCharAt(s, at))
        return std::string();
    const auto ident = [this, s](size_t i) { return IsIdentCharAt(s, i); };
    const size_t start = SkipBackward(chars, s, at, ident);
    const size_t stop = SkipForward(chars, s, chars.Next(s, at), ident);
    return std::string(s.substr(start, stop - start));
}

// ---- indentation ---------------------------------------------------------------------

int TCustomOstEdit::LeftSpaces(std::string_view line) const
{
    if (!options_.has(eoAutoIndent))
        return 0;
    int n = 0;
    while (n < Len(line) && static_cast<unsigned char>(line[static_cast<size_t>(n)]) <= 32)
        ++n;
    return n;
}

int TCustomOstEdit::LeftSpacesColumns(std::string_view line) const
{
    if (!options_.has(eoAutoIndent))
        return 0;
    int columns = 0;
    for (char c : line) {
        if (static_cast<unsigned char>(c) > 32)
            break;
        columns += c == '\t' ? tabWidth_ : 1;
    }
    return columns;
}

std::string TCustomOstEdit::GetLeftSpacing(int columns, bool wantTabs) const
{
    columns = std::max(columns, 0);
    if (!wantTabs || options_.has(eoTabsToSpaces) || columns < tabWidth_)
        return std::string(static_cast<size_t>(columns), ' ');
    return std::string(static_cast<size_t>(columns / tabWidth_), '\t') +
           std::string(static_cast<size_t>(columns % tabWidth_), ' ');
}

}  // namespace ostrel
