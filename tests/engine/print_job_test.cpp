// The print job: loading, pagination, wrapping, selections, line numbers,
// colours, header and footer, copies and aborting, drawn on a recording
// canvas over the fallback A4 sheet at 300 dpi.

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterFactory.h"
#include "platform/Clipboard.h"
#include "platform/RecordingCanvas.h"
#include "print/OstEditPrint.h"

using namespace ostrel;

namespace {

// At 300 dpi this font's cells are 25 pixels wide in the widest style and
// 43 high, so the default body (230 to 2239) holds 80 of them in a row and
// 67 rows (245 to 3162).
const TOstFont kFont{"Courier New", -40, 0, clWindowText, 300};

// A printer that records the job's calls and draws on a recording canvas.
class FakePrinter : public Printer {
public:
    std::vector<std::string> calls;
    RecordingCanvas canvas;
    bool printing = false;

    std::vector<std::string> Printers() const override { return {"fake"}; }
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int) override {}
    std::optional<TPrinterCaps> Capabilities() const override { return std::nullopt; }
    void BeginDoc(std::string_view title) override
    {
        calls.push_back("begin " + std::string(title));
        printing = true;
    }
    void NewPage() override { calls.push_back("page"); }
    void EndDoc() override
    {
        calls.push_back("end");
        printing = false;
    }
    void Abort() override
    {
        calls.push_back("abort");
        printing = false;
    }
    bool Printing() const override { return printing; }
    Canvas& PageCanvas() override { return canvas; }
};

struct Row {
    int x = 0;
    std::string text;
};

// The body text of the recorded page: by row top, the row's left edge and
// its cells joined. Transparent text (headers, footers, line numbers) is
// left out.
std::map<int, Row> BodyRows(const RecordingCanvas& canvas)
{
    std::map<int, std::map<int, std::string>> pieces;
    for (const auto& op : canvas.TextOps()) {
        if (!op.transparent)
            pieces[op.y][op.x] = op.text;
    }
    std::map<int, Row> rows;
    for (const auto& [y, byX] : pieces) {
        Row row{byX.begin()->first, {}};
        for (const auto& [x, text] : byX) {
            EXPECT_EQ(x, row.x + static_cast<int>(row.text.size()) * 25) << "cells are not contiguous";
            row.text += text;
        }
        rows[y] = row;
    }
    return rows;
}

std::vector<std::string> RowTexts(const RecordingCanvas& canvas)
{
    std::vector<std::string> texts;
    for (const auto& [y, row] : BodyRows(canvas))
        texts.push_back(row.text);
    return texts;
}

std::vector<RecordingCanvas::Op> TransparentOps(const RecordingCanvas& canvas)
{
    std::vector<RecordingCanvas::Op> ops;
    for (const auto& op : canvas.TextOps()) {
        if (op.transparent)
            ops.push_back(op);
    }
    return ops;
}

struct Job {
    TOstEditPrint print;
    RecordingCanvas canvas;
    explicit Job(const std::vector<std::string>& lines)
    {
        print.SetFont(kFont);
        print.SetLines(lines);
    }
    // Lays out and draws page n; the canvas holds only that page.
    void Render(int page)
    {
        print.LayoutPages(canvas);
        canvas.Clear();
        ASSERT_TRUE(print.RenderPage(canvas, page));
    }
};

std::string Repeat(const std::string& piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

}  // namespace

// ---- wrapping and pagination -----------------------------------------------------

