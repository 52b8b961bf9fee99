// The font stock and the fixed-cell text drawer on a recording canvas.

#include <gtest/gtest.h>

#include <string>

#include "editor/OstTextDrawer.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

// Counts how often fonts are measured.
class CountingCanvas : public FixedMetricsCanvas {
public:
    TFontMetrics MeasureFont() override
    {
        ++measured;
        return FixedMetricsCanvas::MeasureFont();
    }
    int measured = 0;
};

TOstFont FontOf(int height)
{
    TOstFont f;
    f.Height = height;
    return f;
}

}  // namespace

// ---- font stock ---------------------------------------------------------------------

TEST(FontStock, MeasuresEachStyleOnceOnFirstUse)
{
    CountingCanvas canvas;
    TheFontStock stock(FontOf(-13));
    EXPECT_FALSE(stock.IsMeasured(fsBold));
    EXPECT_EQ(stock.Metrics(canvas, fsBold).CharWidth, 9);
    EXPECT_EQ(stock.Metrics(canvas, fsBold).Height, 16);
    EXPECT_EQ(stock.Metrics(canvas, 0).CharWidth, 8);
    stock.SelectStyle(canvas, fsBold);
    EXPECT_EQ(canvas.measured, 2);
    EXPECT_TRUE(stock.IsMeasured(fsBold));
    EXPECT_FALSE(stock.IsMeasured(fsItalic));
    // Underline and strike-out are styles of their own: 16 in all.
    stock.Metrics(canvas, fsBold | fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(canvas.measured, 3);
}

TEST(FontStock, MeasuringLeavesTheCanvasAsItWas)
{
    CountingCanvas canvas;
    canvas.SelectFont(FontOf(-20), fsItalic);
    TheFontStock stock(FontOf(-13));
    stock.Metrics(canvas, fsBold);
    EXPECT_EQ(canvas.CurrentState().font.Height, -20);
    EXPECT_EQ(canvas.CurrentState().style, fsItalic);
    stock.SelectStyle(canvas, fsBold);
    EXPECT_EQ(canvas.CurrentState().font.Height, -13);
    EXPECT_EQ(canvas.CurrentState().style, fsBold);
}

TEST(FontStock, NewBaseFontForgetsMeasuredStyles)
{
    CountingCanvas canvas;
    TheFontStock stock(FontOf(-13));
    stock.Metrics(canvas, 0);
    stock.SetBaseFont(FontOf(-20));
    EXPECT_FALSE(stock.IsMeasured(0));
    EXPECT_EQ(stock.Metrics(canvas, 0).CharWidth, 12);
    // Only the colour or style of the font changing keeps the measures.
    TOstFont recoloured = FontOf(-20);
    recoloured.Color = clRed;
    stock.SetBaseFont(recoloured);
    EXPECT_TRUE(stock.IsMeasured(0));
}

TEST(FontStock, FontWithoutNameIsRefused)
{
    TheFontStock stock;
    TOstFont nameless;
    nameless.Name.clear();
    try {
        stock.SetBaseFont(nameless);
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
    }
    EXPECT_EQ(stock.BaseFont().Name, "Courier New");
}

// ---- text drawer ----------------------------------------------------------------------

TEST(TextDrawer, EveryByteGetsOneCellOfTheCellWidthPlusExtra)
{
    RecordingCanvas canvas;
    TheTextDrawer drawer;
    drawer.SetCellWidth(9);
    drawer.BeginDrawing(canvas);
    drawer.SetCharExtra(2);
    const std::string longText(150, 'x');  // beyond two steps of the advance table
    drawer.ExtTextOut(5, 7, {5, 7, 5 + 150 * 11, 23}, longText);
    drawer.SetCharExtra(0);
    drawer.ExtTextOut(0, 0, {0, 0, 27, 16}, "abc");
    drawer.EndDrawing();

    const auto ops = canvas.TextOps();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].x, 5);
    EXPECT_EQ(ops[0].y, 7);
    ASSERT_EQ(ops[0].advances.size(), 150u);
    for (int a : ops[0].advances)
        EXPECT_EQ(a, 11);
    for (int a : ops[1].advances)
        EXPECT_EQ(a, 9);
    EXPECT_EQ(canvas.PixelAt(5 + 149 * 11, 10).ch, 'x');
}

