#include "platform/CodePage.h"

#include "platform/Utf8.h"

namespace ostrel::codepage {

namespace {

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
    unsigned char b;
    return Windows1250().FromUnicode(cp, b) ? static_cast<char>(b) : '?';
}

std::string toUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    for (char c : ansi)
        utf8::Append(out, toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const utf8::TDecoded d = utf8::Decode(utf8, i);
        out += d.valid ? fromUnicode(d.cp) : '?';
        i += d.length;
    }
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
