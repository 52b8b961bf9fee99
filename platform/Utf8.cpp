#include "platform/Utf8.h"

namespace ostrel::utf8 {

TDecoded Decode(std::string_view s, size_t i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80)
        return {b0, 1, true};
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        cp = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        cp = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return {b0, 1, false};
    }
    if (i + static_cast<size_t>(extra) >= s.size())
        return {b0, 1, false};
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((b & 0xC0) != 0x80)
            return {b0, 1, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {b0, 1, false};
    return {cp, static_cast<uint8_t>(extra + 1), true};
}

void Append(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

TScan Scan(std::string_view s)
{
    TScan scan;
    for (size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const TDecoded d = Decode(s, i);
        if (d.valid)
            ++scan.multiByte;
        else
            ++scan.invalid;
        i += d.length;
    }
    return scan;
}

bool IsValid(std::string_view s)
{
    return Scan(s).invalid == 0;
}

size_t PrevBoundary(std::string_view s, size_t i)
{
    // A sequence is at most 4 bytes: the furthest start that decodes to a
    // sequence ending exactly at i.
    for (size_t back = 4; back >= 2; --back) {
        if (i < back)
            continue;
        const TDecoded d = Decode(s, i - back);
        if (d.valid && d.length == back)
            return i - back;
    }
    return i - 1;
}

}  // namespace ostrel::utf8
