// Painting the editor on a recording canvas: cells and runs of highlighted
// lines, the selection in its three modes, special characters, the right
// edge, the active line, special lines, the clip, and the caret.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ed.SetColor(clWhite);
        ed.Font();
        TOstFont font = ed.Font();
        font.Color = clBlack;
        ed.SetFont(font);
        ed.SetSelectedColor({clYellow, clNavy});
        ed.SetRightEdge(0);
        Resize(40, 10);
    }

    void Resize(int columns, int rows)
    {
        ed.SetClientSize(ed.GutterWidth() + 2 + columns * ed.CharWidth(), rows * ed.LineHeight());
    }

    void SetLines(std::string text)
    {
        ed.SetText(text);
        ed.SetCaretXY({1, 1});
    }

    void PaintAll()
    {
        canvas.Clear();
        ed.Paint(canvas, {0, 0, ed.ClientWidth(), ed.ClientHeight()});
    }

    // The centre of a cell, and what the canvas shows there.
    int CellX(int column) const { return ed.TextOffset() + (column - 1) * ed.CharWidth() + ed.CharWidth() / 2; }
    int RowY(int row) const { return (row - ed.TopLine()) * ed.LineHeight() + ed.LineHeight() / 2; }
    RecordingCanvas::Pixel Cell(int column, int row) const { return canvas.PixelAt(CellX(column), RowY(row)); }

    // The backgrounds of columns 1..n of a row, 'S' selected (navy) and '.'
    // not, for a compact picture of the selection.
    std::string SelectionPicture(int row, int columns) const
    {
        std::string picture;
        for (int c = 1; c <= columns; ++c)
            picture += Cell(c, row).background == clNavy ? 'S' : '.';
        return picture;
    }

    TOstEdit ed;
    RecordingCanvas canvas;
};

}  // namespace

// ---- cells and metrics ----------------------------------------------------------

TEST_F(PaintTest, CellsFollowTheFontAndTheStylesInUse)
{
    // A 13-pixel font measures 8 x 16 cells on the fixed-metrics canvas.
    EXPECT_EQ(ed.CharWidth(), 8);
    EXPECT_EQ(ed.LineHeight(), 16);
    ed.SetExtraLineSpacing(3);
    EXPECT_EQ(ed.LineHeight(), 19);

    // The HTML lexer draws bold, and bold cells are wider there.
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    EXPECT_EQ(ed.CharWidth(), 9);
    // Once no attribute is bold the cells shrink again.
    for (int i = 0; i < html.AttributeCount(); ++i)
        html.AttributeAt(i)->SetStyle(0);
    EXPECT_EQ(ed.CharWidth(), 8);
    ed.SetHighlighter(nullptr);

    TOstFont big = ed.Font();
    big.Height = -20;
    ed.SetFont(big);
    EXPECT_EQ(ed.CharWidth(), 12);
    EXPECT_EQ(ed.LineHeight(), 23 + 3);
}

TEST_F(PaintTest, WindowCountsFollowClientSizeAndCells)
{
    ed.SetClientSize(ed.GutterWidth() + 2 + 50 * 8 + 5, 12 * 16 + 7);
    EXPECT_EQ(ed.CharsInWindow(), 50);
    EXPECT_EQ(ed.LinesInWindow(), 12);
    ed.SetExtraLineSpacing(4);
    EXPECT_EQ(ed.LinesInWindow(), (12 * 16 + 7) / 20);
}

TEST_F(PaintTest, EmptyFontNameIsRefused)
{
    TOstFont nameless = ed.Font();
    nameless.Name.clear();
    EXPECT_THROW(ed.SetFont(nameless), std::invalid_argument);
    EXPECT_EQ(ed.Font().Name, "Courier New");
}

// ---- runs of a highlighted line -------------------------------------------------

