#include "print/OstEditExport.h"

#include <algorithm>
#include <utility>

#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstLineStateScanner.h"
#include "platform/CodePage.h"
#include "platform/SafeWrite.h"
#include "platform/Utf8.h"

namespace ostrel {

// ---- output buffer -------------------------------------------------------------------

void TOstExportBuffer::Rewind(size_t frontGap)
{
    size_ = 0;
    start_ = 0;
    if (frontGap > capacity_)
        Reallocate(frontGap, 0);
    start_ = frontGap;
}

void TOstExportBuffer::Reserve(size_t capacity)
{
    if (capacity > capacity_ - start_)
        Reallocate(start_ + capacity, start_);
}

void TOstExportBuffer::Grow(size_t needed)
{
    Reallocate(std::max(start_ + needed, capacity_ * 2), start_);
}

void TOstExportBuffer::Reallocate(size_t capacity, size_t newStart)
{
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0)
        std::memcpy(data.get() + newStart, data_.get() + start_, size_);
    data_ = std::move(data);
    start_ = newStart;
    capacity_ = capacity;
}

void TOstExportBuffer::InsertFront(std::string_view bytes)
{
    if (bytes.size() > start_) {
        const size_t needed = size_ + bytes.size();
        if (needed > capacity_)
            Reallocate((needed + 6144) / 4096 * 4096, bytes.size());
        else if (size_ > 0)
            std::memmove(data_.get() + bytes.size(), data_.get() + start_, size_);
        start_ = bytes.size();
    }
    start_ -= bytes.size();
    size_ += bytes.size();
    if (!bytes.empty())
        std::memcpy(data_.get() + start_, bytes.data(), bytes.size());
}

// ---- exporter ------------------------------------------------------------------------

namespace {

constexpr size_t kMinimumReserve = 4096;
constexpr size_t kReservePerLine = 128;
// Room for the preamble in front of the body, so that it need not be moved:
// enough for a colour table of about a hundred colours.
constexpr size_t kPreambleGap = 4096;

TColor OrDefault(TColor color, TColor fallback)
{
    return color == clNone ? fallback : color;
}

}  // namespace

TOstCustomExporter::TOstCustomExporter()
    : font_(DefaultFont()), title_("Untitled"), resolveColor_(DefaultColorToRGB)
{
}

TOstCustomExporter::~TOstCustomExporter() = default;

TOstFont TOstCustomExporter::DefaultFont()
{
    TOstFont font;
    font.Name = "Courier New";
    font.PixelsPerInch = 96;
    font.SetSize(10);
    font.Color = clBlack;
    font.Style = 0;
    return font;
}

void TOstCustomExporter::SetExportAsText(bool on)
{
    if (on == exportAsText_)
        return;
    exportAsText_ = on;
    Reset();
}

void TOstCustomExporter::SetFont(const TOstFont* font)
{
    font_ = font ? *font : DefaultFont();
}

void TOstCustomExporter::SetHighlighter(TOstCustomHighlighter* highlighter)
{
    if (highlighter == highlighter_)
        return;
    highlighter_ = highlighter;
    Reset();
}

void TOstCustomExporter::SetTitle(std::string title)
{
    title_ = title.empty() ? "Untitled" : std::move(title);
}

void TOstCustomExporter::SetColorResolver(std::function<TColor(TColor)> resolver)
{
    resolveColor_ = resolver ? std::move(resolver) : DefaultColorToRGB;
}

TColor TOstCustomExporter::ResolveColor(TColor color) const
{
    return resolveColor_(color);
}

void TOstCustomExporter::Reset()
{
    buffer_.Rewind();
    lastStyle_ = 0;
    lastBackground_ = clWindow;
    lastForeground_ = clWindowText;
}

void TOstCustomExporter::SetReservedChar(unsigned char c, std::string replacement)
{
    reserved_[c] = std::move(replacement);
    reservedSet_[c] = true;
    special_[c] = true;
}

