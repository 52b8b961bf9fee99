#pragma once
// The C library's character set converter, as an independent witness for our
// own tables and converters.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::test {

// The bytes converted from one character set to another (names as iconv
// knows them, e.g. "ISO-8859-2", "UTF-16LE"); nullopt when the converter
// refuses some byte or does not know a set.
std::optional<std::string> ConvertWithIconv(const char* from, const char* to, std::string_view bytes);

}  // namespace ostrel::test