TEST_F(PaintTest, HighlightedTokensGetTheirAttributesCellByCell)
{
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    html.TextAttri->SetForeground(clGreen);
    html.ValueAttri->SetBackground(clAqua);
    const std::string line = "<a href=\"x\">link &amp; more</a>";
    SetLines(line);
    PaintAll();

    // Walk the tokens independently and compare every cell with its token.
    html.ClearLineState();
    html.StartLine(line, 0);
    int checked = 0;
    for (; !html.AtLineEnd(); html.NextToken()) {
        const TOstHighlighterAttributes* attr = html.TokenAttribute();
        for (int i = 0; i < html.TokenLength(); ++i) {
            const int column = html.TokenStart() + i + 1;
            const auto cell = Cell(column, 1);
            SCOPED_TRACE("column " + std::to_string(column));
            EXPECT_EQ(cell.ch, line[static_cast<size_t>(column - 1)]);
            const TColor fg = attr && attr->Foreground() != clNone ? attr->Foreground() : clBlack;
            const TColor bg = attr && attr->Background() != clNone ? attr->Background() : clWhite;
            EXPECT_EQ(cell.background, bg);
            // A blank may join the run before it: only its background shows.
            if (line[static_cast<size_t>(column - 1)] != ' ') {
                EXPECT_EQ(cell.foreground, fg);
                EXPECT_EQ(cell.style, attr ? attr->Style() : 0);
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, static_cast<int>(line.size()));
    ed.SetHighlighter(nullptr);
}

TEST_F(PaintTest, TokensOfEqualLookAreMergedIntoOneRun)
{
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    SetLines("plain words and spaces\r\n<b>x</b>");
    PaintAll();
    std::vector<RecordingCanvas::Op> row1;
    for (const auto& op : canvas.TextOps())
        if (op.y == 0)
            row1.push_back(op);
    // Text and the spaces between words look the same: one call.
    ASSERT_EQ(row1.size(), 1u);
    EXPECT_EQ(row1[0].text, "plain words and spaces");
    EXPECT_EQ(row1[0].x, ed.TextOffset());
    // Every byte sits in its own cell of the cell width.
    for (int advance : row1[0].advances)
        EXPECT_EQ(advance, ed.CharWidth());

    // Tags split into runs where the colour or the style changes.
    int row2Runs = 0;
    for (const auto& op : canvas.TextOps())
        if (op.y == ed.LineHeight())
            ++row2Runs;
    EXPECT_GT(row2Runs, 1);
    EXPECT_LE(row2Runs, 8);
    ed.SetHighlighter(nullptr);
}

TEST_F(PaintTest, LineStatesCarryOverFromTheLineAbove)
{
    TOstHTMLHighlighter html;
    html.CommentAttri->SetForeground(clGreen);
    ed.SetHighlighter(&html);
    SetLines("text <!-- comment\r\nstill comment -->\r\nafter");
    PaintAll();
    EXPECT_EQ(Cell(1, 2).foreground, clGreen);
    EXPECT_NE(Cell(1, 3).foreground, clGreen);
    ed.SetHighlighter(nullptr);
}

// ---- selection ----------------------------------------------------------------------

TEST_F(PaintTest, NormalSelectionRunsFromStartToEnd)
{
    SetLines("abcdef\r\nabcdef\r\nabcdef");
    ed.SetBlockBegin({3, 1});
    ed.SetBlockEnd({2, 3});
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 10), "..SSSSSSSS");  // through the end of the row
    EXPECT_EQ(SelectionPicture(2, 10), "SSSSSSSSSS");
    EXPECT_EQ(SelectionPicture(3, 10), "S.........");
    EXPECT_EQ(Cell(3, 1).foreground, clYellow);
    EXPECT_EQ(Cell(3, 1).ch, 'c');
    EXPECT_EQ(Cell(2, 1).foreground, clBlack);
}

TEST_F(PaintTest, LineSelectionCoversWholeRows)
{
    SetLines("abcdef\r\nabcdef\r\nabcdef");
    ed.SetSelectionMode(smLine);
    ed.SetBlockBegin({4, 1});
    ed.SetBlockEnd({2, 2});
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 10), "SSSSSSSSSS");
    EXPECT_EQ(SelectionPicture(2, 10), "SSSSSSSSSS");
    EXPECT_EQ(SelectionPicture(3, 10), "..........");
}

