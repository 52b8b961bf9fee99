#pragma once
// How the bytes of a document form characters and screen cells. In the two
// single-byte code pages a byte is a character of one cell. In UTF-8 a
// character is a code point with the combining marks that follow it, a byte
// of no valid sequence is a character of its own, and a character takes the
// cells of its width. A TAB reaches the next multiple of the tab width.

#include <cstddef>
#include <string_view>

#include "platform/TextEncoding.h"

namespace ostrel {

class TOstTextChars {
public:
    explicit TOstTextChars(TOstEncoding e = TOstEncoding::Windows1250) : encoding_(e), utf8_(HoldsUtf8(e)) {}
    TOstEncoding Encoding() const { return encoding_; }
    bool Utf8() const { return utf8_; }

    // Where the character starting at byte i ends (i < s.size()).
    size_t Next(std::string_view s, size_t i) const
    {
        if (!utf8_ || (IsAscii(s[i]) && (i + 1 >= s.size() || IsAscii(s[i + 1]))))
            return i + 1;
        return NextUtf8(s, i);
    }
    // Where the character ending at byte i starts (0 < i <= s.size()).
    size_t Prev(std::string_view s, size_t i) const
    {
        if (!utf8_ || IsAscii(s[i - 1]))
            return i - 1;
        return PrevUtf8(s, i);
    }
    // The start of the character that holds byte i; the end of s, and
    // positions beyond it, stay as they are.
    size_t Floor(std::string_view s, size_t i) const
    {
        if (!utf8_ || i == 0 || i >= s.size() || IsAscii(s[i]))
            return i;
        return FloorUtf8(s, i);
    }
    bool IsBoundary(std::string_view s, size_t i) const { return Floor(s, i) == i; }
    // The cells of the character from byte i to next; a TAB is measured by
    // the column it stands at, not here.
    int Cells(std::string_view s, size_t i, size_t next) const
    {
        if (!utf8_ || next == i + 1)
            return 1;
        return CellsUtf8(s, i);
    }
    // A letter or digit beyond ASCII (Polish letters in every encoding).
    bool IsLetterOrDigitAt(std::string_view s, size_t i) const;
    // Whether every character of s is one byte of one cell, TABs aside.
    bool IsSimple(std::string_view s) const;

    // Columns from 0, with TABs expanded at tabWidth (1 and less: a TAB is
    // one cell). The column where byte i starts; bytes beyond the end count
    // one column each (virtual space).
    int ColumnOf(std::string_view s, size_t i, int tabWidth) const;
    // The byte where the character covering column c starts: the character
    // itself when c falls inside it (a TAB, a wide character), the end of
    // the line plus the columns beyond it in virtual space.
    size_t ByteAtColumn(std::string_view s, int column, int tabWidth) const;
    // The width of the whole line in columns.
    int Width(std::string_view s, int tabWidth) const;

    static int NextTabStop(int column, int tabWidth)
    {
        return tabWidth <= 1 ? column + 1 : column + tabWidth - column % tabWidth;
    }

private:
    static bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
    static size_t NextUtf8(std::string_view s, size_t i);
    static size_t PrevUtf8(std::string_view s, size_t i);
    static size_t FloorUtf8(std::string_view s, size_t i);
    static int CellsUtf8(std::string_view s, size_t i);

    TOstEncoding encoding_;
    bool utf8_;
};

}  // namespace ostrel