TEST(PrintWrapTest, LineWithoutBreakCharactersIsCutEveryRowWidth)
{
    const std::string letters = Repeat("abcdefghij", 30);
    std::vector<std::string> lines{letters};
    for (int i = 0; i < 63; ++i)
        lines.push_back("x" + std::to_string(i));
    Job job(lines);
    job.Render(1);
    ASSERT_EQ(job.print.MaxCol(), 80);
    const auto rows = BodyRows(job.canvas);
    std::vector<std::string> firstFour;
    for (const auto& [y, row] : rows) {
        if (firstFour.size() < 4) {
            EXPECT_EQ(row.x, 230);
            firstFour.push_back(row.text);
        }
    }
    EXPECT_EQ(firstFour, (std::vector<std::string>{letters.substr(0, 80), letters.substr(80, 80),
                                                   letters.substr(160, 80), letters.substr(240)}));
    // Four rows for the long line and 63 more fill the 67 rows of a page.
    EXPECT_EQ(rows.size(), 67u);
    EXPECT_EQ(job.print.PageCount(), 1);

    job.print.SetLines([&] { auto more = lines; more.push_back("over"); return more; }());
    job.print.LayoutPages(job.canvas);
    ASSERT_EQ(job.print.PageCount(), 2);
    EXPECT_EQ(job.print.Pages()[1], (TPageLine{64, 0}));
}

TEST(PrintWrapTest, RowEndsAfterTheLastBlankWithinTheRow)
{
    const std::string line = Repeat("a", 69) + " " + Repeat("b", 30);
    Job job({line});
    job.Render(1);
    EXPECT_EQ(RowTexts(job.canvas), (std::vector<std::string>{line.substr(0, 70), line.substr(70)}));
}

TEST(PrintWrapTest, SecondBreakSetIsUsedWhenTheFirstHasNone)
{
    for (const char breakChar : {';', ')', '.'}) {
        const std::string line = Repeat(Repeat("x", 29) + breakChar, 7);  // 210 characters
        Job job({line});
        job.Render(1);
        const auto rows = RowTexts(job.canvas);
        ASSERT_EQ(rows.size(), 4u) << breakChar;
        std::string joined;
        for (const std::string& row : rows) {
            EXPECT_LE(row.size(), 80u);
            EXPECT_EQ(row.back(), breakChar);
            joined += row;
        }
        EXPECT_EQ(rows[0].size(), 60u);
        EXPECT_EQ(rows[3].size(), 30u);
        EXPECT_EQ(joined, line);
    }
}

TEST(PrintWrapTest, HighlightedLineBreaksAtTheSameRowsAsPlainText)
{
    const auto cpp = CreateHighlighter("cpp");
    ASSERT_TRUE(cpp);
    const std::string line = "int " + Repeat("value", 13) + " = call(first, second);";
    Job plain({line});
    plain.print.Highlight = false;
    plain.Render(1);
    Job coloured({line});
    coloured.print.SetHighlighter(cpp.get());
    coloured.Render(1);
    EXPECT_EQ(RowTexts(coloured.canvas), RowTexts(plain.canvas));
    EXPECT_EQ(RowTexts(plain.canvas)[0], "int " + Repeat("value", 13) + " = ");
    EXPECT_GT(coloured.canvas.TextOps().size(), plain.canvas.TextOps().size());
}

TEST(PrintWrapTest, WithoutWrapOnlyTheFirstRowIsPrinted)
{
    const std::string letters = Repeat("abcdefghij", 30);
    Job job({letters, "next"});
    job.print.Wrap = false;
    job.Render(1);
    EXPECT_EQ(RowTexts(job.canvas), (std::vector<std::string>{letters.substr(0, 80), "next"}));
}

TEST(PrintPaginationTest, WrappedLineLongerThanTheRestOfThePageGoesOnTheNextPage)
{
    // 70 rows of text: 66 one-row lines, then one of 4 rows that does not fit.
    std::vector<std::string> lines(66, "short");
    lines.push_back(Repeat("z", 320));
    Job job(lines);
    job.Render(2);
    ASSERT_EQ(job.print.PageCount(), 2);
    EXPECT_EQ(job.print.Pages()[1], (TPageLine{66, 1}));
    EXPECT_EQ(RowTexts(job.canvas), (std::vector<std::string>(3, Repeat("z", 80))));
    EXPECT_EQ(BodyRows(job.canvas).begin()->first, 245);  // at the top of the body
}

