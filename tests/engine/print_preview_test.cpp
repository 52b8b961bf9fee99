// The print preview control: the sheet's size and place in each zoom, the
// scroll bars, scrolling by bar and wheel, the page selector of the
// whole-page view, page navigation and what is painted, over a job laid out
// on the fallback A4 sheet at 300 dpi.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "print/OstEditPrint.h"
#include "print/OstEditPrintPreview.h"

using namespace ostrel;

namespace {

class FakeHost : public TOstPreviewHost {
public:
    int invalidated = 0;
    std::vector<std::pair<int, int>> scrolled;
    int barUpdates = 0;
    bool hintShown = false;
    std::string hint;
    int hintRight = 0, hintTop = 0, hintMaxWidth = 0;

    void InvalidateAll() override { ++invalidated; }
    void ScrollContent(int dx, int dy) override { scrolled.emplace_back(dx, dy); }
    void UpdateScrollBars() override { ++barUpdates; }
    void ShowHint(const std::string& text, int right, int top, int maxWidth) override
    {
        hintShown = true;
        hint = text;
        hintRight = right;
        hintTop = top;
        hintMaxWidth = maxWidth;
    }
    void HideHint() override { hintShown = false; }
};

std::vector<std::string> NumberedLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("line " + std::to_string(i));
    return lines;
}

class PrintPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        job.SetFont(TOstFont{"Courier New", -40, 0, clWindowText, 300});
        job.SetLines(NumberedLines(200));
        preview.SetHost(&host);
        preview.SetLayoutCanvas(&layoutCanvas);
        preview.SetScreenDpi(96, 96);
        preview.SetClientSize(600, 400);
        preview.SetOstEditPrint(&job);
        preview.OnPreviewPage = [this](int page) { pagesShown.push_back(page); };
        preview.OnScaleChange = [this] { ++scaleChanges; };
        preview.Relayout();
        pagesShown.clear();
    }

    // The sheet's proportions, as the printer has them.
    double SheetRatio() { return double(job.PrinterInfo().PhysicalWidth()) / job.PrinterInfo().PhysicalHeight(); }

    TOstEditPrint job;
    FixedMetricsCanvas layoutCanvas;
    FakeHost host;
    TOstEditPrintPreview preview;
    std::vector<int> pagesShown;
    int scaleChanges = 0;
};

}  // namespace

// ---- zooms -------------------------------------------------------------------------

TEST_F(PrintPreviewTest, HundredPercentShowsTheSheetAtItsRealSize)
{
    ASSERT_EQ(preview.ScaleMode(), pscUserScaled);
    ASSERT_EQ(preview.ScalePercent(), 100);
    const double inchesWide = job.PrinterInfo().PhysicalWidth() / double(job.PrinterInfo().DpiX());
    const double inchesHigh = job.PrinterInfo().PhysicalHeight() / double(job.PrinterInfo().DpiY());
    EXPECT_NEAR(preview.PageSize().Width, inchesWide * 96, 1);
    EXPECT_NEAR(preview.PageSize().Height, inchesHigh * 96, 1);
    EXPECT_EQ(preview.VirtualSize().Width, preview.PageSize().Width + 26);
    EXPECT_EQ(preview.VirtualSize().Height, preview.PageSize().Height + 26);

    const TPreviewSize real = preview.PageSize();
    preview.SetScalePercent(200);
    EXPECT_NEAR(preview.PageSize().Width, 2 * real.Width, 1);
    EXPECT_NEAR(preview.PageSize().Height, 2 * real.Height, 1);
    preview.SetScreenDpi(192, 192);
    EXPECT_NEAR(preview.PageSize().Width, 4 * real.Width, 2);
}

TEST_F(PrintPreviewTest, WholePageFitsTheSheetCentredAndKeepsItsProportions)
{
    for (auto [width, height] : {std::pair{600, 400}, std::pair{300, 900}}) {
        preview.SetClientSize(width, height);
        preview.SetScaleMode(pscWholePage);
        const TPreviewSize page = preview.PageSize();
        EXPECT_LE(page.Width, width - 26);
        EXPECT_LE(page.Height, height - 26);
        // One side fills the room, the other follows the sheet's proportions.
        EXPECT_TRUE(page.Width == width - 26 || page.Height == height - 26);
        EXPECT_NEAR(double(page.Width) / page.Height, SheetRatio(), 0.01);
        const TRect sheet = preview.SheetRect();
        EXPECT_NEAR(sheet.Left - 12, width - (sheet.Right + 14), 1) << "centred across";
        EXPECT_NEAR(sheet.Top - 12, height - (sheet.Bottom + 14), 1) << "centred down";
        preview.SetScaleMode(pscUserScaled);
    }
}

