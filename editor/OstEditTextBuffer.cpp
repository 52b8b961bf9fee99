#include "editor/OstEditTextBuffer.h"
#include "editor/OstTextLines.h"
#include "platform/SafeWrite.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <system_error>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel {

namespace {

constexpr size_t kChunkPadding = 64;  // zeros after the content: the scanner reads whole blocks

// Loaded content and the line array are filled right after they are
// allocated; with huge pages that costs a few dozen page faults instead of
// tens of thousands.
void AdviseHugePages(const void* data, size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr size_t kWorthIt = size_t{4} << 20;
    constexpr uintptr_t kPage = 4096;
    if (bytes < kWorthIt)
        return;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kPage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // only a hint
#else
    (void)data;
    (void)bytes;
#endif
}

// Where the bytes of a 64-byte block are CR or LF: bit i for byte i.
struct BlockMasks {
    uint64_t cr = 0;
    uint64_t lf = 0;
};

[[gnu::always_inline]] inline BlockMasks ClassifyBlock(const char* block)
{
    BlockMasks m;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (int part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        const auto bits = [&v](__m128i c) {
            return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c))));
        };
        m.cr |= bits(cr) << (16 * part);
        m.lf |= bits(lf) << (16 * part);
    }
#else
    for (int i = 0; i < 64; ++i) {
        const uint64_t bit = uint64_t{1} << i;
        m.cr |= block[i] == '\r' ? bit : 0;
        m.lf |= block[i] == '\n' ? bit : 0;
    }
#endif
    return m;
}

bool IsBreakByte(char c)
{
    return c == '\r' || c == '\n';
}

struct ScanResult {
    bool sawCr = false;
    bool sawLf = false;
};

// The bytes that end a line in the block at base. Every CR ends a line; an
// LF ends one unless a CR precedes it (it is stepped over with that CR). A
// NUL is text like any other byte, so that files holding one keep it.
// carry holds whether the previous block ended in CR.
[[gnu::always_inline]] inline uint64_t LineEndsOfBlock(const char* data, size_t size, size_t base,
                                                       uint64_t& carry, ScanResult& seen)
{
    BlockMasks m = ClassifyBlock(data + base);
    if (size - base < 64) {
        const uint64_t inside = (uint64_t{1} << (size - base)) - 1;
        m.cr &= inside;
        m.lf &= inside;
    }
    const uint64_t afterCr = (m.cr << 1) | carry;
    carry = m.cr >> 63;
    seen.sawCr |= m.cr != 0;
    seen.sawLf |= m.lf != 0;
    return m.cr | (m.lf & ~afterCr);
}

// Calls onEnd(position) for every byte that ends a line. The content must be
// readable in whole 64-byte blocks up to its size.
template <typename OnEnd>
ScanResult ForEachLineEnd(const char* data, size_t size, OnEnd&& onEnd)
{
    ScanResult seen;
    uint64_t carry = 0;
    for (size_t base = 0; base < size; base += 64) {
        for (uint64_t ends = LineEndsOfBlock(data, size, base, carry, seen); ends; ends &= ends - 1)
            onEnd(base + static_cast<size_t>(std::countr_zero(ends)));
    }
    return seen;
}

// Counts the lines ScanLines reports, block by block as the content comes
// in, and bounds the longest line by the widest distance between line ends.
class LineCounter {
public:
    // Counts the whole blocks that lie below available.
    void Feed(const char* data, size_t available)
    {
        for (; next_ + 64 <= available; next_ += 64)
            Add(LineEndsOfBlock(data, SIZE_MAX, next_, carry_, seen_), next_);
    }
    // Counts the rest; the content must be padded past size.
    void Finish(const char* data, size_t size)
    {
        for (; next_ < size; next_ += 64)
            Add(LineEndsOfBlock(data, size, next_, carry_, seen_), next_);
        widestGap_ = std::max(widestGap_, size - lastEnd_);
        if (size > 0 && !IsBreakByte(data[size - 1]))
            ++lines_;
    }
    size_t Lines() const { return lines_; }
    size_t WidestGap() const { return widestGap_; }

private:
    void Add(uint64_t ends, size_t base)
    {
        if (ends == 0)
            return;
        widestGap_ = std::max(widestGap_, base + static_cast<size_t>(std::countr_zero(ends)) - lastEnd_);
        lastEnd_ = base + 63 - static_cast<size_t>(std::countl_zero(ends));
        for (; ends; ends &= ends - 1)  // lines are long: few bits per block
            ++lines_;
    }
    size_t next_ = 0;
    uint64_t carry_ = 0;
    ScanResult seen_;
    size_t lines_ = 0;
    size_t lastEnd_ = 0;
    size_t widestGap_ = 0;
};

