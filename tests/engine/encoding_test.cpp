// The encodings of a document: names, detection on opening, file bytes to
// the buffer and back byte for byte, and conversions between encodings.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "support/Iconv.h"

using namespace ostrel;
using E = TOstEncoding;

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr E kAll[] = {E::Utf8, E::Utf8Bom, E::Utf16Le, E::Utf16Be, E::Windows1250, E::Iso88592};

// UTF-8 text in a code page (the test's sentences are all representable).
std::string In(E page, std::string_view utf8)
{
    std::string out;
    EXPECT_EQ(FromUtf8(utf8, page, out), npos) << utf8;
    return out;
}

// The file bytes the encoder makes of text, given in pieces of `piece` bytes
// (0: all at once).
std::string Encoded(std::string_view text, E e, size_t piece = 0, bool* faithful = nullptr)
{
    TOstFileEncoder encoder(e);
    std::string file;
    const size_t step = piece == 0 ? std::max<size_t>(text.size(), 1) : piece;
    for (size_t i = 0; i < text.size(); i += step)
        encoder.Encode(text.substr(i, step), file);
    const bool ok = encoder.Finish(file);
    if (faithful)
        *faithful = ok;
    return file;
}

// The file bytes again after decoding, encoded whole, a byte at a time and in
// random pieces.
void ExpectRoundTrip(std::string_view file, E e, std::mt19937& rng)
{
    const std::string text = DecodeFileBytes(file, e);
    bool faithful = false;
    ASSERT_EQ(Encoded(text, e, 0, &faithful), file) << EncodingName(e);
    EXPECT_TRUE(faithful);
    ASSERT_EQ(Encoded(text, e, 1), file) << EncodingName(e);
    TOstFileEncoder encoder(e);
    std::string out;
    std::string piece;
    for (size_t i = 0; i < text.size();) {
        const size_t n = std::min<size_t>(rng() % 7, text.size() - i);
        piece.assign(text.substr(i, n));  // a reused buffer, as a saver has
        encoder.Encode(piece, out);
        i += n;
    }
    EXPECT_TRUE(encoder.Finish(out));
    ASSERT_EQ(out, file) << EncodingName(e);
}

std::string Le16(std::initializer_list<uint16_t> units)
{
    std::string s;
    for (uint16_t u : units) {
        s += static_cast<char>(u & 0xFF);
        s += static_cast<char>(u >> 8);
    }
    return s;
}

std::string SwapPairs(std::string s)
{
    for (size_t i = 0; i + 1 < s.size(); i += 2)
        std::swap(s[i], s[i + 1]);
    return s;
}

std::string RandomBytes(std::mt19937& rng, size_t size)
{
    std::string s(size, '\0');
    for (char& c : s)
        c = static_cast<char>(rng() % 4 == 0 ? rng() % 256 : rng() % 128);
    return s;
}

const std::string kHtmlTop = "<!DOCTYPE html>\n<html><head>\n";

}  // namespace

TEST(EncodingNames, NamesTitlesAndLookup)
{
    const char* names[] = {"utf-8", "utf-8-bom", "utf-16le", "utf-16be", "windows-1250", "iso-8859-2"};
    const char* titles[] = {"UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE", "Windows-1250", "ISO-8859-2"};
    for (int i = 0; i < kEncodingCount; ++i) {
        const E e = kAll[i];
        EXPECT_EQ(EncodingName(e), names[i]);
        EXPECT_EQ(EncodingTitle(e), titles[i]);
        EXPECT_EQ(EncodingFromName(names[i]), e);
        EXPECT_EQ(HoldsUtf8(e), CodePageOf(e) == nullptr);
    }
    EXPECT_EQ(EncodingFromName("ISO-8859-2"), E::Iso88592);
    EXPECT_EQ(EncodingFromName("UTF-16LE"), E::Utf16Le);
    EXPECT_FALSE(EncodingFromName("utf8"));
    EXPECT_FALSE(EncodingFromName(""));
    EXPECT_FALSE(EncodingFromName("utf-8 "));
    EXPECT_EQ(CodePageOf(E::Iso88592), &codepage::Iso88592());
    EXPECT_EQ(CodePageOf(E::Windows1250), &codepage::Windows1250());
}

