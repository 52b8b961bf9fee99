// Page geometry: roman numerals, wrap positions, the printer's geometry with
// and without a printer, margins in every unit and the pixel positions of a
// laid-out page.

#include <gtest/gtest.h>

#include <string>

#include "platform/RecordingCanvas.h"
#include "print/OstEditPrintMargins.h"
#include "print/OstEditPrintTypes.h"
#include "print/OstEditPrinterInfo.h"

using namespace ostrel;

namespace {

class FakePrinter : public Printer {
public:
    std::optional<TPrinterCaps> caps;
    std::vector<std::string> Printers() const override { return caps ? std::vector<std::string>{"P"} : std::vector<std::string>{}; }
    int PrinterIndex() const override { return caps ? 0 : -1; }
    void SetPrinterIndex(int) override {}
    std::optional<TPrinterCaps> Capabilities() const override { return caps; }
    void BeginDoc(std::string_view) override {}
    void NewPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }
    Canvas& PageCanvas() override { return canvas; }
    RecordingCanvas canvas;
};

}  // namespace

TEST(RomanNumeral, SubtractiveFormsAndLimits)
{
    EXPECT_EQ(ToRomanNumeral(1), "I");
    EXPECT_EQ(ToRomanNumeral(4), "IV");
    EXPECT_EQ(ToRomanNumeral(9), "IX");
    EXPECT_EQ(ToRomanNumeral(12), "XII");
    EXPECT_EQ(ToRomanNumeral(40), "XL");
    EXPECT_EQ(ToRomanNumeral(90), "XC");
    EXPECT_EQ(ToRomanNumeral(400), "CD");
    EXPECT_EQ(ToRomanNumeral(1994), "MCMXCIV");
    EXPECT_EQ(ToRomanNumeral(3999), "MMMCMXCIX");
    EXPECT_EQ(ToRomanNumeral(5000), "MMMMM");  // M repeats without limit
    EXPECT_EQ(ToRomanNumeral(0), "");
    EXPECT_EQ(ToRomanNumeral(-7), "");
}

TEST(WrapBreaks, ShortLineNeedsNoBreak)
{
    std::vector<TWrapPos> breaks;
    EXPECT_TRUE(FindWrapBreaks(std::string(80, 'a'), " ", 80, breaks));
    EXPECT_TRUE(breaks.empty());
}

TEST(WrapBreaks, OnlyBlankOfALongLineBreaksIt)
{
    std::string line(100, 'a');
    line[69] = ' ';
    std::vector<TWrapPos> breaks;
    ASSERT_TRUE(FindWrapBreaks(line, " ", 80, breaks));
    EXPECT_EQ(breaks, (std::vector<TWrapPos>{{70}}));
}

TEST(WrapBreaks, EveryRowEndsAfterItsLastBreakCharacter)
{
    const std::string line = "aaa bbb ccc ddd eee";
    std::vector<TWrapPos> breaks;
    ASSERT_TRUE(FindWrapBreaks(line, " ", 8, breaks));
    EXPECT_EQ(breaks, (std::vector<TWrapPos>{{8}, {16}}));
}

TEST(WrapBreaks, AnyOfTheBreakCharactersCounts)
{
    std::vector<TWrapPos> breaks;
    ASSERT_TRUE(FindWrapBreaks("abc,defgh;ijkl", ",;", 6, breaks));
    EXPECT_EQ(breaks, (std::vector<TWrapPos>{{4}, {10}}));
}

TEST(WrapBreaks, RowWithoutBreakFailsAndTakesBackItsBreaks)
{
    std::vector<TWrapPos> breaks{{3}};  // from an earlier line
    EXPECT_FALSE(FindWrapBreaks("aa bbbbbbbbbbbbbbbb", " ", 6, breaks));
    EXPECT_EQ(breaks, (std::vector<TWrapPos>{{3}}));
    EXPECT_FALSE(FindWrapBreaks(std::string(20, 'x'), " ", 6, breaks));
    EXPECT_EQ(breaks.size(), 1u);
}

TEST(WrapBreaks, NoColumnsCannotHoldALine)
{
    std::vector<TWrapPos> breaks;
    EXPECT_FALSE(FindWrapBreaks("a b", " ", 0, breaks));
    EXPECT_TRUE(breaks.empty());
}