// Where the next line starts after the line ending at end: past CR, then
// past an LF.
size_t NextLineStart(const char* data, size_t end)
{
    const char ender = data[end];
    size_t next = end + 1;
    if (ender == '\r' && data[next] == '\n')
        ++next;
    return next;
}

// Calls addLine(begin, length) for every line of the content: CR LF, a lone
// LF and a lone CR end one line, LF CR ends a line and then an empty one. A
// break at the very end adds no empty line.
template <typename AddLine>
ScanResult ScanLines(const char* data, size_t size, AddLine&& addLine)
{
    size_t start = 0;
    const ScanResult seen = ForEachLineEnd(data, size, [&](size_t end) {
        addLine(start, end - start);
        start = NextLineStart(data, end);
    });
    if (size > 0 && !IsBreakByte(data[size - 1]))
        addLine(start, size - start);
    return seen;
}

TOstEditFileFormat StyleFromBreaks(ScanResult seen)
{
    if (seen.sawCr && !seen.sawLf)
        return Cr;
    if (seen.sawLf && !seen.sawCr)
        return Lf;
    return CrLf;
}

std::string IndexError(int index)
{
    return "Invalid stringlist index " + std::to_string(index);
}

int ClampToInt(size_t n)
{
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

// Tab stops. Width 1 and below turns each TAB into one space; the other
// widths keep TAB bytes in every cell a tab covers.
struct SpaceStop {
    static constexpr char kFill = ' ';
    static size_t Next(size_t column, size_t) { return column + 1; }
};
struct MaskStop {  // widths that are powers of two
    static constexpr char kFill = '\t';
    static size_t Next(size_t column, size_t width) { return (column + width) & ~(width - 1); }
};
struct RemainderStop {
    static constexpr char kFill = '\t';
    static size_t Next(size_t column, size_t width) { return column + width - column % width; }
};

template <typename Stop>
std::string ExpandTabs(std::string_view text, size_t width, bool& hasTabs)
{
    const size_t firstTab = text.find('\t');
    hasTabs = firstTab != std::string_view::npos;
    if (!hasTabs)
        return std::string(text);
    std::string out(text.substr(0, firstTab));
    out.reserve(text.size() + width * 2);
    for (size_t i = firstTab; i < text.size(); ++i) {
        if (text[i] == '\t')
            out.append(Stop::Next(out.size(), width) - out.size(), Stop::kFill);
        else
            out += text[i];
    }
    return out;
}

template <typename Stop>
size_t MeasureTabs(std::string_view text, size_t width, bool& hasTabs)
{
    const size_t firstTab = text.find('\t');
    hasTabs = firstTab != std::string_view::npos;
    if (!hasTabs)
        return text.size();
    size_t column = firstTab;
    for (size_t i = firstTab; i < text.size(); ++i)
        column = text[i] == '\t' ? Stop::Next(column, width) : column + 1;
    return column;
}

}  // namespace

// The expansion routine of the current tab width, with its measuring twin so
// that widths are found without building the expanded text.
struct TOstEditStringList::TabRoutine {
    std::string (*expand)(std::string_view, size_t, bool&);
    size_t (*measure)(std::string_view, size_t, bool&);
};

// Opens an update bracket for its lifetime, so that no exit leaves it open.
class TOstEditStringList::UpdateScope {
public:
    explicit UpdateScope(TOstEditStringList& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateScope() noexcept(false)
    {
        if (std::uncaught_exceptions() == unwinding_) {
            list_.EndUpdate();
            return;
        }
        try {
            list_.EndUpdate();
        } catch (...) {  // the first failure is the one to report
        }
    }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TOstEditStringList& list_;
    int unwinding_ = std::uncaught_exceptions();
};

const TOstEditStringList::TabRoutine* TOstEditStringList::TabRoutineFor(int width)
{
    static constexpr TabRoutine kSpaces{&ExpandTabs<SpaceStop>, &MeasureTabs<SpaceStop>};
    static constexpr TabRoutine kMask{&ExpandTabs<MaskStop>, &MeasureTabs<MaskStop>};
    static constexpr TabRoutine kRemainder{&ExpandTabs<RemainderStop>, &MeasureTabs<RemainderStop>};
    if (width <= 1)
        return &kSpaces;
    return std::has_single_bit(static_cast<unsigned>(width)) ? &kMask : &kRemainder;
}

TOstEditStringList::TOstEditStringList()
{
    // Not in the initialiser list: tabWidth_ is declared after tabRoutine_
    // and would be read before it is set.
    tabRoutine_ = TabRoutineFor(tabWidth_);
    static_assert(sizeof(LineRecord) <= 40, "a line record must stay small");
}

TOstEditStringList::~TOstEditStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    OnCleared = nullptr;
    OnDeleted = nullptr;
    OnInserted = nullptr;
    OnPutted = nullptr;
}

