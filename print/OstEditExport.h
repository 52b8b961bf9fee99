#pragma once
// Exporters turn a range of document lines into a formatted text that keeps
// the colours and font styles the highlighter gives each token.
// TOstCustomExporter does the format-independent part: the output buffer,
// the walk over lines and tokens, the escaping of reserved bytes and the
// tracking of attribute changes between tokens. A format (OstExportRTF)
// writes the control sequences.
//
// An export is a stream: BeginExport, then per line OpenLine, TextRun for
// each token and CloseLine, then EndExport. ExportSpan drives that stream
// from the highlighter; anything else that has coloured runs can drive it
// directly.
//
// This unit also writes exports to files so that a failure never costs the
// file already on disk.

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditTypes.h"
#include "highlighters/OstEditHighlighter.h"
#include "platform/Canvas.h"
#include "platform/OstColors.h"
#include "platform/TextEncoding.h"

namespace ostrel {

class TOstEditStringList;

// A growable byte buffer. Its content may start after a gap at the front,
// where a header written last can go without moving the content.
class TOstExportBuffer {
public:
    std::string_view View() const { return {data_.get() + start_, size_}; }
    size_t Size() const { return size_; }
    size_t Capacity() const { return capacity_; }
    // Empties the buffer and leaves room for frontGap bytes before the content.
    void Rewind(size_t frontGap = 0);
    // Makes room for at least this many bytes of content.
    void Reserve(size_t capacity);
    void Append(std::string_view bytes)
    {
        if (bytes.size() > capacity_ - start_ - size_)
            Grow(size_ + bytes.size());
        if (!bytes.empty())
            std::memcpy(data_.get() + start_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    // Puts the bytes in front of the content, in the gap when they fit.
    // Otherwise, when that needs more room, the buffer grows once, to the
    // needed size plus 6144 rounded down to a multiple of 4096, since only
    // the trailer follows.
    void InsertFront(std::string_view bytes);

private:
    void Grow(size_t needed);
    // Moves the content to start at newStart in a block of the capacity.
    void Reallocate(size_t capacity, size_t newStart);

    std::unique_ptr<char[]> data_;
    size_t start_ = 0;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

class TOstCustomExporter {
public:
    // The clipboard format of plain text.
    static constexpr int kPlainTextClipboardFormat = 1;

    TOstCustomExporter();
    virtual ~TOstCustomExporter();
    TOstCustomExporter(const TOstCustomExporter&) = delete;
    TOstCustomExporter& operator=(const TOstCustomExporter&) = delete;

    // ---- settings ---------------------------------------------------------------
    // The document background: a token background equal to it is not written.
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    const std::string& DefaultFilter() const { return defaultFilter_; }
    void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
    // Kept for clipboard use; changing it clears the exporter.
    bool ExportAsText() const { return exportAsText_; }
    void SetExportAsText(bool on);
    // The default font; its colour is the default foreground.
    const TOstFont& Font() const { return font_; }
    // None restores Courier New, 10 point, black, no style.
    void SetFont(const TOstFont* font);
    static TOstFont DefaultFont();
    // Not owned. Setting a different one clears the exporter.
    TOstCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TOstCustomHighlighter* highlighter);
    const std::string& Title() const { return title_; }
    // An empty title becomes "Untitled".
    void SetTitle(std::string title);
    bool UseBackground() const { return useBackground_; }
    void SetUseBackground(bool on) { useBackground_ = on; }
    // Turns system colours into plain ones for the output; the fixed desktop
    // scheme unless the window supplies the real one.
    void SetColorResolver(std::function<TColor(TColor)> resolver);
    int ClipboardFormatId() const { return clipboardFormat_; }
    virtual std::string FormatName() const { return {}; }
    // The encoding of the text runs; ExportSpan takes that of the lines. In
    // Windows-1250 the bytes go through the reserved-byte table as they are;
    // in the other encodings every character beyond ASCII goes to the
    // format's EncodeCharacter.
    TOstEncoding TextEncoding() const { return textEncoding_; }
    void SetTextEncoding(TOstEncoding encoding) { textEncoding_ = encoding; }

    // ---- exporting --------------------------------------------------------------
    // All lines. False when the export was refused without a word: no
    // highlighter, no lines, one empty line.
    [[nodiscard]] bool ExportLines(const TOstEditStringList& lines);
    // From start up to but not including stop (characters and lines from 1).
    // The result replaces the previous one; a refused export (false) keeps
    // it. Each line is lexed whole, starting from the state the line above
    // left, and its tokens are cut to the span.
    [[nodiscard]] bool ExportSpan(const TOstEditStringList& lines, TBufferCoord start, TBufferCoord stop);

    // The stream an export is made of. lineCountHint sizes the buffer.
    void BeginExport(size_t lineCountHint);
    // Nothing to do in RTF; a format with line markup overrides it.
    virtual void OpenLine(int line);
    void TextRun(std::string_view text, const TOstHighlighterAttributes* attribute);
    void CloseLine();
    void EndExport();

    // The result of the last export.
    std::string_view Output() const { return buffer_.View(); }
    // Writes the output to the file, creating or replacing it; see
    // WriteFileSafely for what happens on failure.
    void WriteToFile(const std::string& path) const;

    // Empties the output and forgets the attributes of the last token.
    virtual void Reset();

protected:
    // The format's part, in the order of the walk.
    virtual void BeforeFirstAttribute(bool backgroundChanged, bool foregroundChanged, TFontStyles styles) = 0;
    virtual void CloseAttributes(bool backgroundChanged, bool foregroundChanged, TFontStyles removed) = 0;
    virtual void OpenAttributes(bool backgroundChanged, bool foregroundChanged, TFontStyles added) = 0;
    virtual void AfterLastAttribute() = 0;
    virtual void WriteToken(std::string_view escapedText) { Write(escapedText); }
    virtual void WriteLineBreak() = 0;
    virtual std::string Preamble() = 0;
    virtual std::string Trailer() = 0;
    // Whether a byte opens a two-byte character of the code page: never in
    // Windows-1250.
    virtual bool IsLeadByte(unsigned char) const { return false; }
    virtual std::string EncodeDoubleByte(unsigned char lead, unsigned char trail);
    // A character beyond ASCII of a text that is not in Windows-1250, as the
    // format writes it; a byte of no valid UTF-8 sequence comes as U+FFFD.
    // Base: the character in UTF-8.
    virtual void EncodeCharacter(char32_t cp, std::string& out);

    // Tracks colour and style from token to token and calls the format only
    // for a real change; a run of blanks never changes the foreground.
    void ApplyTokenAttribute(bool blankOnly, const TOstHighlighterAttributes* attribute);

    void Write(std::string_view bytes) { buffer_.Append(bytes); }
    void SetReservedChar(unsigned char c, std::string replacement);
    // The text (in the text's encoding) escaped as tokens are, for text
    // outside tokens (title, font name).
    std::string EscapeText(std::string_view text);
    void SetClipboardFormatId(int id) { clipboardFormat_ = id; }
    TColor ResolveColor(TColor color) const;
    TColor LastBackground() const { return lastBackground_; }
    TColor LastForeground() const { return lastForeground_; }

private:
    // Escapes into escaped_; true when the text is blanks (code 32) only.
    bool EscapeToken(std::string_view text);
    // The character beyond ASCII at text[i] to escaped_; returns where the
    // next one starts.
    size_t EscapeCharacter(std::string_view text, size_t i);
    void ExportLine(std::string_view text, int line, size_t from, size_t to);

    TOstExportBuffer buffer_;
    std::string escaped_;
    std::array<std::string, 256> reserved_;
    std::array<bool, 256> reservedSet_{};
    std::array<bool, 256> special_{};  // reserved, or a possible lead byte
    bool firstAttribute_ = true;
    TOstEncoding textEncoding_ = TOstEncoding::Windows1250;
    bool decodesCharacters_ = false;  // of this export: bytes from 0x80 form characters
    TColor color_ = clWindow;
    int clipboardFormat_ = kPlainTextClipboardFormat;
    std::string defaultFilter_;
    bool exportAsText_ = false;
    TOstFont font_;
    TOstCustomHighlighter* highlighter_ = nullptr;
    TColor lastBackground_ = clWindow;
    TColor lastForeground_ = clWindowText;
    TFontStyles lastStyle_ = 0;
    std::string title_;
    bool useBackground_ = false;
    std::function<TColor(TColor)> resolveColor_;
};

// A process-wide number for a clipboard format name; the same name always
// gets the same number, from 0xC000 up.
int RegisterClipboardFormat(std::string_view name);

// Sets the highlighter, switches export-as-text on, exports all lines and
// writes them to the file: the main window's RTF command. False, with no
// file written, when the exporter refuses the document.
[[nodiscard]] bool ExportLinesToFile(TOstCustomExporter& exporter, TOstCustomHighlighter* highlighter,
                                     const TOstEditStringList& lines, const std::string& path);

// ---- exports of plain text to files ------------------------------------------------

// The document's text (lines joined with CR LF, in the document's
// encoding) as UTF-8 without a byte-order mark and without an added line
// break, written with WriteFileSafely. A UTF-8 document's bytes are
// written as they are, damaged sequences included.
void ExportUtf8(const std::string& path, std::string_view text, TOstEncoding encoding);

}  // namespace ostrel
