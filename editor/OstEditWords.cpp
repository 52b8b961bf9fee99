// Word boundaries and indentation rules.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

int Len(std::string_view s)
{
    return static_cast<int>(s.size());
}

unsigned char At(std::string_view s, int charIndex)
{
    return static_cast<unsigned char>(s[static_cast<size_t>(charIndex - 1)]);
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

TBufferCoord TCustomOstEdit::NextWordPosEx(TBufferCoord from) const
{
    const std::string_view s = lines_.Get(from.Line - 1);
    const int len = Len(s);
    if (from.Char >= len + 1) {
        if (from.Line >= lines_.Count())
            return from;
        const std::string_view next = lines_.Get(from.Line);
        for (int i = 1; i <= Len(next); ++i)
            if (IsWordChar(At(next, i)))
                return {i, from.Line + 1};
        return {1, from.Line + 1};
    }
    int pos = std::max(from.Char, 1);
    if (IsWordChar(At(s, pos))) {
        while (pos <= len && IsWordChar(At(s, pos)))
            ++pos;
        if (pos > len)
            return {len + 1, from.Line};
    }
    while (pos <= len && !IsWordChar(At(s, pos)))
        ++pos;
    return {pos, from.Line};
}

TBufferCoord TCustomOstEdit::PrevWordPosEx(TBufferCoord from) const
{
    const std::string_view s = lines_.Get(from.Line - 1);
    int pos = std::clamp(from.Char, 1, Len(s) + 1);
    if (pos == 1) {
        if (from.Line > 1)
            return {Len(lines_.Get(from.Line - 2)) + 1, from.Line - 1};
        return {1, from.Line};
    }
    if (!IsWordChar(At(s, pos - 1))) {
        int j = pos - 2;
        while (j >= 1 && !IsWordChar(At(s, j)))
            --j;
        if (j < 1) {
            if (from.Line > 1)
                return {Len(lines_.Get(from.Line - 2)) + 1, from.Line - 1};
            return {1, from.Line};
        }
        pos = j + 1;
    }
    while (pos > 1 && IsWordChar(At(s, pos - 1)))
        --pos;
    return {pos, from.Line};
}

TBufferCoord TCustomOstEdit::WordStartEx(TBufferCoord from) const
{
    const std::string_view s = lines_.Get(from.Line - 1);
    int pos = std::clamp(from.Char, 1, Len(s) + 1);
    while (pos > 1 && IsWordChar(At(s, pos - 1)))
        --pos;
    return {pos, from.Line};
}

TBufferCoord TCustomOstEdit::WordEndEx(TBufferCoord from) const
{
    const std::string_view s = lines_.Get(from.Line - 1);
    int pos = std::max(from.Char, 1);
    while (pos <= Len(s) && IsWordChar(At(s, pos)))
        ++pos;
    return {std::min(pos, Len(s) + 1), from.Line};
}

std::string TCustomOstEdit::GetWordAtRowCol(TBufferCoord p) const
{
    const std::string_view s = lines_.Get(p.Line - 1);
    if (p.Char < 1 || p.Char > Len(s) || !IsIdentChar(At(s, p.Char)))
        return std::string();
    int start = p.Char;
    while (start > 1 && IsIdentChar(At(s, start - 1)))
        --start;
    int stop = p.Char + 1;
    while (stop <= Len(s) && IsIdentChar(At(s, stop)))
        ++stop;
    return std::string(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(stop - start)));
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
