#include "editor/OstEditWordWrap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

// Lines per block as blocks are built; a block twice as large is split.
constexpr int kBlockLines = 256;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

TCustomOstEdit& RequireOwner(TCustomOstEdit* owner)
{
    if (!owner)
        throw EOstEditError("TOstWordWrapPlugin must be owned by TCustomOstEdit");
    return *owner;
}

}  // namespace

TOstWordWrapPlugin::TOstWordWrapPlugin(TCustomOstEdit* owner) : editor_(RequireOwner(owner))
{
    Reset();
}

// ---- limits and wrapping one line ------------------------------------------------

void TOstWordWrapPlugin::TakeLimits()
{
    maxRowLength_ = std::clamp(editor_.CharsInWindow(), 0, kMaxRowLength);
    // Taken from the row length actually used: from a window wider than a
    // row may be, the minimum would exceed the maximum and every row would
    // be cut inside a word.
    minRowLength_ = std::max(1, maxRowLength_ - maxRowLength_ / 3);
    tabWidth_ = std::max(editor_.TabWidth(), 1);
    for (size_t c = 0; c < breakChars_.size(); ++c)
        breakChars_.set(c, !editor_.IsIdentChar(static_cast<unsigned char>(c)));
}

void TOstWordWrapPlugin::WrapLine(std::string_view s, std::vector<uint8_t>& rows,
                                  const std::vector<bool>* inside) const
{
    rows.clear();
    const int len = static_cast<int>(std::min<size_t>(s.size(), INT_MAX));
    if (maxRowLength_ <= 0) {
        rows.push_back(0);
        return;
    }
    auto at = [&s](int i) { return s[static_cast<size_t>(i)]; };
    // Letters of the encoding (the Polish ones among them) never break a
    // row, whatever identifier characters a highlighter names.
    const TOstTextChars& chars = editor_.Lines().Chars();
    auto breaksAfter = [this, &chars](char c) {
        const auto b = static_cast<unsigned char>(c);
        return breakChars_.test(b) && (b < 0x80 || !chars.IsLetterOrDigitAt(std::string_view(&c, 1), 0));
    };
    int start = 0;
    while (start + maxRowLength_ < len) {
        int end = start + maxRowLength_;
        if (IsBlank(at(end))) {
            // Blanks at the wrap point stay at the end of the row.
            while (end < len && IsBlank(at(end)))
                ++end;
        } else {
            for (int p = end - 1; p > start + minRowLength_; --p) {
                if (breaksAfter(at(p))) {
                    end = p + 1;
                    break;
                }
            }
        }
        if (end - start > kMaxRowLength) {
            end = start + kMaxRowLength;
            // A cut among the cells of TABs moves back towards their start.
            for (int back = kMaxRowLength % tabWidth_;
                 back > 0 && end - 1 > start && at(end) == '\t' && at(end - 1) == '\t'; --back)
                --end;
        }
        // A wide character stays whole on one row.
        while (inside && end < len && end - 1 > start && (*inside)[static_cast<size_t>(end)])
            --end;
        rows.push_back(static_cast<uint8_t>(end - start));
        start = end;
    }
    rows.push_back(static_cast<uint8_t>(len - start));
}

void TOstWordWrapPlugin::WrapBufferLine(int line0, std::vector<uint8_t>& rows) const
{
    TOstEditStringList& lines = editor_.Lines();
    // Most lines fit in one row; their width is cached and needs no expanding.
    const int width = lines.ExpandedWidth(line0);
    if (width <= maxRowLength_) {
        rows.assign(1, static_cast<uint8_t>(width));
        return;
    }
    if (lines.IsSimpleLine(line0)) {
        WrapLine(lines.ExpandedLine(line0), rows);
        return;
    }
    std::vector<bool> inside;
    const std::string cells = CellsForWrapping(lines.ExpandedLine(line0), inside);
    WrapLine(cells, rows, &inside);
}