// --- update brackets and notifications ---------------------------------------

void TOstEditStringList::BeginUpdate()
{
    if (updateCount_ == 0)
        Notify(OnChanging);
    ++updateCount_;
}

void TOstEditStringList::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        Notify(OnChange);
}

void TOstEditStringList::Notify(const std::function<void()>& callback) const
{
    ++revision_;
    if (callback)
        callback();
}

void TOstEditStringList::Notify(const std::function<void(int, int)>& callback, int index,
                                int count) const
{
    ++revision_;
    if (callback)
        callback(index, count);
}

// --- capacity ----------------------------------------------------------------

void TOstEditStringList::SetCapacity(int capacity)
{
    if (capacity < Count())
        throw EOstEditStringList("Stringlist capacity cannot be smaller than count");
    Reallocate(static_cast<size_t>(capacity));
}

// Gives the array exactly the capacity asked for, in either direction.
void TOstEditStringList::Reallocate(size_t capacity)
{
    if (capacity == lines_.capacity())
        return;
    if (capacity > lines_.capacity()) {
        lines_.reserve(capacity);
        return;
    }
    std::vector<LineRecord> moved;
    moved.reserve(capacity);
    std::move(lines_.begin(), lines_.end(), std::back_inserter(moved));
    lines_.swap(moved);
}

// Small arrays grow by 16 records, larger ones by a quarter.
void TOstEditStringList::GrowForOne()
{
    const size_t capacity = lines_.capacity();
    if (lines_.size() < capacity)
        return;
    Reallocate(capacity <= 64 ? capacity + 16 : capacity + capacity / 4);
}

void TOstEditStringList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw EOstEditStringList(IndexError(index));
}

// --- reading lines -----------------------------------------------------------

std::string_view TOstEditStringList::Get(int i) const
{
    if (i < 0 || i >= Count())
        return {};
    return lines_[static_cast<size_t>(i)].text.view();
}

intptr_t TOstEditStringList::Object(int i) const
{
    return i >= 0 && i < Count() ? lines_[static_cast<size_t>(i)].object : 0;
}

TOstLineRange TOstEditStringList::LineRange(int i) const
{
    return i >= 0 && i < Count() ? lines_[static_cast<size_t>(i)].range : 0;
}

// Objects and ranges are the owner's bookkeeping, not text: setting them
// opens no bracket, so a full highlighter pass does not notify per line.
void TOstEditStringList::SetObject(int i, intptr_t value)
{
    CheckIndex(i, Count() - 1);
    lines_[static_cast<size_t>(i)].object = value;
}

void TOstEditStringList::SetLineRange(int i, TOstLineRange value)
{
    CheckIndex(i, Count() - 1);
    lines_[static_cast<size_t>(i)].range = value;
}

// --- editing -----------------------------------------------------------------

TOstEditStringList::LineRecord TOstEditStringList::NewLine(std::string_view text, intptr_t object)
{
    LineRecord line;
    line.text = TOstLineText(text);
    line.object = object;
    line.range = -1;
    line.expandedLength = -1;
    line.flags = kWidthInvalid;
    return line;
}

void TOstEditStringList::InsertRecord(int index, LineRecord record)
{
    if (lines_.size() >= static_cast<size_t>(INT_MAX))
        throw std::length_error("too many lines");
    GrowForOne();
    lines_.insert(lines_.begin() + index, std::move(record));
    InvalidateLongest();
}

int TOstEditStringList::AddLine(std::string_view text)
{
    UpdateScope update(*this);
    const int index = Count();
    InsertRecord(index, NewLine(text, 0));
    Notify(OnInserted, index, 1);
    return index;
}

void TOstEditStringList::InsertLine(int index, std::string_view text)
{
    CheckIndex(index, Count());
    UpdateScope update(*this);
    InsertRecord(index, NewLine(text, 0));
    Notify(OnInserted, index, 1);
}

