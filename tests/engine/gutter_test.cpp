// The gutter: its width from the settings and the line count, line numbers,
// border and mark pictures on a recording canvas, and clicks in it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

// The fixed-metrics canvas gives the editor font 8 x 16 cells and the
// gutter's 8-point font 7 x 14.
constexpr int kCell = 8;
constexpr int kRow = 16;

struct Fixture {
    TOstEdit ed;
    RecordingCanvas canvas;
    explicit Fixture(int lineCount = 12)
    {
        ed.SetColor(clWhite);
        ed.SetClientSize(400, 10 * kRow);
        std::string text;
        for (int i = 1; i <= lineCount; ++i)
            text += "x\r\n";
        ed.Lines().LoadFromBytes(text);
    }
    void Paint(TRect clip = {0, 0, 400, 10 * kRow})
    {
        canvas.Clear();
        ed.Paint(canvas, clip);
    }
    // The operations of a kind left of `right` that show: painting may
    // start a row the clip cuts off entirely.
    std::vector<RecordingCanvas::Op> Ops(RecordingCanvas::OpKind kind, int right) const
    {
        std::vector<RecordingCanvas::Op> result;
        for (const auto& op : canvas.Ops()) {
            const bool isImage = kind == RecordingCanvas::OpKind::Image;
            const int top = isImage ? op.y : op.rect.Top;
            if (op.kind == kind && (isImage || op.x < right) && top < op.clip.Bottom)
                result.push_back(op);
        }
        return result;
    }
    // The texts drawn in the gutter, by the y they were drawn at.
    std::vector<std::pair<int, std::string>> Numbers() const
    {
        std::vector<std::pair<int, std::string>> result;
        for (const auto& op : Ops(RecordingCanvas::OpKind::Text, ed.GutterWidth()))
            result.emplace_back(op.y, op.text);
        return result;
    }
    std::vector<RecordingCanvas::Op> Images() const { return Ops(RecordingCanvas::OpKind::Image, 0); }
    TOstEditMark& AddMark(int line, int image)
    {
        auto m = std::make_unique<TOstEditMark>();
        m->SetLine(line);
        m->SetImageIndex(image);
        m->SetVisible(true);
        return ed.Marks().Add(std::move(m));
    }
};

}  // namespace

// ---- width ----------------------------------------------------------------------

TEST(GutterWidth, AutoSizedNumbersGrowWithTheLineCount)
{
    Fixture f(9999);
    f.ed.Gutter().SetShowLineNumbers(true);
    f.ed.Gutter().SetAutoSize(true);
    const int fourDigits = f.ed.GutterWidth();
    f.ed.SetCaretXY({2, 9999});
    f.ed.CommandProcessor(ecLineBreak, '\0');
    EXPECT_EQ(f.ed.Lines().Count(), 10000);
    EXPECT_EQ(f.ed.GutterWidth(), fourDigits + kCell);
    // Numbered from 0 the last line shows 9999 again.
    f.ed.Gutter().SetZeroStart(true);
    EXPECT_EQ(f.ed.GutterWidth(), fourDigits);
    f.ed.Gutter().SetZeroStart(false);
    f.ed.Undo();
    EXPECT_EQ(f.ed.GutterWidth(), fourDigits);
    // Without auto size the digit count stays.
    f.ed.Gutter().SetAutoSize(false);
    f.ed.CommandProcessor(ecLineBreak, '\0');
    EXPECT_EQ(f.ed.GutterWidth(), fourDigits);
}

TEST(GutterWidth, WindowCountsAndCellWidthFollowTheGutter)
{
    Fixture f;
    EXPECT_EQ(f.ed.CharsInWindow(), (400 - 30 - 2) / kCell);
    f.ed.Gutter().SetShowLineNumbers(true);
    EXPECT_EQ(f.ed.CharsInWindow(), (400 - 52 - 2) / kCell);
    TOstFont big = f.ed.Font();
    big.Height = -20;  // 12-pixel cells
    f.ed.SetFont(big);
    EXPECT_EQ(f.ed.GutterWidth(), 16 + 2 + 4 * 12 + 2);
    EXPECT_EQ(f.ed.CharsInWindow(), (400 - f.ed.GutterWidth() - 2) / 12);
}

