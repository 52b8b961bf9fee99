// A row that ends in an italic token, painted on the Qt canvas: the slanted
// tail of the last glyph reaches past its cell, and every pixel of the row
// (the strip under that tail included) must come from this paint, never
// from what the surface held before.

#include <QImage>
#include <QPainter>

#include "AppTestSupport.h"
#include "app/qt/QtCanvas.h"
#include "highlighters/OstHighlighterHtml.h"

using namespace ostrel;
using namespace ostrel::test;

TEST(ItalicRowPaint, EveryPixelTheTailTouchesLiesOnThisPaintsBackground)
{
    TestApp();
    // What a resize or the previous tab leaves behind: a colour no paint uses.
    const QColor stale(255, 0, 255);
    QImage image(240, 48, QImage::Format_RGB32);
    image.fill(stale);

    TOstHTMLHighlighter html;
    for (int i = 0; i < html.AttributeCount(); ++i)
        html.AttributeAt(i)->SetStyle(fsItalic);
    TOstEdit ed;
    TOstFont font;
    font.Height = -22;
    ed.SetFont(font);
    ed.SetHighlighter(&html);
    ed.Lines().LoadFromBytes("abc WW\r\n/* W\r\n");
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter, &image);
        ed.SetMeasuringCanvas(&canvas);
        ed.SetClientSize(image.width(), image.height());
        canvas.SelectFont(ed.Font(), fsItalic);
        // The case in question: the glyph is wider than its cell.
        ASSERT_GT(canvas.GlyphExtent(U'W'), ed.CharWidth());
        ed.Paint(canvas, {0, 0, image.width(), image.height()});
        ed.SetMeasuringCanvas(nullptr);
    }
    ed.SetHighlighter(nullptr);
    int stalePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            stalePixels += image.pixelColor(x, y) == stale;
    EXPECT_EQ(stalePixels, 0);
}
