#pragma once
// One line laid out in screen cells for drawing: the line with its TABs
// expanded, where each character starts and how many cells it takes, and
// the characters as Unicode for the canvas. In a line of one-byte,
// one-cell characters a byte is a cell and nothing is looked up.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextChars.h"

namespace ostrel {

class TOstLineCells {
public:
    // Takes the expanded line. simple says every byte is a character of one
    // cell.
    void Assign(std::string expanded, const TOstTextChars& chars, bool simple);

    const std::string& Expanded() const { return expanded_; }
    int Width() const { return width_; }
    bool Simple() const { return simple_; }
    // The cell (from 0) where the character holding byte b starts; the width
    // for b at or past the end.
    int CellOfByte(size_t b) const;
    // The byte where the character covering cell c starts; the size for c at
    // or past the width.
    size_t ByteOfCell(int c) const;
    // The first cell of the character covering cell c, and the cell after it.
    int CharStart(int c) const { return c >= width_ || simple_ ? c : CellOfByte(ByteOfCell(c)); }
    int CharEnd(int c) const;

    // How cells show as text: TABs as blanks, blanks as a middle dot with
    // special characters shown, a byte of no valid sequence as the
    // replacement character.
    struct TShown {
        std::string text;            // UTF-8
        std::vector<uint8_t> cells;  // of each code point of text
        std::vector<int> invalid;    // cells (from 0) that show an invalid byte
        char32_t last = 0;           // the last character drawn
    };
    // Cells from..to-1 (whole characters; to at most the width).
    void Show(int from, int to, bool specialChars, TShown& out) const;

private:
    std::string expanded_;
    TOstTextChars chars_;
    bool simple_ = true;
    int width_ = 0;
    std::vector<int> cellOfByte_;    // when not simple: per byte, and one past the end
    std::vector<uint32_t> byteOfCell_;  // when not simple: per cell, and one past the end
};

}  // namespace ostrel