TEST(GutterSettings, CopiesKeepNoListenerAndTheTemplateGutterIsHidden)
{
    Fixture f;
    TOstGutter copy = f.ed.Gutter();
    copy.SetVisible(false);
    EXPECT_EQ(f.ed.GutterWidth(), 30);
    f.ed.SetGutter(TOstGutter::TemplateGutter());
    EXPECT_EQ(f.ed.GutterWidth(), 0);
    // Assigning values through the editor's gutter reaches the editor too.
    TOstGutter numbered;
    numbered.SetShowLineNumbers(true);
    f.ed.Gutter() = numbered;
    EXPECT_EQ(f.ed.GutterWidth(), 16 + 2 + 4 * kCell + 2);
}

// ---- line numbers -------------------------------------------------------------------

TEST(GutterPaint, NumbersAreRightAlignedAndCentredInTheirRows)
{
    Fixture f;
    f.ed.Gutter().SetShowLineNumbers(true);
    f.ed.Gutter().SetLeadingZeros(true);
    f.Paint();
    const auto numbers = f.Numbers();
    ASSERT_EQ(numbers.size(), 10u);
    EXPECT_EQ(numbers[6], std::make_pair(6 * kRow + 1, std::string("0007")));
    for (const auto& op : f.Ops(RecordingCanvas::OpKind::Text, f.ed.GutterWidth())) {
        EXPECT_EQ(op.x, 52 - 2 - 4 * 7 - 2);
        EXPECT_EQ(op.backColor, clBtnFace);
        EXPECT_EQ(op.rect.Right, 52);
    }
    // Scrolled, the rows show the lines they hold.
    f.ed.SetTopLine(3);
    f.Paint();
    EXPECT_EQ(f.Numbers().front(), std::make_pair(1, std::string("0003")));
}

TEST(GutterPaint, ZeroStartAndBlankPadding)
{
    Fixture f;
    f.ed.Gutter().SetShowLineNumbers(true);
    f.ed.Gutter().SetZeroStart(true);
    f.Paint();
    EXPECT_EQ(f.Numbers()[0].second, "   0");
    EXPECT_EQ(f.Numbers()[9].second, "   9");
    f.ed.Gutter().SetLeadingZeros(true);
    f.Paint();
    EXPECT_EQ(f.Numbers()[0].second, "0000");
}

TEST(GutterPaint, WithoutItsOwnFontTheNumbersTakeTheEditorFontInNormalStyle)
{
    Fixture f;
    f.ed.Gutter().SetShowLineNumbers(true);
    f.ed.Gutter().SetUseFontStyle(false);
    TOstFont bold = f.ed.Font();
    bold.Style = fsBold;
    bold.Color = clNavy;
    f.ed.SetFont(bold);
    f.Paint();
    const auto plain = f.Ops(RecordingCanvas::OpKind::Text, f.ed.GutterWidth());
    EXPECT_EQ(plain[0].style, 0);
    EXPECT_EQ(plain[0].color, clNavy);
    EXPECT_EQ(plain[0].advances[0], kCell);  // the bold text has wider cells
}

TEST(GutterPaint, OnlyTheClipRowsAreNumberedAndTheRestIsFilled)
{
    Fixture f(3);
    f.ed.Gutter().SetShowLineNumbers(true);
    f.Paint({0, kRow, 52, 2 * kRow});
    ASSERT_EQ(f.Numbers().size(), 1u);
    EXPECT_EQ(f.Numbers()[0].second, "   2");
    f.Paint();
    EXPECT_EQ(f.canvas.PixelAt(10, 5 * kRow).background, clBtnFace);  // below the last line
    EXPECT_EQ(f.canvas.PixelAt(10, 2 * kRow + 5).ch, 0);

    f.ed.Gutter().SetShowLineNumbers(false);
    f.ed.Gutter().SetColor(clYellow);
    f.Paint();
    EXPECT_TRUE(f.Numbers().empty());
    EXPECT_EQ(f.canvas.PixelAt(10, kRow + 5).background, clYellow);
}

TEST(GutterPaint, BorderStyles)
{
    Fixture f;
    auto at = [&](int x) { return f.canvas.PixelAt(x, 3 * kRow + 2).background; };
    f.Paint();
    EXPECT_EQ(at(28), clWhite);
    EXPECT_EQ(at(29), clBtnFace);
    f.ed.Gutter().SetBorderStyle(gbsRight);
    f.Paint();
    EXPECT_EQ(at(28), clBtnFace);
    EXPECT_EQ(at(29), clWhite);
}

// ---- marks ----------------------------------------------------------------------------

