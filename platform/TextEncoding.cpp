#include "platform/TextEncoding.h"

#include <array>
#include <cctype>

#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

struct TEncodingNames {
    std::string_view name;
    std::string_view title;
};

constexpr std::array<TEncodingNames, kEncodingCount> kNames = {{
    {"utf-8", "UTF-8"},
    {"utf-8-bom", "UTF-8 BOM"},
    {"utf-16le", "UTF-16LE"},
    {"utf-16be", "UTF-16BE"},
    {"windows-1250", "Windows-1250"},
    {"iso-8859-2", "ISO-8859-2"},
}};

// Interim: ISO-8859-2 through the letters where it differs from Windows-1250.
unsigned char IsoToWin(unsigned char b)
{
    switch (b) {
    case 0xB1: return 0xB9;
    case 0xA1: return 0xA5;
    case 0xB6: return 0x9C;
    case 0xA6: return 0x8C;
    case 0xBC: return 0x9F;
    case 0xAC: return 0x8F;
    default: return b;
    }
}
unsigned char WinToIso(unsigned char b)
{
    switch (b) {
    case 0xB9: return 0xB1;
    case 0xA5: return 0xA1;
    case 0x9C: return 0xB6;
    case 0x8C: return 0xA6;
    case 0x9F: return 0xBC;
    case 0x8F: return 0xAC;
    default: return b;
    }
}

char32_t ByteToUnicode(unsigned char b, TOstEncoding e)
{
    return codepage::toUnicode(e == TOstEncoding::Iso88592 ? IsoToWin(b) : b);
}

bool UnicodeToByte(char32_t cp, TOstEncoding e, char& out)
{
    if (cp < 0x80) {
        out = static_cast<char>(cp);
        return true;
    }
    const char c = codepage::fromUnicode(cp);
    if (c == '?')
        return false;
    out = static_cast<char>(e == TOstEncoding::Iso88592 ? WinToIso(static_cast<unsigned char>(c)) : c);
    return true;
}

}  // namespace

std::string_view EncodingName(TOstEncoding e)
{
    return kNames[static_cast<size_t>(e)].name;
}

std::string_view EncodingTitle(TOstEncoding e)
{
    return kNames[static_cast<size_t>(e)].title;
}

std::optional<TOstEncoding> EncodingFromName(std::string_view name)
{
    for (size_t i = 0; i < kNames.size(); ++i) {
        const std::string_view known = kNames[i].name;
        if (known.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < known.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(name[k])) == known[k];
        if (same)
            return static_cast<TOstEncoding>(i);
    }
    return std::nullopt;
}

TOstEncoding DetectEncoding(std::string_view bytes, TOstEncoding plainDefault)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return TOstEncoding::Utf8Bom;
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return TOstEncoding::Utf16Le;
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return TOstEncoding::Utf16Be;
    const utf8::TScan scan = utf8::Scan(bytes);
    if (scan.multiByte > 0 && scan.invalid == 0)
        return TOstEncoding::Utf8;
    if (scan.multiByte == 0 && scan.invalid == 0)
        return plainDefault;
    return TOstEncoding::Windows1250;
}

size_t ByteOrderMarkLength(std::string_view bytes, TOstEncoding e)
{
    switch (e) {
    case TOstEncoding::Utf8Bom: return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    case TOstEncoding::Utf16Le: return bytes.substr(0, 2) == "\xFF\xFE" ? 2 : 0;
    case TOstEncoding::Utf16Be: return bytes.substr(0, 2) == "\xFE\xFF" ? 2 : 0;
    default: return 0;
    }
}