// A line of characters of several bytes or cells as one byte a cell for
// the wrapper: ASCII as it is, other letters and digits as a letter, every
// other character as a byte that breaks rows after it.
std::string TOstWordWrapPlugin::CellsForWrapping(std::string_view expanded, std::vector<bool>& inside) const
{
    const TOstTextChars& chars = editor_.Lines().Chars();
    std::string cells;
    cells.reserve(expanded.size());
    inside.clear();
    for (size_t at = 0; at < expanded.size();) {
        const size_t next = chars.Next(expanded, at);
        const auto first = static_cast<unsigned char>(expanded[at]);
        const char shown = first < 0x80 ? expanded[at] : chars.IsLetterOrDigitAt(expanded, at) ? 'a' : '\x80';
        const int width = first == '\t' ? 1 : chars.Cells(expanded, at, next);
        for (int k = 0; k < width; ++k) {
            cells += shown;
            inside.push_back(k > 0);
        }
        at = next;
    }
    return cells;
}

// ---- building ---------------------------------------------------------------------------

void TOstWordWrapPlugin::Reset()
{
    TakeLimits();
    Rebuild();
}

bool TOstWordWrapPlugin::DisplayChanged()
{
    if (std::clamp(editor_.CharsInWindow(), 0, kMaxRowLength) == maxRowLength_)
        return false;
    Reset();
    return true;
}

void TOstWordWrapPlugin::Rebuild()
{
    const int count = editor_.Lines().Count();
    blocks_.clear();
    lineCount_ = rowCount_ = 0;
    if (count > 0 && maxRowLength_ > 0) {
        blocks_ = BuildBlocks(0, count);
        lineCount_ = count;
        for (const Block& block : blocks_)
            rowCount_ += block.Rows();
    }
    Invalidate(0);
}

void TOstWordWrapPlugin::AppendLine(Block& block, const std::vector<uint8_t>& rows) const
{
    block.lengths.insert(block.lengths.end(), rows.begin(), rows.end());
    block.rowEnds.push_back(block.Rows() + static_cast<int32_t>(rows.size()));
}

std::vector<TOstWordWrapPlugin::Block> TOstWordWrapPlugin::BuildBlocks(int firstLine0, int count) const
{
    std::vector<Block> built;
    built.reserve(static_cast<size_t>(count / kBlockLines + 1));
    std::vector<uint8_t> rows;
    for (int i = 0; i < count; ++i) {
        if (i % kBlockLines == 0) {
            built.emplace_back();
            built.back().rowEnds.reserve(static_cast<size_t>(std::min(count - i, kBlockLines)));
        }
        WrapBufferLine(firstLine0 + i, rows);
        AppendLine(built.back(), rows);
    }
    return built;
}

// ---- block starts ---------------------------------------------------------------------

void TOstWordWrapPlugin::Invalidate(int firstStaleBlock) const
{
    validStarts_ = std::clamp(firstStaleBlock, 0, validStarts_);
    starts_.resize(blocks_.size());
}

void TOstWordWrapPlugin::ExtendStarts() const
{
    const size_t b = static_cast<size_t>(validStarts_);
    if (b == 0) {
        starts_[0] = {0, 0};
    } else {
        const Block& before = blocks_[b - 1];
        starts_[b] = {starts_[b - 1].line + before.Lines(), starts_[b - 1].row + before.Rows()};
    }
    ++validStarts_;
}

// The block holding the value-th line or row (from 0): the starts are summed
// only as far as that block.
int TOstWordWrapPlugin::FindBlock(int value, int Start::*start, int (Block::*size)() const) const
{
    const int blocks = static_cast<int>(blocks_.size());
    while (validStarts_ < blocks &&
           (validStarts_ == 0 ||
            starts_[static_cast<size_t>(validStarts_ - 1)].*start + (blocks_[static_cast<size_t>(validStarts_ - 1)].*size)() <=
                value))
        ExtendStarts();
    const auto first = starts_.begin();
    const auto found = std::upper_bound(first, first + validStarts_, value,
                                        [start](int v, const Start& s) { return v < s.*start; });
    return std::max(static_cast<int>(found - first) - 1, 0);
}