TEST(PrintPaginationTest, WrapSwitchedOffAfterTheLayoutDrawsWhatRowsRemain)
{
    std::vector<std::string> lines(66, "short");
    lines.push_back(Repeat("z", 320));
    Job job(lines);
    job.print.LayoutPages(job.canvas);
    ASSERT_EQ(job.print.PageCount(), 2);
    job.print.Wrap = false;
    job.canvas.Clear();
    ASSERT_TRUE(job.print.RenderPage(job.canvas, 1));
    EXPECT_EQ(RowTexts(job.canvas).back(), Repeat("z", 80));
    job.canvas.Clear();
    ASSERT_TRUE(job.print.RenderPage(job.canvas, 2));
    EXPECT_TRUE(RowTexts(job.canvas).empty());
}

TEST(PrintPaginationTest, BodyLowerThanOneRowStillPrintsEveryRowOncePerPage)
{
    Job job({"one", "two", "three"});
    job.print.Margins().SetTop(145);  // 22 pixels of body for 43-pixel rows
    job.print.Margins().SetBottom(150);
    job.print.LayoutPages(job.canvas);
    ASSERT_EQ(job.print.PageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
        job.canvas.Clear();
        ASSERT_TRUE(job.print.RenderPage(job.canvas, page));
        EXPECT_EQ(RowTexts(job.canvas), (std::vector<std::string>{std::vector<std::string>{"one", "two", "three"}[page - 1]}));
    }
}

TEST(PrintPaginationTest, BodyNarrowerThanACellStillPrintsEveryCharacter)
{
    Job job({"abc"});
    job.print.Margins().SetLeft(200);
    job.Render(1);
    EXPECT_EQ(job.print.MaxCol(), 1);
    EXPECT_EQ(RowTexts(job.canvas), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(PrintPaginationTest, EmptyDocumentIsOnePageWithHeaderAndNoBody)
{
    Job job({});
    job.print.Header().Add("Strona $PAGENUM$", nullptr, taLeftJustify, 1);
    job.Render(1);
    EXPECT_EQ(job.print.PageCount(), 1);
    EXPECT_TRUE(RowTexts(job.canvas).empty());
    ASSERT_EQ(TransparentOps(job.canvas).size(), 1u);
    EXPECT_EQ(TransparentOps(job.canvas)[0].text, "Strona 1");
}

TEST(PrintPaginationTest, TabsPrintAsBlanksAtTheTabWidth)
{
    TOstEditPrint print;
    print.SetTabWidth(4);
    print.SetLines(std::vector<std::string>{"a\tb", "\t\tc"});
    EXPECT_EQ(print.Lines(), (std::vector<std::string>{"a   b", "        c"}));
}

TEST(PrintPaginationTest, PageCountLaysOutOnTheMeasureCanvasOnlyWhenAsked)
{
    Job job(std::vector<std::string>(100, "line"));
    EXPECT_EQ(job.print.PageCount(), 0);  // nothing to measure with
    FixedMetricsCanvas measure;
    job.print.SetMeasureCanvas(&measure);
    EXPECT_EQ(job.print.PageCount(), 2);
    job.print.SetLines(std::vector<std::string>(200, "line"));
    EXPECT_EQ(job.print.PageCount(), 3);
}

// ---- line numbers, offsets, margins ----------------------------------------------

TEST(PrintNumbersTest, LineOffsetIsAddedToPrintedNumbersBesideTheText)
{
    Job job({"first", "second"});
    job.print.LineNumbers = true;
    job.print.LineOffset = 100;
    job.Render(1);
    // "102: " is five cells of the plain style (24 pixels) left of the body.
    const int body = 230 + 5 * 24;
    const auto numbers = TransparentOps(job.canvas);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0].text, "101: ");
    EXPECT_EQ(numbers[1].text, "102: ");
    EXPECT_EQ(numbers[0].x, body - 5 * 24);
    EXPECT_EQ(numbers[0].color, clBlack);
    EXPECT_EQ(BodyRows(job.canvas).begin()->second.x, body);
}

TEST(PrintNumbersTest, NumbersInTheMarginLeaveTheBodyWhereItWas)
{
    Job job({"first"});
    job.print.LineNumbers = true;
    job.print.LineNumbersInMargin = true;
    job.Render(1);
    EXPECT_EQ(BodyRows(job.canvas).begin()->second.x, 230);
    EXPECT_EQ(TransparentOps(job.canvas)[0].x + 3 * 24, 230);
}

