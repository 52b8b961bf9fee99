#pragma once
// The single-byte code pages documents are held in (Windows-1250 and
// ISO-8859-2) and the conversions at the boundary to Unicode. Windows-1250 is
// also the code page of the settings store and of the legacy shortcuts below.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::codepage {

// A single-byte code page: 256 bytes to Unicode and back, with case tables.
// Both pages agree with ASCII on 0x00-0x7F. The reverse direction is a
// two-level table (high byte of the code point, then low byte), so
// FromUnicode costs two lookups; it is built when the page is constructed,
// which the table file does at compile time.
class TCodePage {
public:
    using TByteTable = unsigned char[256];
    using TUnicodeTable = char16_t[256];

    constexpr TCodePage(std::string_view name, const TUnicodeTable& toUnicode, const TByteTable& upper,
                        const TByteTable& lower)
        : name_(name), toUnicode_(toUnicode), upper_(upper), lower_(lower)
    {
        for (int b = 0; b < 0x80; ++b)
            if (toUnicode[b] != b)
                throw "the lower half is not ASCII";  // not a constant expression: stops the build
        for (int b = 0x80; b < 256; ++b)
            AddReverse(toUnicode[b], static_cast<unsigned char>(b));
    }

    char16_t ToUnicode(unsigned char b) const { return toUnicode_[b]; }
    // The byte of a code point; false when the page lacks it.
    bool FromUnicode(char32_t cp, unsigned char& out) const
    {
        if (cp < 0x80) {
            out = static_cast<unsigned char>(cp);
            return true;
        }
        if (cp > 0xFFFF)
            return false;
        const uint8_t block = blockOf_[cp >> 8];
        if (block == 0)
            return false;
        const uint8_t b = blocks_[block - 1][cp & 0xFF];
        out = b;
        return b != 0;
    }
    unsigned char ToUpper(unsigned char b) const { return upper_[b]; }
    unsigned char ToLower(unsigned char b) const { return lower_[b]; }
    bool IsUpper(unsigned char b) const { return lower_[b] != b; }
    bool IsLower(unsigned char b) const { return upper_[b] != b; }
    std::string_view Name() const { return name_; }

private:
    // Blocks of 256 code points that hold the upper halves of our pages:
    // Latin-1, Latin Extended-A and B, spacing modifiers, punctuation, letterlike symbols.
    static constexpr int kReverseBlocks = 6;

    constexpr void AddReverse(char16_t cp, unsigned char b)
    {
        if (cp < 0x80)
            throw "an upper-half byte maps into ASCII";
        uint8_t& block = blockOf_[cp >> 8];
        if (block == 0) {
            if (usedBlocks_ == kReverseBlocks)
                throw "too many reverse blocks";
            block = static_cast<uint8_t>(++usedBlocks_);
        }
        uint8_t& slot = blocks_[block - 1][cp & 0xFF];
        if (slot != 0)
            throw "two bytes map to one code point";
        slot = b;
    }

    std::string_view name_;
    const char16_t* toUnicode_;
    const unsigned char* upper_;
    const unsigned char* lower_;
    int usedBlocks_ = 0;
    std::array<uint8_t, 256> blockOf_{};  // (code point >> 8) -> block number + 1, 0 when none
    std::array<std::array<uint8_t, 256>, kReverseBlocks> blocks_{};  // low byte -> byte, 0 when none
};

namespace detail {
extern const TCodePage kWindows1250;
extern const TCodePage kIso88592;
}  // namespace detail

inline const TCodePage& Windows1250() { return detail::kWindows1250; }
inline const TCodePage& Iso88592() { return detail::kIso88592; }

// Windows-1250 shortcuts.

// The Unicode code point of a Windows-1250 byte.
inline char16_t ToUnicode(unsigned char c) { return Windows1250().ToUnicode(c); }

// The Windows-1250 byte of a code point, or '?' when the code page lacks it.
char FromUnicode(char32_t cp);

// Windows-1250 bytes to UTF-8 and back. Code points the code page lacks, and
// each byte that belongs to no valid UTF-8 sequence, become '?'.
std::string ToUtf8(std::string_view ansi);
std::string FromUtf8(std::string_view utf8);

// Case mapping through the code page's own tables, Polish letters included,
// never through the process locale.
inline unsigned char ToUpper(unsigned char c) { return Windows1250().ToUpper(c); }
inline unsigned char ToLower(unsigned char c) { return Windows1250().ToLower(c); }
inline bool IsUpper(unsigned char c) { return Windows1250().IsUpper(c); }
inline bool IsLower(unsigned char c) { return Windows1250().IsLower(c); }
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

}  // namespace ostrel::codepage