TEST_F(PaintTest, ColumnSelectionIsARectangleOverShortLines)
{
    SetLines("abcdef\r\na\r\nabcdef");
    ed.SetSelectionMode(smColumn);
    ed.SetBlockBegin({5, 1});
    ed.SetBlockEnd({2, 3});  // the characters are ordered: columns 2..4
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 8), ".SSS....");
    EXPECT_EQ(SelectionPicture(2, 8), ".SSS....");  // virtual space beyond "a"
    EXPECT_EQ(SelectionPicture(3, 8), ".SSS....");
    EXPECT_EQ(Cell(2, 1).ch, 'b');
    EXPECT_EQ(Cell(5, 1).ch, 'e');
    EXPECT_EQ(Cell(5, 1).foreground, clBlack);
}

TEST_F(PaintTest, HideSelectionFollowsFocus)
{
    SetLines("abcdef");
    ed.SetBlockBegin({1, 1});
    ed.SetBlockEnd({4, 1});
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 4), "SSS.");  // shown without focus by default

    ed.SetHideSelection(true);
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 4), "....");
    ed.FocusIn();
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 4), "SSS.");
    ed.FocusOut();
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 4), "....");
}

TEST_F(PaintTest, FocusChangesReachTheCommandEventsOnly)
{
    SetLines("text");
    ed.SetModified(false);
    std::vector<int> seen;
    ed.OnCommandProcessed = [&](TOstEditorCommand& command, char&, const void*) { seen.push_back(command); };
    ed.FocusIn();
    ed.FocusIn();  // no change, no event
    ed.FocusOut();
    EXPECT_EQ(seen, (std::vector<int>{700, 701}));
    EXPECT_EQ(ed.Text(), "text");
    EXPECT_FALSE(ed.Modified());
}

TEST_F(PaintTest, SelectionSplitsHighlightedRuns)
{
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    SetLines("plain words");
    ed.SetBlockBegin({3, 1});
    ed.SetBlockEnd({8, 1});
    PaintAll();
    EXPECT_EQ(SelectionPicture(1, 12), "..SSSSS.....");
    ASSERT_EQ(canvas.TextOps().size(), 3u);
    EXPECT_EQ(canvas.TextOps()[1].text, "ain w");
    ed.SetHighlighter(nullptr);
}

// ---- special characters ----------------------------------------------------------

TEST_F(PaintTest, SpecialCharactersShowSpacesTabsAndLineEnds)
{
    ed.SetTabWidth(4);
    ed.SetOption(eoShowSpecialChars, true);
    SetLines("\tx y");
    PaintAll();
    for (int c = 1; c <= 4; ++c) {
        SCOPED_TRACE(c);
        // No TAB byte reaches the screen; the tab's cells are blank but for
        // the one mark.
        EXPECT_NE(Cell(c, 1).ch, '\t');
    }
    EXPECT_EQ(Cell(5, 1).ch, 'x');
    EXPECT_EQ(Cell(6, 1).ch, U'\u00B7');
    EXPECT_EQ(Cell(7, 1).ch, 'y');
    EXPECT_EQ(Cell(8, 1).ch, U'\u00B6');

    // The tab mark sits half a cell right of the second of four cells.
    int marks = 0;
    for (const auto& op : canvas.TextOps())
        if (op.text == "\u00BB") {
            ++marks;
            EXPECT_EQ(op.x, ed.TextOffset() + ed.CharWidth() + ed.CharWidth() / 2);
        }
    EXPECT_EQ(marks, 1);
}

TEST_F(PaintTest, PilcrowTakesTheCommentColourInsideAComment)
{
    TOstHTMLHighlighter html;
    html.CommentAttri->SetForeground(clGreen);
    html.SpaceAttri->SetForeground(clRed);
    ed.SetHighlighter(&html);
    ed.SetOption(eoShowSpecialChars, true);
    SetLines("a <!-- open\r\n--> x");
    PaintAll();
    EXPECT_EQ(Cell(12, 1).ch, U'\u00B6');
    EXPECT_EQ(Cell(12, 1).foreground, clGreen);
    EXPECT_EQ(Cell(12, 1).style, 0);
    EXPECT_EQ(Cell(6, 2).ch, U'\u00B6');
    EXPECT_EQ(Cell(6, 2).foreground, clRed);
    ed.SetHighlighter(nullptr);
}