TEST(PrinterInfo, WithoutPrinterAnA4SheetAt300Dpi)
{
    for (bool withEmptyPrinter : {false, true}) {
        FakePrinter none;
        TOstEditPrinterInfo info(withEmptyPrinter ? &none : nullptr);
        EXPECT_FALSE(info.IsValid());
        EXPECT_EQ(info.PhysicalWidth(), 2481);
        EXPECT_TRUE(info.IsValid());
        EXPECT_EQ(info.PhysicalHeight(), 3507);
        EXPECT_EQ(info.PageWidth(), 2358);
        EXPECT_EQ(info.PageHeight(), 3407);
        EXPECT_EQ(info.OffsetLeft(), 65);
        EXPECT_EQ(info.OffsetRight(), 58);
        EXPECT_EQ(info.OffsetTop(), 50);
        EXPECT_EQ(info.OffsetBottom(), 50);
        EXPECT_EQ(info.DpiX(), 300);
        EXPECT_EQ(info.DpiY(), 300);
        EXPECT_DOUBLE_EQ(info.PixPerMMX(), 300 / 25.4);
        EXPECT_DOUBLE_EQ(info.PixPerMMY(), 300 / 25.4);
        EXPECT_EQ(info.PixFromLeft(25), 230);  // 295.28 - 65
        EXPECT_EQ(info.PixFromRight(15), 119);  // 177.17 - 58
        EXPECT_EQ(info.PixFromTop(25), 245);
        EXPECT_EQ(info.PixFromBottom(25), 245);
    }
}

TEST(PrinterInfo, ReadsThePrinterAndSeesAChangeOnRefresh)
{
    FakePrinter printer;
    printer.caps = TPrinterCaps{1000, 2000, 900, 1800, 40, 60, 254, 127};
    TOstEditPrinterInfo info(&printer);
    EXPECT_EQ(info.OffsetRight(), 60);
    EXPECT_EQ(info.OffsetBottom(), 140);
    EXPECT_DOUBLE_EQ(info.PixPerMMX(), 10);
    EXPECT_DOUBLE_EQ(info.PixPerMMY(), 5);
    EXPECT_EQ(info.PixFromLeft(10), 60);
    EXPECT_EQ(info.PixFromBottom(30), 10);

    printer.caps->DpiX = 508;
    EXPECT_DOUBLE_EQ(info.PixPerMMX(), 10);  // kept until the next job refreshes
    info.Refresh();
    EXPECT_DOUBLE_EQ(info.PixPerMMX(), 20);
}

TEST(PrinterInfo, RoundsTiesToEven)
{
    FakePrinter printer;
    // 254 dpi: ten pixels per millimetre, so quarter millimetres give ties.
    printer.caps = TPrinterCaps{1000, 1000, 1000, 1000, 0, 0, 254, 254};
    TOstEditPrinterInfo info(&printer);
    EXPECT_EQ(info.PixFromLeft(0.25), 2);  // 2.5
    EXPECT_EQ(info.PixFromLeft(0.75), 8);  // 7.5
    EXPECT_EQ(info.PixFromTop(-0.25), -2);
}

TEST(PrintMargins, DefaultsInMillimetres)
{
    TOstEditPrintMargins m;
    EXPECT_EQ(m.UnitSystem(), usMM);
    EXPECT_DOUBLE_EQ(m.Left(), 25);
    EXPECT_DOUBLE_EQ(m.Right(), 15);
    EXPECT_DOUBLE_EQ(m.Top(), 25);
    EXPECT_DOUBLE_EQ(m.Bottom(), 25);
    EXPECT_DOUBLE_EQ(m.Header(), 15);
    EXPECT_DOUBLE_EQ(m.Footer(), 15);
    EXPECT_DOUBLE_EQ(m.LeftHFTextIndent(), 2);
    EXPECT_DOUBLE_EQ(m.RightHFTextIndent(), 2);
    EXPECT_DOUBLE_EQ(m.HFInternalMargin(), 0.5);
    EXPECT_DOUBLE_EQ(m.Gutter(), 0);
    EXPECT_FALSE(m.MirrorMargins());
}

TEST(PrintMargins, EveryUnitReadsAndWritesTheSameMillimetres)
{
    TOstEditPrintMargins m;
    m.SetLeft(25.4);
    m.SetUnitSystem(usInch);
    EXPECT_DOUBLE_EQ(m.Left(), 1);
    m.SetUnitSystem(muThousandthsOfInches);
    EXPECT_DOUBLE_EQ(m.Left(), 1000);
    m.SetUnitSystem(usCM);
    EXPECT_DOUBLE_EQ(m.Left(), 2.54);
    m.SetLeft(1);
    m.SetUnitSystem(usMM);
    EXPECT_DOUBLE_EQ(m.Left(), 10);

    m.SetUnitSystem(muThousandthsOfInches);
    m.SetGutter(500);
    m.SetUnitSystem(usMM);
    EXPECT_DOUBLE_EQ(m.Gutter(), 12.7);
}