TEST_F(PrintPreviewTest, PageWidthFitsTheWidthAndHidesTheHorizontalBar)
{
    preview.SetScaleMode(pscPageWidth);
    EXPECT_EQ(preview.PageSize().Width, 600 - 26);
    EXPECT_NEAR(double(preview.PageSize().Width) / preview.PageSize().Height, SheetRatio(), 0.01);
    EXPECT_FALSE(preview.HorizontalBar().Shown);
    const TOstScrollBarInfo& vertical = preview.VerticalBar();
    EXPECT_TRUE(vertical.Shown);
    EXPECT_TRUE(vertical.Enabled);
    EXPECT_EQ(vertical.Max, preview.VirtualSize().Height - 400);
    EXPECT_EQ(vertical.Page, 400);
}

TEST_F(PrintPreviewTest, UserScaledShowsBothBarsDisabledWhenTheSheetFits)
{
    EXPECT_TRUE(preview.HorizontalBar().Shown);
    EXPECT_TRUE(preview.HorizontalBar().Enabled);
    preview.SetScalePercent(25);
    EXPECT_TRUE(preview.HorizontalBar().Shown);
    EXPECT_FALSE(preview.HorizontalBar().Enabled);
    EXPECT_FALSE(preview.VerticalBar().Enabled);
    EXPECT_EQ(preview.ScrollPosition(), (TPreviewPoint{0, 0}));
}

TEST_F(PrintPreviewTest, ScaleChangesAreReportedAndStartAtTheTopLeft)
{
    preview.ScrollTo(-50, -80);
    ASSERT_EQ(preview.ScrollPosition(), (TPreviewPoint{-50, -80}));
    preview.SetScaleMode(pscUserScaled);
    EXPECT_EQ(scaleChanges, 0) << "the same mode changes nothing";

    preview.SetScalePercent(100);
    EXPECT_EQ(scaleChanges, 1) << "the same percentage still reports";
    preview.SetScalePercent(50);
    EXPECT_EQ(scaleChanges, 2);
    EXPECT_EQ(preview.ScrollPosition(), (TPreviewPoint{0, 0}));

    preview.SetScaleMode(pscWholePage);
    EXPECT_EQ(scaleChanges, 3);
    preview.SetScalePercent(50);
    EXPECT_EQ(preview.ScaleMode(), pscUserScaled);
    EXPECT_EQ(scaleChanges, 5) << "back to the percentage, then the percentage itself";
}

TEST_F(PrintPreviewTest, ClicksZoomBetweenQuarterAndFourTimes)
{
    std::vector<int> zooms;
    for (int i = 0; i < 3; ++i) {
        preview.SetScalePercent(preview.ClickedPercent(true));
        zooms.push_back(preview.ScalePercent());
    }
    EXPECT_EQ(zooms, (std::vector<int>{200, 400, 400}));
    preview.SetScalePercent(300);
    EXPECT_EQ(preview.ClickedPercent(true), 400);

    preview.SetScalePercent(100);
    zooms.clear();
    for (int i = 0; i < 3; ++i) {
        preview.SetScalePercent(preview.ClickedPercent(false));
        zooms.push_back(preview.ScalePercent());
    }
    EXPECT_EQ(zooms, (std::vector<int>{50, 25, 25}));

    preview.SetScalePercent(200);
    preview.SetScaleMode(pscWholePage);
    EXPECT_EQ(preview.ClickedPercent(true), 100);
}

// ---- pages --------------------------------------------------------------------------

TEST_F(PrintPreviewTest, NavigationStaysWithinThePagesAndReportsEachPage)
{
    const int pages = preview.PageCount();
    ASSERT_GE(pages, 3);
    preview.GoPreviousPage();
    preview.GoNextPage();
    preview.GoLastPage();
    preview.GoNextPage();
    preview.GoFirstPage();
    EXPECT_EQ(pagesShown, (std::vector<int>{1, 2, pages, pages, 1}));
    EXPECT_EQ(preview.PageNumber(), 1);
}