TEST_F(PaintTest, WithoutSpecialCharactersTabsAreBlank)
{
    SetLines("\tx\r\n\ty");
    PaintAll();
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(Cell(c, 1).ch, ' ');
    EXPECT_EQ(Cell(9, 1).ch, 'x');
    EXPECT_EQ(Cell(10, 1).ch, 0);  // filled, no text
    EXPECT_EQ(Cell(9, 2).ch, 'y');
}

// ---- edges, lines and colours ----------------------------------------------------

TEST_F(PaintTest, RightEdgeRunsThroughEveryRowAndBelow)
{
    SetLines("one\r\ntwo");
    ed.SetRightEdge(10);
    ed.SetRightEdgeColor(clSilver);
    PaintAll();
    const int x = 10 * ed.CharWidth() + ed.TextOffset();
    for (int y : {0, ed.LineHeight() + 3, 5 * ed.LineHeight()}) {
        const auto p = canvas.PixelAt(x, y);
        EXPECT_TRUE(p.line) << y;
        EXPECT_EQ(p.foreground, clSilver);
    }
    EXPECT_FALSE(canvas.PixelAt(x - 1, 0).line);

    ed.SetRightEdge(0);
    PaintAll();
    for (const auto& op : canvas.Ops())
        EXPECT_NE(op.kind, RecordingCanvas::OpKind::Line);
}

TEST_F(PaintTest, ActiveLineColoursTheWholeCaretRow)
{
    SetLines("first\r\nsecond\r\nthird");
    ed.SetActiveLineColor(clCream);
    ed.SetCaretXY({2, 2});
    PaintAll();
    EXPECT_EQ(Cell(1, 2).background, clCream);
    EXPECT_EQ(Cell(30, 2).background, clCream);  // past the text too
    EXPECT_EQ(Cell(1, 1).background, clWhite);
    EXPECT_EQ(Cell(30, 3).background, clWhite);
}

namespace {

struct InvalidationLog : TOstEditHost {
    std::vector<std::pair<int, int>> rows;
    void InvalidateRows(int first, int last, bool) override { rows.emplace_back(first, last); }
    void InvalidateAll() override { rows.emplace_back(0, 0); }
    void ScrollView(int, int) override {}
    void UpdateScrollBars() override {}
    void UpdateCaret() override {}
};

}  // namespace

TEST_F(PaintTest, ActiveLineRepaintsTheLinesTheCaretLeavesAndEnters)
{
    SetLines("1\r\n2\r\n3\r\n4\r\n5\r\n6");
    InvalidationLog log;
    ed.SetHost(&log);
    ed.SetCaretXY({1, 2});
    EXPECT_TRUE(log.rows.empty());  // nothing to show without the colour

    ed.SetActiveLineColor(clCream);
    log.rows.clear();
    ed.SetCaretXY({1, 5});
    ASSERT_FALSE(log.rows.empty());
    int first = 100, last = 0;
    for (auto [f, l] : log.rows) {
        first = std::min(first, f);
        last = std::max(last, l);
    }
    EXPECT_LE(first, 2);
    EXPECT_GE(last, 5);
    ed.SetHost(nullptr);
}

TEST_F(PaintTest, SpecialLinesHaveTheirOwnColoursAndSwappedSelection)
{
    SetLines("one\r\ntwo\r\nthree");
    ed.OnSpecialLineColors = [](int line, bool& special, TColor& fg, TColor& bg) {
        if (line == 2) {
            special = true;
            fg = clRed;
            bg = clLime;
        }
    };
    ed.SetBlockBegin({2, 2});
    ed.SetBlockEnd({3, 2});
    PaintAll();
    EXPECT_EQ(Cell(1, 2).foreground, clRed);
    EXPECT_EQ(Cell(1, 2).background, clLime);
    EXPECT_EQ(Cell(10, 2).background, clLime);
    EXPECT_EQ(Cell(2, 2).foreground, clLime);
    EXPECT_EQ(Cell(2, 2).background, clRed);
    EXPECT_EQ(Cell(1, 1).background, clWhite);
}

