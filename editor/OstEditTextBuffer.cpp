#include "editor/OstEditTextBuffer.h"

#include <fcntl.h>
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

constexpr size_t kChunkPadding = 16;  // one SSE2 block past the terminating NUL

// The position of the first CR, LF or NUL at or after pos. The content ends
// with a NUL followed by padding, so no bound is needed.
size_t FindLineEnd(const char* data, size_t pos)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (;; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                         _mm_cmpeq_epi8(v, nul));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return pos + static_cast<size_t>(std::countr_zero(mask));
    }
#else
    while (data[pos] != '\r' && data[pos] != '\n' && data[pos] != '\0')
        ++pos;
    return pos;
#endif
}

struct ScanResult {
    bool sawCr = false;
    bool sawLf = false;
};

// Calls addLine(begin, length) for every line of the content: a line ends at
// NUL, LF or CR; CR LF, a lone LF and a lone CR end one line, LF CR ends a
// line and then an empty one, and a NUL after the break is dropped.
template <typename AddLine>
ScanResult ScanLines(const char* data, size_t size, AddLine&& addLine)
{
    ScanResult seen;
    size_t pos = 0;
    while (pos < size) {
        const size_t end = FindLineEnd(data, pos);
        addLine(pos, end - pos);
        pos = end;
        if (data[pos] == '\r') {
            seen.sawCr = true;
            ++pos;
        }
        if (data[pos] == '\n') {
            seen.sawLf = true;
            ++pos;
        }
        if (data[pos] == '\0')
            ++pos;  // the sentinel too, which ends the scan
    }
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

TOstEditStringList::TOstEditStringList() : tabRoutine_(TabRoutineFor(tabWidth_))
{
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
    if (callback)
        callback();
}

void TOstEditStringList::Notify(const std::function<void(int, int)>& callback, int index,
                                int count) const
{
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

// Loaded content no line refers to any more is released with the last line.
void TOstEditStringList::DropChunksIfEmpty()
{
    if (lines_.empty())
        chunks_.clear();
}

void TOstEditStringList::AddAll(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    if (lines.size() > static_cast<size_t>(INT_MAX - Count()))
        throw std::length_error("too many lines");
    UpdateScope update(*this);
    const int first = Count();
    const size_t needed = lines_.size() + lines.size();
    if (needed > lines_.capacity())
        Reallocate((needed + 15) / 16 * 16);
    for (const std::string& text : lines)
        lines_.push_back(NewLine(text, 0));
    InvalidateLongest();
    Notify(OnInserted, first, static_cast<int>(lines.size()));
}

void TOstEditStringList::AddAll(const TOstEditStringList& other)
{
    if (other.lines_.empty())
        return;
    if (other.lines_.size() > static_cast<size_t>(INT_MAX - Count()))
        throw std::length_error("too many lines");
    UpdateScope update(*this);
    const int first = Count();
    const size_t n = other.lines_.size();  // other may be *this
    const size_t needed = lines_.size() + n;
    if (needed > lines_.capacity())
        Reallocate((needed + 15) / 16 * 16);
    for (size_t i = 0; i < n; ++i)
        lines_.push_back(NewLine(other.lines_[i].text.view(), other.lines_[i].object));
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
    InvalidateLongest();
    for (LineRecord& line : lines_) {
        line.expandedLength = -1;
        line.flags = static_cast<uint8_t>((line.flags & ~kHasNoTabs) | kWidthInvalid);
    }
}

void TOstEditStringList::MeasureLine(LineRecord& line) const
{
    bool hasTabs = false;
    const size_t width = tabRoutine_->measure(line.text.view(), static_cast<size_t>(tabWidth_), hasTabs);
    line.expandedLength = ClampToInt(width);
    line.flags = hasTabs ? kHasTabs : kHasNoTabs;
}

std::string TOstEditStringList::ExpandedLine(int i)
{
    if (i < 0 || i >= Count())
        return {};
    LineRecord& line = lines_[static_cast<size_t>(i)];
    if ((line.flags & (kHasNoTabs | kWidthInvalid)) == kHasNoTabs)
        return std::string(line.text.view());
    bool hasTabs = false;
    std::string expanded = tabRoutine_->expand(line.text.view(), static_cast<size_t>(tabWidth_), hasTabs);
    line.expandedLength = ClampToInt(expanded.size());
    line.flags = hasTabs ? kHasTabs : kHasNoTabs;
    return expanded;
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
    chunk.size = size;
    std::memset(chunk.bytes.get() + size, 0, kChunkPadding);
    return chunk;
}

void TOstEditStringList::LoadFromBytes(std::string_view content)
{
    Chunk chunk = MakeChunk(content.size());
    if (!content.empty())
        std::memcpy(chunk.bytes.get(), content.data(), content.size());
    LoadChunk(std::move(chunk));
}

void TOstEditStringList::LoadFromStream(std::istream& in)
{
    LoadChunk(ReadChunk(in));
}

void TOstEditStringList::LoadFromFile(const std::string& path)
{
    LoadChunk(ReadChunk(path));
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

// A file descriptor closed with its owner.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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
// those under /proc), is read on to its end.
TOstEditStringList::Chunk TOstEditStringList::ReadChunk(const std::string& path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        ThrowFileError(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        ThrowFileError(path);
    const size_t expected = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
    std::string more;
    Chunk chunk = MakeChunk(expected);
    const size_t got = ReadFully(file.get(), chunk.bytes.get(), expected, path);
    if (got == expected) {
        char block[65536];
        for (size_t n; (n = ReadFully(file.get(), block, sizeof block, path)) > 0;)
            more.append(block, n);
    }
    if (more.empty()) {
        chunk.size = got;
        std::memset(chunk.bytes.get() + got, 0, kChunkPadding);
        return chunk;
    }
    Chunk whole = MakeChunk(got + more.size());
    std::memcpy(whole.bytes.get(), chunk.bytes.get(), got);
    std::memcpy(whole.bytes.get() + got, more.data(), more.size());
    return whole;
}

// Lines borrow their bytes from the chunk, which the buffer keeps. The lines
// are counted first so that the array is allocated once at its final size.
void TOstEditStringList::LoadChunk(Chunk chunk)
{
    UpdateScope update(*this);
    ClearLines();
    const char* data = chunk.bytes.get();
    const size_t size = chunk.size;
    if (size == 0)
        return;
    const bool emptyLastLine = !trailingLineBreak_ && (data[size - 1] == '\r' || data[size - 1] == '\n');
    size_t count = emptyLastLine ? 1 : 0;
    size_t longest = 0;
    ScanLines(data, size, [&](size_t, size_t length) {
        ++count;
        longest = std::max(longest, length);
    });
    if (count > static_cast<size_t>(INT_MAX) || longest > UINT32_MAX)
        throw std::length_error("too many lines or too long a line");
    lines_.reserve(count);
    chunks_.push_back(std::move(chunk));
    const ScanResult seen = ScanLines(data, size, [this, data](size_t begin, size_t length) {
        LineRecord& line = lines_.emplace_back();
        line.text = TOstLineText::Borrowed(data + begin, static_cast<uint32_t>(length));
        line.range = -1;
        line.flags = kWidthInvalid;
    });
    if (emptyLastLine) {
        LineRecord& line = lines_.emplace_back();
        line.range = -1;
        line.flags = kWidthInvalid;
    }
    Notify(OnInserted, 0, Count());
    lineBreakStyle_ = StyleFromBreaks(seen);
}

// --- saving ------------------------------------------------------------------

std::string_view LineBreakBytes(TOstEditFileFormat style)
{
    switch (style) {
    case Lf:
        return "\n";
    case Cr:
        return "\r";
    default:
        return "\r\n";
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
    for (size_t i = 0; i < lines_.size(); ++i) {
        content.append(lines_[i].text.view());
        if (trailingLineBreak_ || i + 1 < lines_.size())
            content.append(lineBreak);
    }
    return content;
}

void TOstEditStringList::SaveToStream(std::ostream& out) const
{
    const std::string content = Text();
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::ios_base::failure("the text could not be written");
}

void TOstEditStringList::SaveToFile(const std::string& path) const
{
    TOstEditFileWriter writer(path);
    writer.SetFileFormat(lineBreakStyle_);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (trailingLineBreak_ || i + 1 < lines_.size())
            writer.WriteLine(lines_[i].text.view());
        else
            writer.Write(lines_[i].text.view());
    }
    writer.Close();
}

// --- buffered file output ----------------------------------------------------

TOstEditFiler::TOstEditFiler(const std::string& path, int openFlags)
    : buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)), path_(path)
{
    fd_ = ::open(path.c_str(), openFlags | O_CLOEXEC, 0666);
    if (fd_ < 0)
        Fail();
}

TOstEditFiler::~TOstEditFiler()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void TOstEditFiler::Fail() const
{
    ThrowFileError(path_);
}

void TOstEditFiler::CloseFile()
{
    const int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
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

void TOstEditFileWriter::Write(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (bufferPos_ + bytes.size() > bufferSize_)
        Flush();
    // A piece larger than the buffer goes out directly instead of through
    // an enlarged copy of itself.
    if (bytes.size() >= bufferSize_) {
        WriteOut(bytes.data(), bytes.size());
        return;
    }
    std::memcpy(buffer_.get() + bufferPos_, bytes.data(), bytes.size());
    bufferPos_ += bytes.size();
}

void TOstEditFileWriter::WriteLine(std::string_view line)
{
    Write(line);
    Write(LineBreakBytes(fileFormat_));
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
    if (fd_ < 0)
        throw std::system_error(EBADF, std::generic_category(), path_);
    while (size > 0) {
        const ssize_t done = ::write(fd_, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            Fail();
        data += done;
        size -= static_cast<size_t>(done);
    }
}

}  // namespace ostrel
