#include "editor/OstLineCells.h"

#include "platform/Utf8.h"

namespace ostrel {

namespace {

constexpr char32_t kMiddleDot = 0xB7;
constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

void TOstLineCells::Assign(std::string expanded, const TOstTextChars& chars, bool simple)
{
    expanded_ = std::move(expanded);
    chars_ = chars;
    simple_ = simple;
    cellOfByte_.clear();
    byteOfCell_.clear();
    if (simple_) {
        width_ = static_cast<int>(expanded_.size());
        return;
    }
    cellOfByte_.reserve(expanded_.size() + 1);
    int cell = 0;
    for (size_t at = 0; at < expanded_.size();) {
        const size_t next = chars_.Next(expanded_, at);
        const int cells = expanded_[at] == '\t' ? 1 : chars_.Cells(expanded_, at, next);
        cellOfByte_.insert(cellOfByte_.end(), next - at, cell);
        byteOfCell_.insert(byteOfCell_.end(), static_cast<size_t>(cells), static_cast<uint32_t>(at));
        cell += cells;
        at = next;
    }
    width_ = cell;
    cellOfByte_.push_back(cell);
    byteOfCell_.push_back(static_cast<uint32_t>(expanded_.size()));
}

int TOstLineCells::CellOfByte(size_t b) const
{
    if (b >= expanded_.size())
        return width_;
    return simple_ ? static_cast<int>(b) : cellOfByte_[b];
}

size_t TOstLineCells::ByteOfCell(int c) const
{
    if (c >= width_)
        return expanded_.size();
    const size_t cell = static_cast<size_t>(c < 0 ? 0 : c);
    return simple_ ? cell : byteOfCell_[cell];
}

int TOstLineCells::CharEnd(int c) const
{
    if (c >= width_)
        return c + 1;
    if (simple_)
        return c + 1;
    return CellOfByte(chars_.Next(expanded_, ByteOfCell(c)));
}

void TOstLineCells::Show(int from, int to, bool specialChars, TShown& out) const
{
    out.text.clear();
    out.cells.clear();
    out.invalid.clear();
    const TOstEncoding encoding = chars_.Encoding();
    const size_t end = ByteOfCell(to);
    int cell = from;
    for (size_t at = ByteOfCell(from); at < end;) {
        const size_t next = chars_.Next(expanded_, at);
        const char c = expanded_[at];
        const int cells = c == '\t' ? 1 : chars_.Cells(expanded_, at, next);
        if (c == '\t' || (c == ' ' && !specialChars)) {
            out.text += ' ';
            out.cells.push_back(1);
            out.last = ' ';
        } else if (c == ' ') {
            utf8::Append(out.text, kMiddleDot);
            out.cells.push_back(1);
            out.last = kMiddleDot;
        } else if (!chars_.Utf8()) {
            const char32_t cp = CodePageOf(encoding)->ToUnicode(static_cast<unsigned char>(c));
            utf8::Append(out.text, cp);
            out.cells.push_back(1);
            out.last = cp;
        } else {
            // The code points of the character: the first takes its cells,
            // the marks joined to it none.
            for (size_t k = at; k < next;) {
                const utf8::TDecoded d = utf8::Decode(expanded_, k);
                if (d.valid) {
                    out.text.append(expanded_, k, d.length);
                    out.last = d.cp;
                } else {
                    utf8::Append(out.text, kReplacement);
                    out.invalid.push_back(cell);
                    out.last = kReplacement;
                }
                out.cells.push_back(static_cast<uint8_t>(k == at ? cells : 0));
                k += d.length;
            }
        }
        cell += cells;
        at = next;
    }
}

}  // namespace ostrel