TEST(TextDrawer, ColoursAndStyleReachTheCanvas)
{
    RecordingCanvas canvas;
    TheTextDrawer drawer;
    drawer.SetForeColor(clRed);  // before drawing: applied at the start
    drawer.BeginDrawing(canvas);
    drawer.SetBackColor(clYellow);
    drawer.SetStyle(fsItalic | fsUnderline);
    drawer.ExtTextOut(0, 0, {0, 0, 8, 16}, "a");
    EXPECT_EQ(drawer.GlyphExtent('a'), 8 + 2);
    drawer.EndDrawing();
    const auto op = canvas.TextOps().at(0);
    EXPECT_EQ(op.color, clRed);
    EXPECT_EQ(op.backColor, clYellow);
    EXPECT_EQ(op.style, fsItalic | fsUnderline);
}

TEST(TextDrawer, NestedDrawingSavesAndRestoresTheCanvasOnce)
{
    RecordingCanvas canvas;
    canvas.SetTextColor(clGreen);
    TheTextDrawer drawer;
    drawer.BeginDrawing(canvas);
    drawer.BeginDrawing(canvas);
    EXPECT_EQ(canvas.SaveDepth(), 1);
    drawer.SetForeColor(clBlue);
    drawer.EndDrawing();
    EXPECT_TRUE(drawer.Drawing());
    EXPECT_EQ(canvas.CurrentState().textColor, clBlue);
    drawer.EndDrawing();
    EXPECT_FALSE(drawer.Drawing());
    EXPECT_EQ(canvas.SaveDepth(), 0);
    EXPECT_EQ(canvas.CurrentState().textColor, clGreen);
}

// ---- recording canvas --------------------------------------------------------------

TEST(RecordingCanvasTest, PixelsShowTheLastOperationInsideTheClip)
{
    RecordingCanvas canvas;
    canvas.FillRect({0, 0, 100, 20}, clWhite);
    canvas.Save();
    canvas.IntersectClip({0, 0, 50, 20});
    canvas.FillRect({0, 0, 100, 20}, clRed);
    canvas.Restore();
    EXPECT_EQ(canvas.PixelAt(10, 5).background, clRed);
    EXPECT_EQ(canvas.PixelAt(60, 5).background, clWhite);  // clipped away
    canvas.DrawLine(30, 0, 30, 20, clBlue);
    EXPECT_TRUE(canvas.PixelAt(30, 19).line);
    EXPECT_FALSE(canvas.PixelAt(30, 20).painted);  // the end point is not drawn
    EXPECT_EQ(canvas.PixelAt(30, 5).background, clRed);
}

TEST(DefaultColors, SystemColoursResolveToFixedDefaults)
{
    EXPECT_EQ(DefaultColorToRGB(clWindow), clWhite);
    EXPECT_EQ(DefaultColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(DefaultColorToRGB(clHighlightText), clWhite);
    EXPECT_EQ(DefaultColorToRGB(clHighlight), RGBColor(0x0A, 0x24, 0x6A));
    EXPECT_EQ(DefaultColorToRGB(clRed), clRed);
    EXPECT_EQ(DefaultColorToRGB(clNone), clNone);
}

TEST(FontSize, PointsAndPixelsConvertAtTheResolution)
{
    TOstFont f;
    EXPECT_EQ(f.Size(), 10);  // -13 pixels at 96 dpi
    f.SetSize(12);
    EXPECT_EQ(f.Height, -16);
    f.PixelsPerInch = 600;
    f.SetSize(10);
    EXPECT_EQ(f.Height, -83);
}