TEST(EncodingDetection, ByteOrderMarksComeFirst)
{
    const std::string win = In(E::Windows1250, "Zażółć");
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF" + win), E::Utf8Bom);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"), E::Utf8Bom);
    EXPECT_EQ(DetectEncoding("\xFF\xFE" + Le16({'a', 0x0142})), E::Utf16Le);
    EXPECT_EQ(DetectEncoding("\xFE\xFF" + SwapPairs(Le16({'a', 0x0142}))), E::Utf16Be);
    EXPECT_EQ(DetectEncoding("\xFF\xFE"), E::Utf16Le);
    EXPECT_EQ(ByteOrderMarkLength("\xEF\xBB\xBFx", E::Utf8Bom), 3u);
    EXPECT_EQ(ByteOrderMarkLength("\xEF\xBBx", E::Utf8Bom), 0u);
    EXPECT_EQ(ByteOrderMarkLength("\xFF\xFE", E::Utf16Le), 2u);
    EXPECT_EQ(ByteOrderMarkLength("\xFF\xFE", E::Utf16Be), 0u);
    EXPECT_EQ(ByteOrderMarkLength("\xEF\xBB\xBF", E::Utf8), 0u);
}

TEST(EncodingDetection, Utf8WithLettersAndDamagedUtf8)
{
    EXPECT_EQ(DetectEncoding("Zażółć gęślą jaźń", E::Windows1250), E::Utf8);
    EXPECT_EQ(DetectEncoding("x \xE2\x82\xAC", E::Iso88592), E::Utf8);
    // 16 good letters for each bad byte still make UTF-8; fewer do not.
    std::string damaged;
    for (int i = 0; i < 16; ++i)
        damaged += "\xC5\x82o";
    EXPECT_EQ(DetectEncoding(damaged + "\xB3"), E::Utf8);
    EXPECT_EQ(DetectEncoding(damaged + "\xB3\xB3"), E::Windows1250);
    EXPECT_EQ(DetectEncoding(damaged.substr(3) + "\xB3"), E::Windows1250);
}

TEST(EncodingDetection, PlainAsciiAndEmptyFilesTakeTheDefault)
{
    EXPECT_EQ(DetectEncoding(""), E::Utf8);
    EXPECT_EQ(DetectEncoding("int main() { return 0; }\n"), E::Utf8);
    EXPECT_EQ(DetectEncoding(std::string("plain\0text", 10), E::Windows1250), E::Windows1250);
    EXPECT_EQ(DetectEncoding("", E::Iso88592), E::Iso88592);
    EXPECT_EQ(DetectEncoding("abc", E::Utf16Le), E::Utf16Le);
}

TEST(EncodingDetection, DeclarationsOfEachKindDecideWhatTheLettersLeaveOpen)
{
    // ż, ó, ł are the same bytes in both pages: only a declaration tells.
    const std::string neutral = In(E::Iso88592, "<p>żółw</p>\n");
    const std::string iso = In(E::Iso88592, "<p>Świętość źródła</p>\n");
    EXPECT_EQ(DetectEncoding(kHtmlTop + neutral), E::Windows1250);
    EXPECT_EQ(DetectEncoding(kHtmlTop + "<meta charset=\"ISO-8859-2\">\n" + neutral), E::Iso88592);
    EXPECT_EQ(DetectEncoding(kHtmlTop + "<META CHARSET=latin2>\n" + neutral), E::Iso88592);
    EXPECT_EQ(DetectEncoding(kHtmlTop +
                             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\" />\n" +
                             neutral),
              E::Iso88592);
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding='iso8859-2'?>\n<a>" + neutral + "</a>"), E::Iso88592);
    EXPECT_EQ(DetectEncoding("@charset \"l2\";\nbody { font-family: \"" + neutral + "\" }"), E::Iso88592);
    // A Windows-1250 declaration against letters that lean to ISO-8859-2.
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding=\"CP1250\"?>\n" + iso), E::Windows1250);
    EXPECT_EQ(DetectEncoding("@charset \"x-cp1250\";\n/* " + iso + " */"), E::Windows1250);
    // In plain ASCII the declaration wins over the default.
    EXPECT_EQ(DetectEncoding("<meta charset=\"utf-8\">", E::Windows1250), E::Utf8);
    EXPECT_EQ(DetectEncoding("<meta charset=\"utf8\">", E::Iso88592), E::Utf8);
    EXPECT_EQ(DetectEncoding("<meta charset=\"windows-1250\">"), E::Windows1250);
    // Beyond the first 4 KB a declaration is not looked for.
    EXPECT_EQ(DetectEncoding(kHtmlTop + std::string(5000, ' ') + "<meta charset=\"iso-8859-2\">" + neutral),
              E::Windows1250);
}