TEST_F(PaintTest, SpecialLineKeepsTokenColoursWithDefaultFgOption)
{
    TOstHTMLHighlighter html;
    html.TextAttri->SetForeground(clGreen);
    ed.SetHighlighter(&html);
    SetLines("text");
    ed.OnSpecialLineColors = [](int, bool& special, TColor& fg, TColor& bg) {
        special = true;
        fg = clRed;
        bg = clLime;
    };
    PaintAll();
    EXPECT_EQ(Cell(1, 1).foreground, clRed);
    ed.SetOption(eoSpecialLineDefaultFg, true);
    PaintAll();
    EXPECT_EQ(Cell(1, 1).foreground, clGreen);
    EXPECT_EQ(Cell(1, 1).background, clLime);
    ed.SetHighlighter(nullptr);
}

TEST_F(PaintTest, ItalicTailStandsOnThisPaintsBackground)
{
    TOstHTMLHighlighter html;
    for (int i = 0; i < html.AttributeCount(); ++i)
        html.AttributeAt(i)->SetStyle(fsItalic);
    ed.SetHighlighter(&html);
    SetLines("abc");
    PaintAll();
    // The fixed-metrics italic glyph reaches 2 pixels into the next cell:
    // those pixels must be filled by this paint before the glyph is drawn,
    // and never filled over after it.
    const int textEnd = ed.TextOffset() + 3 * ed.CharWidth();
    const TRect tail{textEnd, 0, textEnd + 2, ed.LineHeight()};
    const auto& ops = canvas.Ops();
    size_t lastText = ops.size();
    for (size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == RecordingCanvas::OpKind::Text && ops[i].y == 0 && ops[i].text.find('c') != std::string::npos)
            lastText = i;
    ASSERT_LT(lastText, ops.size());
    EXPECT_TRUE(ops[lastText].style & fsItalic);
    const auto covers = [](const TRect& r, const TRect& part) {
        return r.Left <= part.Left && r.Right >= part.Right && r.Top <= part.Top && r.Bottom >= part.Bottom;
    };
    bool filledBefore = false;
    for (size_t i = 0; i < lastText; ++i)
        if (ops[i].kind == RecordingCanvas::OpKind::Fill && covers(ops[i].rect, tail))
            filledBefore = true;
    EXPECT_TRUE(filledBefore);
    for (size_t i = lastText + 1; i < ops.size(); ++i) {
        if (ops[i].kind == RecordingCanvas::OpKind::Fill) {
            EXPECT_TRUE(IntersectRect(ops[i].rect, tail).IsEmpty()) << "a fill after the glyph cuts its tail";
        }
    }
    ed.SetHighlighter(nullptr);
}

// ---- the clip ---------------------------------------------------------------------

TEST_F(PaintTest, OnlyTheClipIsDrawnAndTheRestBelowTheTextIsFilled)
{
    SetLines("aaaa\r\nbbbb\r\ncccc");
    const int lh = ed.LineHeight();
    canvas.Clear();
    ed.Paint(canvas, {0, lh, ed.ClientWidth(), 2 * lh});
    EXPECT_EQ(Cell(1, 2).ch, 'b');
    EXPECT_FALSE(Cell(1, 1).painted);
    EXPECT_FALSE(Cell(1, 3).painted);
    for (const auto& op : canvas.TextOps())
        EXPECT_NE(op.text, "aaaa");

    PaintAll();
    const auto below = canvas.PixelAt(CellX(1), 3 * lh + 2);
    EXPECT_TRUE(below.painted);
    EXPECT_EQ(below.background, clWhite);
    EXPECT_EQ(canvas.PixelAt(CellX(1), 9 * lh + 2).background, clWhite);
}

TEST_F(PaintTest, ScrolledViewStartsAtTheLeftColumnAndTopLine)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "0123456789abcdefghij\r\n";
    SetLines(text);
    ed.SetTopLine(5);
    ed.SetLeftChar(3);
    PaintAll();
    EXPECT_EQ(canvas.PixelAt(ed.GutterWidth() + 2 + ed.CharWidth() / 2, RowY(5)).ch, '2');
    EXPECT_EQ(Cell(3, 5).ch, '2');
}

