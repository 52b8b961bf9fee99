#pragma once
// The ANSI code page of the engine, Windows-1250, and the conversions at the
// boundary to Unicode. Text inside the engine is bytes in this code page;
// only drawing, keyboard input, file names and the clipboard convert.

#include <string>
#include <string_view>

namespace ostrel::codepage {

namespace detail {
extern const char16_t kWin1250ToUnicode[256];
extern const unsigned char kWin1250Upper[256];
extern const unsigned char kWin1250Lower[256];
}  // namespace detail

// The Unicode code point of a Windows-1250 byte.
inline char16_t toUnicode(unsigned char c) { return detail::kWin1250ToUnicode[c]; }

// The Windows-1250 byte of a code point, or '?' when the code page lacks it.
char fromUnicode(char32_t cp);

// Windows-1250 bytes to UTF-8 and back. Code points the code page lacks, and
// malformed UTF-8 sequences, become '?'.
std::string toUtf8(std::string_view ansi);
std::string fromUtf8(std::string_view utf8);

// Case mapping through the code page's own tables, Polish letters included,
// never through the process locale.
inline unsigned char toUpper(unsigned char c) { return detail::kWin1250Upper[c]; }
inline unsigned char toLower(unsigned char c) { return detail::kWin1250Lower[c]; }
inline bool isUpper(unsigned char c) { return detail::kWin1250Lower[c] != c; }
inline bool isLower(unsigned char c) { return detail::kWin1250Upper[c] != c; }
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);

}  // namespace ostrel::codepage