TEST(PrintNumbersTest, PageOffsetShowsInHeaderAndFooterButNotInEvents)
{
    Job job(std::vector<std::string>(100, "line"));
    job.print.PageOffset = 10;
    job.print.Header().Add("Strona $PAGENUM$ z $PAGECOUNT$", nullptr, taLeftJustify, 1);
    job.print.Footer().Add("- $PAGENUM$ -", nullptr, taCenter, 1);
    std::vector<int> statusPages;
    job.print.OnPrintStatus = [&](TOstEditPrint&, TOstPrintStatus status, int page, bool&) {
        if (status == psPageBegin)
            statusPages.push_back(page);
    };
    job.Render(1);
    const auto bands = TransparentOps(job.canvas);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].text, "Strona 11 z 2");
    EXPECT_EQ(bands[1].text, "- 11 -");
    EXPECT_EQ(statusPages, std::vector<int>{1});
}

TEST(PrintNumbersTest, HeaderAndFooterMacrosOnEveryPrintedPage)
{
    FakePrinter printer;
    TOstEditPrint print(&printer);
    print.SetFont(kFont);
    print.SetLines(std::vector<std::string>(140, "text"));
    print.Title = "plik.php";
    print.Header().Add("$TITLE$", nullptr, taLeftJustify, 1);
    print.Header().Add("$pagenum$/$PAGECOUNT$", nullptr, taRightJustify, 1);
    print.Footer().Add("$$TITLE$ $x$", nullptr, taLeftJustify, 1);
    print.PrintAll();
    std::vector<std::string> bands;
    for (const auto& op : TransparentOps(printer.canvas))
        bands.push_back(op.text);
    EXPECT_EQ(bands, (std::vector<std::string>{"plik.php", "1/3", "$plik.php $x$", "plik.php", "2/3",
                                               "$plik.php $x$", "plik.php", "3/3", "$plik.php $x$"}));
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin plik.php", "page", "page", "end"}));
}

TEST(PrintMarginsTest, LeftMarginInEveryUnitMovesTheText)
{
    struct Case {
        TUnitSystem unit;
        double value;
        int x;  // round(mm * 300 / 25.4 - 65)
    };
    for (const Case& c : {Case{usMM, 40, 407}, Case{usCM, 4, 407}, Case{usInch, 1, 235},
                          Case{muThousandthsOfInches, 2000, 535}}) {
        Job job({"text"});
        job.print.Margins().SetUnitSystem(c.unit);
        job.print.Margins().SetLeft(c.value);
        job.print.Margins().SetTop(c.value);
        job.Render(1);
        const auto rows = BodyRows(job.canvas);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows.begin()->second.x, c.x) << c.unit;
        EXPECT_EQ(rows.begin()->first, c.x + 15) << c.unit;  // the top strip is 50, not 65
    }
}

// ---- selections ------------------------------------------------------------------

namespace {

struct EditorJob {
    MemoryClipboard clipboard;
    TOstEdit ed;
    TOstEditPrint print;
    RecordingCanvas canvas;
    explicit EditorJob(std::string_view text)
    {
        ed.SetClipboard(&clipboard);
        ed.Lines().LoadFromBytes(text);
    }
    void Select(TBufferCoord from, TBufferCoord to, TOstSelectionMode mode)
    {
        ed.SetSelectionMode(mode);
        ed.SetCaretXY(from);
        ed.SetBlockBegin(from);
        ed.SetBlockEnd(to);
        ed.SetCaretXYEx(false, to);
    }
    std::vector<std::string> PrintSelection()
    {
        print.TakeFromEditor(ed);
        print.SetFont(kFont);
        print.SelectedOnly = true;
        print.LayoutPages(canvas);
        canvas.Clear();
        EXPECT_TRUE(print.RenderPage(canvas, 1));
        return RowTexts(canvas);
    }
};

const char* const kFiveLines = "line one\r\nline two\r\nline three\r\nline four\r\nline five";

}  // namespace

