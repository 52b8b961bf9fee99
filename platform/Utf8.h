#pragma once
// UTF-8 primitives shared by the engine, the encodings and the code pages.
// A valid sequence is the shortest form of a code point up to U+10FFFF that
// is not a surrogate; every other byte is an invalid byte of its own, one
// character wide, so text with damaged sequences keeps all its bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::utf8 {

struct TDecoded {
    char32_t cp;     // the code point, or the byte value of an invalid byte
    uint8_t length;  // 1 to 4
    bool valid;
};

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the valid multi-byte sequence at p (n bytes available), or 0
// when the byte at p starts none. ASCII bytes are not multi-byte: 0.
inline int MultiByteLength(const unsigned char* p, size_t n)
{
    const unsigned char b0 = p[0];
    if (b0 < 0xC2)
        return 0;
    if (b0 < 0xE0)
        return n >= 2 && IsContinuation(p[1]) ? 2 : 0;
    if (b0 < 0xF0) {
        if (n < 3)
            return 0;
        const unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80;   // shortest form
        const unsigned char high = b0 == 0xED ? 0x9F : 0xBF;  // no surrogates
        return p[1] >= low && p[1] <= high && IsContinuation(p[2]) ? 3 : 0;
    }
    if (b0 < 0xF5) {
        if (n < 4)
            return 0;
        const unsigned char low = b0 == 0xF0 ? 0x90 : 0x80;   // shortest form
        const unsigned char high = b0 == 0xF4 ? 0x8F : 0xBF;  // up to U+10FFFF
        return p[1] >= low && p[1] <= high && IsContinuation(p[2]) && IsContinuation(p[3]) ? 4 : 0;
    }
    return 0;
}

// The code point of a sequence MultiByteLength accepted.
inline char32_t MultiByteValue(const unsigned char* p, int length)
{
    switch (length) {
    case 2: return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    case 3: return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    default:
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) |
               (p[3] & 0x3F);
    }
}

// The sequence at s[i] (i < s.size()): a valid sequence gives its code point
// and length; anything else is one invalid byte (length 1, cp = the byte
// value, valid false).
inline TDecoded Decode(std::string_view s, size_t i)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + i;
    if (p[0] < 0x80)
        return {p[0], 1, true};
    const int length = MultiByteLength(p, s.size() - i);
    if (length == 0)
        return {p[0], 1, false};
    return {MultiByteValue(p, length), static_cast<uint8_t>(length), true};
}

// Writes the bytes of a code point (cp <= 0x10FFFF) to out (room for 4)
// and returns their count. A surrogate code point gets its generalised
// three-byte form (ED A0..BF xx), which Decode reads as invalid bytes: that
// is how lone UTF-16 surrogates are held.
inline int Encode(char32_t cp, char* out)
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// Appends the bytes Encode gives.
void Append(std::string& out, char32_t cp);

// The first index from i on whose byte is not ASCII (s.size() when none);
// 16 or 8 bytes at a time.
size_t SkipAscii(std::string_view s, size_t i);

// Whether every byte belongs to a valid sequence.
bool IsValid(std::string_view s);

// Counts for detection in one fast pass: sequences of 2-4 bytes that are
// valid, and invalid bytes.
struct TScan {
    size_t multiByte = 0;
    size_t invalid = 0;
};
TScan Scan(std::string_view s);

// The start of the character that holds byte i-1, that is the character
// ending at i when i is a boundary (0 when i is 0). Consistent with Decode:
// invalid bytes are characters of their own.
size_t PrevBoundary(std::string_view s, size_t i);

}  // namespace ostrel::utf8