void TOstEditStringList::SetLine(int index, std::string_view text)
{
    CheckIndex(index, Count());
    if (index == Count()) {
        AddLine(text);
        return;
    }
    UpdateScope update(*this);
    LineRecord& line = lines_[static_cast<size_t>(index)];
    line.text.assign(text);
    line.expandedLength = -1;
    line.flags = kWidthInvalid;
    InvalidateLongest();
    Notify(OnPutted, index, 1);
}

void TOstEditStringList::RemoveLine(int index)
{
    CheckIndex(index, Count() - 1);
    UpdateScope update(*this);
    lines_.erase(lines_.begin() + index);
    InvalidateLongest();
    DropChunksIfEmpty();
    Notify(OnDeleted, index, 1);
}

void TOstEditStringList::DeleteBlock(int index, int count)
{
    CheckIndex(index, Count());
    count = std::min(count, Count() - index);
    if (count <= 0)
        return;
    UpdateScope update(*this);
    lines_.erase(lines_.begin() + index, lines_.begin() + index + count);
    InvalidateLongest();
    DropChunksIfEmpty();
    Notify(OnDeleted, index, count);
}

void TOstEditStringList::InsertBlankLines(int index, int count)
{
    CheckIndex(index, Count());
    if (count <= 0)
        return;
    if (count > INT_MAX - Count())
        throw std::length_error("too many lines");
    UpdateScope update(*this);
    // Room for exactly the new lines; a larger array is kept as it is.
    const size_t needed = lines_.size() + static_cast<size_t>(count);
    if (needed > lines_.capacity())
        Reallocate(needed);
    const size_t oldCount = lines_.size();
    for (int i = 0; i < count; ++i)
        lines_.emplace_back().expandedLength = 0;  // all zero: measured as empty on request
    std::rotate(lines_.begin() + index, lines_.begin() + static_cast<std::ptrdiff_t>(oldCount),
                lines_.end());
    InvalidateLongest();
    Notify(OnInserted, index, count);
}

void TOstEditStringList::ExchangeLines(int a, int b)
{
    CheckIndex(a, Count() - 1);
    CheckIndex(b, Count() - 1);
    UpdateScope update(*this);
    std::swap(lines_[static_cast<size_t>(a)], lines_[static_cast<size_t>(b)]);
    if (longestLine_ == a)
        longestLine_ = b;
    else if (longestLine_ == b)
        longestLine_ = a;
}

void TOstEditStringList::ClearLines()
{
    UpdateScope update(*this);
    std::vector<LineRecord>().swap(lines_);
    chunks_.clear();
    InvalidateLongest();
    Notify(OnCleared);
}

void TOstEditStringList::ReplaceAll(std::string_view text)
{
    std::vector<std::string_view> parts;
    if (!text.empty())
        parts = SplitTextLines(text);
    UpdateScope update(*this);
    if (parts.size() != lines_.size()) {
        DeleteBlock(0, Count());
        std::vector<std::string> copies(parts.begin(), parts.end());
        AddAll(copies);
        return;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        LineRecord& line = lines_[i];
        line.text.assign(parts[i]);
        line.expandedLength = -1;
        line.flags = kWidthInvalid;
    }
    InvalidateLongest();
    if (!parts.empty())
        Notify(OnPutted, 0, Count());
}

// Loaded content no line refers to any more is released with the last line.
void TOstEditStringList::DropChunksIfEmpty()
{
    if (lines_.empty())
        chunks_.clear();
}

void TOstEditStringList::AddAll(const std::vector<std::string>& lines)
{
    AppendAll(lines.size(), [&lines](size_t i) { return NewLine(lines[i], 0); });
}

void TOstEditStringList::AddAll(const TOstEditStringList& other)
{
    AppendAll(other.lines_.size(), [&other](size_t i) {
        return NewLine(other.lines_[i].text.view(), other.lines_[i].object);
    });
}

// Appends n records made by lineAt(i) in one step; the array grows to the
// next multiple of 16 when it is too small. The source may be this buffer:
// with the room made first, its records do not move while being copied.
template <typename LineAt>
void TOstEditStringList::AppendAll(size_t n, LineAt&& lineAt)
{
    if (n == 0)
        return;
    if (n > static_cast<size_t>(INT_MAX - Count()))
        throw std::length_error("too many lines");
    UpdateScope update(*this);
    const int first = Count();
    const size_t needed = lines_.size() + n;
    if (needed > lines_.capacity())
        Reallocate((needed + 15) / 16 * 16);
    try {
        for (size_t i = 0; i < n; ++i)
            lines_.push_back(lineAt(i));
    } catch (...) {  // all or nothing: the owner hears of no partial append
        lines_.erase(lines_.begin() + first, lines_.end());
        throw;
    }
    InvalidateLongest();
    Notify(OnInserted, first, static_cast<int>(n));
}

