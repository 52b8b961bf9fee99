// Detecting a file's encoding on opening. General detectors confuse
// Windows-1250 with ISO-8859-2, so this one knows the letters where the two
// differ. Only one pass reads the whole file for UTF-8 text; a code-page
// file gets a second one that counts its bytes.

#include <algorithm>
#include <array>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

constexpr size_t kDeclarationWindow = 4096;
// A damaged UTF-8 file is still UTF-8 when it has this many valid multi-byte
// sequences for each invalid byte.
constexpr size_t kValidPerInvalid = 16;

using ascii::FindNoCase;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

size_t SkipBlanks(std::string_view s, size_t i)
{
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return i;
}

// --- declarations -------------------------------------------------------------

struct TDeclaration {
    size_t position;
    std::string_view name;
};

// A quoted value at i (or, unless quoteRequired, a bare one up to a blank,
// ';', '>' or '/').
std::string_view ValueAt(std::string_view s, size_t i, bool quoteRequired)
{
    if (i >= s.size())
        return {};
    const char quote = s[i];
    if (quote == '"' || quote == '\'') {
        const size_t close = s.find(quote, i + 1);
        return close == std::string_view::npos ? std::string_view{} : s.substr(i + 1, close - i - 1);
    }
    if (quoteRequired)
        return {};
    size_t end = i;
    while (end < s.size() && !IsBlank(s[end]) && s[end] != ';' && s[end] != '>' && s[end] != '/' && s[end] != '"' &&
           s[end] != '\'')
        ++end;
    return s.substr(i, end - i);
}

// The value after the first `word` [blanks] '=' [blanks] inside s.
std::string_view AssignedValue(std::string_view s, std::string_view word, bool quoteRequired)
{
    for (size_t at = FindNoCase(s, word); at != std::string_view::npos; at = FindNoCase(s, word, at + 1)) {
        const size_t equals = SkipBlanks(s, at + word.size());
        if (equals < s.size() && s[equals] == '=')
            return ValueAt(s, SkipBlanks(s, equals + 1), quoteRequired);
    }
    return {};
}

// <?xml version="1.0" encoding="..."?> at the start of the file.
void FindXmlDeclaration(std::string_view head, std::vector<TDeclaration>& found)
{
    const size_t start = SkipBlanks(head, 0);
    if (FindNoCase(head.substr(start, 5), "<?xml") != 0)
        return;
    const size_t end = head.find("?>", start);
    const std::string_view declaration = head.substr(start, end == std::string_view::npos ? head.npos : end - start);
    if (const std::string_view name = AssignedValue(declaration, "encoding", true); !name.empty())
        found.push_back({start, name});
}

// @charset "...";
void FindCssCharset(std::string_view head, std::vector<TDeclaration>& found)
{
    for (size_t at = FindNoCase(head, "@charset"); at != std::string_view::npos;
         at = FindNoCase(head, "@charset", at + 1)) {
        const std::string_view name = ValueAt(head, SkipBlanks(head, at + 8), true);
        if (!name.empty())
            found.push_back({at, name});
    }
}

// <meta charset="..."> and <meta http-equiv=... content="...; charset=...">
void FindMetaCharsets(std::string_view head, std::vector<TDeclaration>& found)
{
    for (size_t at = FindNoCase(head, "<meta"); at != std::string_view::npos; at = FindNoCase(head, "<meta", at + 1)) {
        if (at + 5 >= head.size() || !(IsBlank(head[at + 5]) || head[at + 5] == '/'))
            continue;
        const size_t close = head.find('>', at);
        if (close == std::string_view::npos)
            return;
        if (const std::string_view name = AssignedValue(head.substr(at, close - at), "charset", false); !name.empty())
            found.push_back({at, name});
    }
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<TOstEncoding> EncodingOfDeclaredName(std::string_view declared)
{
    struct TAlias {
        std::string_view name;
        TOstEncoding encoding;
    };
    static constexpr TAlias kAliases[] = {
        {"utf-8", TOstEncoding::Utf8},
        {"utf8", TOstEncoding::Utf8},
        {"iso-8859-2", TOstEncoding::Iso88592},
        {"latin2", TOstEncoding::Iso88592},
        {"iso_8859-2", TOstEncoding::Iso88592},
        {"l2", TOstEncoding::Iso88592},
        {"iso8859-2", TOstEncoding::Iso88592},
        {"windows-1250", TOstEncoding::Windows1250},
        {"cp1250", TOstEncoding::Windows1250},
        {"x-cp1250", TOstEncoding::Windows1250},
    };
    const std::string_view name = Trimmed(declared);
    for (const TAlias& alias : kAliases)
        if (ascii::EqualNoCase(name, alias.name))
            return alias.encoding;
    return std::nullopt;
}

// The declarations of the first 4 KB that name one of our encodings, in the
// order they stand in the file.
std::vector<TOstEncoding> DeclaredEncodings(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, kDeclarationWindow);
    std::vector<TDeclaration> found;
    FindXmlDeclaration(head, found);
    FindCssCharset(head, found);
    FindMetaCharsets(head, found);
    std::sort(found.begin(), found.end(),
              [](const TDeclaration& a, const TDeclaration& b) { return a.position < b.position; });
    std::vector<TOstEncoding> encodings;
    for (const TDeclaration& d : found)
        if (const auto e = EncodingOfDeclaredName(d.name))
            encodings.push_back(*e);
    return encodings;
}