TEST(EncodingDetection, DeclarationsTheBytesContradictAreIgnored)
{
    const std::string win = In(E::Windows1250, "<p>Zażółć gęślą jaźń</p>");  // ś and ź are 0x9C, 0x9F
    EXPECT_EQ(DetectEncoding(kHtmlTop + "<meta charset=\"iso-8859-2\">" + win), E::Windows1250);
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + win), E::Windows1250);
    const std::string iso = In(E::Iso88592, "<p>Zażółć gęślą jaźń</p>");
    EXPECT_EQ(DetectEncoding(kHtmlTop + "<meta charset=\"utf-8\">" + iso), E::Iso88592);
    // A set we do not hold, and words that only look like a declaration.
    EXPECT_EQ(DetectEncoding(kHtmlTop + "<meta charset=\"iso-8859-1\">" + iso), E::Iso88592);
    EXPECT_EQ(DetectEncoding("the charset iso-8859-2 is older\n", E::Windows1250), E::Windows1250);
    // The first declaration the bytes agree with counts.
    const std::string neutral = In(E::Iso88592, "żółw");
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding=\"iso-8859-2\"?>\n<meta charset=\"cp1250\">" + win),
              E::Windows1250);
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding=\"iso-8859-2\"?>\n<meta charset=\"cp1250\">" + neutral),
              E::Iso88592);
    EXPECT_EQ(DetectEncoding("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<meta charset=\"latin2\">" + neutral),
              E::Iso88592);
}

TEST(EncodingDetection, WindowsAgainstIsoFromPolishText)
{
    for (const char* sentence : {"Zażółć gęślą jaźń", "Świętość źródła", "Ąę", "ą", "Łąka", "Źle", "Śnieg",
                                 "Gdzie są te źrebaki?"}) {
        EXPECT_EQ(DetectEncoding(In(E::Windows1250, sentence)), E::Windows1250) << sentence;
        EXPECT_EQ(DetectEncoding(In(E::Iso88592, sentence)), E::Iso88592) << sentence;
        EXPECT_EQ(DetectEncoding(In(E::Iso88592, sentence), E::Windows1250), E::Iso88592) << sentence;
        EXPECT_EQ(DetectEncoding(In(E::Windows1250, sentence), E::Iso88592), E::Windows1250) << sentence;
    }
    // Letters both pages share: the default when it is a code page.
    for (const char* sentence : {"ż", "Łódka", "żółw", "Ala ma kota, a kot ma Alę"}) {
        EXPECT_EQ(DetectEncoding(In(E::Iso88592, sentence)), E::Windows1250) << sentence;
        EXPECT_EQ(DetectEncoding(In(E::Iso88592, sentence), E::Iso88592), E::Iso88592) << sentence;
        EXPECT_EQ(DetectEncoding(In(E::Iso88592, sentence), E::Windows1250), E::Windows1250) << sentence;
    }
    // A tie with letters of both goes to Windows-1250; any of 0x80-0x9F settles it too.
    EXPECT_EQ(DetectEncoding("\xB9 \xB1", E::Iso88592), E::Windows1250);
    EXPECT_EQ(DetectEncoding("\xB1\xB6\xBC\x80", E::Iso88592), E::Windows1250);
    EXPECT_EQ(DetectEncoding("\xB1\xB6\xB9", E::Windows1250), E::Iso88592);
}

TEST(FileBytes, Utf16DecodesToUtf8LikeTheCLibrary)
{
    const std::string utf8 = "Zażółć gęślą jaźń — 日本 😀 € \t\r\n" + std::string(40, 'x') + "ą";
    for (const auto& [e, charset] : {std::pair{E::Utf16Le, "UTF-16LE"}, std::pair{E::Utf16Be, "UTF-16BE"}}) {
        const auto units = test::ConvertWithIconv("UTF-8", charset, utf8);
        ASSERT_TRUE(units);
        const std::string mark = e == E::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
        EXPECT_EQ(DecodeFileBytes(mark + *units, e), utf8);
        EXPECT_EQ(DecodeFileBytes(*units, e), utf8);  // chosen by the user without a mark
        EXPECT_EQ(Encoded(utf8, e), mark + *units);
        EXPECT_EQ(Encoded(utf8, e, 3), mark + *units);
    }
}

