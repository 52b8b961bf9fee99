// Header and footer: macro expansion, items and their fonts, line
// renumbering and measuring at job start, and the band drawn on a page with
// its frame, alignment and mirroring, on the fixed-metrics recording canvas.

#include <gtest/gtest.h>

#include "platform/RecordingCanvas.h"
#include "print/OstEditPrintHeaderFooter.h"
#include "print/OstEditPrintMargins.h"
#include "print/OstEditPrinterInfo.h"

using namespace ostrel;
using Op = RecordingCanvas::Op;
using OpKind = RecordingCanvas::OpKind;

namespace {

std::string Expand(const std::string& text, int page = 4, int count = 12, bool roman = false)
{
    THeaderFooterItem item;
    item.Text = text;
    return item.ExpandText(count, page, roman, "Tytul", "12:30:00", "2026-12-08");
}

TOstFont FontOfHeight(int height)
{
    TOstFont font{"Arial", height, 0, clBlack, 96};
    return font;
}

std::vector<Op> OpsOf(const RecordingCanvas& canvas, OpKind kind)
{
    std::vector<Op> result;
    for (const Op& op : canvas.Ops())
        if (op.kind == kind)
            result.push_back(op);
    return result;
}

// The default margins laid out on the fallback A4 sheet: body from 230 to
// 2239, header band ending at 127, footer band starting at 3280, text from
// 254 to 2215, 6 pixels inside the frame. The default font (-13) measures 8
// pixels a character, 16 a line, with its baseline 13 below the top.
class HeaderFooterTest : public ::testing::Test {
protected:
    void SetUp() override { margins.LayoutPage(canvas, 1, printer, false, false, 0); }

    void Start(THeaderFooter& band) { band.StartJob(canvas, 12, "Tytul", margins); }

    RecordingCanvas canvas;
    TOstEditPrinterInfo printer;
    TOstEditPrintMargins margins;
    THeader header;
    TFooter footer;
};

}  // namespace

TEST(HeaderFooterMacros, EveryMacroExpands)
{
    EXPECT_EQ(Expand("$PAGENUM$"), "4");
    EXPECT_EQ(Expand("$PAGECOUNT$"), "12");
    EXPECT_EQ(Expand("$TITLE$"), "Tytul");
    EXPECT_EQ(Expand("$DATE$"), "2026-12-08");
    EXPECT_EQ(Expand("$TIME$"), "12:30:00");
    EXPECT_EQ(Expand("$DATETIME$"), "2026-12-08 12:30:00");
    EXPECT_EQ(Expand("$TIMEDATE$"), "12:30:00 2026-12-08");
    EXPECT_EQ(Expand("Plik $TITLE$, strona $PAGENUM$."), "Plik Tytul, strona 4.");
}

TEST(HeaderFooterMacros, RomanPageNumbersAndAnyLetterCase)
{
    EXPECT_EQ(Expand("Strona $PAGENUM$ z $PAGECOUNT$", 4, 12, true), "Strona IV z XII");
    EXPECT_EQ(Expand("Strona $pagenum$ z $PageCount$", 4, 12, true), "Strona IV z XII");
    EXPECT_EQ(Expand("Strona $pagenum$ z $PageCount$", 4, 12, false), "Strona 4 z 12");
    EXPECT_EQ(Expand("$title$"), "Tytul");
}

TEST(HeaderFooterMacros, DollarSignsThatAreNoMacroPrintLiterally)
{
    EXPECT_EQ(Expand("$WORD$"), "$WORD$");
    EXPECT_EQ(Expand("a $word$ b $PAGENUM$"), "a $word$ b 4");
    EXPECT_EQ(Expand("$$TITLE$"), "$Tytul");
    EXPECT_EQ(Expand("cena 5$"), "cena 5$");
    EXPECT_EQ(Expand("$ 5"), "$ 5");
    EXPECT_EQ(Expand("$PAGENUM$$PAGECOUNT$"), "412");
    EXPECT_EQ(Expand("$PAGENUM"), "$PAGENUM");
}

TEST(HeaderFooterMacros, BlankTextGivesNothing)
{
    EXPECT_EQ(Expand(""), "");
    EXPECT_EQ(Expand("   "), "");
    EXPECT_EQ(Expand(" x "), " x ");
}