// --- tabs and widths ---------------------------------------------------------

void TOstEditStringList::SetTabWidth(int width)
{
    if (width == tabWidth_)
        return;
    tabWidth_ = width;
    tabRoutine_ = TabRoutineFor(width);
    InvalidateWidths();
}

void TOstEditStringList::MeasureLine(LineRecord& line) const
{
    const std::string_view text = line.text.view();
    if (chars_.Utf8() && !chars_.IsSimple(text)) {
        line.expandedLength = chars_.Width(text, tabWidth_);
        const bool hasTabs = text.find('\t') != std::string_view::npos;
        line.flags = static_cast<uint8_t>((hasTabs ? kHasTabs : kHasNoTabs) | kComplex);
        return;
    }
    bool hasTabs = false;
    const size_t width = tabRoutine_->measure(text, static_cast<size_t>(std::max(tabWidth_, 1)), hasTabs);
    line.expandedLength = ClampToInt(width);
    line.flags = hasTabs ? kHasTabs : kHasNoTabs;
}

void TOstEditStringList::SetEncoding(TOstEncoding encoding)
{
    if (encoding == encoding_)
        return;
    ++revision_;
    const bool widthsChange = HoldsUtf8(encoding) != HoldsUtf8(encoding_);
    encoding_ = encoding;
    chars_ = TOstTextChars(encoding);
    if (widthsChange)
        InvalidateWidths();
}

void TOstEditStringList::InvalidateWidths()
{
    InvalidateLongest();
    for (LineRecord& line : lines_) {
        line.expandedLength = -1;
        line.flags = static_cast<uint8_t>((line.flags & ~(kHasNoTabs | kComplex)) | kWidthInvalid);
    }
}

std::string TOstEditStringList::ExpandedLine(int i)
{
    if (i < 0 || i >= Count())
        return {};
    LineRecord& line = lines_[static_cast<size_t>(i)];
    if ((line.flags & (kHasNoTabs | kWidthInvalid)) == kHasNoTabs)
        return std::string(line.text.view());
    if (line.flags & kWidthInvalid)
        MeasureLine(line);
    if (line.flags & kComplex)
        return ExpandComplex(line.text.view());
    bool hasTabs = false;
    return tabRoutine_->expand(line.text.view(), static_cast<size_t>(std::max(tabWidth_, 1)), hasTabs);
}

// TABs of a line whose characters are not all one byte of one cell: each
// fills the cells up to its stop, counted by the characters before it.
std::string TOstEditStringList::ExpandComplex(std::string_view text) const
{
    std::string out;
    out.reserve(text.size() + static_cast<size_t>(tabWidth_) * 2);
    const char fill = tabWidth_ <= 1 ? ' ' : '\t';
    int column = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t next = chars_.Next(text, at);
        if (text[at] == '\t') {
            const int stop = TOstTextChars::NextTabStop(column, tabWidth_);
            out.append(static_cast<size_t>(stop - column), fill);
            out.append(text.substr(at + 1, next - at - 1));
            column = stop;
        } else {
            out.append(text.substr(at, next - at));
            column += chars_.Cells(text, at, next);
        }
        at = next;
    }
    return out;
}

int TOstEditStringList::ExpandedWidth(int i)
{
    if (i < 0 || i >= Count())
        return 0;
    LineRecord& line = lines_[static_cast<size_t>(i)];
    if ((line.flags & kWidthInvalid) || !(line.flags & (kHasTabs | kHasNoTabs)))
        MeasureLine(line);
    return line.expandedLength;
}

bool TOstEditStringList::IsSimpleLine(int i)
{
    if (i < 0 || i >= Count() || !chars_.Utf8())
        return true;
    LineRecord& line = lines_[static_cast<size_t>(i)];
    if ((line.flags & kWidthInvalid) || !(line.flags & (kHasTabs | kHasNoTabs)))
        MeasureLine(line);
    return (line.flags & kComplex) == 0;
}

