#include "platform/CodePage.h"

#include <algorithm>
#include <array>

namespace ostrel::codepage {

namespace {

// Unicode code points of the upper half, sorted, with their bytes: built once.
struct ReverseTable {
    std::array<std::pair<char16_t, unsigned char>, 128> entries{};
    ReverseTable()
    {
        for (int b = 128; b < 256; ++b)
            entries[b - 128] = {detail::kWin1250ToUnicode[b], static_cast<unsigned char>(b)};
        std::sort(entries.begin(), entries.end());
    }
};

const ReverseTable& reverseTable()
{
    static const ReverseTable table;
    return table;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; advances i. Returns U+FFFD for bytes
// that do not form a valid sequence.
char32_t decodeUtf8(std::string_view s, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80)
        return b0;
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; minimum = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; minimum = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; minimum = 0x10000; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0xFFFD;
    return cp;
}

template <typename Map>
std::string mapBytes(std::string_view s, Map map)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

char fromUnicode(char32_t cp)
{
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp > 0xFFFF)
        return '?';
    const auto& entries = reverseTable().entries;
    const auto it = std::lower_bound(entries.begin(), entries.end(),
                                     std::pair<char16_t, unsigned char>{static_cast<char16_t>(cp), 0});
    if (it != entries.end() && it->first == cp)
        return static_cast<char>(it->second);
    return '?';
}

std::string toUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    for (char c : ansi)
        appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        out += fromUnicode(decodeUtf8(utf8, i));
    return out;
}

std::string toUpper(std::string_view s)
{
    return mapBytes(s, [](unsigned char c) { return toUpper(c); });
}

std::string toLower(std::string_view s)
{
    return mapBytes(s, [](unsigned char c) { return toLower(c); });
}

}  // namespace ostrel::codepage