TEST(HeaderFooterItems, AddCopiesTheFontOrTheDefaultFont)
{
    THeader header;
    EXPECT_EQ(header.Type(), THeaderFooterType::hftHeader);
    EXPECT_EQ(TFooter().Type(), THeaderFooterType::hftFooter);
    EXPECT_EQ(header.FrameTypes, ftLine);
    EXPECT_EQ(header.ShadedColor, clSilver);
    EXPECT_EQ(header.LineColor, clBlack);
    EXPECT_EQ(header.DefaultFont.Name, "Arial");
    EXPECT_EQ(header.DefaultFont.Size(), 10);

    const TOstFont big = FontOfHeight(-20);
    EXPECT_EQ(header.Add("a", nullptr, taLeftJustify, 1), 0);
    EXPECT_EQ(header.Add("b", &big, taCenter, 2), 1);
    header.DefaultFont.Height = -30;  // items keep their copies
    ASSERT_EQ(header.Count(), 2);
    EXPECT_EQ(header.Item(0).Font.Height, -13);
    EXPECT_EQ(header.Item(1).Font, big);
    EXPECT_EQ(header.Item(1).Alignment, taCenter);
    EXPECT_EQ(header.Item(1).LineNumber, 2);
    EXPECT_EQ(header.Item(1).Index, 1);
    header.Clear();
    EXPECT_EQ(header.Count(), 0);
}

TEST(HeaderFooterItems, AssignCopiesItemsAndSettings)
{
    THeader source;
    source.FrameTypes = ftBox | ftShaded;
    source.ShadedColor = clYellow;
    source.LineColor = clRed;
    source.RomanNumbers = true;
    source.MirrorPosition = true;
    const TOstFont small = FontOfHeight(-8);
    source.Add("x", &small, taRightJustify, 3);
    source.Add("y", nullptr, taCenter, 1);
    source.DefaultFont = FontOfHeight(-20);

    TFooter copy;
    copy.Add("old", nullptr, taLeftJustify, 1);
    copy.Assign(source);
    EXPECT_EQ(copy.Type(), THeaderFooterType::hftHeader);
    EXPECT_EQ(copy.FrameTypes, ftBox | ftShaded);
    EXPECT_EQ(copy.ShadedColor, clYellow);
    EXPECT_EQ(copy.LineColor, clRed);
    EXPECT_TRUE(copy.RomanNumbers);
    EXPECT_TRUE(copy.MirrorPosition);
    EXPECT_EQ(copy.DefaultFont, FontOfHeight(-20));
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Item(0).Text, "x");
    EXPECT_EQ(copy.Item(0).Font, small);
    EXPECT_EQ(copy.Item(0).LineNumber, 3);
    EXPECT_EQ(copy.Item(0).Alignment, taRightJustify);
    EXPECT_EQ(copy.Item(1).Text, "y");
    EXPECT_EQ(copy.Item(1).Font.Height, -13);  // the source's item font, not its default
}

TEST(HeaderFooterItems, AssignFromItselfKeepsTheItems)
{
    THeader header;
    header.Add("a", nullptr, taLeftJustify, 1);
    const THeaderFooter& same = header;
    header.Assign(same);
    ASSERT_EQ(header.Count(), 1);
    EXPECT_EQ(header.Item(0).Text, "a");
}