TEST(GutterMarks, BuiltInBookmarkPicturesGoOnTheirRowsOnePerLine)
{
    Fixture f;
    f.ed.SetBookMark(3, {1, 5});
    f.ed.SetBookMark(7, {1, 2});
    f.ed.SetBookMark(8, {1, 2});  // second on its line: no room
    f.AddMark(9, 1).SetVisible(false);
    f.Paint();
    const auto images = f.Images();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].text, "OstEditInternalImages");
    EXPECT_EQ(images[0].image, 3);
    EXPECT_EQ(images[0].x, 2);
    EXPECT_EQ(images[0].y, 4 * kRow + 1);
    EXPECT_EQ(images[1].image, 7);
    EXPECT_EQ(images[1].y, kRow + 1);

    // Rows outside the clip, or glyphs switched off, show none.
    f.Paint({0, 0, 30, kRow});
    EXPECT_TRUE(f.Images().empty());
    f.ed.BookMarkOptions().SetGlyphsVisible(false);
    f.Paint();
    EXPECT_TRUE(f.Images().empty());
}

TEST(GutterMarks, ImageListMarksStandSideBySideBookmarksFirst)
{
    Fixture f;
    f.ed.BookMarkOptions().SetBookmarkImages(TOstImageList{"user", 12, 10, 10});
    f.AddMark(3, 11);
    f.ed.SetBookMark(1, {1, 3});
    f.ed.SetBookMark(2, {1, 3});
    f.AddMark(3, 12);  // beyond the list
    f.AddMark(6, 10);
    std::vector<std::pair<int, int>> ends;
    f.ed.OnGutterPaint = [&](Canvas&, int line, int x, int) { ends.emplace_back(line, x); };
    f.Paint();
    auto picture = [&](const RecordingCanvas::Op& op) { return std::make_pair(op.image, op.x); };
    auto images = f.Images();
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(picture(images[0]), std::make_pair(1, 2));
    EXPECT_EQ(picture(images[1]), std::make_pair(2, 14));
    EXPECT_EQ(picture(images[2]), std::make_pair(11, 26));
    // Other marks keep the first place free for bookmarks.
    EXPECT_EQ(picture(images[3]), std::make_pair(10, 14));
    EXPECT_EQ(images[3].y, 5 * kRow);
    EXPECT_EQ(ends[2], std::make_pair(3, 36));
    EXPECT_EQ(ends[5], std::make_pair(6, 24));
    EXPECT_EQ(ends[0], std::make_pair(1, 0));

    f.ed.BookMarkOptions().SetDrawBookmarksFirst(false);
    f.Paint();
    images = f.Images();
    EXPECT_EQ(picture(images[0]), std::make_pair(11, 2));
    EXPECT_EQ(picture(images[2]), std::make_pair(1, 14));
    EXPECT_EQ(picture(images[3]), std::make_pair(2, 26));
}

// ---- clicks -----------------------------------------------------------------------------

TEST(GutterClick, RightPressReportsAtOnceOtherButtonsOnReleaseInside)
{
    Fixture f(5);
    std::vector<std::pair<TOstMouseButton, int>> clicks;
    f.ed.OnGutterClick = [&](TOstMouseButton b, int, int, int line, TOstEditMark*) { clicks.emplace_back(b, line); };
    f.ed.MouseDown(mbRight, 0, 10, 2 * kRow + 3);
    EXPECT_EQ(clicks.size(), 1u);
    f.ed.MouseUp(mbRight, 0, 10, 2 * kRow + 3);
    f.ed.MouseDown(mbLeft, 0, 10, kRow);
    EXPECT_EQ(clicks.size(), 1u);
    f.ed.MouseUp(mbLeft, 0, 12, kRow);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], std::make_pair(mbRight, 3));
    EXPECT_EQ(clicks[1], std::make_pair(mbLeft, 2));

    // Released beside the gutter, pressed beside it, or below the text.
    f.ed.MouseDown(mbLeft, 0, 10, 5);
    f.ed.MouseUp(mbLeft, 0, 100, 5);
    f.ed.MouseDown(mbLeft, 0, 100, 5);
    f.ed.MouseUp(mbLeft, 0, 10, 5);
    f.ed.MouseDown(mbRight, 0, 10, 7 * kRow);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST(GutterClick, TheMarkUnderThePointerIsReported)
{
    Fixture f;
    TOstEditMark* first = &f.AddMark(4, 0);
    TOstEditMark* second = &f.AddMark(4, 1);
    std::vector<TOstEditMark*> hits;
    f.ed.OnGutterClick = [&](TOstMouseButton, int, int, int, TOstEditMark* m) { hits.push_back(m); };
    for (int x : {5, 15, 25})
        f.ed.MouseDown(mbRight, 0, x, 3 * kRow + 2);
    EXPECT_EQ(hits, (std::vector<TOstEditMark*>{first, second, nullptr}));
}
