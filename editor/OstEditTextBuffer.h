#pragma once
// The lines of one editor control: text, one highlighter state per line, and
// a cache of each line's width with tabs expanded.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditTypes.h"
#include "editor/OstLineText.h"
#include "platform/TextChars.h"
#include "platform/TextEncoding.h"
#include "platform/UniqueFd.h"

namespace ostrel {

enum TOstEditFileFormat : uint8_t { CrLf = 0, Lf = 1, Cr = 2 };

// A pointer-sized value per line: the highlighter's state at the line's end.
using TOstLineRange = intptr_t;

// How loading finds a file's encoding: the user's choice, else detection,
// where a file of plain ASCII takes the default.
struct TOstEncodingChoice {
    std::optional<TOstEncoding> chosen;
    TOstEncoding plainDefault = TOstEncoding::Utf8;
};

class TOstEditStringList {
public:
    TOstEditStringList();
    ~TOstEditStringList();
    TOstEditStringList(const TOstEditStringList&) = delete;
    TOstEditStringList& operator=(const TOstEditStringList&) = delete;

    int Count() const { return static_cast<int>(lines_.size()); }
    int Capacity() const { return static_cast<int>(lines_.capacity()); }
    void SetCapacity(int capacity);

    // The text of line i (from 0); empty outside the buffer. The view stays
    // valid until the buffer changes.
    std::string_view Get(int i) const;
    std::string_view operator[](int i) const { return Get(i); }

    int AddLine(std::string_view text);
    void InsertLine(int index, std::string_view text);
    void SetLine(int index, std::string_view text);
    void RemoveLine(int index);
    void DeleteBlock(int index, int count);
    void InsertBlankLines(int index, int count);
    void ExchangeLines(int a, int b);
    void ClearLines();
    // Replaces every line with the lines of text split at CR LF, a lone CR
    // and a lone LF (an empty text leaves none), as one change: with the
    // same number of lines each line is rewritten in place.
    void ReplaceAll(std::string_view text);
    // Appends the lines in one step; from another buffer the objects come too.
    void AddAll(const std::vector<std::string>& lines);
    void AddAll(const TOstEditStringList& other);

    intptr_t Object(int i) const;
    void SetObject(int i, intptr_t value);
    TOstLineRange LineRange(int i) const;
    void SetLineRange(int i, TOstLineRange value);

    // The line with every TAB expanded to the TAB bytes of the cells it
    // covers (spaces at a tab width of 1), and its width in cells. In a
    // single-byte encoding a byte of the expanded line is a cell; in UTF-8
    // a character takes the cells of its width.
    std::string ExpandedLine(int i);
    int ExpandedWidth(int i);
    // Whether every byte of the line is a character of one cell (always so
    // in the single-byte encodings), so columns and bytes count alike but
    // for TABs.
    bool IsSimpleLine(int i);
    int LongestLineWidth();
    // The line LongestLineWidth measures (the first of equally wide lines),
    // or -1 for an empty buffer.
    int LongestLineIndex();

    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width);

    // The encoding the lines are held and saved in. Setting it keeps the
    // bytes; only how they form characters and how they are saved change.
    TOstEncoding Encoding() const { return encoding_; }
    void SetEncoding(TOstEncoding encoding);
    const TOstTextChars& Chars() const { return chars_; }

    TOstEditFileFormat LineBreakStyle() const { return lineBreakStyle_; }
    void SetLineBreakStyle(TOstEditFileFormat style)
    {
        lineBreakStyle_ = style;
        ++revision_;
    }
    bool TrailingLineBreak() const { return trailingLineBreak_; }
    void SetTrailingLineBreak(bool on)
    {
        trailingLineBreak_ = on;
        ++revision_;
    }
    // Grows with every change of the text or of how it is written out, so a
    // copy taken in steps can tell that the text moved on under it.
    uint64_t Revision() const { return revision_; }

    // Loading and saving. Loading finds the encoding as the choice says and
    // keeps it for saving. File errors raise std::system_error with the
    // system's error code and the path in its message; a failed read leaves
    // the buffer as it was. A stream that fails while saving raises
    // std::ios_base::failure.
    void LoadFromFile(const std::string& path, const TOstEncodingChoice& choice = {});
    void LoadFromStream(std::istream& in, const TOstEncodingChoice& choice = {});
    void LoadFromBytes(std::string_view content, const TOstEncodingChoice& choice = {});
    // Through the safe writer: a failure (ESafeWrite, or the encoding's
    // EOstEditStringList) leaves the file as it was.
    void SaveToFile(const std::string& path) const;
    void SaveToStream(std::ostream& out) const;
    // The lines joined by the line-break style, as the buffer holds them
    // (the bytes SaveToStream writes before the encoding's own form: a
    // byte-order mark, UTF-16).
    std::string Text() const;
    // The bytes of the file SaveToStream writes.
    std::string FileBytes() const;
    // Calls put(bytes) with the file's bytes in order, as few pieces as can be.
    void ForEachFileBlock(const std::function<void(std::string_view)>& put) const;

