#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/CodePage.h"
#include "support/Iconv.h"

using namespace ostrel;

TEST(CodePage, PolishLettersRoundTripThroughUtf8)
{
    const std::string utf8 = "Zażółć gęślą jaźń ŻÓŁW";
    const std::string ansi = codepage::FromUtf8(utf8);
    EXPECT_EQ(ansi, "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF\xD3\xA3W");
    EXPECT_EQ(codepage::ToUtf8(ansi), utf8);
}

TEST(CodePage, EveryByteSurvivesUnicode)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(codepage::FromUtf8(codepage::ToUtf8(all)), all);
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(codepage::FromUtf8("日本"), "??");
    EXPECT_EQ(codepage::FromUtf8("a\xC3"), "a?");
    EXPECT_EQ(codepage::FromUtf8("\xF0\x9F\x98\x80"), "?");
    // Each byte of a broken sequence is a character of its own.
    EXPECT_EQ(codepage::FromUtf8("\xE2\x82x\xC0\x80"), "??x??");
}

TEST(CodePage, CaseTablesCoverPolishLetters)
{
    EXPECT_EQ(codepage::ToUpper(codepage::FromUtf8("zażółć gęślą jaźń")),
              codepage::FromUtf8("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
    EXPECT_EQ(codepage::ToLower(codepage::FromUtf8("ZAŻÓŁĆ GĘŚLĄ JAŹŃ")),
              codepage::FromUtf8("zażółć gęślą jaźń"));
    // Signs without case stay as they are.
    EXPECT_EQ(codepage::ToUpper("\xB1\xDF 1;"), "\xB1\xDF 1;");
}

namespace {

const codepage::TCodePage& PageNamed(std::string_view name)
{
    return name == "iso-8859-2" ? codepage::Iso88592() : codepage::Windows1250();
}

}  // namespace

TEST(CodePageFamily, TablesAgreeWithTheCLibrary)
{
    int checked = 0;
    for (const auto& [name, charset] : {std::pair{"windows-1250", "CP1250"}, std::pair{"iso-8859-2", "ISO-8859-2"}}) {
        const codepage::TCodePage& page = PageNamed(name);
        EXPECT_EQ(page.Name(), name);
        for (int b = 0; b < 256; ++b) {
            const auto expected = test::ConvertWithIconv(charset, "UTF-32LE", std::string(1, static_cast<char>(b)));
            if (!expected) {
                // Undefined in the page: the control code point of the same value.
                EXPECT_EQ(page.ToUnicode(static_cast<unsigned char>(b)), b) << name << ' ' << b;
                continue;
            }
            ASSERT_EQ(expected->size(), 4u);
            uint32_t cp;
            std::memcpy(&cp, expected->data(), 4);
            EXPECT_EQ(static_cast<uint32_t>(page.ToUnicode(static_cast<unsigned char>(b))), cp)
                << name << " byte " << b;
            ++checked;
        }
    }
    // All of ISO-8859-2 and all but five bytes of Windows-1250 are defined.
    EXPECT_EQ(checked, 256 + 251);
}

TEST(CodePageFamily, EveryByteComesBackFromItsCodePointAndOthersAreRefused)
{
    for (const codepage::TCodePage* page : {&codepage::Windows1250(), &codepage::Iso88592()}) {
        for (int b = 0; b < 256; ++b) {
            unsigned char back = 0;
            ASSERT_TRUE(page->FromUnicode(page->ToUnicode(static_cast<unsigned char>(b)), back));
            EXPECT_EQ(back, b) << page->Name();
        }
        unsigned char out;
        for (char32_t missing : {U'\u00C5', U'\u0100', U'\u0416', U'\u65E5', U'\U0001F600', char32_t{0x110000}})
            EXPECT_FALSE(page->FromUnicode(missing, out)) << page->Name();
    }
    unsigned char out;
    EXPECT_FALSE(codepage::Iso88592().FromUnicode(U'\u00B1', out));  // ± is Windows-1250 only
    EXPECT_FALSE(codepage::Iso88592().FromUnicode(U'\u20AC', out));  // and so is €
    EXPECT_TRUE(codepage::Iso88592().FromUnicode(U'\u0105', out));
    EXPECT_EQ(out, 0xB1);
    EXPECT_TRUE(codepage::Windows1250().FromUnicode(U'\u0105', out));
    EXPECT_EQ(out, 0xB9);
}

TEST(CodePageFamily, IsoCaseTablesPairTheLatin2Letters)
{
    const codepage::TCodePage& iso = codepage::Iso88592();
    // Ą ą, Ł ł, Ľ ľ, Ś ś, Š š, Ş ş, Ť ť, Ź ź, Ž ž, Ż ż
    const std::pair<unsigned char, unsigned char> upperHalf[] = {{0xA1, 0xB1}, {0xA3, 0xB3}, {0xA5, 0xB5},
                                                                 {0xA6, 0xB6}, {0xA9, 0xB9}, {0xAA, 0xBA},
                                                                 {0xAB, 0xBB}, {0xAC, 0xBC}, {0xAE, 0xBE},
                                                                 {0xAF, 0xBF}};
    for (const auto& [upper, lower] : upperHalf) {
        EXPECT_EQ(iso.ToLower(upper), lower);
        EXPECT_EQ(iso.ToUpper(lower), upper);
        EXPECT_TRUE(iso.IsUpper(upper));
        EXPECT_TRUE(iso.IsLower(lower));
    }
    for (int b = 0xC0; b <= 0xDE; ++b) {
        if (b == 0xD7)
            continue;
        EXPECT_EQ(iso.ToLower(static_cast<unsigned char>(b)), b + 0x20);
        EXPECT_EQ(iso.ToUpper(static_cast<unsigned char>(b + 0x20)), b);
    }
    // Signs and letters without a case partner in the page stay.
    for (unsigned char b : {0xA0, 0xA2, 0xA4, 0xB0, 0xB2, 0xD7, 0xDF, 0xF7, 0xFF, 0x80, 0x9F})
        EXPECT_TRUE(iso.ToUpper(b) == b && iso.ToLower(b) == b) << int(b);
    EXPECT_EQ(iso.ToUpper('q'), 'Q');
}
