#pragma once
// The row map of word wrap: how many screen rows each buffer line takes and
// how many cells (of the line with tabs expanded) each row shows. The text
// is never changed by wrapping.
//
// The rows live in blocks of a few hundred lines, each block with its own
// running row totals; where each block starts is summed lazily and only as
// far as a question reaches. So re-wrapping a line, inserting or deleting
// lines costs the size of one block, never the size of the document.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditTypes.h"

namespace ostrel {

class TCustomOstEdit;

// One display row: its line (from 1), the line's cells before it, its
// length in cells, and whether it is the line's last row.
struct TOstWrapRow {
    int Line = 1;
    int Start = 0;
    int Length = 0;
    bool LastOfLine = true;
};

class TOstWordWrapPlugin {
public:
    // Rows never exceed this many cells: a row length is one byte.
    static constexpr int kMaxRowLength = 255;

    explicit TOstWordWrapPlugin(TCustomOstEdit* owner);
    TOstWordWrapPlugin(const TOstWordWrapPlugin&) = delete;
    TOstWordWrapPlugin& operator=(const TOstWordWrapPlugin&) = delete;

    int RowCount() const { return rowCount_; }
    int LineCount() const { return lineCount_; }
    int MaxRowLength() const { return maxRowLength_; }
    int MinRowLength() const { return minRowLength_; }
    // The length of a row, 1..RowCount(); others raise EOstEditStringList.
    int RowLength(int row) const;

    // Lines and rows from 1. A line or row beyond the map keeps its distance
    // from the map's end, so an empty map maps rows to lines one to one.
    int LineToRow(int line) const;
    int RowToLine(int row) const;
    int RowsOfLine(int line) const;
    TOstWrapRow RowInfo(int row) const;
    // Cells of the line with tabs expanded (from 1) to a display position,
    // and back; see the .cpp for the rules at the ends of rows.
    TDisplayCoord LineColumnToDisplay(int line, int column) const;
    void DisplayToLineColumn(TDisplayCoord p, int& line, int& column) const;

    // Buffer changes, lines from 0. Each returns how many rows moved or
    // changed count: 0 means only the changed lines need repainting.
    int LinesInserted(int index, int count);
    int LinesDeleted(int index, int count);
    int LinesChanged(int index, int count);
    // Re-wraps everything when the window's width in characters changed;
    // true when it did.
    bool DisplayChanged();
    // Takes the row limits and break characters anew and re-wraps all.
    void Reset();

    // The rows one line of expanded text wraps into; exposed so the map can
    // be checked against wrapping done from scratch.
    // Wraps a line given as one byte a cell. inside, when given, marks the
    // cells that continue a character, where no row may begin.
    std::string CellsForWrapping(std::string_view expanded, std::vector<bool>& inside) const;
    void WrapLine(std::string_view cells, std::vector<uint8_t>& rows,
                  const std::vector<bool>* inside = nullptr) const;

private:
    struct Block {
        std::vector<int32_t> rowEnds;  // rows of the block's lines up to and including each
        std::vector<uint8_t> lengths;  // the block's row lengths, in order
        int Lines() const { return static_cast<int>(rowEnds.size()); }
        int Rows() const { return rowEnds.empty() ? 0 : rowEnds.back(); }
        int FirstRowOf(int i) const { return i == 0 ? 0 : rowEnds[static_cast<size_t>(i) - 1]; }
    };
    struct Place {
        int block = 0;
        int index = 0;  // line within the block
    };
    struct Start {  // of a block: lines and rows before it
        int line = 0;
        int row = 0;
    };

    void TakeLimits();
    void Rebuild();
    void WrapBufferLine(int line0, std::vector<uint8_t>& rows) const;
    std::vector<Block> BuildBlocks(int firstLine0, int count) const;
    void AppendLine(Block& block, const std::vector<uint8_t>& rows) const;
    void InsertIntoBlock(Place at, int firstLine0, int count);
    void InsertBlocks(Place at, int firstLine0, int count);
    int ReplaceLine(Place at, const std::vector<uint8_t>& rows);
    int EraseFromBlock(Place at, int count);
    void SplitBlock(int b, int index);
    void SplitIfLarge(int b);

    // Block starts, summed as far as asked.
    void Invalidate(int firstStaleBlock) const;
    void ExtendStarts() const;
    int StartLine(int b) const { return starts_[static_cast<size_t>(b)].line; }
    int StartRow(int b) const { return starts_[static_cast<size_t>(b)].row; }
    int FindBlock(int value, int Start::*start, int (Block::*size)() const) const;
    Place FindLine(int line0) const;
    Place FindRow(int row0) const;
    int RowLengthAt(Place at, int rowInLine) const;

    TCustomOstEdit& editor_;
    int maxRowLength_ = 0;
    int minRowLength_ = 1;
    int tabWidth_ = 8;
    std::bitset<256> breakChars_;
    std::vector<Block> blocks_;
    mutable std::vector<Start> starts_;
    mutable int validStarts_ = 0;  // blocks whose start is summed
    int lineCount_ = 0;
    int rowCount_ = 0;
};

}  // namespace ostrel
