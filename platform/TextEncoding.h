#pragma once
// The encodings of a document. The buffer holds a file's bytes unchanged for
// UTF-8 and the two single-byte code pages; a UTF-16 file is held as UTF-8.
// Here are the names, detection on opening, the way from file bytes to the
// buffer and back, and conversions between encodings at the boundaries
// (drawing, clipboard, keyboard text, converting a document).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace ostrel {

class TBlockWriter;

enum class TOstEncoding : uint8_t { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1250, Iso88592 };
inline constexpr int kEncodingCount = 6;

// "utf-8" "utf-8-bom" "utf-16le" "utf-16be" "windows-1250" "iso-8859-2"
std::string_view EncodingName(TOstEncoding e);
// "UTF-8" "UTF-8 BOM" "UTF-16LE" "UTF-16BE" "Windows-1250" "ISO-8859-2" (the status bar shows these)
std::string_view EncodingTitle(TOstEncoding e);
// The names EncodingName gives, in any letter case.
std::optional<TOstEncoding> EncodingFromName(std::string_view name);

// The buffer holds UTF-8 for all but the two code pages.
constexpr bool HoldsUtf8(TOstEncoding e) { return e != TOstEncoding::Windows1250 && e != TOstEncoding::Iso88592; }
// nullptr for the UTF family.
const codepage::TCodePage* CodePageOf(TOstEncoding e);

// The encoding of a file's bytes, in this order: a byte-order mark; valid
// UTF-8 with at least one multi-byte character (or damaged UTF-8: at least 16
// valid multi-byte sequences for each invalid byte); a declaration in the
// first 4 KB (HTML meta charset or http-equiv, the XML declaration, CSS
// @charset) that the bytes agree with; Windows-1250 against ISO-8859-2 from
// the bytes; plainDefault for plain ASCII.
TOstEncoding DetectEncoding(std::string_view bytes, TOstEncoding plainDefault = TOstEncoding::Utf8);

// The length of the byte-order mark an encoding's files start with, if the
// bytes start with it (0, 2 or 3).
size_t ByteOrderMarkLength(std::string_view bytes, TOstEncoding e);

// File bytes -> the buffer's bytes. Single-byte pages and Utf8: unchanged.
// Utf8Bom: the mark dropped (if present). UTF-16: the mark dropped (if
// present), the rest to UTF-8, where two forms that no valid UTF-8 has keep
// what UTF-8 cannot hold, so that encoding back gives the same bytes:
// - an unpaired surrogate becomes its generalised three-byte form
//   (ED A0..BF 80..BF), shown as invalid bytes;
// - a final odd byte B becomes the two bytes F8+(B>>6), 80+(B&3F), also
//   shown as invalid bytes; it is written back as B only at the very end.
std::string DecodeFileBytes(std::string_view file, TOstEncoding e);

// The buffer's bytes -> file bytes, piece by piece as a saver writes lines
// and breaks: the mark first for Utf8Bom and UTF-16 (so a UTF-16 file always
// gets one), UTF-16 from the held UTF-8 with the forms DecodeFileBytes makes
// turned back into what they came from. Any other invalid byte in a UTF-16
// document (only an edit can bring one) cannot be written as itself: it is
// written as U+FFFD so that the file stays well-formed, counted, and Finish
// returns false; a saver that gets false has not saved the document's text
// faithfully and must say so. The other encodings write the bytes as they are.
class TOstFileEncoder {
public:
    // One encoder for one file.
    explicit TOstFileEncoder(TOstEncoding e) : encoding_(e) {}
    // Appends the file bytes of a piece to out (out may be reused by the
    // caller). Pieces may split a UTF-8 sequence; the encoder carries the
    // rest over.
    void Encode(std::string_view piece, std::string& out);
    // Appends the carried rest (and the mark, when nothing was encoded).
    // True when every byte was written as the character it stands for.
    bool Finish(std::string& out);

    // Invalid bytes written as U+FFFD, and the offset of the first one in all
    // the bytes given to Encode (npos when none).
    size_t UnencodableCount() const { return unencodableCount_; }
    size_t FirstUnencodable() const { return firstUnencodable_; }

private:
    template <bool BigEndian>
    void EncodeUtf16(std::string_view piece, std::string& out);
    template <bool BigEndian>
    size_t ResolveCarry(std::string_view piece, TBlockWriter& writer);
    template <bool BigEndian>
    void FinishUtf16(std::string& out);
    void BeginFile(std::string& out);
    void NoteUnencodable(size_t offset);

    TOstEncoding encoding_;
    bool started_ = false;
    unsigned char carry_[4] = {};
    uint8_t carryLength_ = 0;
    size_t carryOffset_ = 0;  // where the carried bytes began
    size_t fed_ = 0;          // bytes given to Encode so far
    size_t unencodableCount_ = 0;
    size_t firstUnencodable_ = std::string_view::npos;
};

// The buffer's bytes as UTF-8; invalid bytes (of a UTF-8-holding buffer) as
// U+FFFD, one for each byte.
std::string ToUtf8(std::string_view text, TOstEncoding e);

// UTF-8 into the buffer's form, replacing out. Returns the byte offset (in utf8) of the
// first character the encoding cannot hold, or npos when all of it
// converted; on failure out holds nothing useful. Nothing is ever replaced by
// '?'. Invalid UTF-8 is passed through as the same bytes to UTF-8-holding
// encodings and cannot be held by the code pages.
size_t FromUtf8(std::string_view utf8, TOstEncoding e, std::string& out);

// The buffer's text of one encoding in another's buffer form ("Konwertuj
// na"), replacing out, with FromUtf8's return rule (the offset is in text). Invalid bytes of
// a UTF-8 buffer cannot go into a code page; into another UTF-8-holding
// encoding they are kept as they are.
size_t ConvertText(std::string_view text, TOstEncoding from, TOstEncoding to, std::string& out);

}  // namespace ostrel
