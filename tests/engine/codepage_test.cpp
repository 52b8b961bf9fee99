#include <gtest/gtest.h>

#include "platform/CodePage.h"

using namespace ostrel;

TEST(CodePage, PolishLettersRoundTripThroughUtf8)
{
    const std::string utf8 = "Zażółć gęślą jaźń ŻÓŁW";
    const std::string ansi = codepage::fromUtf8(utf8);
    EXPECT_EQ(ansi, "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF\xD3\xA3W");
    EXPECT_EQ(codepage::toUtf8(ansi), utf8);
}

TEST(CodePage, EveryByteSurvivesUnicode)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(codepage::fromUtf8(codepage::toUtf8(all)), all);
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(codepage::fromUtf8("日本"), "??");
    EXPECT_EQ(codepage::fromUtf8("a\xC3"), "a?");
    EXPECT_EQ(codepage::fromUtf8("\xF0\x9F\x98\x80"), "?");
}

TEST(CodePage, CaseTablesCoverPolishLetters)
{
    EXPECT_EQ(codepage::toUpper(codepage::fromUtf8("zażółć gęślą jaźń")),
              codepage::fromUtf8("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
    EXPECT_EQ(codepage::toLower(codepage::fromUtf8("ZAŻÓŁĆ GĘŚLĄ JAŹŃ")),
              codepage::fromUtf8("zażółć gęślą jaźń"));
    // Signs without case stay as they are.
    EXPECT_EQ(codepage::toUpper("\xB1\xDF 1;"), "\xB1\xDF 1;");
}