std::string TOstCustomExporter::EncodeDoubleByte(unsigned char lead, unsigned char trail)
{
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

void TOstCustomExporter::EncodeCharacter(char32_t cp, std::string& out)
{
    utf8::Append(out, cp);
}

bool TOstCustomExporter::ExportLines(const TOstEditStringList& lines)
{
    return ExportSpan(lines, {1, 1}, {INT_MAX, INT_MAX});
}

bool TOstCustomExporter::ExportSpan(const TOstEditStringList& lines, TBufferCoord start, TBufferCoord stop)
{
    const int count = lines.Count();
    start.Line = std::max(1, start.Line);
    if (!highlighter_ || count == 0 || start.Line > count || start.Line > stop.Line)
        return false;
    const auto lengthOf = [&lines](int line) { return static_cast<long long>(lines.Get(line - 1).size()); };
    stop.Line = std::max(1, std::min(stop.Line, count));
    stop.Char = static_cast<int>(std::clamp<long long>(stop.Char, 1, lengthOf(stop.Line) + 1));
    start.Char = static_cast<int>(std::clamp<long long>(start.Char, 1, lengthOf(start.Line) + 1));
    if (start.Line == stop.Line && start.Char >= stop.Char)
        return false;

    SetTextEncoding(lines.Encoding());
    BeginExport(static_cast<size_t>(stop.Line - start.Line));
    // A span that starts further down still lexes its first line from the
    // state the lines above leave, as the editor shows it.
    TOstLineStateScanner scan(*highlighter_, HoldsUtf8(lines.Encoding()));
    scan.ScanFromTop(start.Line - 1, [&lines](int i) { return lines.Get(i); }, [](int, TOstLineState) {});
    for (int line = start.Line; line <= stop.Line; ++line) {
        const std::string_view text = lines.Get(line - 1);
        const size_t from = line == start.Line ? static_cast<size_t>(start.Char - 1) : 0;
        const size_t to = line == stop.Line ? static_cast<size_t>(stop.Char - 1) : text.size();
        scan.ContinueLine(text, line - 1);
        ExportLine(text, line, from, to);
    }
    EndExport();
    return true;
}

// The whole line, started by the caller, is lexed, so that a token cut by
// the span keeps the kind it has in the editor; only the part inside
// [from, to) is written.
void TOstCustomExporter::ExportLine(std::string_view text, int line, size_t from, size_t to)
{
    OpenLine(line);
    TOstCustomHighlighter& hl = *highlighter_;
    for (; !hl.AtLineEnd(); hl.NextToken()) {
        const size_t start = std::min(static_cast<size_t>(std::max(hl.TokenStart(), 0)), text.size());
        const size_t end = std::min(start + static_cast<size_t>(std::max(hl.TokenLength(), 0)), text.size());
        const size_t cutStart = std::max(start, from);
        const size_t cutEnd = std::min(end, to);
        if (cutStart > cutEnd || (cutStart == cutEnd && start != end))
            continue;
        TextRun(text.substr(cutStart, cutEnd - cutStart), hl.TokenAttribute());
    }
    CloseLine();
}

void TOstCustomExporter::BeginExport(size_t lineCountHint)
{
    buffer_.Rewind(kPreambleGap);
    buffer_.Reserve(std::max(kMinimumReserve, lineCountHint * kReservePerLine));
    decodesCharacters_ = textEncoding_ != TOstEncoding::Windows1250;
    for (int c = 0; c < 256; ++c)
        special_[c] = reservedSet_[c] || IsLeadByte(static_cast<unsigned char>(c)) || (decodesCharacters_ && c >= 0x80);
    firstAttribute_ = true;
}

void TOstCustomExporter::OpenLine(int /*line*/) {}

void TOstCustomExporter::TextRun(std::string_view text, const TOstHighlighterAttributes* attribute)
{
    const bool blankOnly = EscapeToken(text);
    ApplyTokenAttribute(blankOnly, attribute);
    WriteToken(escaped_);
}

void TOstCustomExporter::CloseLine()
{
    WriteLineBreak();
}

void TOstCustomExporter::EndExport()
{
    if (!firstAttribute_)
        AfterLastAttribute();
    buffer_.InsertFront(Preamble());
    Write(Trailer());
}

bool TOstCustomExporter::EscapeToken(std::string_view text)
{
    escaped_.clear();
    if (escaped_.capacity() < text.size())
        escaped_.reserve(std::max(text.size(), escaped_.capacity() + 32));
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        size_t plain = i;
        while (plain < n && !special_[static_cast<unsigned char>(text[plain])])
            ++plain;
        escaped_.append(text.data() + i, plain - i);
        if (plain == n)
            break;
        const auto c = static_cast<unsigned char>(text[plain]);
        if (decodesCharacters_ && c >= 0x80) {
            i = EscapeCharacter(text, plain);
            continue;
        }
        i = plain + 1;
        if (reservedSet_[c]) {
            escaped_ += reserved_[c];
        } else if (i < n && text[i] != '\0') {  // a lead byte with its trail byte
            escaped_ += EncodeDoubleByte(c, static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            escaped_ += static_cast<char>(c);
        }
    }
    return text.find_first_not_of(' ') == std::string_view::npos;
}

size_t TOstCustomExporter::EscapeCharacter(std::string_view text, size_t i)
{
    if (!HoldsUtf8(textEncoding_)) {
        EncodeCharacter(CodePageOf(textEncoding_)->ToUnicode(static_cast<unsigned char>(text[i])), escaped_);
        return i + 1;
    }
    const utf8::TDecoded d = utf8::Decode(text, i);
    EncodeCharacter(d.valid ? d.cp : U'\uFFFD', escaped_);
    return i + d.length;
}

// The title and the font name are in the text's encoding too.
std::string TOstCustomExporter::EscapeText(std::string_view text)
{
    EscapeToken(text);
    return escaped_;
}

// The styles written so far are always the ones in force, so a later token
// is compared with what the output really shows. A blank-only token keeps
// the foreground (blanks show no colour) but takes its own style, since an
// underline or a strike-out shows on blanks too.
void TOstCustomExporter::ApplyTokenAttribute(bool blankOnly, const TOstHighlighterAttributes* attribute)
{
    const TColor background = OrDefault(attribute ? attribute->Background() : clNone, color_);
    const TColor foreground = OrDefault(attribute ? attribute->Foreground() : clNone, font_.Color);
    const TFontStyles style = attribute ? (attribute->Style() & kFontStyleMask) : 0;
    if (firstAttribute_) {
        firstAttribute_ = false;
        lastBackground_ = background;
        lastForeground_ = foreground;
        lastStyle_ = style;
        BeforeFirstAttribute(useBackground_ && background != color_, foreground != font_.Color, style);
        return;
    }
    const bool backgroundChanged = useBackground_ && background != lastBackground_;
    const bool foregroundChanged = !blankOnly && foreground != lastForeground_;
    if (!backgroundChanged && !foregroundChanged && style == lastStyle_)
        return;
    CloseAttributes(backgroundChanged, foregroundChanged, lastStyle_ & ~style);
    const TFontStyles added = style & ~lastStyle_;
    lastBackground_ = background;
    if (!blankOnly)
        lastForeground_ = foreground;
    lastStyle_ = style;
    OpenAttributes(backgroundChanged, foregroundChanged, added);
}

void TOstCustomExporter::WriteToFile(const std::string& path) const
{
    WriteFileSafely(path, Output());
}

int RegisterClipboardFormat(std::string_view name)
{
    static std::vector<std::string> names;
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end())
        it = names.insert(names.end(), std::string(name));
    return 0xC000 + static_cast<int>(it - names.begin());
}

bool ExportLinesToFile(TOstCustomExporter& exporter, TOstCustomHighlighter* highlighter,
                       const TOstEditStringList& lines, const std::string& path)
{
    exporter.SetHighlighter(highlighter);
    exporter.SetExportAsText(true);
    if (!exporter.ExportLines(lines))
        return false;
    exporter.WriteToFile(path);
    return true;
}

// ---- files ---------------------------------------------------------------------------

void ExportUtf8(const std::string& path, std::string_view text, TOstEncoding encoding)
{
    if (HoldsUtf8(encoding))
        WriteFileSafely(path, text);
    else
        WriteFileSafely(path, ToUtf8(text, encoding));
}

}  // namespace ostrel