TEST(PrintSelectionTest, ColumnSelectionPrintsOnlyItsColumnsWhicheverWayItWasDrawn)
{
    EditorJob job(kFiveLines);
    job.Select({8, 2}, {3, 4}, smColumn);  // from the right edge to the left
    EXPECT_EQ(job.PrintSelection(), (std::vector<std::string>{"ne tw", "ne th", "ne fo"}));
    EXPECT_EQ(BodyRows(job.canvas).begin()->second.x, 230);
}

TEST(PrintSelectionTest, NormalAndLineSelections)
{
    EditorJob normal(kFiveLines);
    normal.Select({6, 2}, {5, 4}, smNormal);
    EXPECT_EQ(normal.PrintSelection(), (std::vector<std::string>{"two", "line three", "line"}));
    EditorJob lines(kFiveLines);
    lines.Select({6, 2}, {5, 3}, smLine);
    EXPECT_EQ(lines.PrintSelection(), (std::vector<std::string>{"line two", "line three"}));
}

TEST(PrintSelectionTest, SelectionAfterATabCountsPrintedColumns)
{
    EditorJob job("\tab\r\nx");
    job.ed.SetTabWidth(4);
    job.Select({2, 1}, {4, 1}, smNormal);  // "ab" behind the tab
    EXPECT_EQ(job.PrintSelection(), std::vector<std::string>{"ab"});
}

TEST(PrintSelectionTest, SelectionOfAHighlightedLineKeepsTheLinesColours)
{
    const auto cpp = CreateHighlighter("cpp");
    EditorJob job("x = \"text with return inside\";");
    job.ed.SetHighlighter(cpp.get());
    job.Select({11, 1}, {22, 1}, smNormal);  // "with return", inside the string
    job.print.Colors = true;
    cpp->DefaultAttribute(daString)->SetForeground(clRed);
    EXPECT_EQ(job.PrintSelection(), std::vector<std::string>{"with return"});
    const auto ops = job.canvas.TextOps();
    for (const auto& op : ops) {
        if (!op.transparent) {
            EXPECT_EQ(op.color, clRed) << op.text;
        }
    }
    job.ed.SetHighlighter(nullptr);
}

TEST(PrintSelectionTest, SelectedOnlyWithoutSelectionPrintsNothing)
{
    FakePrinter printer;
    MemoryClipboard clipboard;
    TOstEdit ed;
    ed.SetClipboard(&clipboard);
    ed.Lines().LoadFromBytes(kFiveLines);
    TOstEditPrint print(&printer);
    print.TakeFromEditor(ed);
    print.SelectedOnly = true;
    int events = 0;
    print.OnPrintStatus = [&](TOstEditPrint&, TOstPrintStatus, int, bool&) { ++events; };
    print.PrintAll();
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(events, 0);
}

// ---- colours ---------------------------------------------------------------------

TEST(PrintColorsTest, WithoutColorsOnlyStylesComeFromTheHighlighter)
{
    const auto cpp = CreateHighlighter("cpp");
    Job job({"int main() { return 0; } // done"});
    job.print.SetHighlighter(cpp.get());
    job.print.Color = clWhite;
    job.Render(1);
    bool sawBold = false;
    for (const auto& op : job.canvas.TextOps()) {
        EXPECT_EQ(op.color, clBlack) << op.text;
        EXPECT_EQ(op.backColor, clWhite) << op.text;
        sawBold = sawBold || (op.style & fsBold);
    }
    EXPECT_TRUE(sawBold);
}

