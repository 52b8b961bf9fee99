#include "platform/TextChars.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

bool JoinsAt(std::string_view s, size_t i)
{
    if (static_cast<unsigned char>(s[i]) < 0x80)
        return false;
    const utf8::TDecoded d = utf8::Decode(s, i);
    return d.valid && unicode::JoinsPrevious(d.cp);
}

// A character that joins the one before it still takes a cell of its own
// where nothing stands before it.
int CellsOfSequence(const utf8::TDecoded& d)
{
    if (!d.valid)
        return 1;
    const int cells = unicode::Cells(d.cp);
    return cells == 0 ? 1 : cells;
}

// Steps back from a code point that joins the one before it to the
// character's first code point; the first code point of a line is a
// character's start whatever it is.
size_t BackToBase(std::string_view s, size_t j)
{
    while (j > 0 && JoinsAt(s, j))
        j = utf8::PrevBoundary(s, j);
    return j;
}

}  // namespace

size_t TOstTextChars::NextUtf8(std::string_view s, size_t i)
{
    size_t j = i + utf8::Decode(s, i).length;
    while (j < s.size() && JoinsAt(s, j))
        j += utf8::Decode(s, j).length;
    return j;
}

size_t TOstTextChars::PrevUtf8(std::string_view s, size_t i)
{
    return BackToBase(s, utf8::PrevBoundary(s, i));
}

size_t TOstTextChars::FloorUtf8(std::string_view s, size_t i)
{
    // The code point holding byte i: a sequence that starts at most three
    // bytes before it and reaches past it.
    size_t start = i;
    for (size_t back = 1; back <= 3 && back <= i; ++back) {
        const auto b = static_cast<unsigned char>(s[i - back + 1]);
        if ((b & 0xC0) != 0x80)
            break;
        const utf8::TDecoded d = utf8::Decode(s, i - back);
        if (d.valid && i - back + d.length > i) {
            start = i - back;
            break;
        }
    }
    return BackToBase(s, start);
}

int TOstTextChars::CellsUtf8(std::string_view s, size_t i)
{
    return CellsOfSequence(utf8::Decode(s, i));
}

int TOstTextChars::Width(std::string_view s, int tabWidth) const
{
    if (!utf8_)
        return ColumnOf(s, s.size(), tabWidth);
    // One pass without the character steps: the code points' own cells
    // add up, those that join add none (but at the start).
    int column = 0;
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (IsAscii(c)) {
            column = c == '\t' ? NextTabStop(column, tabWidth) : column + 1;
            ++i;
            continue;
        }
        const utf8::TDecoded d = utf8::Decode(s, i);
        column += i == 0 ? CellsOfSequence(d) : d.valid ? unicode::Cells(d.cp) : 1;
        i += d.length;
    }
    return column;
}

bool TOstTextChars::IsLetterOrDigitAt(std::string_view s, size_t i) const
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (!utf8_) {
        // Letters of the code page have a case; ß has none but is one.
        const codepage::TCodePage& page = *CodePageOf(encoding_);
        return (b >= '0' && b <= '9') || page.IsUpper(b) || page.IsLower(b) || b == 0xDF;
    }
    const utf8::TDecoded d = utf8::Decode(s, i);
    return d.valid && unicode::IsWordCharacter(d.cp);
}

bool TOstTextChars::IsSimple(std::string_view s) const
{
    if (!utf8_)
        return true;
    for (char c : s)
        if (!IsAscii(c))
            return false;
    return true;
}

int TOstTextChars::ColumnOf(std::string_view s, size_t i, int tabWidth) const
{
    int column = 0;
    size_t at = 0;
    while (at < i && at < s.size()) {
        const size_t next = Next(s, at);
        column = s[at] == '\t' ? NextTabStop(column, tabWidth) : column + Cells(s, at, next);
        at = next;
    }
    if (i > s.size())
        column += static_cast<int>(i - s.size());
    return column;
}

size_t TOstTextChars::ByteAtColumn(std::string_view s, int column, int tabWidth) const
{
    int x = 0;
    size_t at = 0;
    while (at < s.size()) {
        const size_t next = Next(s, at);
        const int after = s[at] == '\t' ? NextTabStop(x, tabWidth) : x + Cells(s, at, next);
        if (after > column)
            return at;
        x = after;
        at = next;
    }
    return s.size() + static_cast<size_t>(column > x ? column - x : 0);
}

}  // namespace ostrel