TOstWordWrapPlugin::Place TOstWordWrapPlugin::FindLine(int line0) const
{
    const int b = FindBlock(line0, &Start::line, &Block::Lines);
    return {b, line0 - StartLine(b)};
}

TOstWordWrapPlugin::Place TOstWordWrapPlugin::FindRow(int row0) const
{
    const int b = FindBlock(row0, &Start::row, &Block::Rows);
    const std::vector<int32_t>& ends = blocks_[static_cast<size_t>(b)].rowEnds;
    const int local = row0 - StartRow(b);
    const int index = static_cast<int>(std::upper_bound(ends.begin(), ends.end(), local) - ends.begin());
    return {b, index};
}

// ---- questions --------------------------------------------------------------------------

int TOstWordWrapPlugin::LineToRow(int line) const
{
    if (line > lineCount_)
        return rowCount_ + (line - lineCount_);
    if (line < 1)
        return line;
    const Place at = FindLine(line - 1);
    return StartRow(at.block) + blocks_[static_cast<size_t>(at.block)].FirstRowOf(at.index) + 1;
}

int TOstWordWrapPlugin::RowToLine(int row) const
{
    if (row > rowCount_)
        return lineCount_ + (row - rowCount_);
    if (row < 1)
        return row;
    const Place at = FindRow(row - 1);
    return StartLine(at.block) + at.index + 1;
}

int TOstWordWrapPlugin::RowsOfLine(int line) const
{
    if (line < 1 || line > lineCount_)
        return 1;
    const Place at = FindLine(line - 1);
    const Block& block = blocks_[static_cast<size_t>(at.block)];
    return block.rowEnds[static_cast<size_t>(at.index)] - block.FirstRowOf(at.index);
}

int TOstWordWrapPlugin::RowLengthAt(Place at, int rowInLine) const
{
    const Block& block = blocks_[static_cast<size_t>(at.block)];
    return block.lengths[static_cast<size_t>(block.FirstRowOf(at.index) + rowInLine)];
}

int TOstWordWrapPlugin::RowLength(int row) const
{
    if (row < 1 || row > rowCount_)
        throw EOstEditStringList("List index out of bounds (" + std::to_string(row) + ")");
    return RowInfo(row).Length;
}

TOstWrapRow TOstWordWrapPlugin::RowInfo(int row) const
{
    if (row < 1 || row > rowCount_)
        return {RowToLine(row), 0, INT_MAX / 2, true};
    const Place at = FindRow(row - 1);
    const Block& block = blocks_[static_cast<size_t>(at.block)];
    const int first = block.FirstRowOf(at.index);
    const int local = row - 1 - StartRow(at.block);
    TOstWrapRow info;
    info.Line = StartLine(at.block) + at.index + 1;
    for (int r = first; r < local; ++r)
        info.Start += block.lengths[static_cast<size_t>(r)];
    info.Length = block.lengths[static_cast<size_t>(local)];
    info.LastOfLine = local + 1 == block.rowEnds[static_cast<size_t>(at.index)];
    return info;
}

// A column reached by the running sum of row lengths lies on that row, so
// the cell after a row's last one starts the next row; columns beyond the
// line stay on its last row.
TDisplayCoord TOstWordWrapPlugin::LineColumnToDisplay(int line, int column) const
{
    if (line < 1 || line > lineCount_)
        return {column, LineToRow(line)};
    const Place at = FindLine(line - 1);
    const int firstRow = LineToRow(line);
    const int rows = RowsOfLine(line);
    int before = 0;
    for (int k = 0; k < rows; ++k) {
        const int length = RowLengthAt(at, k);
        if (before + length >= column || k == rows - 1)
            return {column - before, firstRow + k};
        before += length;
    }
    return {column, firstRow};
}