// --- the bytes of the two code pages -----------------------------------------

struct TCodePageEvidence {
    bool hasC1 = false;  // a byte 0x80-0x9F: printable in Windows-1250 only
    size_t windowsLetters = 0;
    size_t isoLetters = 0;
};

// ą Ą in Windows-1250 (its ś Ś ź Ź lie in 0x80-0x9F), and ą Ą ś Ś ź Ź in ISO-8859-2.
constexpr unsigned char kWindowsOnlyLetters[] = {0xB9, 0xA5};
constexpr unsigned char kIsoOnlyLetters[] = {0xB1, 0xA1, 0xB6, 0xA6, 0xBC, 0xAC};

TCodePageEvidence WeighCodePages(std::string_view bytes)
{
    std::array<size_t, 256> counts{};
    TCodePageEvidence evidence;
    for (size_t i = utf8::SkipAscii(bytes, 0); i < bytes.size(); i = utf8::SkipAscii(bytes, i + 1)) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0xA0) {
            evidence.hasC1 = true;  // settles it: nothing else is counted
            return evidence;
        }
        ++counts[b];
    }
    for (unsigned char b : kWindowsOnlyLetters)
        evidence.windowsLetters += counts[b];
    for (unsigned char b : kIsoOnlyLetters)
        evidence.isoLetters += counts[b];
    return evidence;
}

bool IsCodePage(TOstEncoding e) { return !HoldsUtf8(e); }

TOstEncoding CodePageFromLetters(const TCodePageEvidence& evidence, TOstEncoding plainDefault)
{
    if (evidence.hasC1)
        return TOstEncoding::Windows1250;
    if (evidence.isoLetters > evidence.windowsLetters)
        return TOstEncoding::Iso88592;
    if (evidence.isoLetters == 0 && evidence.windowsLetters == 0 && IsCodePage(plainDefault))
        return plainDefault;
    return TOstEncoding::Windows1250;
}

std::optional<TOstEncoding> ByteOrderMark(std::string_view bytes)
{
    for (TOstEncoding e : {TOstEncoding::Utf8Bom, TOstEncoding::Utf16Le, TOstEncoding::Utf16Be})
        if (ByteOrderMarkLength(bytes, e) != 0)
            return e;
    return std::nullopt;
}

}  // namespace

TOstEncoding DetectEncoding(std::string_view bytes, TOstEncoding plainDefault)
{
    if (const auto marked = ByteOrderMark(bytes))
        return *marked;
    const utf8::TScan scan = utf8::Scan(bytes);
    if (scan.multiByte > 0 && scan.multiByte >= kValidPerInvalid * scan.invalid)
        return TOstEncoding::Utf8;

    // Past here the file is plain ASCII or holds invalid UTF-8 bytes.
    const bool plainAscii = scan.invalid == 0;
    std::optional<TCodePageEvidence> evidence;
    const auto weighed = [&]() -> const TCodePageEvidence& {
        if (!evidence)
            evidence = plainAscii ? TCodePageEvidence{} : WeighCodePages(bytes);
        return *evidence;
    };
    for (TOstEncoding declared : DeclaredEncodings(bytes)) {
        if (declared == TOstEncoding::Utf8 && !plainAscii)
            continue;
        if (declared == TOstEncoding::Iso88592 && weighed().hasC1)
            continue;
        return declared;
    }
    if (plainAscii)
        return plainDefault;
    return CodePageFromLetters(weighed(), plainDefault);
}

}  // namespace ostrel