TEST(PrintColorsTest, WithColorsTokensTakeTheirAttributesColours)
{
    const auto cpp = CreateHighlighter("cpp");
    TOstHighlighterAttributes* comment = cpp->DefaultAttribute(daComment);
    comment->SetForeground(clGreen);
    comment->SetBackground(clYellow);
    Job job({"int a; // done"});
    job.print.SetHighlighter(cpp.get());
    job.print.Colors = true;
    job.print.Color = clAqua;
    job.Render(1);
    bool sawComment = false;
    for (const auto& op : job.canvas.TextOps()) {
        if (op.text == "// done") {
            sawComment = true;
            EXPECT_EQ(op.color, clGreen);
            EXPECT_EQ(op.backColor, clYellow);
            EXPECT_EQ(op.rect.Width(), 7 * 25);  // its cells take its colour
        } else {
            EXPECT_EQ(op.backColor, clAqua) << op.text;  // no background of its own
        }
    }
    // Cells on the body's colour show the body beneath them.
    EXPECT_EQ(job.canvas.PixelAt(232, 250).background, clAqua);
    EXPECT_TRUE(sawComment);
}

// ---- printing: copies, events, aborting ------------------------------------------

namespace {

struct PrinterJob {
    FakePrinter printer;
    TOstEditPrint print{&printer};
    std::vector<std::string> events;
    explicit PrinterJob(int lines)
    {
        print.SetFont(kFont);
        print.SetLines(std::vector<std::string>(static_cast<size_t>(lines), "text"));
        print.OnPrintStatus = [this](TOstEditPrint&, TOstPrintStatus status, int page, bool&) {
            events.push_back(std::to_string(status) + ":" + std::to_string(page));
        };
    }
};

}  // namespace

TEST(PrintJobTest, TwoCopiesOfPagesOneToThreeAreCollated)
{
    PrinterJob job(300);  // five pages
    job.print.SetCopies(2);
    job.print.PrintPages(1, 3);
    EXPECT_EQ(job.events, (std::vector<std::string>{"0:1", "1:1", "1:2", "1:3", "1:1", "1:2", "1:3", "2:3"}));
    EXPECT_EQ(std::count(job.printer.calls.begin(), job.printer.calls.end(), "page"), 5);
    EXPECT_EQ(job.printer.calls.back(), "end");
}

TEST(PrintJobTest, LineEventsFollowThePages)
{
    PrinterJob job(70);
    std::vector<std::pair<int, int>> lines;
    job.print.OnPrintLine = [&](TOstEditPrint&, int line, int page) { lines.emplace_back(line, page); };
    job.print.PrintAll();
    ASSERT_EQ(lines.size(), 70u);
    EXPECT_EQ(lines[66], std::make_pair(67, 1));
    EXPECT_EQ(lines[67], std::make_pair(68, 2));
}

TEST(PrintJobTest, AbortAtAPageDropsTheJobAndDrawsNoMore)
{
    PrinterJob job(200);
    job.print.OnPrintStatus = [&](TOstEditPrint&, TOstPrintStatus status, int page, bool& abort) {
        job.events.push_back(std::to_string(status) + ":" + std::to_string(page));
        abort = status == psPageBegin && page == 2;
    };
    job.print.PrintAll();
    EXPECT_TRUE(job.print.Aborted());
    EXPECT_EQ(job.events, (std::vector<std::string>{"0:1", "1:1", "1:2"}));
    EXPECT_EQ(job.printer.calls, (std::vector<std::string>{"begin ", "page", "abort"}));
    EXPECT_EQ(RowTexts(job.printer.canvas).size(), 67u);  // page 1 only
}

TEST(PrintJobTest, AbortAtJobBeginDrawsNothing)
{
    PrinterJob job(10);
    job.print.OnPrintStatus = [](TOstEditPrint&, TOstPrintStatus, int, bool& abort) { abort = true; };
    job.print.DocTitle = "spool";
    job.print.PrintAll();
    EXPECT_EQ(job.printer.calls, (std::vector<std::string>{"begin spool", "abort"}));
    EXPECT_TRUE(job.printer.canvas.Ops().empty());
}

TEST(PrintJobTest, FailingPrinterDropsTheJob)
{
    struct FailingPrinter : FakePrinter {
        void NewPage() override { throw std::runtime_error("out of paper"); }
    };
    FailingPrinter printer;
    TOstEditPrint print(&printer);
    print.SetFont(kFont);
    print.SetLines(std::vector<std::string>(100, "text"));
    EXPECT_THROW(print.PrintAll(), std::runtime_error);
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin ", "abort"}));
}