TEST(FileBytes, WhatUtf8CannotHoldGetsFormsThatGoBack)
{
    // A lone high and a lone low surrogate, a pair the wrong way round, NUL.
    const std::string file = "\xFF\xFE" + Le16({'a', 0xD800, 'b', 0xDC01, 0xDFFF, 0xDBFF, 0, 'c'});
    const std::string text = DecodeFileBytes(file, E::Utf16Le);
    EXPECT_EQ(text, std::string("a\xED\xA0\x80" "b\xED\xB0\x81\xED\xBF\xBF\xED\xAF\xBF\0c", 16));
    EXPECT_EQ(Encoded(text, E::Utf16Le), file);
    // A final odd byte.
    const std::string odd = "\xFE\xFF" + SwapPairs(Le16({'a'})) + "\xC5";
    EXPECT_EQ(DecodeFileBytes(odd, E::Utf16Be), "a\xFB\x85");
    EXPECT_EQ(Encoded("a\xFB\x85", E::Utf16Be), odd);
    EXPECT_EQ(DecodeFileBytes(std::string("\xFF\xFE\x00", 3), E::Utf16Le), "\xF8\x80");
    EXPECT_EQ(Encoded("\xF8\x80", E::Utf16Le, 1), std::string("\xFF\xFE\x00", 3));
    // The mark alone, and no mark when chosen without one.
    EXPECT_EQ(DecodeFileBytes("\xEF\xBB\xBF", E::Utf8Bom), "");
    EXPECT_EQ(DecodeFileBytes("\xEF\xBB\xBFx", E::Utf8), "\xEF\xBB\xBFx");
    EXPECT_EQ(Encoded("", E::Utf8Bom), "\xEF\xBB\xBF");
    EXPECT_EQ(Encoded("", E::Utf16Be), "\xFE\xFF");
    EXPECT_EQ(Encoded("", E::Utf8), "");
}

TEST(FileBytes, EveryEncodingRoundTripsByteForByte)
{
    std::mt19937 rng(20250);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string tricky = std::string("Zaż\xC3\0\xFF\xC4 \xED\xA0\x80\xF8\x80\xF4\x90\x80\x80\xE2\x82", 20) + all;
    for (E e : kAll) {
        SCOPED_TRACE(EncodingName(e));
        const std::string mark = e == E::Utf8Bom ? "\xEF\xBB\xBF" : e == E::Utf16Le ? "\xFF\xFE"
                               : e == E::Utf16Be ? "\xFE\xFF" : "";
        ExpectRoundTrip(mark + tricky, e, rng);
        ExpectRoundTrip(mark + tricky + "x", e, rng);  // odd length for UTF-16
        ExpectRoundTrip(mark, e, rng);
        for (int round = 0; round < 300; ++round)
            ExpectRoundTrip(mark + RandomBytes(rng, rng() % 100), e, rng);
    }
}

TEST(FileBytes, InvalidBytesInAUtf16DocumentAreReportedNotHidden)
{
    for (E e : {E::Utf16Le, E::Utf16Be}) {
        TOstFileEncoder encoder(e);
        std::string file;
        for (std::string_view piece : {"ab", "\xC5", "\x82", "\xFF", "c\xE2\x82"})
            encoder.Encode(piece, file);
        EXPECT_FALSE(encoder.Finish(file));
        EXPECT_EQ(encoder.UnencodableCount(), 3u);  // 0xFF and the cut € at the end
        EXPECT_EQ(encoder.FirstUnencodable(), 4u);
        const std::string le = "\xFF\xFE" + Le16({'a', 'b', 0x0142, 0xFFFD, 'c', 0xFFFD, 0xFFFD});
        EXPECT_EQ(file, e == E::Utf16Le ? le : SwapPairs(le));
    }
    // The odd-byte form stands for a byte only at the very end.
    bool faithful = true;
    EXPECT_EQ(Encoded("a\xF8\x80\r\n", E::Utf16Le, 3, &faithful),
              "\xFF\xFE" + Le16({'a', 0xFFFD, 0xFFFD, '\r', '\n'}));
    EXPECT_FALSE(faithful);
    // The other encodings write any byte as it is.
    for (E e : {E::Utf8, E::Utf8Bom, E::Windows1250, E::Iso88592}) {
        EXPECT_EQ(Encoded("\xFF\xC4", e, 1, &faithful), (e == E::Utf8Bom ? "\xEF\xBB\xBF" : "") + std::string("\xFF\xC4"));
        EXPECT_TRUE(faithful);
    }
}