// The first of the widest lines is remembered until a change can move it.
int TOstEditStringList::LongestLineIndex()
{
    if (longestLine_ < 0) {
        int widest = -1;
        for (int i = 0; i < Count(); ++i) {
            const int width = ExpandedWidth(i);
            if (width > widest) {
                widest = width;
                longestLine_ = i;
            }
        }
    }
    return longestLine_;
}

int TOstEditStringList::LongestLineWidth()
{
    const int longest = LongestLineIndex();
    return longest < 0 ? 0 : ExpandedWidth(longest);
}

// --- loading -----------------------------------------------------------------

TOstEditStringList::Chunk TOstEditStringList::MakeChunk(size_t size)
{
    Chunk chunk;
    chunk.bytes = std::make_unique_for_overwrite<char[]>(size + kChunkPadding);
    AdviseHugePages(chunk.bytes.get(), size + kChunkPadding);
    chunk.size = size;
    std::memset(chunk.bytes.get() + size, 0, kChunkPadding);
    return chunk;
}

void TOstEditStringList::LoadFromBytes(std::string_view content, const TOstEncodingChoice& choice)
{
    Chunk chunk = MakeChunk(content.size());
    if (!content.empty())
        std::memcpy(chunk.bytes.get(), content.data(), content.size());
    LoadChunk(std::move(chunk), choice);
}

void TOstEditStringList::LoadFromStream(std::istream& in, const TOstEncodingChoice& choice)
{
    LoadChunk(ReadChunk(in), choice);
}

void TOstEditStringList::LoadFromFile(const std::string& path, const TOstEncodingChoice& choice)
{
    LoadChunk(ReadChunk(path), choice);
}

// UTF-16 content is held as UTF-8: a chunk of its own, counted anew.
TOstEditStringList::Chunk TOstEditStringList::DecodedChunk(Chunk chunk, TOstEncoding encoding)
{
    const std::string decoded = DecodeFileBytes(std::string_view(chunk.bytes.get(), chunk.size), encoding);
    Chunk held = MakeChunk(decoded.size());
    if (!decoded.empty())
        std::memcpy(held.bytes.get(), decoded.data(), decoded.size());
    return held;
}

TOstEditStringList::Chunk TOstEditStringList::ReadChunk(std::istream& in)
{
    std::streambuf* buf = in.rdbuf();
    if (!buf)
        throw std::ios_base::failure("no stream to read from");
    const auto end = buf->pubseekoff(0, std::ios_base::end, std::ios_base::in);
    if (end >= 0 && buf->pubseekpos(0, std::ios_base::in) == 0) {
        Chunk chunk = MakeChunk(static_cast<size_t>(end));
        const auto got = buf->sgetn(chunk.bytes.get(), static_cast<std::streamsize>(chunk.size));
        chunk.size = static_cast<size_t>(std::max<std::streamsize>(got, 0));
        std::memset(chunk.bytes.get() + chunk.size, 0, kChunkPadding);
        return chunk;
    }
    // A stream without positions (a pipe): read it to its end.
    std::string content;
    char block[65536];
    for (std::streamsize got; (got = buf->sgetn(block, sizeof block)) > 0;)
        content.append(block, static_cast<size_t>(got));
    Chunk chunk = MakeChunk(content.size());
    std::memcpy(chunk.bytes.get(), content.data(), content.size());
    return chunk;
}