TEST_F(PrintPreviewTest, RelayoutKeepsThePageWithinFewerPages)
{
    preview.GoLastPage();
    job.SetLines(NumberedLines(10));
    preview.Relayout();
    EXPECT_EQ(preview.PageCount(), 1);
    EXPECT_EQ(preview.PageNumber(), 1);
    EXPECT_EQ(pagesShown.back(), 1);
}

TEST_F(PrintPreviewTest, WholePageBarSelectsThePage)
{
    preview.SetScaleMode(pscWholePage);
    const int pages = preview.PageCount();
    EXPECT_FALSE(preview.HorizontalBar().Shown);
    const TOstScrollBarInfo& bar = preview.VerticalBar();
    EXPECT_TRUE(bar.Shown);
    EXPECT_TRUE(bar.Enabled);
    EXPECT_EQ(bar.Min, 1);
    EXPECT_EQ(bar.Max, pages);
    EXPECT_EQ(bar.Pos, 1);
    EXPECT_EQ(bar.Page, 1);

    preview.ScrollVertical(scrLineForward);
    preview.ScrollVertical(scrPageForward);
    preview.ScrollVertical(scrLineBack);
    preview.ScrollVertical(scrLast);
    preview.ScrollVertical(scrPageForward);
    preview.ScrollVertical(scrFirst);
    preview.ScrollVertical(scrPageBack);
    EXPECT_EQ(pagesShown, (std::vector<int>{2, 3, 2, pages, pages, 1, 1}));

    preview.GoNextPage();
    EXPECT_EQ(preview.VerticalBar().Pos, 2) << "the bar follows the page buttons";
}

TEST_F(PrintPreviewTest, DraggingThePageSelectorShowsTheHint)
{
    preview.SetScaleMode(pscWholePage);
    preview.ScrollVertical(scrThumbTrack, 3);
    EXPECT_EQ(preview.PageNumber(), 3);
    EXPECT_TRUE(host.hintShown);
    EXPECT_EQ(host.hint, "Page: 3");
    EXPECT_EQ(host.hintRight, 600 - 4);
    EXPECT_EQ(host.hintTop, 10);
    EXPECT_EQ(host.hintMaxWidth, 200);
    preview.ScrollVertical(scrEndScroll);
    EXPECT_FALSE(host.hintShown);

    preview.ShowScrollHint = false;
    preview.ScrollVertical(scrThumbPosition, 2);
    EXPECT_EQ(preview.PageNumber(), 2);
    EXPECT_FALSE(host.hintShown);
}

// ---- scrolling ----------------------------------------------------------------------

TEST_F(PrintPreviewTest, BarRequestsScrollWithinTheSheet)
{
    const int lowest = 400 - preview.VirtualSize().Height;
    preview.ScrollVertical(scrLineForward);
    EXPECT_EQ(preview.ScrollPosition().Y, -40);
    preview.ScrollVertical(scrPageForward);
    EXPECT_EQ(preview.ScrollPosition().Y, -240);
    preview.ScrollVertical(scrPageBack);
    preview.ScrollVertical(scrLineBack);
    EXPECT_EQ(preview.ScrollPosition().Y, 0);
    preview.ScrollVertical(scrLineBack);
    EXPECT_EQ(preview.ScrollPosition().Y, 0) << "not above the top";
    preview.ScrollVertical(scrLast);
    EXPECT_EQ(preview.ScrollPosition().Y, lowest);
    EXPECT_EQ(preview.VerticalBar().Pos, -lowest);
    preview.ScrollVertical(scrThumbTrack, 100);
    EXPECT_EQ(preview.ScrollPosition().Y, -100);

    preview.ScrollHorizontal(scrLineForward);
    EXPECT_EQ(preview.ScrollPosition().X, -60);
    preview.ScrollHorizontal(scrLast);
    EXPECT_EQ(preview.ScrollPosition().X, 600 - preview.VirtualSize().Width);
    EXPECT_EQ(preview.HorizontalBar().Pos, preview.VirtualSize().Width - 600);
}