TEST(PrintJobTest, RenderPageOutsideTheLayoutDrawsNothing)
{
    Job job({"a"});
    job.print.LayoutPages(job.canvas);
    job.canvas.Clear();
    EXPECT_FALSE(job.print.RenderPage(job.canvas, 2));
    EXPECT_FALSE(job.print.RenderPage(job.canvas, 0));
    EXPECT_TRUE(job.canvas.Ops().empty());
}

// ---- UTF-8 ----------------------------------------------------------------------------

namespace {

struct CellRow {
    int x = 0;
    int cells = 0;
    std::string text;
};

// The body rows of a UTF-8 page: the row's left edge, the cells its
// characters take (advances of 25 pixels) and its text; each piece must
// start where the one before it ended.
std::vector<CellRow> CellRows(const RecordingCanvas& canvas)
{
    std::map<int, std::map<int, RecordingCanvas::Op>> pieces;
    for (const auto& op : canvas.TextOps())
        if (!op.transparent)
            pieces[op.y][op.x] = op;
    std::vector<CellRow> rows;
    for (const auto& [y, byX] : pieces) {
        CellRow row{byX.begin()->first, 0, {}};
        for (const auto& [x, op] : byX) {
            EXPECT_EQ(x, row.x + row.cells * 25) << "cells are not contiguous";
            for (const int advance : op.advances)
                row.cells += advance / 25;
            row.text += op.text;
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(PrintUtf8Test, CharactersTakeTheCellsOfTheirWidthAndRowsBreakByCells)
{
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += "żółw ";
    std::string wide;
    for (int i = 0; i < 50; ++i)
        wide += "日";
    TOstEditStringList lines;
    lines.LoadFromBytes(words + "\n" + wide + "\na" + wide.substr(0, 40 * 3) + "\ne\xCC\x81" "x\xFFy\n");
    ASSERT_EQ(lines.Encoding(), TOstEncoding::Utf8);
    TOstEditPrint print;
    print.SetFont(kFont);
    print.Wrap = true;
    print.SetLines(lines);
    RecordingCanvas canvas;
    print.LayoutPages(canvas);
    canvas.Clear();
    ASSERT_TRUE(print.RenderPage(canvas, 1));
    ASSERT_EQ(print.MaxCol(), 80);
    std::string sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen += "żółw ";
    const auto rows = CellRows(canvas);
    ASSERT_EQ(rows.size(), 7u);
    // Broken after the last blank within 80 cells.
    EXPECT_EQ(rows[0].text, sixteen);
    EXPECT_EQ(rows[0].cells, 80);
    EXPECT_EQ(rows[1].text, words.substr(sixteen.size()));
    // No break character: cut by cells, never inside a character.
    EXPECT_EQ(rows[2].text, wide.substr(0, 40 * 3));
    EXPECT_EQ(rows[2].cells, 80);
    EXPECT_EQ(rows[3].text, wide.substr(40 * 3));
    EXPECT_EQ(rows[3].cells, 20);
    // 81 cells: the last wide character does not fit in the row's 80.
    EXPECT_EQ(rows[4].text, "a" + wide.substr(0, 39 * 3));
    EXPECT_EQ(rows[4].cells, 79);
    EXPECT_EQ(rows[5].text, "日");
    // A mark is drawn with its letter and takes no cell of its own; a
    // damaged byte shows as the replacement character in one cell.
    EXPECT_EQ(rows[6].text, "e\xCC\x81x\xEF\xBF\xBDy");
    EXPECT_EQ(rows[6].cells, 4);
    for (const CellRow& row : rows)
        EXPECT_EQ(row.x, 230);
    EXPECT_EQ(print.PageCount(), 1);
}

TEST(PrintUtf8Test, SelectionColumnsOfAUtf8LineAreCells)
{
    EditorJob job("日本語 żółw\r\nx");
    job.Select({4, 1}, {17, 1}, smNormal);  // from "本" to the end of "żół"
    const auto texts = job.PrintSelection();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "本語 żół");
}