TEST_F(HeaderFooterTest, LinesAreRenumberedWithoutGapsAndMeasured)
{
    const TOstFont big = FontOfHeight(-20);  // 23 high, baseline 20
    header.Add("c", nullptr, taLeftJustify, 7);
    header.Add("a", nullptr, taLeftJustify, 3);
    header.Add("b", &big, taRightJustify, 3);
    Start(header);
    EXPECT_EQ(header.LineCount(), 2);
    EXPECT_EQ(header.Item(0).Text, "a");
    EXPECT_EQ(header.Item(0).LineNumber, 1);
    EXPECT_EQ(header.Item(1).LineNumber, 1);
    EXPECT_EQ(header.Item(2).Text, "c");
    EXPECT_EQ(header.Item(2).LineNumber, 2);
    EXPECT_EQ(header.LineInfo(1).LineHeight, 23);
    EXPECT_EQ(header.LineInfo(1).MaxBaseLine, 20);
    EXPECT_EQ(header.LineInfo(2).LineHeight, 16);
    EXPECT_EQ(header.LineInfo(2).MaxBaseLine, 13);
    EXPECT_EQ(header.FrameHeight(), 23 + 16 + 2 * 6);
    EXPECT_FALSE(header.Date().empty());
    EXPECT_FALSE(header.Time().empty());
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

TEST_F(HeaderFooterTest, BandWithoutItemsTakesNoRoomAndDrawsNothing)
{
    header.FrameTypes = ftLine | ftBox | ftShaded;
    Start(header);
    EXPECT_EQ(header.FrameHeight(), -1);
    header.DrawBand(canvas, 1);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(HeaderFooterTest, NothingIsDrawnBeforeTheJobStarts)
{
    header.Add("a", nullptr, taLeftJustify, 1);
    header.DrawBand(canvas, 1);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(HeaderFooterTest, HeaderLineAndTextOnConsecutiveLines)
{
    header.Add("Strona $PAGENUM$ z $PAGECOUNT$", nullptr, taLeftJustify, 1);
    header.Add("$TITLE$", nullptr, taLeftJustify, 3);
    header.RomanNumbers = true;
    Start(header);
    ASSERT_EQ(header.FrameHeight(), 44);
    header.DrawBand(canvas, 4);

    const auto lines = OpsOf(canvas, OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 230);
    EXPECT_EQ(lines[0].x2, 2239);
    EXPECT_EQ(lines[0].y, 127);
    EXPECT_EQ(lines[0].y2, 127);
    EXPECT_EQ(lines[0].color, clBlack);
    EXPECT_TRUE(OpsOf(canvas, OpKind::Fill).empty());

    const auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Strona IV z XII");
    EXPECT_EQ(texts[0].x, 254);
    EXPECT_EQ(texts[0].baseline, 127 - 44 + 6 + 13);
    EXPECT_TRUE(texts[0].transparent);
    EXPECT_EQ(texts[0].color, clBlack);
    EXPECT_EQ(texts[1].text, "Tytul");
    EXPECT_EQ(texts[1].baseline, 127 - 44 + 6 + 16 + 13);
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

TEST_F(HeaderFooterTest, FooterBoxAndShadeBelowItsUpperEdge)
{
    footer.FrameTypes = ftBox | ftShaded;
    footer.ShadedColor = clYellow;
    footer.LineColor = clBlue;
    footer.Add("x", nullptr, taLeftJustify, 1);
    Start(footer);
    ASSERT_EQ(footer.FrameHeight(), 16 + 12);
    footer.DrawBand(canvas, 1);

    const TRect band{230, 3280, 2239, 3280 + 28};
    const auto fills = OpsOf(canvas, OpKind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, band);
    EXPECT_EQ(fills[0].color, clYellow);
    // The box: every edge pixel on a line, the inside not.
    EXPECT_TRUE(canvas.PixelAt(band.Left, band.Top + 10).line);
    EXPECT_TRUE(canvas.PixelAt(band.Right - 1, band.Top + 10).line);
    EXPECT_TRUE(canvas.PixelAt(band.Left + 500, band.Top).line);
    EXPECT_TRUE(canvas.PixelAt(band.Left + 500, band.Bottom - 1).line);
    EXPECT_EQ(canvas.PixelAt(band.Left, band.Top).foreground, clBlue);
    EXPECT_FALSE(canvas.PixelAt(band.Left + 1000, band.Top + 2).line);
    EXPECT_EQ(OpsOf(canvas, OpKind::Line).size(), 4u);

    const auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].baseline, 3280 + 6 + 13);
    // The text lies on the shade, which shows through around its glyphs.
    const auto onText = canvas.PixelAt(254 + 2, 3280 + 6 + 5);
    EXPECT_EQ(onText.ch, 'x');
    EXPECT_EQ(onText.background, clYellow);
}

TEST_F(HeaderFooterTest, FooterLineAtItsUpperEdge)
{
    footer.Add("x", nullptr, taLeftJustify, 1);
    Start(footer);
    footer.DrawBand(canvas, 1);
    const auto lines = OpsOf(canvas, OpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].y, 3280);
}

TEST_F(HeaderFooterTest, EmptyFrameTypesDrawTextOnly)
{
    header.FrameTypes = 0;
    header.Add("x", nullptr, taLeftJustify, 1);
    Start(header);
    header.DrawBand(canvas, 1);
    EXPECT_TRUE(OpsOf(canvas, OpKind::Line).empty());
    EXPECT_TRUE(OpsOf(canvas, OpKind::Fill).empty());
    EXPECT_EQ(canvas.TextOps().size(), 1u);
}

TEST_F(HeaderFooterTest, AlignmentAndMirroredPositions)
{
    header.Add("left", nullptr, taLeftJustify, 1);
    header.Add("right", nullptr, taRightJustify, 1);
    header.Add("mid", nullptr, taCenter, 1);
    header.MirrorPosition = true;
    Start(header);

    header.DrawBand(canvas, 3);
    auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 254);
    EXPECT_EQ(texts[1].x, 2215 - 5 * 8);
    EXPECT_EQ(texts[2].x, (254 + 2215 - 3 * 8) / 2);

    canvas.Clear();
    header.DrawBand(canvas, 4);
    texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 2215 - 4 * 8);
    EXPECT_EQ(texts[1].x, 254);
    EXPECT_EQ(texts[2].x, (254 + 2215 - 3 * 8) / 2);

    header.MirrorPosition = false;
    canvas.Clear();
    header.DrawBand(canvas, 4);
    EXPECT_EQ(canvas.TextOps()[0].x, 254);
}

