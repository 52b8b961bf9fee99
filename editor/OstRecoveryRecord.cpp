#include "editor/OstRecoveryRecord.h"

#include <charconv>

namespace ostrel {

namespace {

constexpr std::string_view kMagic = "OSTREL-RECOVERY 1\n";
constexpr size_t kBlockSize = size_t{1} << 20;
constexpr int kLinesBetweenClockReads = 512;

std::string_view BreakName(TOstEditFileFormat style) { return style == Lf ? "lf" : style == Cr ? "cr" : "crlf"; }

void PutField(std::string& out, std::string_view name, std::string_view value)
{
    out.append(name).append(" ").append(std::to_string(value.size())).append("\n").append(value).append("\n");
}

// Reads the record's fields in the order they were written.
class TRecordReader {
public:
    explicit TRecordReader(std::string_view bytes) : rest_(bytes) {}

    bool Expect(std::string_view text)
    {
        if (!rest_.starts_with(text))
            return false;
        rest_.remove_prefix(text.size());
        return true;
    }
    bool Line(std::string_view name, std::string_view& value)
    {
        if (!Expect(name) || !Expect(" "))
            return false;
        const size_t end = rest_.find('\n');
        if (end == std::string_view::npos)
            return false;
        value = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return true;
    }
    bool Number(std::string_view text, int& value)
    {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size();
    }
    bool Sized(std::string_view name, std::string_view& value, bool last = false)
    {
        std::string_view size;
        size_t length = 0;
        if (!Line(name, size))
            return false;
        const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), length);
        if (ec != std::errc() || end != size.data() + size.size() || length > rest_.size())
            return false;
        value = rest_.substr(0, length);
        rest_.remove_prefix(length);
        return last ? rest_.empty() : Expect("\n");
    }

private:
    std::string_view rest_;
};

}  // namespace

size_t TOstRecoveryRecord::TextSize() const
{
    size_t size = 0;
    for (const std::string& block : textBlocks)
        size += block.size();
    return size;
}

std::string RecoveryHeader(const TOstRecoveryRecord& record)
{
    std::string out(kMagic);
    PutField(out, "path", record.path);
    PutField(out, "title", record.title);
    out += "encoding " + std::string(EncodingName(record.encoding)) + "\n";
    out += "breaks " + std::string(BreakName(record.lineBreaks)) + "\n";
    out += std::string("trailing ") + (record.trailingBreak ? "1" : "0") + "\n";
    out += std::string("modified ") + (record.modified ? "1" : "0") + "\n";
    out += "caret " + std::to_string(record.caretX) + " " + std::to_string(record.caretY) + "\n";
    out += "text " + std::to_string(record.TextSize()) + "\n";
    return out;
}

bool ParseRecoveryRecord(std::string_view bytes, TOstRecoveryRecord& record)
{
    TRecordReader in(bytes);
    std::string_view path, title, encoding, breaks, trailing, modified, caret, text;
    if (!in.Expect(kMagic) || !in.Sized("path", path) || !in.Sized("title", title) ||
        !in.Line("encoding", encoding) || !in.Line("breaks", breaks) || !in.Line("trailing", trailing) ||
        !in.Line("modified", modified) || !in.Line("caret", caret) || !in.Sized("text", text, true))
        return false;
    const std::optional<TOstEncoding> known = EncodingFromName(encoding);
    const size_t blank = caret.find(' ');
    if (!known || blank == std::string_view::npos || !in.Number(caret.substr(0, blank), record.caretX) ||
        !in.Number(caret.substr(blank + 1), record.caretY))
        return false;
    if (breaks != "crlf" && breaks != "lf" && breaks != "cr")
        return false;
    record.path = path;
    record.title = title;
    record.encoding = *known;
    record.lineBreaks = breaks == "lf" ? Lf : breaks == "cr" ? Cr : CrLf;
    record.trailingBreak = trailing == "1";
    record.modified = modified == "1";
    record.textBlocks = {std::string(text)};
    return true;
}

void RestoreRecoveredLines(const TOstRecoveryRecord& record, TOstEditStringList& lines)
{
    std::string text;
    text.reserve(record.TextSize());
    for (const std::string& block : record.textBlocks)
        text += block;
    // Every line ends with LF, so each one, an empty last one too, comes back.
    lines.SetTrailingLineBreak(true);
    const bool heldAsUtf8 = record.encoding == TOstEncoding::Utf8Bom || record.encoding == TOstEncoding::Utf16Le ||
                            record.encoding == TOstEncoding::Utf16Be;
    lines.LoadFromBytes(text, TOstEncodingChoice{heldAsUtf8 ? TOstEncoding::Utf8 : record.encoding, record.encoding});
    lines.SetEncoding(record.encoding);
    lines.SetLineBreakStyle(record.lineBreaks);
    lines.SetTrailingLineBreak(record.trailingBreak);
}

TOstTextSnapshot::TOstTextSnapshot(const TOstEditStringList& lines) : lines_(lines), revision_(lines.Revision()) {}

bool TOstTextSnapshot::Continue(std::chrono::steady_clock::time_point deadline)
{
    const int count = lines_.Count();
    while (next_ < count) {
        const int stop = std::min(count, next_ + kLinesBetweenClockReads);
        for (; next_ < stop; ++next_) {
            const std::string_view line = lines_.Get(next_);
            if (blocks_.empty() || blocks_.back().size() + line.size() + 1 > kBlockSize) {
                blocks_.emplace_back();
                blocks_.back().reserve(std::max(kBlockSize, line.size() + 1));
            }
            blocks_.back().append(line).push_back('\n');
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return next_ >= count;
    }
    return true;
}

}  // namespace ostrel