    // Update brackets; they nest. Changing fires when the outermost opens,
    // Change when it closes.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Notifications to the owner (the editor control).
    std::function<void()> OnChange;
    std::function<void()> OnChanging;
    std::function<void()> OnCleared;
    std::function<void(int index, int count)> OnDeleted;
    std::function<void(int index, int count)> OnInserted;
    std::function<void(int index, int count)> OnPutted;  // line changed

private:
    class UpdateScope;
    struct TabRoutine;

    // kComplex: some character of the line is not one byte of one cell.
    enum : uint8_t { kHasTabs = 1, kHasNoTabs = 2, kWidthInvalid = 4, kComplex = 8 };

    // One line. The text either borrows from a chunk of loaded file content
    // (kept alive in chunks_) or owns its bytes; see OstLineText.h.
    struct LineRecord {
        TOstLineText text;
        intptr_t object = 0;
        TOstLineRange range = 0;
        int32_t expandedLength = -1;
        uint8_t flags = 0;  // kHasTabs, kHasNoTabs, kWidthInvalid, kComplex
    };

    // Loaded file content: the bytes, then zero padding so that the line
    // scanner can read whole 64-byte blocks without a bound check.
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        // Counted while reading, when the reader could: the number of lines
        // and a bound on the longest line.
        bool counted = false;
        size_t lines = 0;
        size_t widestGap = 0;
    };
    static const TabRoutine* TabRoutineFor(int width);
    static Chunk MakeChunk(size_t size);
    static Chunk ReadChunk(std::istream& in);
    static Chunk ReadChunk(const std::string& path);

    void LoadChunk(Chunk chunk, const TOstEncodingChoice& choice);
    static Chunk DecodedChunk(Chunk chunk, TOstEncoding encoding);
    template <typename Put>
    void ForEachSavedPiece(Put&& put) const;
    void CheckIndex(int index, int limit) const;
    void GrowForOne();
    void Reallocate(size_t capacity);
    static LineRecord NewLine(std::string_view text, intptr_t object);
    void InsertRecord(int index, LineRecord record);
    template <typename LineAt>
    void AppendAll(size_t n, LineAt&& lineAt);
    void MeasureLine(LineRecord& line) const;
    std::string ExpandComplex(std::string_view text) const;
    void InvalidateWidths();
    void InvalidateLongest() { longestLine_ = -1; }
    void DropChunksIfEmpty();
    void Notify(const std::function<void()>& callback) const;
    void Notify(const std::function<void(int, int)>& callback, int index, int count) const;

    // Declared before lines_ so that it outlives the records borrowing from it.
    std::vector<Chunk> chunks_;
    std::vector<LineRecord> lines_;
    TOstEditFileFormat lineBreakStyle_ = CrLf;
    TOstEncoding encoding_ = TOstEncoding::Windows1250;
    TOstTextChars chars_{encoding_};
    bool trailingLineBreak_ = true;
    mutable uint64_t revision_ = 0;  // counted where changes are announced
    const TabRoutine* tabRoutine_;
    int longestLine_ = -1;
    int tabWidth_ = 8;
    int updateCount_ = 0;
};

// The bytes of a line break in a style: CR LF, LF or CR.
inline std::string_view LineBreakBytes(TOstEditFileFormat style)
{
    return style == Lf ? "\n" : style == Cr ? "\r" : "\r\n";
}

// A file opened for buffered line output: the buffer, its fill position and
// size, the line break style and the open file.
class TOstEditFiler {
public:
    static constexpr size_t kBufferSize = 16384;
    TOstEditFiler(const TOstEditFiler&) = delete;
    TOstEditFiler& operator=(const TOstEditFiler&) = delete;
    TOstEditFileFormat FileFormat() const { return fileFormat_; }
    void SetFileFormat(TOstEditFileFormat format) { fileFormat_ = format; }
    const std::string& Path() const { return path_; }

protected:
    TOstEditFiler(const std::string& path, int openFlags);
    ~TOstEditFiler();
    [[noreturn]] void Fail() const;  // raises std::system_error from errno
    void CloseFile();

    std::unique_ptr<char[]> buffer_;
    size_t bufferPos_ = 0;
    size_t bufferSize_ = kBufferSize;
    TOstEditFileFormat fileFormat_ = Lf;
    TUniqueFd fd_;
    std::string path_;
};

// Creates (or truncates) a file and writes lines to it in 16384-byte blocks;
// a piece larger than the buffer goes to the file directly. Close reports a
// failed last write; the destructor writes out what is left but can only
// drop a failure, so callers close explicitly.
class TOstEditFileWriter : public TOstEditFiler {
public:
    explicit TOstEditFileWriter(const std::string& path);
    ~TOstEditFileWriter();
    void Write(std::string_view bytes)
    {
        if (bytes.size() > bufferSize_ - bufferPos_)
            return WriteThrough(bytes);
        if (!bytes.empty())
            std::memcpy(buffer_.get() + bufferPos_, bytes.data(), bytes.size());
        bufferPos_ += bytes.size();
    }
    // The line, then the break of the file format.
    void WriteLine(std::string_view line)
    {
        Write(line);
        Write(LineBreakBytes(fileFormat_));
    }
    void Flush();
    void Close();

private:
    void WriteThrough(std::string_view bytes);
    void WriteOut(const char* data, size_t size);
};

}  // namespace ostrel