std::string DecodeFileBytes(std::string_view file, TOstEncoding e)
{
    file.remove_prefix(ByteOrderMarkLength(file, e));
    if (e != TOstEncoding::Utf16Le && e != TOstEncoding::Utf16Be)
        return std::string(file);
    const bool le = e == TOstEncoding::Utf16Le;
    std::string out;
    for (size_t i = 0; i + 1 < file.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(file[i + (le ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(file[i + (le ? 1 : 0)]);
        char32_t unit = static_cast<char32_t>(hi << 8 | lo);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < file.size()) {
            const auto lo2 = static_cast<unsigned char>(file[i + 2 + (le ? 0 : 1)]);
            const auto hi2 = static_cast<unsigned char>(file[i + 2 + (le ? 1 : 0)]);
            const char32_t next = static_cast<char32_t>(hi2 << 8 | lo2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
                i += 2;
            }
        }
        utf8::Append(out, unit);
    }
    return out;
}

TOstFileEncoder::TOstFileEncoder(TOstEncoding e) : encoding_(e) {}

void TOstFileEncoder::Encode(std::string_view piece, std::string& out)
{
    if (!started_) {
        started_ = true;
        if (encoding_ == TOstEncoding::Utf8Bom)
            out += "\xEF\xBB\xBF";
        else if (encoding_ == TOstEncoding::Utf16Le)
            out += "\xFF\xFE";
        else if (encoding_ == TOstEncoding::Utf16Be)
            out += "\xFE\xFF";
    }
    if (encoding_ != TOstEncoding::Utf16Le && encoding_ != TOstEncoding::Utf16Be) {
        out.append(piece);
        return;
    }
    const bool le = encoding_ == TOstEncoding::Utf16Le;
    const auto unit = [&](char32_t u) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        out += le ? lo : hi;
        out += le ? hi : lo;
    };
    for (size_t i = 0; i < piece.size();) {
        const utf8::TDecoded d = utf8::Decode(piece, i);
        i += d.length;
        if (d.cp >= 0x10000) {
            unit(0xD800 + ((d.cp - 0x10000) >> 10));
            unit(0xDC00 + ((d.cp - 0x10000) & 0x3FF));
        } else {
            unit(d.cp);
        }
    }
}

void TOstFileEncoder::Finish(std::string& out)
{
    if (!started_)
        Encode({}, out);
}

std::string ToUtf8(std::string_view text, TOstEncoding e)
{
    std::string out;
    out.reserve(text.size());
    if (HoldsUtf8(e)) {
        for (size_t i = 0; i < text.size();) {
            const utf8::TDecoded d = utf8::Decode(text, i);
            if (d.valid)
                out.append(text.substr(i, d.length));
            else
                out += "\xEF\xBF\xBD";
            i += d.length;
        }
        return out;
    }
    for (char c : text)
        utf8::Append(out, ByteToUnicode(static_cast<unsigned char>(c), e));
    return out;
}

size_t FromUtf8(std::string_view utf8, TOstEncoding e, std::string& out)
{
    out.clear();
    if (HoldsUtf8(e)) {
        out.assign(utf8);
        return std::string_view::npos;
    }
    for (size_t i = 0; i < utf8.size();) {
        const utf8::TDecoded d = utf8::Decode(utf8, i);
        char c = 0;
        if (!d.valid || !UnicodeToByte(d.cp, e, c))
            return i;
        out += c;
        i += d.length;
    }
    return std::string_view::npos;
}

size_t ConvertText(std::string_view text, TOstEncoding from, TOstEncoding to, std::string& out)
{
    if (HoldsUtf8(from) && HoldsUtf8(to)) {
        out.assign(text);
        return std::string_view::npos;
    }
    if (HoldsUtf8(from))
        return FromUtf8(text, to, out);
    if (from == to) {
        out.assign(text);
        return std::string_view::npos;
    }
    const std::string utf8 = ToUtf8(text, from);
    if (HoldsUtf8(to)) {
        out = utf8;
        return std::string_view::npos;
    }
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = 0;
        if (!UnicodeToByte(ByteToUnicode(static_cast<unsigned char>(text[i]), from), to, c))
            return i;
        out += c;
    }
    return std::string_view::npos;
}

}  // namespace ostrel
