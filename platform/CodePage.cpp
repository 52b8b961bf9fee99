#include "platform/CodePage.h"

#include "platform/Utf8.h"

namespace ostrel::codepage {

namespace {

template <typename Map>
std::string MapBytes(std::string_view s, Map map)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

char FromUnicode(char32_t cp)
{
    unsigned char b;
    return Windows1250().FromUnicode(cp, b) ? static_cast<char>(b) : '?';
}

std::string ToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    for (char c : ansi)
        utf8::Append(out, ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const utf8::TDecoded d = utf8::Decode(utf8, i);
        out += d.valid ? FromUnicode(d.cp) : '?';
        i += d.length;
    }
    return out;
}

std::string ToUpper(std::string_view s)
{
    return MapBytes(s, [](unsigned char c) { return ToUpper(c); });
}

std::string ToLower(std::string_view s)
{
    return MapBytes(s, [](unsigned char c) { return ToLower(c); });
}

}  // namespace ostrel::codepage
