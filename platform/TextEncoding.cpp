#include "platform/TextEncoding.h"

#include <array>
#include <cstring>

#include "platform/AsciiBlocks.h"
#include "platform/AsciiCase.h"
#include "platform/BlockWriter.h"
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

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// --- UTF-16 to the UTF-8 the buffer holds -----------------------------------

template <bool BigEndian>
char32_t ReadUnit(const unsigned char* p)
{
    return BigEndian ? (char32_t(p[0]) << 8) | p[1] : (char32_t(p[1]) << 8) | p[0];
}

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

template <bool BigEndian>
std::string Utf16ToUtf8(std::string_view file)
{
    std::string out;
    out.reserve(file.size() / 2 + file.size() / 8);
    TBlockWriter writer(out);
    const unsigned char* p = Bytes(file);
    const unsigned char* end = p + file.size();
    while (end - p >= 2) {
        if (end - p >= ascii::kBlock) {
            const int prefix = ascii::NarrowPrefix<BigEndian>(p, writer.Room(ascii::kBlock / 2));
            writer.Advance(static_cast<size_t>(prefix));
            p += 2 * prefix;
            if (prefix == ascii::kBlock / 2)
                continue;
        }
        char32_t cp = ReadUnit<BigEndian>(p);
        p += 2;
        if (IsHighSurrogate(cp) && end - p >= 2 && IsLowSurrogate(ReadUnit<BigEndian>(p))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (ReadUnit<BigEndian>(p) - 0xDC00);
            p += 2;
        }
        // A lone surrogate gets its generalised form from Encode.
        writer.Advance(static_cast<size_t>(utf8::Encode(cp, writer.Room(4))));
    }
    if (p < end) {
        const unsigned char odd = *p;
        writer.Put(static_cast<char>(0xF8 | (odd >> 6)));
        writer.Put(static_cast<char>(0x80 | (odd & 0x3F)));
    }
    writer.Flush();
    return out;
}

// --- code pages ---------------------------------------------------------------

struct TUtf8OfByte {
    char bytes[4];
    uint8_t length;
};
using TUtf8Table = std::array<TUtf8OfByte, 256>;

TUtf8Table MakeUtf8Table(const codepage::TCodePage& page)
{
    TUtf8Table table{};
    for (int b = 0; b < 256; ++b)
        table[b].length = static_cast<uint8_t>(utf8::Encode(page.ToUnicode(static_cast<unsigned char>(b)), table[b].bytes));
    return table;
}

const TUtf8Table& Utf8TableOf(TOstEncoding e)
{
    static const TUtf8Table windows = MakeUtf8Table(codepage::Windows1250());
    static const TUtf8Table iso = MakeUtf8Table(codepage::Iso88592());
    return e == TOstEncoding::Iso88592 ? iso : windows;
}

// Byte of one page -> byte of the other, -1 where the other lacks the character.
using TPageMap = std::array<int16_t, 256>;

TPageMap MakePageMap(const codepage::TCodePage& from, const codepage::TCodePage& to)
{
    TPageMap map{};
    for (int b = 0; b < 256; ++b) {
        unsigned char target;
        map[b] = to.FromUnicode(from.ToUnicode(static_cast<unsigned char>(b)), target) ? target : -1;
    }
    return map;
}

const TPageMap& PageMap(TOstEncoding from)
{
    static const TPageMap toIso = MakePageMap(codepage::Windows1250(), codepage::Iso88592());
    static const TPageMap toWindows = MakePageMap(codepage::Iso88592(), codepage::Windows1250());
    return from == TOstEncoding::Windows1250 ? toIso : toWindows;
}

// Runs through text: ASCII stretches go to the writer as they are, and each
// other byte i to high(i), which writes what it stands for and returns how
// many bytes it took, or 0 to stop there. Returns where it stopped, or npos.
template <typename High>
size_t CopyAsciiAnd(std::string_view text, TBlockWriter& writer, High&& high)
{
    const unsigned char* p = Bytes(text);
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        if (n - i >= ascii::kBlock) {
            const int prefix = ascii::CopyPrefix(p + i, writer.Room(ascii::kBlock));
            writer.Advance(static_cast<size_t>(prefix));
            i += static_cast<size_t>(prefix);
            if (prefix == ascii::kBlock)
                continue;
        } else if (p[i] < 0x80) {
            writer.Put(static_cast<char>(p[i++]));
            continue;
        }
        const size_t used = high(i);
        if (used == 0)
            return i;
        i += used;
    }
    return std::string_view::npos;
}

std::string CodePageToUtf8(std::string_view text, TOstEncoding e)
{
    const TUtf8Table& table = Utf8TableOf(e);
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    TBlockWriter writer(out);
    CopyAsciiAnd(text, writer, [&](size_t i) -> size_t {
        const TUtf8OfByte& u = table[static_cast<unsigned char>(text[i])];
        std::memcpy(writer.Room(4), u.bytes, 4);
        writer.Advance(u.length);
        return 1;
    });
    writer.Flush();
    return out;
}