// A column beyond a row's end stands after its last cell; on a line's last
// row it may reach one past the longest row, into the space after the line.
void TOstWordWrapPlugin::DisplayToLineColumn(TDisplayCoord p, int& line, int& column) const
{
    if (p.Row < 1 || p.Row > rowCount_) {
        line = RowToLine(p.Row);
        column = p.Column;
        return;
    }
    const TOstWrapRow info = RowInfo(p.Row);
    const int limit = info.LastOfLine ? maxRowLength_ + 1 : info.Length + 1;
    line = info.Line;
    column = std::min(p.Column, limit) + info.Start;
}

// ---- buffer changes ---------------------------------------------------------------------

int TOstWordWrapPlugin::ReplaceLine(Place at, const std::vector<uint8_t>& rows)
{
    Block& block = blocks_[static_cast<size_t>(at.block)];
    const int first = block.FirstRowOf(at.index);
    const int old = block.rowEnds[static_cast<size_t>(at.index)] - first;
    const int delta = static_cast<int>(rows.size()) - old;
    const auto pos = block.lengths.begin() + first;
    const size_t common = static_cast<size_t>(std::min(old, static_cast<int>(rows.size())));
    std::copy(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(common), pos);
    if (delta > 0)
        block.lengths.insert(pos + static_cast<std::ptrdiff_t>(common), rows.begin() + static_cast<std::ptrdiff_t>(common),
                             rows.end());
    else if (delta < 0)
        block.lengths.erase(pos + static_cast<std::ptrdiff_t>(common), pos + old);
    if (delta != 0) {
        for (size_t i = static_cast<size_t>(at.index); i < block.rowEnds.size(); ++i)
            block.rowEnds[i] += delta;
        rowCount_ += delta;
        Invalidate(at.block + 1);
    }
    return delta;
}

int TOstWordWrapPlugin::LinesChanged(int index, int count)
{
    if (maxRowLength_ <= 0 || index < 0 || index + count > lineCount_) {
        Rebuild();
        return rowCount_;
    }
    std::vector<uint8_t> rows;
    int moved = 0;
    for (int line0 = index; line0 < index + count; ++line0) {
        WrapBufferLine(line0, rows);
        moved += std::abs(ReplaceLine(FindLine(line0), rows));
    }
    return moved;
}

void TOstWordWrapPlugin::SplitBlock(int b, int index)
{
    Block& left = blocks_[static_cast<size_t>(b)];
    Block right;
    const int rowsBefore = left.FirstRowOf(index);
    right.lengths.assign(left.lengths.begin() + rowsBefore, left.lengths.end());
    right.rowEnds.reserve(left.rowEnds.size() - static_cast<size_t>(index));
    for (size_t i = static_cast<size_t>(index); i < left.rowEnds.size(); ++i)
        right.rowEnds.push_back(left.rowEnds[i] - rowsBefore);
    left.lengths.resize(static_cast<size_t>(rowsBefore));
    left.rowEnds.resize(static_cast<size_t>(index));
    blocks_.insert(blocks_.begin() + b + 1, std::move(right));
    Invalidate(b + 1);
}

void TOstWordWrapPlugin::SplitIfLarge(int b)
{
    if (blocks_[static_cast<size_t>(b)].Lines() > 2 * kBlockLines)
        SplitBlock(b, kBlockLines);
}

void TOstWordWrapPlugin::InsertIntoBlock(Place at, int firstLine0, int count)
{
    Block added;
    std::vector<uint8_t> rows;
    for (int i = 0; i < count; ++i) {
        WrapBufferLine(firstLine0 + i, rows);
        AppendLine(added, rows);
    }
    const int addedRows = added.Rows();
    Block& block = blocks_[static_cast<size_t>(at.block)];
    const int rowsBefore = block.FirstRowOf(at.index);
    block.lengths.insert(block.lengths.begin() + rowsBefore, added.lengths.begin(), added.lengths.end());
    for (size_t i = static_cast<size_t>(at.index); i < block.rowEnds.size(); ++i)
        block.rowEnds[i] += addedRows;
    for (int32_t& end : added.rowEnds)
        end += rowsBefore;
    block.rowEnds.insert(block.rowEnds.begin() + at.index, added.rowEnds.begin(), added.rowEnds.end());
    rowCount_ += addedRows;
    Invalidate(at.block + 1);
    SplitIfLarge(at.block);
}