TEST(PrintMargins, EveryUnitLaysOutTheSamePixels)
{
    RecordingCanvas canvas;
    TOstEditPrinterInfo info;
    TOstEditPrintMargins inMM;
    inMM.LayoutPage(canvas, 1, info, false, false, 0);
    for (TUnitSystem unit : {usCM, usInch, muThousandthsOfInches}) {
        TOstEditPrintMargins m;
        m.SetUnitSystem(unit);
        const double perMM = 1 / TOstEditPrintMargins::MMPerUnit(unit);
        m.SetLeft(25 * perMM);
        m.SetRight(15 * perMM);
        m.SetTop(25 * perMM);
        m.SetBottom(25 * perMM);
        m.LayoutPage(canvas, 1, info, false, false, 0);
        EXPECT_EQ(m.PixLeft, inMM.PixLeft) << unit;
        EXPECT_EQ(m.PixRight, inMM.PixRight) << unit;
        EXPECT_EQ(m.PixTop, inMM.PixTop) << unit;
        EXPECT_EQ(m.PixBottom, inMM.PixBottom) << unit;
    }
}

TEST(PrintMargins, AssignCopiesLengthsMirroringAndUnit)
{
    TOstEditPrintMargins source;
    source.SetRight(7);
    source.SetHFInternalMargin(1.5);
    source.SetMirrorMargins(true);
    source.SetUnitSystem(usCM);
    TOstEditPrintMargins copy;
    copy.Assign(source);
    EXPECT_EQ(copy.UnitSystem(), usCM);
    EXPECT_TRUE(copy.MirrorMargins());
    EXPECT_DOUBLE_EQ(copy.Right(), 0.7);
    EXPECT_DOUBLE_EQ(copy.HFInternalMargin(), 0.15);
}

TEST(PrintMargins, DefaultPageOnTheFallbackSheet)
{
    RecordingCanvas canvas;
    TOstEditPrinterInfo info;
    TOstEditPrintMargins m;
    m.LayoutPage(canvas, 1, info, false, false, 0);
    EXPECT_EQ(m.PixLeft, 230);
    EXPECT_EQ(m.PixRight, 2358 - 119);
    EXPECT_EQ(m.PixTop, 245);
    EXPECT_EQ(m.PixBottom, 3407 - 245);
    EXPECT_EQ(m.PixHeader, 127);  // 177.17 - 50
    EXPECT_EQ(m.PixFooter, 3407 - 127);
    EXPECT_EQ(m.PixHFInternalMargin, 6);  // 5.9
    EXPECT_EQ(m.PixGutter, 0);
    EXPECT_EQ(m.PixLeftHFTextIndent, 230 + 24);  // 23.6
    EXPECT_EQ(m.PixRightHFTextIndent, 2239 - 24);
}

TEST(PrintMargins, MirroredGutterMovesToTheRightOnEvenPages)
{
    RecordingCanvas canvas;
    TOstEditPrinterInfo info;
    TOstEditPrintMargins m;
    m.SetMirrorMargins(true);
    m.SetGutter(10);
    m.LayoutPage(canvas, 1, info, false, false, 0);
    EXPECT_EQ(m.PixLeft, 348);  // 35 mm: 413.39 - 65
    EXPECT_EQ(m.PixRight, 2358 - 119);
    EXPECT_EQ(m.PixGutter, 118);
    m.LayoutPage(canvas, 2, info, false, false, 0);
    EXPECT_EQ(m.PixLeft, 112);  // 15 mm: 177.17 - 65
    EXPECT_EQ(m.PixRight, 2358 - 355);  // 35 mm: 413.39 - 58
    EXPECT_EQ(m.PixLeftHFTextIndent, 112 + 24);
    m.LayoutPage(canvas, 3, info, false, false, 0);
    EXPECT_EQ(m.PixLeft, 348);

    m.SetMirrorMargins(false);
    m.LayoutPage(canvas, 2, info, false, false, 0);
    EXPECT_EQ(m.PixLeft, 348);  // the gutter stays left without mirroring
}

TEST(PrintMargins, LineNumbersBesideTheTextWidenTheLeftMargin)
{
    RecordingCanvas canvas;
    TOstFont font;
    font.Height = -10;  // cells of 6 pixels on the fixed-metrics canvas
    canvas.SelectFont(font, 0);
    TOstEditPrinterInfo info;
    TOstEditPrintMargins m;
    m.LayoutPage(canvas, 1, info, true, false, 1234);
    EXPECT_EQ(m.PixLeft, 230 + 6 * 6);  // "1234: "
    EXPECT_EQ(m.PixLeftHFTextIndent, 230 + 36 + 24);
    m.LayoutPage(canvas, 1, info, true, true, 1234);
    EXPECT_EQ(m.PixLeft, 230);
    m.LayoutPage(canvas, 1, info, false, false, 1234);
    EXPECT_EQ(m.PixLeft, 230);
}