namespace {

[[noreturn]] void ThrowFileError(const std::string& path)
{
    throw std::system_error(errno, std::generic_category(), path);
}

// Reads until the end of the file or until size bytes are in; returns the count.
size_t ReadFully(int fd, char* data, size_t size, const std::string& path)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            ThrowFileError(path);
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace

// One read of the whole file into one block. The size comes from the file
// system; a file that has grown in between, or reports no size (such as
// those under /proc), is read on to its end. Anything but a plain file (a
// FIFO, a device such as /dev/zero, a folder) is refused before a byte is
// read: reading it could block or never end.
TOstEditStringList::Chunk TOstEditStringList::ReadChunk(const std::string& path)
{
    // Not blocking, so that opening a FIFO without a writer does not wait.
    TUniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen())
        ThrowFileError(path);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        ThrowFileError(path);
    if (S_ISDIR(info.st_mode))
        throw std::system_error(EISDIR, std::generic_category(), path);
    if (!S_ISREG(info.st_mode))
        throw EOstEditStringList("'" + path + "' is not a regular file");
    const size_t expected = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
    Chunk chunk = MakeChunk(expected);
    // Read in steps and count each step's lines while its bytes are still in
    // the cache, instead of in a second pass over the whole content.
    constexpr size_t kStep = size_t{1} << 20;
    LineCounter counter;
    size_t got = 0;
    while (got < expected) {
        const size_t n = ReadFully(file.Get(), chunk.bytes.get() + got, std::min(kStep, expected - got), path);
        if (n == 0)
            break;
        got += n;
        counter.Feed(chunk.bytes.get(), got);
    }
    std::string more;
    if (got == expected) {
        char block[65536];
        for (size_t n; (n = ReadFully(file.Get(), block, sizeof block, path)) > 0;)
            more.append(block, n);
    }
    if (!more.empty()) {
        Chunk whole = MakeChunk(got + more.size());
        std::memcpy(whole.bytes.get(), chunk.bytes.get(), got);
        std::memcpy(whole.bytes.get() + got, more.data(), more.size());
        return whole;
    }
    chunk.size = got;
    std::memset(chunk.bytes.get() + got, 0, kChunkPadding);
    counter.Finish(chunk.bytes.get(), got);
    chunk.counted = true;
    chunk.lines = counter.Lines();
    chunk.widestGap = counter.WidestGap();
    return chunk;
}

// Lines borrow their bytes from the chunk, which the buffer keeps. The lines
// are counted first so that the array is allocated once at its final size.
void TOstEditStringList::LoadChunk(Chunk chunk, const TOstEncodingChoice& choice)
{
    const std::string_view content(chunk.bytes.get(), chunk.size);
    const TOstEncoding encoding = choice.chosen ? *choice.chosen : DetectEncoding(content, choice.plainDefault);
    if (encoding == TOstEncoding::Utf16Le || encoding == TOstEncoding::Utf16Be)
        chunk = DecodedChunk(std::move(chunk), encoding);
    // The mark of a UTF-8 file stays in the chunk, before the first line.
    const size_t mark = encoding == TOstEncoding::Utf8Bom ? ByteOrderMarkLength(content, encoding) : 0;
    UpdateScope update(*this);
    ClearLines();
    SetEncoding(encoding);
    const char* data = chunk.bytes.get() + mark;
    const size_t size = chunk.size - mark;
    if (size == 0)
        return;
    const bool emptyLastLine = !trailingLineBreak_ && (data[size - 1] == '\r' || data[size - 1] == '\n');
    if (!chunk.counted || mark > 0) {
        LineCounter counter;
        counter.Finish(data, size);
        chunk.lines = counter.Lines();
        chunk.widestGap = counter.WidestGap();
    }
    const size_t count = chunk.lines + (emptyLastLine ? 1 : 0);
    if (count > static_cast<size_t>(INT_MAX) || chunk.widestGap > UINT32_MAX)
        throw std::length_error("too many lines or too long a line");
    lines_.reserve(count);
    AdviseHugePages(lines_.data(), count * sizeof(LineRecord));
    chunks_.push_back(std::move(chunk));
    const ScanResult seen = ScanLines(data, size, [this, data](size_t begin, size_t length) {
        lines_.emplace_back(TOstLineText::Borrowed(data + begin, static_cast<uint32_t>(length)), 0, -1, -1,
                            kWidthInvalid);
    });
    if (emptyLastLine)
        lines_.emplace_back(TOstLineText(), 0, -1, -1, kWidthInvalid);
    Notify(OnInserted, 0, Count());
    lineBreakStyle_ = StyleFromBreaks(seen);
}

// --- saving ------------------------------------------------------------------

// Hands the saved content to put(piece) in as few pieces as it can. Lines
// loaded from a file that still lie one after another in the loaded content,
// with the break of the current style between them, go out as one piece, so
// saving an unchanged file copies no line on its own.
template <typename Put>
void TOstEditStringList::ForEachSavedPiece(Put&& put) const
{
    const std::string_view lineBreak = LineBreakBytes(lineBreakStyle_);
    const auto followedByBreak = [&lineBreak](const char* end) {
        return std::memcmp(end, lineBreak.data(), lineBreak.size()) == 0;
    };
    const size_t count = lines_.size();
    for (size_t i = 0; i < count;) {
        const TOstLineText& first = lines_[i].text;
        const char* runEnd = first.view().data() + first.size();
        size_t last = i;
        if (first.borrowed()) {
            // Loaded content is padded past its end, so peeking at the
            // break bytes after a line stays inside the allocation.
            while (last + 1 < count && lines_[last + 1].text.borrowed() &&
                   lines_[last + 1].text.view().data() == runEnd + lineBreak.size() && followedByBreak(runEnd)) {
                ++last;
                runEnd = lines_[last].text.view().data() + lines_[last].text.size();
            }
        }
        const bool breakAfter = trailingLineBreak_ || last + 1 < count;
        const bool breakInPlace = breakAfter && first.borrowed() && followedByBreak(runEnd);
        const char* runBegin = first.view().data();
        put(std::string_view(runBegin, static_cast<size_t>(runEnd - runBegin) + (breakInPlace ? lineBreak.size() : 0)));
        if (breakAfter && !breakInPlace)
            put(lineBreak);
        i = last + 1;
    }
}