// Held UTF-8 to UTF-8 for other programs: each invalid byte as U+FFFD.
std::string HeldUtf8ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    TBlockWriter writer(out);
    const unsigned char* p = Bytes(text);
    CopyAsciiAnd(text, writer, [&](size_t i) -> size_t {
        const int length = utf8::MultiByteLength(p + i, text.size() - i);
        if (length == 0) {
            writer.Append(kReplacement.data(), kReplacement.size());
            return 1;
        }
        std::memcpy(writer.Room(4), p + i, static_cast<size_t>(length));
        writer.Advance(static_cast<size_t>(length));
        return static_cast<size_t>(length);
    });
    writer.Flush();
    return out;
}

size_t Utf8ToCodePage(std::string_view utf8, const codepage::TCodePage& page, std::string& out)
{
    out.clear();
    out.reserve(utf8.size());
    TBlockWriter writer(out);
    const unsigned char* p = Bytes(utf8);
    const size_t stop = CopyAsciiAnd(utf8, writer, [&](size_t i) -> size_t {
        const int length = utf8::MultiByteLength(p + i, utf8.size() - i);
        unsigned char b;
        if (length == 0 || !page.FromUnicode(utf8::MultiByteValue(p + i, length), b))
            return 0;
        writer.Put(static_cast<char>(b));
        return static_cast<size_t>(length);
    });
    writer.Flush();
    return stop;
}

size_t CodePageToCodePage(std::string_view text, TOstEncoding from, std::string& out)
{
    const TPageMap& map = PageMap(from);
    out.clear();
    out.reserve(text.size());
    TBlockWriter writer(out);
    const size_t stop = CopyAsciiAnd(text, writer, [&](size_t i) -> size_t {
        const int16_t target = map[static_cast<unsigned char>(text[i])];
        if (target < 0)
            return 0;
        writer.Put(static_cast<char>(target));
        return 1;
    });
    writer.Flush();
    return stop;
}

}  // namespace

std::string_view EncodingName(TOstEncoding e) { return kNames[static_cast<size_t>(e)].name; }

std::string_view EncodingTitle(TOstEncoding e) { return kNames[static_cast<size_t>(e)].title; }

std::optional<TOstEncoding> EncodingFromName(std::string_view name)
{
    for (size_t i = 0; i < kNames.size(); ++i)
        if (ascii::EqualNoCase(name, kNames[i].name))
            return static_cast<TOstEncoding>(i);
    return std::nullopt;
}

const codepage::TCodePage* CodePageOf(TOstEncoding e)
{
    switch (e) {
    case TOstEncoding::Windows1250: return &codepage::Windows1250();
    case TOstEncoding::Iso88592: return &codepage::Iso88592();
    default: return nullptr;
    }
}

size_t ByteOrderMarkLength(std::string_view bytes, TOstEncoding e)
{
    std::string_view mark;
    switch (e) {
    case TOstEncoding::Utf8Bom: mark = kUtf8Mark; break;
    case TOstEncoding::Utf16Le: mark = kUtf16LeMark; break;
    case TOstEncoding::Utf16Be: mark = kUtf16BeMark; break;
    default: return 0;
    }
    return bytes.starts_with(mark) ? mark.size() : 0;
}

std::string DecodeFileBytes(std::string_view file, TOstEncoding e)
{
    const std::string_view content = file.substr(ByteOrderMarkLength(file, e));
    switch (e) {
    case TOstEncoding::Utf16Le: return Utf16ToUtf8<false>(content);
    case TOstEncoding::Utf16Be: return Utf16ToUtf8<true>(content);
    default: return std::string(content);
    }
}

std::string ToUtf8(std::string_view text, TOstEncoding e)
{
    return HoldsUtf8(e) ? HeldUtf8ToUtf8(text) : CodePageToUtf8(text, e);
}

size_t FromUtf8(std::string_view utf8, TOstEncoding e, std::string& out)
{
    if (const codepage::TCodePage* page = CodePageOf(e))
        return Utf8ToCodePage(utf8, *page, out);
    out.assign(utf8);
    return std::string_view::npos;
}

size_t ConvertText(std::string_view text, TOstEncoding from, TOstEncoding to, std::string& out)
{
    if (from == to || (HoldsUtf8(from) && HoldsUtf8(to))) {
        out.assign(text);
        return std::string_view::npos;
    }
    if (HoldsUtf8(from))
        return FromUtf8(text, to, out);
    if (HoldsUtf8(to)) {
        out = CodePageToUtf8(text, from);
        return std::string_view::npos;
    }
    return CodePageToCodePage(text, from, out);
}

}  // namespace ostrel
