#pragma once
// UTF-8 sequences: decoding one at a time, encoding, validating.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::utf8 {

struct TDecoded {
    char32_t cp = 0;
    uint8_t length = 1;
    bool valid = false;
};

// The sequence at s[i] (i < s.size()): a valid sequence (shortest form, no
// surrogates, at most U+10FFFF) gives its code point and length; anything
// else is one invalid byte (length 1, cp = the byte value, valid false).
TDecoded Decode(std::string_view s, size_t i);
// Encodes a code point (at most U+10FFFF).
void Append(std::string& out, char32_t cp);
bool IsValid(std::string_view s);

// Counts for detection in one pass: valid sequences of 2 to 4 bytes, and
// invalid bytes.
struct TScan {
    size_t multiByte = 0;
    size_t invalid = 0;
};
TScan Scan(std::string_view s);

// The start of the character that ends at i (0 < i <= s.size()); invalid
// bytes are characters of their own, as Decode sees them.
size_t PrevBoundary(std::string_view s, size_t i);

}  // namespace ostrel::utf8