std::string TOstEditStringList::Text() const
{
    const std::string_view lineBreak = LineBreakBytes(lineBreakStyle_);
    size_t total = 0;
    for (const LineRecord& line : lines_)
        total += line.text.size() + lineBreak.size();
    if (!trailingLineBreak_ && total > 0)
        total -= lineBreak.size();
    std::string content;
    content.reserve(total);
    ForEachSavedPiece([&content](std::string_view piece) { content.append(piece); });
    return content;
}

void TOstEditStringList::ForEachFileBlock(const std::function<void(std::string_view)>& put) const
{
    if (encoding_ != TOstEncoding::Utf8Bom && encoding_ != TOstEncoding::Utf16Le &&
        encoding_ != TOstEncoding::Utf16Be) {
        ForEachSavedPiece(put);
        return;
    }
    TOstFileEncoder encoder(encoding_);
    std::string block;
    ForEachSavedPiece([&](std::string_view piece) {
        encoder.Encode(piece, block);
        if (block.size() >= TOstEditFiler::kBufferSize) {
            put(block);
            block.clear();
        }
    });
    // A byte no UTF-16 character stands for is never written as another one
    // without a word: the save fails and says why.
    if (!encoder.Finish(block))
        throw EOstEditStringList("the text holds bytes that " + std::string(EncodingName(encoding_)) +
                                 " cannot hold");
    if (!block.empty())
        put(block);
}

std::string TOstEditStringList::FileBytes() const
{
    std::string content;
    ForEachFileBlock([&content](std::string_view piece) { content.append(piece); });
    return content;
}

void TOstEditStringList::SaveToStream(std::ostream& out) const
{
    const std::string content = FileBytes();
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::ios_base::failure("the text could not be written");
}

void TOstEditStringList::SaveToFile(const std::string& path) const
{
    WriteFileSafely(path, [this](const TBytesSink& put) { ForEachFileBlock(put); });
}

// --- buffered file output ----------------------------------------------------

TOstEditFiler::TOstEditFiler(const std::string& path, int openFlags)
    : buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)), path_(path)
{
    fd_ = TUniqueFd(::open(path.c_str(), openFlags | O_CLOEXEC, 0666));
    if (!fd_.IsOpen())
        Fail();
}

TOstEditFiler::~TOstEditFiler() = default;

void TOstEditFiler::Fail() const
{
    ThrowFileError(path_);
}

void TOstEditFiler::CloseFile()
{
    if (!fd_.Close())
        Fail();
}

TOstEditFileWriter::TOstEditFileWriter(const std::string& path)
    : TOstEditFiler(path, O_WRONLY | O_CREAT | O_TRUNC)
{
}

TOstEditFileWriter::~TOstEditFileWriter()
{
    try {
        Flush();
    } catch (...) {  // a destructor cannot report it; Close does
    }
}

// Called when the bytes do not fit in what is left of the buffer. A piece
// larger than the buffer goes out directly instead of through an enlarged
// copy of itself.
void TOstEditFileWriter::WriteThrough(std::string_view bytes)
{
    Flush();
    if (bytes.size() >= bufferSize_)
        WriteOut(bytes.data(), bytes.size());
    else
        Write(bytes);
}

void TOstEditFileWriter::Flush()
{
    const size_t pending = std::exchange(bufferPos_, 0);
    if (pending > 0)
        WriteOut(buffer_.get(), pending);
}

void TOstEditFileWriter::Close()
{
    Flush();
    CloseFile();
}

void TOstEditFileWriter::WriteOut(const char* data, size_t size)
{
    if (!fd_.IsOpen())
        throw std::system_error(EBADF, std::generic_category(), path_);
    fd_.WriteAll(std::string_view(data, size), path_);
}

}  // namespace ostrel