void TOstWordWrapPlugin::InsertBlocks(Place at, int firstLine0, int count)
{
    std::vector<Block> built = BuildBlocks(firstLine0, count);
    for (const Block& block : built)
        rowCount_ += block.Rows();
    int b = at.block;
    if (at.index > 0) {
        SplitBlock(b, at.index);
        ++b;
    }
    blocks_.insert(blocks_.begin() + b, std::make_move_iterator(built.begin()), std::make_move_iterator(built.end()));
    // Splitting at a block's end leaves an empty block behind.
    const auto empty = std::remove_if(blocks_.begin(), blocks_.end(), [](const Block& x) { return x.Lines() == 0; });
    blocks_.erase(empty, blocks_.end());
    Invalidate(at.block);
}

int TOstWordWrapPlugin::LinesInserted(int index, int count)
{
    if (count <= 0)
        return 0;
    if (maxRowLength_ <= 0 || index < 0 || index > lineCount_ || blocks_.empty()) {
        Rebuild();
        return rowCount_;
    }
    const int rowsBefore = rowCount_;
    Place at;
    if (index == lineCount_) {
        at.block = static_cast<int>(blocks_.size()) - 1;
        at.index = blocks_.back().Lines();
    } else {
        at = FindLine(index);
    }
    if (count <= kBlockLines)
        InsertIntoBlock(at, index, count);
    else
        InsertBlocks(at, index, count);
    lineCount_ += count;
    return rowCount_ - rowsBefore;
}

int TOstWordWrapPlugin::EraseFromBlock(Place at, int count)
{
    Block& block = blocks_[static_cast<size_t>(at.block)];
    const int firstRow = block.FirstRowOf(at.index);
    const int endRow = block.rowEnds[static_cast<size_t>(at.index + count - 1)];
    const int removed = endRow - firstRow;
    block.lengths.erase(block.lengths.begin() + firstRow, block.lengths.begin() + endRow);
    block.rowEnds.erase(block.rowEnds.begin() + at.index, block.rowEnds.begin() + at.index + count);
    for (size_t i = static_cast<size_t>(at.index); i < block.rowEnds.size(); ++i)
        block.rowEnds[i] -= removed;
    if (block.Lines() == 0) {
        blocks_.erase(blocks_.begin() + at.block);
        Invalidate(at.block);
    } else {
        Invalidate(at.block + 1);
    }
    return removed;
}

int TOstWordWrapPlugin::LinesDeleted(int index, int count)
{
    if (count <= 0)
        return 0;
    if (maxRowLength_ <= 0 || index < 0 || index + count > lineCount_) {
        Rebuild();
        return rowCount_;
    }
    int removed = 0;
    for (int left = count; left > 0;) {
        const Place at = FindLine(index);
        if (at.index == 0) {
            // Whole blocks go in one step, however many there are.
            int end = at.block;
            int lines = 0;
            while (end < static_cast<int>(blocks_.size()) && lines + blocks_[static_cast<size_t>(end)].Lines() <= left) {
                lines += blocks_[static_cast<size_t>(end)].Lines();
                removed += blocks_[static_cast<size_t>(end)].Rows();
                ++end;
            }
            if (end > at.block) {
                blocks_.erase(blocks_.begin() + at.block, blocks_.begin() + end);
                Invalidate(at.block);
                left -= lines;
                continue;
            }
        }
        const int n = std::min(left, blocks_[static_cast<size_t>(at.block)].Lines() - at.index);
        removed += EraseFromBlock(at, n);
        left -= n;
    }
    lineCount_ -= count;
    rowCount_ -= removed;
    return removed;
}

}  // namespace ostrel
