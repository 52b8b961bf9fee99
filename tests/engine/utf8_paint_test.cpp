// Painting UTF-8 lines on the recording canvas: each character in the cells
// of its width, marks drawn with their letter, invalid bytes visible, and a
// column selection across them by cells.

#include <gtest/gtest.h>

#include <string>

#include "editor/OstEdit.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

class Utf8PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ed.SetColor(clWhite);
        TOstFont font = ed.Font();
        font.Color = clBlack;
        ed.SetFont(font);
        ed.SetSelectedColor({clYellow, clNavy});
        ed.SetRightEdge(0);
        ed.SetClientSize(ed.GutterWidth() + 2 + 40 * ed.CharWidth(), 10 * ed.LineHeight());
    }

    void SetLines(const std::string& text)
    {
        ed.Lines().LoadFromBytes(text, TOstEncodingChoice{TOstEncoding::Utf8});
        ed.SetCaretXY({1, 1});
    }

    void PaintAll()
    {
        canvas.Clear();
        ed.Paint(canvas, {0, 0, ed.ClientWidth(), ed.ClientHeight()});
    }

    int CellLeft(int column) const { return ed.TextOffset() + (column - 1) * ed.CharWidth(); }
    int RowY(int row) const { return (row - 1) * ed.LineHeight() + ed.LineHeight() / 2; }
    RecordingCanvas::Pixel Cell(int column, int row) const
    {
        return canvas.PixelAt(CellLeft(column) + ed.CharWidth() / 2, RowY(row));
    }
    // The text operation that draws the pixel's character.
    const RecordingCanvas::Op* TextAt(int column, int row) const
    {
        const RecordingCanvas::Op* found = nullptr;
        for (const RecordingCanvas::Op& op : canvas.Ops())
            if (op.kind == RecordingCanvas::OpKind::Text && op.rect.Contains(CellLeft(column) + 1, RowY(row)))
                found = &op;
        return found;
    }

    TOstEdit ed;
    RecordingCanvas canvas;
};

}  // namespace

TEST_F(Utf8PaintTest, AWideCharacterTakesTwoCellsAndTheTextAfterItFollows)
{
    SetLines("a日b\r\n");
    PaintAll();
    EXPECT_EQ(Cell(1, 1).ch, U'a');
    EXPECT_EQ(Cell(2, 1).ch, U'日');
    EXPECT_EQ(Cell(3, 1).ch, U'日') << "its second cell";
    EXPECT_EQ(Cell(4, 1).ch, U'b');
    const RecordingCanvas::Op* op = TextAt(2, 1);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->text, "a日b");
    EXPECT_EQ(op->advances, (std::vector<int>{ed.CharWidth(), 2 * ed.CharWidth(), ed.CharWidth()}));
}

TEST_F(Utf8PaintTest, ACombiningMarkIsDrawnWithItsLetterInOneCell)
{
    SetLines("e\xCC\x81x\r\n");
    PaintAll();
    const RecordingCanvas::Op* op = TextAt(1, 1);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->text, "e\xCC\x81x");
    EXPECT_EQ(op->advances, (std::vector<int>{ed.CharWidth(), 0, ed.CharWidth()}));
    EXPECT_EQ(Cell(2, 1).ch, U'x');
}

TEST_F(Utf8PaintTest, AnInvalidByteShowsAsAMarkInABoxOfItsOwnCell)
{
    SetLines("a\xFF" "b\r\n");
    PaintAll();
    EXPECT_EQ(Cell(2, 1).ch, U'\uFFFD');
    EXPECT_EQ(Cell(3, 1).ch, U'b');
    // The box: lines along the cell's edges, and none beyond it.
    const int left = CellLeft(2);
    const int top = 0;
    EXPECT_TRUE(canvas.PixelAt(left, top + 3).line);
    EXPECT_TRUE(canvas.PixelAt(left + ed.CharWidth() - 1, top + 3).line);
    EXPECT_TRUE(canvas.PixelAt(left + 3, top).line);
    EXPECT_FALSE(canvas.PixelAt(left + ed.CharWidth(), top + 3).line);
    EXPECT_FALSE(canvas.PixelAt(left - 1, top + 3).line);
}

TEST_F(Utf8PaintTest, AColumnSelectionCoversTheSameCellsOnEveryLine)
{
    SetLines("a日bc\r\nabcde\r\nże\xCC\x81\xFFx\r\n");
    ed.SetSelectionMode(smColumn);
    ed.SetActiveSelectionMode(smColumn);
    // Columns 2 and 3: 日 on the first line, "bc" on the second, "é" and the
    // invalid byte on the third.
    ed.SetCaretAndSelection({7, 3}, {2, 1}, {7, 3});
    PaintAll();
    for (int row = 1; row <= 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_NE(Cell(1, row).background, clNavy);
        EXPECT_EQ(Cell(2, row).background, clNavy);
        EXPECT_EQ(Cell(3, row).background, clNavy);
        EXPECT_NE(Cell(4, row).background, clNavy);
    }
    EXPECT_EQ(Cell(2, 3).ch, U'e');
    EXPECT_EQ(Cell(3, 3).ch, U'\uFFFD');
    EXPECT_EQ(ed.SelText(), "日\r\nbc\r\ne\xCC\x81\xFF");
}

TEST_F(Utf8PaintTest, AWideCharacterCutByTheBlockIsDrawnWholeInBothParts)
{
    SetLines("abc\r\na日\r\nabc\r\n");
    ed.SetSelectionMode(smColumn);
    ed.SetActiveSelectionMode(smColumn);
    ed.SetCaretAndSelection({3, 3}, {2, 1}, {3, 3});  // column 2 only; 日 takes 2 and 3
    PaintAll();
    EXPECT_EQ(Cell(2, 2).background, clNavy);
    EXPECT_NE(Cell(3, 2).background, clNavy);
    EXPECT_EQ(Cell(2, 2).ch, U'日');
    EXPECT_EQ(Cell(3, 2).ch, U'日');
    EXPECT_EQ(Cell(2, 2).foreground, clYellow);
    EXPECT_EQ(Cell(3, 2).foreground, clBlack);
}