TEST_F(PrintPreviewTest, SmallScrollsMoveThePixelsLargeOnesRepaint)
{
    host.scrolled.clear();
    const int repaints = host.invalidated;
    preview.ScrollVertical(scrLineForward);
    preview.ScrollVertical(scrPageForward);
    EXPECT_EQ(host.scrolled, (std::vector<std::pair<int, int>>{{0, -40}, {0, -200}}));
    EXPECT_EQ(host.invalidated, repaints);
    preview.ScrollVertical(scrFirst);
    EXPECT_EQ(host.scrolled.size(), 2u);
    EXPECT_EQ(host.invalidated, repaints + 1) << "a jump of more than half the view";
}

TEST_F(PrintPreviewTest, WheelScrollsByWholeNotches)
{
    preview.ScrollTo(0, -500);
    preview.MouseWheel(60);
    EXPECT_EQ(preview.ScrollPosition().Y, -500) << "half a notch waits";
    preview.MouseWheel(60);
    EXPECT_EQ(preview.ScrollPosition().Y, -380);
    preview.MouseWheel(-360);
    EXPECT_EQ(preview.ScrollPosition().Y, -740);

    preview.SetScaleMode(pscWholePage);
    preview.MouseWheel(-240);
    EXPECT_EQ(preview.ScrollPosition(), (TPreviewPoint{0, 0})) << "the whole page does not move";
}

// ---- painting -----------------------------------------------------------------------

TEST_F(PrintPreviewTest, PaintsTheBackgroundAroundTheSheetAndThePageOnIt)
{
    preview.SetScaleMode(pscWholePage);
    RecordingCanvas canvas;
    preview.Paint(canvas, {0, 0, 600, 400});
    const TRect sheet = preview.SheetRect();
    const TMapping mapping = preview.PageMapping();
    bool shadowBelow = false;
    bool pageText = false;
    for (const auto& op : canvas.Ops()) {
        if (op.kind == RecordingCanvas::OpKind::Fill && op.color == clAppWorkSpace) {
            EXPECT_TRUE(IntersectRect(op.rect, sheet).IsEmpty()) << "the background stays off the sheet";
        }
        if (op.kind == RecordingCanvas::OpKind::Line && op.y == sheet.Bottom + 1 && op.y2 == op.y)
            shadowBelow = true;
        if (op.kind == RecordingCanvas::OpKind::Text && op.text.find("line 1") != std::string::npos) {
            pageText = true;
            EXPECT_EQ(op.mapping, mapping);
            EXPECT_TRUE(op.clipped);
            EXPECT_TRUE(sheet.Contains(op.clip.Left, op.clip.Top));
        }
    }
    EXPECT_TRUE(shadowBelow);
    EXPECT_TRUE(pageText);
    // The printable area's corner lies where it does on paper.
    TOstEditPrinterInfo& info = job.PrinterInfo();
    EXPECT_EQ(mapping.WindowWidth, info.PhysicalWidth());
    EXPECT_EQ(mapping.ViewportWidth, sheet.Width());
    EXPECT_NEAR(mapping.OriginX - sheet.Left, info.OffsetLeft() * sheet.Width() / double(info.PhysicalWidth()), 1);
    EXPECT_NEAR(mapping.OriginY - sheet.Top, info.OffsetTop() * sheet.Height() / double(info.PhysicalHeight()), 1);
    EXPECT_EQ(canvas.CurrentState().mapping, TMapping{}) << "the mapping ends with the page";
}

TEST_F(PrintPreviewTest, WithoutAJobOnlyASmallSheetIsDrawn)
{
    TOstEditPrintPreview empty;
    empty.SetClientSize(300, 200);
    RecordingCanvas canvas;
    empty.Paint(canvas, {0, 0, 300, 200});
    ASSERT_FALSE(canvas.Ops().empty());
    EXPECT_EQ(canvas.Ops().front().rect, (TRect{0, 0, 300, 200}));
    for (const auto& op : canvas.Ops()) {
        EXPECT_NE(op.kind, RecordingCanvas::OpKind::Text);
    }
    EXPECT_EQ(empty.PageCount(), 0);
    empty.GoLastPage();
    EXPECT_EQ(empty.PageNumber(), 1);

    RecordingCanvas nothing;
    preview.Paint(nothing, {10, 10, 10, 50});
    EXPECT_TRUE(nothing.Ops().empty()) << "an empty clip paints nothing";
}