TEST_F(PaintTest, PaintEventsFramePass)
{
    SetLines("x");
    std::vector<std::string> order;
    ed.OnPaintTransient = [&](Canvas&, TOstTransientType t) {
        order.push_back(t == ttBefore ? "before" : "after");
    };
    ed.OnPaint = [&](Canvas& c) {
        order.push_back("paint");
        EXPECT_EQ(&c, &canvas);
    };
    PaintAll();
    EXPECT_EQ(order, (std::vector<std::string>{"before", "paint", "after"}));
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

namespace {

class GutteredEdit : public TOstEdit {
public:
    std::vector<TRect> gutterClips;
    int firstRow = 0, lastRow = 0;

protected:
    void PaintGutter(Canvas& canvas, const TRect& clip, int first, int last) override
    {
        gutterClips.push_back(clip);
        firstRow = first;
        lastRow = last;
        canvas.FillRect(clip, clBtnFace);
    }
};

}  // namespace

TEST(PaintGutterSeam, GutterPaintsItsStripAndTextStartsBesideIt)
{
    GutteredEdit ed;
    ed.SetColor(clWhite);
    ed.SetGutterWidth(30);
    ed.SetClientSize(30 + 2 + 20 * 8, 5 * 16);
    ed.SetText("abc\r\ndef");
    RecordingCanvas canvas;
    ed.Paint(canvas, {0, 0, ed.ClientWidth(), ed.ClientHeight()});
    ASSERT_EQ(ed.gutterClips.size(), 1u);
    EXPECT_EQ(ed.gutterClips[0], (TRect{0, 0, 30, 5 * 16}));
    EXPECT_EQ(ed.firstRow, 1);
    EXPECT_EQ(ed.lastRow, 2);
    EXPECT_EQ(canvas.PixelAt(10, 5).background, clBtnFace);
    EXPECT_EQ(canvas.PixelAt(31, 5).background, clWhite);  // the gap
    EXPECT_EQ(canvas.PixelAt(32 + 4, 5).ch, 'a');

    // A clip right of the gutter leaves it alone.
    ed.gutterClips.clear();
    ed.Paint(canvas, {40, 0, 80, 16});
    EXPECT_TRUE(ed.gutterClips.empty());
}

// ---- caret ------------------------------------------------------------------------

TEST_F(PaintTest, CaretShapesInInsertAndOverwriteMode)
{
    SetLines("abcdef");
    ed.SetCaretXY({3, 1});
    EXPECT_FALSE(ed.CaretGeometry().Visible);  // no focus, no caret
    ed.FocusIn();
    const int cw = ed.CharWidth(), lh = ed.LineHeight();
    const int x = ed.TextOffset() + 2 * cw;

    TOstCaretGeometry caret = ed.CaretGeometry();
    EXPECT_TRUE(caret.Visible);
    EXPECT_EQ(caret.Shape, ctVerticalLine);
    EXPECT_EQ(caret.Rect, (TRect{x - 1, 1, x + 1, 1 + lh - 2}));

    ed.SetInsertMode(false);
    caret = ed.CaretGeometry();
    EXPECT_EQ(caret.Shape, ctBlock);
    EXPECT_EQ(caret.Rect, (TRect{x, 1, x + cw, 1 + lh - 2}));

    ed.SetOverwriteCaret(ctHorizontalLine);
    EXPECT_EQ(ed.CaretGeometry().Rect, (TRect{x, lh - 1, x + cw, lh + 1}));
    ed.SetOverwriteCaret(ctHalfBlock);
    const int half = (lh - 2) / 2;
    EXPECT_EQ(ed.CaretGeometry().Rect, (TRect{x, half + 1, x + cw, half + 1 + half}));
}

TEST_F(PaintTest, CaretOutsideTheTextAreaIsHidden)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "0123456789012345678901234567890123456789012345678901234567890\r\n";
    SetLines(text);
    ed.FocusIn();
    ed.SetCaretXY({2, 3});
    ed.SetTopLine(2);
    EXPECT_TRUE(ed.CaretGeometry().Visible);
    EXPECT_EQ(ed.CaretGeometry().Rect.Top, ed.LineHeight() + 1);
    ed.SetLeftChar(5);
    EXPECT_FALSE(ed.CaretGeometry().Visible);
    ed.SetLeftChar(1);
    ed.SetTopLine(10);
    EXPECT_FALSE(ed.CaretGeometry().Visible);
    ed.SetOption(eoNoCaret, true);
    ed.SetTopLine(1);
    EXPECT_FALSE(ed.CaretGeometry().Visible);
}