TEST(TextConversion, ToUtf8ForDrawingAndTheClipboard)
{
    EXPECT_EQ(ToUtf8("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1", E::Windows1250), "Zażółć gęślą jaźń");
    EXPECT_EQ(ToUtf8("Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1", E::Iso88592), "Zażółć gęślą jaźń");
    EXPECT_EQ(ToUtf8("\x80\x81", E::Windows1250), "€\xC2\x81");
    // Each invalid byte of a UTF-8 buffer is one replacement character.
    EXPECT_EQ(ToUtf8("a\xC4\xFF\xED\xA0\x80ł", E::Utf8), "a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDł");
    EXPECT_EQ(ToUtf8("ok ł", E::Utf16Le), "ok ł");
}

TEST(TextConversion, FromUtf8ReportsWhatThePageLacksAndNeverWritesQuestionMarks)
{
    std::string out;
    EXPECT_EQ(FromUtf8("Cena: 5 €", E::Iso88592, out), 8u);
    EXPECT_EQ(FromUtf8("Cena: 5 €", E::Windows1250, out), npos);
    EXPECT_EQ(out, "Cena: 5 \x80");
    EXPECT_EQ(FromUtf8("łódź 日本", E::Windows1250, out), 8u);
    EXPECT_EQ(FromUtf8("😀", E::Iso88592, out), 0u);
    EXPECT_EQ(FromUtf8("a\xFF" "b", E::Windows1250, out), 1u);
    EXPECT_EQ(FromUtf8("a\xC5", E::Iso88592, out), 1u);
    EXPECT_EQ(FromUtf8("a\xFF" "b", E::Utf8, out), npos);
    EXPECT_EQ(out, "a\xFF" "b");
    EXPECT_EQ(FromUtf8("", E::Iso88592, out), npos);
    EXPECT_EQ(out, "");
}

TEST(TextConversion, ConvertBetweenDocumentEncodings)
{
    const std::string win = In(E::Windows1250, "Zażółć gęślą jaźń ŚĄŹ");
    const std::string iso = In(E::Iso88592, "Zażółć gęślą jaźń ŚĄŹ");
    std::string out;
    EXPECT_EQ(ConvertText(win, E::Windows1250, E::Iso88592, out), npos);
    EXPECT_EQ(out, iso);
    EXPECT_EQ(ConvertText(iso, E::Iso88592, E::Windows1250, out), npos);
    EXPECT_EQ(out, win);
    EXPECT_EQ(ConvertText(win, E::Windows1250, E::Utf16Be, out), npos);
    EXPECT_EQ(out, "Zażółć gęślą jaźń ŚĄŹ");
    // ± and „ are in Windows-1250 only; š is at 0xB9 in ISO-8859-2.
    EXPECT_EQ(ConvertText("ok \xB1", E::Windows1250, E::Iso88592, out), 3u);
    EXPECT_EQ(ConvertText("\x84tak", E::Windows1250, E::Iso88592, out), 0u);
    EXPECT_EQ(ConvertText("\xB9", E::Iso88592, E::Windows1250, out), npos);
    EXPECT_EQ(out, "\x9A");
    // Invalid bytes stay in UTF-8 documents and cannot go into a page.
    EXPECT_EQ(ConvertText("ł\xED\xA0\x80", E::Utf16Le, E::Utf8, out), npos);
    EXPECT_EQ(out, "ł\xED\xA0\x80");
    EXPECT_EQ(ConvertText("ł\xED\xA0\x80", E::Utf16Le, E::Windows1250, out), 2u);
    EXPECT_EQ(ConvertText("żółw", E::Utf8, E::Iso88592, out), npos);
    EXPECT_EQ(out, In(E::Iso88592, "żółw"));
    // Every byte of one page either lands on the same character in the other or is refused.
    for (E from : {E::Windows1250, E::Iso88592}) {
        const E to = from == E::Windows1250 ? E::Iso88592 : E::Windows1250;
        for (int b = 0x80; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            if (ConvertText(one, from, to, out) == npos)
                EXPECT_EQ(ToUtf8(out, to), ToUtf8(one, from)) << b;
            else
                EXPECT_EQ(FromUtf8(ToUtf8(one, from), to, out), 0u) << b;
        }
    }
}