TEST_F(HeaderFooterTest, DateAndTimeStayFixedForTheJob)
{
    header.Add("$DATETIME$|$TIMEDATE$", nullptr, taLeftJustify, 1);
    Start(header);
    header.DrawBand(canvas, 1);
    header.DrawBand(canvas, 2);
    const auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 2u);
    const std::string expected =
        header.Date() + " " + header.Time() + "|" + header.Time() + " " + header.Date();
    EXPECT_EQ(texts[0].text, expected);
    EXPECT_EQ(texts[1].text, expected);
}

TEST_F(HeaderFooterTest, ItemFontAndColourAreUsedAndTheCanvasRestored)
{
    TOstFont red = FontOfHeight(-20);
    red.Color = clRed;
    red.Style = fsBold;
    header.Add("x", &red, taLeftJustify, 1);
    const TOstFont before = canvas.CurrentState().font;
    Start(header);
    header.DrawBand(canvas, 1);
    const auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].color, clRed);
    EXPECT_EQ(texts[0].style, fsBold);
    EXPECT_EQ(texts[0].advances, (std::vector<int>{13}));  // 12 wide, bold one more
    EXPECT_EQ(canvas.CurrentState().font, before);
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

TEST_F(HeaderFooterTest, LinesOfDifferentHeightsShareTheirBaselines)
{
    const TOstFont big = FontOfHeight(-20);  // 23 high, baseline 20
    header.Add("big1", &big, taLeftJustify, 1);
    header.Add("small1", nullptr, taRightJustify, 1);
    header.Add("small2", nullptr, taLeftJustify, 2);
    header.Add("big3", &big, taLeftJustify, 3);
    margins.SetHFInternalMargin(2);  // 23.6 pixels
    margins.LayoutPage(canvas, 1, printer, false, false, 0);
    Start(header);
    ASSERT_EQ(header.FrameHeight(), 23 + 16 + 23 + 2 * 24);
    header.DrawBand(canvas, 1);

    const auto texts = canvas.TextOps();
    ASSERT_EQ(texts.size(), 4u);
    const int top = 127 - header.FrameHeight() + 24;
    EXPECT_EQ(texts[0].baseline, top + 20);
    EXPECT_EQ(texts[1].baseline, top + 20);  // the small item stands on the big one's baseline
    EXPECT_EQ(texts[1].y, top + 20 - 13);
    EXPECT_EQ(texts[2].baseline, top + 23 + 13);
    EXPECT_EQ(texts[3].baseline, top + 23 + 16 + 20);
}
