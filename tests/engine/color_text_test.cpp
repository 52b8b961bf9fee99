#include <gtest/gtest.h>

#include "platform/ColorText.h"

using namespace ostrel;

TEST(ColorText, NamedColoursWriteTheirNamesAndReadBack)
{
    for (const TNamedColor& named : kNamedColors) {
        EXPECT_EQ(ColorToString(named.value), named.name);
        EXPECT_EQ(StringToColor(named.name), named.value) << named.name;
    }
}

TEST(ColorText, OtherColoursWriteEightUpperCaseDigits)
{
    EXPECT_EQ(ColorToString(RGBColor(0x99, 0xCC, 0xFF)), "$00FFCC99");
    EXPECT_EQ(ColorToString(0x00000001), "$00000001");
    EXPECT_EQ(ColorToString(clWindow), "$80000005") << "only the twenty colours have names when written";
    EXPECT_EQ(StringToColor("$00FFCC99"), RGBColor(0x99, 0xCC, 0xFF));
    EXPECT_EQ(StringToColor(ColorToString(0x00ABCDEF)), 0x00ABCDEFu);
}

TEST(ColorText, ReadingTakesSystemNamesAnyCaseAndNumbers)
{
    EXPECT_EQ(StringToColor("clWindow"), clWindow);
    EXPECT_EQ(StringToColor("CLWINDOWTEXT"), clWindowText);
    EXPECT_EQ(StringToColor("clnone"), clNone);
    EXPECT_EQ(StringToColor(" clRed "), clRed);
    EXPECT_EQ(StringToColor("$ff"), 0xFFu);
    EXPECT_EQ(StringToColor("0x80000005"), clWindow);
    EXPECT_EQ(StringToColor("16777215"), clWhite);
    EXPECT_EQ(StringToColor("-2147483643"), clWindow) << "a negative decimal is the same 32 bits";
}

TEST(ColorText, AnythingElseIsRefusedWithItsText)
{
    for (const char* bad : {"", "$", "clPink", "12ab", "$123456789", "4294967296", "0x", "--1", "2147483648"}) {
        try {
            StringToColor(bad);
            ADD_FAILURE() << "accepted: '" << bad << "'";
        } catch (const EColorText& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + bad + "'"), std::string::npos) << e.what();
        }
    }
}
