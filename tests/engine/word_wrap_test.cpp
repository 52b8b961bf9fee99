// Word wrap: where rows break, the row map kept through long random editing
// sessions against one built from scratch, the caret on wrapped rows,
// painting of wrapped rows and the wrap glyph, and re-wrapping when the
// window's width changes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

// Cells of the fixed-metrics canvas.
constexpr int kCell = 8;
constexpr int kRow = 16;

class WrapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ed.SetColor(clWhite);
        ed.SetRightEdge(0);
        SetWidth(40);
    }

    void SetWidth(int columns, int rows = 10)
    {
        ed.SetClientSize(ed.GutterWidth() + 2 + columns * ed.CharWidth(), rows * ed.LineHeight());
    }

    void SetText(const std::string& text)
    {
        ed.Lines().LoadFromBytes(text);
        ed.SetWordWrap(true);
    }

    std::vector<int> RowLengths() const
    {
        std::vector<int> lengths;
        for (int row = 1; row <= ed.WordWrapPlugin()->RowCount(); ++row)
            lengths.push_back(ed.WordWrapPlugin()->RowLength(row));
        return lengths;
    }

    // The text a row shows, from the line itself.
    std::string RowText(int row) const
    {
        const TOstWrapRow info = ed.WordWrapPlugin()->RowInfo(row);
        return std::string(ed.Lines().Get(info.Line - 1).substr(static_cast<size_t>(info.Start),
                                                                 static_cast<size_t>(info.Length)));
    }

    void Key(TOstEditorCommand command) { ed.CommandProcessor(command, 0); }

    TOstEdit ed;
};

std::string Words(int count, const std::string& word)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + word;
    return text;
}

}  // namespace

// ---- where rows break ------------------------------------------------------------------

TEST_F(WrapTest, ShortWordsBreakAfterTheLastSpaceThatFits)
{
    // "abcd " repeated: within 40 cells the last space before cell 41 is
    // cell 40, so every full row is eight words long.
    SetText(Words(20, "abcd"));
    EXPECT_EQ(ed.WordWrapPlugin()->MaxRowLength(), 40);
    EXPECT_EQ(ed.WordWrapPlugin()->MinRowLength(), 27);
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 40, 19}));
    EXPECT_EQ(RowText(2), Words(8, "abcd") + " ");

    // With 7-letter words the nearest space before cell 41 is cell 33.
    SetText(Words(10, "abcdefg"));
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 39}));
    SetText(Words(10, "abcdefghi"));
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 40, 19}));
    EXPECT_EQ(RowText(1), Words(4, "abcdefghi") + " ");
}

TEST_F(WrapTest, ASpaceTooNearTheRowStartDoesNotBreakIt)
{
    // The only space lies 20 cells after the row start, not more than 27.
    SetText(std::string(20, 'a') + " " + std::string(50, 'b'));
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 31}));
}

TEST_F(WrapTest, AWordLongerThanARowIsCutAtTheRowLength)
{
    SetText(std::string(100, 'w'));
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 40, 20}));
}

TEST_F(WrapTest, BlanksAtTheWrapPointStayAtTheRowEnd)
{
    SetText(std::string(38, 'a') + "     " + "next word");
    ASSERT_EQ(RowLengths().size(), 2u);
    EXPECT_EQ(RowText(1), std::string(38, 'a') + "     ");
    EXPECT_EQ(RowText(2), "next word");

    // Blanks to the line end leave an empty last row for the caret there.
    SetText(std::string(40, 'a') + "   ");
    EXPECT_EQ(RowLengths(), (std::vector<int>{43, 0}));
}

TEST_F(WrapTest, PunctuationBreaksRowsAndIdentifierCharactersDoNot)
{
    SetText(std::string(30, 'a') + "-" + std::string(30, 'b'));
    EXPECT_EQ(RowLengths(), (std::vector<int>{31, 30}));
    SetText(std::string(30, 'a') + "_" + std::string(30, 'b'));
    EXPECT_EQ(RowLengths(), (std::vector<int>{40, 21}));
}

TEST_F(WrapTest, PolishLettersAndTheirCapitalsNeverEndARowInsideAWord)
{
    // ł ą ś ź ż and their capitals: in the code pages some lie below 192 and
    // beyond a highlighter's identifier characters. A word that reaches past
    // the row's end with one of them nearer to that end than the blank
    // before the word moves to the next row whole.
    const char* const kLetters[] = {"\xc5\x82", "\xc4\x85", "\xc5\x9b", "\xc5\xba", "\xc5\xbc",
                                    "\xc5\x81", "\xc4\x84", "\xc5\x9a", "\xc5\xb9", "\xc5\xbb"};
    TOstHTMLHighlighter html;
    for (const TOstEncoding encoding : {TOstEncoding::Windows1250, TOstEncoding::Iso88592, TOstEncoding::Utf8}) {
        for (TOstCustomHighlighter* highlighter : {static_cast<TOstCustomHighlighter*>(nullptr),
                                                   static_cast<TOstCustomHighlighter*>(&html)}) {
            for (const char* letter : kLetters) {
                const std::string line = std::string(29, 'a') + " s" + letter + std::string(20, 'o');
                std::string bytes;
                ASSERT_EQ(ConvertText(line, TOstEncoding::Utf8, encoding, bytes), std::string_view::npos);
                ed.SetWordWrap(false);
                ed.SetHighlighter(highlighter);
                ed.Lines().LoadFromBytes(bytes);
                ed.Lines().SetEncoding(encoding);
                ed.SetWordWrap(true);
                EXPECT_EQ(ed.WordWrapPlugin()->RowLength(1), 30)
                    << EncodingName(encoding) << (highlighter ? " html " : " ") << letter;
            }
        }
    }
    ed.SetHighlighter(nullptr);
}

TEST_F(WrapTest, TabCellsCountAsCharacters)
{
    ed.SetTabWidth(8);
    // 32 cells of TABs, then a word that does not fit: the last TAB cell is
    // the break before it.
    SetText("\t\t\t\tabcdefghijk abcdefgh");
    EXPECT_EQ(RowLengths(), (std::vector<int>{32, 20}));
}

TEST_F(WrapTest, AWindowWiderThanARowStillBreaksAtWords)
{
    // Rows end after 255 cells at most, and at a space that fits, not in
    // the middle of a word: the shortest row follows from the longest one.
    SetWidth(300);
    SetText(Words(100, "abcd"));
    EXPECT_EQ(ed.WordWrapPlugin()->MaxRowLength(), 255);
    for (int row = 1; row < ed.WordWrapPlugin()->RowCount(); ++row) {
        EXPECT_LE(ed.WordWrapPlugin()->RowLength(row), 255);
        EXPECT_EQ(RowText(row).back(), ' ') << "row " << row;
    }
}

TEST_F(WrapTest, MapErrors)
{
    EXPECT_THROW(
        {
            try {
                TOstWordWrapPlugin orphan(nullptr);
            } catch (const EOstEditError& e) {
                EXPECT_STREQ(e.what(), "TOstWordWrapPlugin must be owned by TCustomOstEdit");
                throw;
            }
        },
        EOstEditError);
    SetText("one\r\ntwo");
    EXPECT_EQ(ed.WordWrapPlugin()->RowLength(2), 3);
    try {
        ed.WordWrapPlugin()->RowLength(3);
        ADD_FAILURE() << "a row beyond the map has no length";
    } catch (const EOstEditStringList& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
}

// ---- rows, lines and display positions ---------------------------------------------------

TEST_F(WrapTest, RowsAndLinesMapBothWays)
{
    SetText("short\r\n" + std::string(100, 'w') + "\r\n\r\nlast");
    EXPECT_EQ(ed.DisplayLineCount(), 6);
    EXPECT_EQ(ed.LineToRow(2), 2);
    EXPECT_EQ(ed.LineToRow(3), 5);
    EXPECT_EQ(ed.LineToRow(4), 6);
    EXPECT_EQ(ed.RowToLine(4), 2);
    EXPECT_EQ(ed.RowToLine(5), 3);

    // Character 41 of the long line starts its second row; the end of the
    // line stands after the last row's cells.
    EXPECT_EQ(ed.BufferToDisplayPos({40, 2}), (TDisplayCoord{40, 2}));
    EXPECT_EQ(ed.BufferToDisplayPos({41, 2}), (TDisplayCoord{1, 3}));
    EXPECT_EQ(ed.BufferToDisplayPos({101, 2}), (TDisplayCoord{21, 4}));
    EXPECT_EQ(ed.DisplayToBufferPos({1, 3}), (TBufferCoord{41, 2}));
    // Beyond a row's end a column means the row's end; the last row allows
    // virtual space up to one past the row length.
    EXPECT_EQ(ed.DisplayToBufferPos({70, 3}), (TBufferCoord{81, 2}));
    EXPECT_EQ(ed.DisplayToBufferPos({70, 4}), (TBufferCoord{121, 2}));
}

TEST_F(WrapTest, SwitchingOffGivesOneRowALineAndKeepsTheTopLine)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += std::string(100, 'a' + i % 26) + "\r\n";
    SetText(text);
    ed.SetTopLine(ed.LineToRow(10));
    EXPECT_EQ(ed.DisplayLineCount(), 90);
    ed.SetWordWrap(false);
    EXPECT_EQ(ed.DisplayLineCount(), 30);
    EXPECT_EQ(ed.TopLine(), 10);
    ed.SetWordWrap(true);
    EXPECT_EQ(ed.TopLine(), ed.LineToRow(10));
}

// ---- the map kept through editing ------------------------------------------------------------

namespace {

class RandomWrapSession {
public:
    explicit RandomWrapSession(unsigned seed) : rng_(seed)
    {
        ed_.SetClipboard(&clipboard_);
        ed_.SetMaxUndo(1 << 20);
        ed_.SetTabWidth(1 + Pick(8));
        ed_.SetClientSize(2 + (20 + Pick(60)) * kCell, 10 * kRow);
        std::string text;
        for (int i = 0; i < 1500; ++i)
            text += RandomText(Pick(4) == 0 ? 200 : 30, false) + "\r\n";
        ed_.Lines().LoadFromBytes(text);
        ed_.SetWordWrap(true);
    }

    TOstEdit& Editor() { return ed_; }
    int lastKind = -1;  // the kind of the last step, for failure messages

    void Step()
    {
        lastKind = Pick(12);
        switch (lastKind) {
        case 0: case 1: Select(); ed_.SetSelText(RandomText(12, true)); break;
        case 2: Select(); ed_.ClearSelection(); break;
        case 3: ed_.SetCaretXY(RandomPoint()); ed_.InsertLineBreak(true); break;
        case 4: Select(); ed_.CopyToClipboard(); ed_.SetCaretXY(RandomPoint()); ed_.PasteFromClipboard(); break;
        case 5: ed_.Undo(); break;
        case 6: ed_.Redo(); break;
        case 7: BufferLines(); break;
        case 8: ed_.SetCaretXY(RandomPoint()); for (char c : RandomText(6, false)) ed_.CommandProcessor(ecChar, c); break;
        case 9: ed_.SetCaretXY(RandomPoint()); ed_.CommandProcessor(Pick(2) ? ecDeleteChar : ecDeleteLastChar, 0); break;
        case 10: PasteMany(); break;
        case 11: if (Pick(8) == 0) ed_.SetClientSize(2 + (10 + Pick(80)) * kCell, 10 * kRow); break;
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    TBufferCoord RandomPoint()
    {
        const int line = 1 + Pick(std::max(ed_.Lines().Count(), 1));
        return {1 + Pick(static_cast<int>(ed_.Lines().Get(line - 1).size()) + 1), line};
    }

    void Select()
    {
        ed_.SetCaretXY(RandomPoint());
        TBufferCoord end = RandomPoint();
        if (Pick(3) == 0)  // mostly short selections, some across many lines
            end = {end.Char, std::min(ed_.CaretY() + Pick(3), std::max(ed_.Lines().Count(), 1))};
        ed_.SetBlockBegin(ed_.CaretXY());
        ed_.SetBlockEnd(end);
    }

    std::string RandomText(int maxLength, bool breaks)
    {
        static const char* pieces[] = {"word", "a", " ", "  ", "\t", "-", "_x", "longerword", "(", "\xB1\xEA"};
        std::string text;
        const int length = Pick(maxLength + 1);
        while (static_cast<int>(text.size()) < length) {
            if (breaks && Pick(10) == 0)
                text += "\r\n";
            else
                text += pieces[Pick(10)];
        }
        return text;
    }

    // Lines inserted, changed and deleted through the buffer itself.
    void BufferLines()
    {
        TOstEditStringList& lines = ed_.Lines();
        const int at = Pick(lines.Count() + 1);
        switch (Pick(3)) {
        case 0: lines.InsertLine(at, RandomText(120, false)); break;
        case 1: if (at < lines.Count()) lines.SetLine(at, RandomText(300, false)); break;
        case 2: if (at < lines.Count()) lines.DeleteBlock(at, std::min(1 + Pick(600), lines.Count() - at)); break;
        }
        // The recorded steps no longer fit the text.
        ed_.UndoList().Clear();
        ed_.RedoList().Clear();
    }

    // A paste of more lines than a block holds.
    void PasteMany()
    {
        std::string text;
        for (int i = 0, n = 1 + Pick(700); i < n; ++i)
            text += RandomText(90, false) + "\r\n";
        clipboard_.putPlain(text);
        ed_.SetCaretXY(RandomPoint());
        ed_.PasteFromClipboard();
    }

    std::mt19937 rng_;
    MemoryClipboard clipboard_;
    TOstEdit ed_;
};

// Every row of the kept map against a map wrapped from scratch.
::testing::AssertionResult SameAsFreshMap(TOstEdit& ed)
{
    const TOstWordWrapPlugin& kept = *ed.WordWrapPlugin();
    const TOstWordWrapPlugin fresh(&ed);
    if (kept.LineCount() != fresh.LineCount() || kept.RowCount() != fresh.RowCount())
        return ::testing::AssertionFailure() << "lines " << kept.LineCount() << " / " << fresh.LineCount()
                                             << ", rows " << kept.RowCount() << " / " << fresh.RowCount();
    for (int row = 1; row <= fresh.RowCount(); ++row) {
        const TOstWrapRow a = kept.RowInfo(row);
        const TOstWrapRow b = fresh.RowInfo(row);
        if (a.Line != b.Line || a.Start != b.Start || a.Length != b.Length || a.LastOfLine != b.LastOfLine)
            return ::testing::AssertionFailure() << "row " << row << ": line " << a.Line << "/" << b.Line
                                                 << " start " << a.Start << "/" << b.Start << " length "
                                                 << a.Length << "/" << b.Length;
    }
    for (int line = 1; line <= fresh.LineCount(); ++line) {
        if (kept.LineToRow(line) != fresh.LineToRow(line))
            return ::testing::AssertionFailure() << "line " << line << " starts at row " << kept.LineToRow(line)
                                                 << ", not " << fresh.LineToRow(line);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(WordWrapMap, StaysEqualToAFreshMapThroughRandomEditing)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        RandomWrapSession session(seed);
        for (int step = 0; step < 250; ++step) {
            session.Step();
            if (step % 10 == 0) {
                ASSERT_TRUE(SameAsFreshMap(session.Editor())) << "seed " << seed << " step " << step << " kind " << session.lastKind;
            }
        }
        ASSERT_TRUE(SameAsFreshMap(session.Editor())) << "seed " << seed;
    }
}

TEST_F(WrapTest, MapFollowsTheTabWidthTheHighlighterAndClearing)
{
    SetText(std::string(30, 'a') + "_" + std::string(30, 'b') + "\r\n\t\t\t\t\t\t\t\tx");
    ed.SetTabWidth(2);
    EXPECT_TRUE(SameAsFreshMap(ed));
    EXPECT_EQ(ed.LineToRow(2), 3);
    EXPECT_EQ(ed.DisplayLineCount(), 3);
    // A highlighter whose identifiers lack "_" lets rows break after it.
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    EXPECT_TRUE(SameAsFreshMap(ed));
    ed.SetHighlighter(nullptr);
    ed.ClearAll();
    EXPECT_EQ(ed.WordWrapPlugin()->RowCount(), 0);
    ed.Lines().AddLine(std::string(90, 'z'));
    EXPECT_EQ(ed.DisplayLineCount(), 3);
}

// ---- re-wrapping with the window -------------------------------------------------------------

TEST_F(WrapTest, ANarrowerWindowRewrapsAndKeepsTheTopLine)
{
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += Words(12, "abcdefg") + "\r\n";
    SetText(text);
    const int rowsAt40 = ed.DisplayLineCount();
    ed.SetTopLine(ed.LineToRow(20));
    SetWidth(20);
    EXPECT_EQ(ed.WordWrapPlugin()->MaxRowLength(), 20);
    EXPECT_GT(ed.DisplayLineCount(), rowsAt40);
    EXPECT_EQ(ed.RowToLine(ed.TopLine()), 20);
    EXPECT_TRUE(SameAsFreshMap(ed));
    // A wider gutter narrows the text too.
    ed.Gutter().SetWidth(ed.Gutter().Width() + 10 * kCell);
    ed.Gutter().SetVisible(true);
    EXPECT_LT(ed.WordWrapPlugin()->MaxRowLength(), 20);
    EXPECT_TRUE(SameAsFreshMap(ed));
}

// ---- the caret on wrapped rows -----------------------------------------------------------------

TEST_F(WrapTest, EndStopsAtTheRowEndAndRightThenMovesToTheNextRow)
{
    SetText(std::string(100, 'w'));
    ed.SetCaretXY({5, 1});
    Key(ecLineEnd);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{41, 1}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{41, 1}));
    EXPECT_TRUE(ed.CaretAtRowEnd());
    Key(ecRight);  // same character, next row
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{41, 1}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{1, 2}));
    Key(ecRight);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{2, 2}));
    Key(ecLeft);
    Key(ecLeft);  // from character 1 of a continued row to the row above's end
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{41, 1}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{41, 1}));
    Key(ecLeft);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{40, 1}));
    // Moving right over a row's last character stops at its end first.
    Key(ecRight);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{41, 1}));
    // End on the last row goes to the line end.
    ed.SetCaretXY({85, 1});
    Key(ecLineEnd);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{101, 1}));
    EXPECT_FALSE(ed.CaretAtRowEnd());
}

TEST_F(WrapTest, HomeGoesToTheRowStartAndEnhancedHomeOnlyOnTheFirstRow)
{
    ed.SetOption(eoEnhanceHomeKey, true);
    SetText("    " + std::string(96, 'w'));
    ed.SetCaretXY({60, 1});
    Key(ecLineStart);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{41, 1}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{1, 2}));
    ed.SetCaretXY({20, 1});
    Key(ecLineStart);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{5, 1}));
}

TEST_F(WrapTest, UpAndDownMoveByRowsKeepingTheColumn)
{
    SetText("first\r\n" + std::string(100, 'w') + "\r\nlast line of text");
    ed.SetCaretXY({4, 1});
    Key(ecDown);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{4, 2}));
    Key(ecDown);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{44, 2}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{4, 3}));
    Key(ecDown);
    Key(ecDown);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{4, 3}));
    Key(ecUp);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{84, 2}));

    // Into a row that ends sooner and continues: the caret stays at that
    // row's end, not at the next row's start. Rows of 36, 36 and 17 cells
    // stand above one of 40.
    ed.SetOption(eoScrollPastEol, false);
    ed.SetOption(eoKeepCaretX, true);
    SetText(Words(10, "abcdefgh") + "\r\n" + std::string(100, 'w'));
    ed.SetCaretXY({40, 2});
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{40, 4}));
    Key(ecUp);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{18, 3}));
    Key(ecUp);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{37, 2}));
    EXPECT_TRUE(ed.CaretAtRowEnd());
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{73, 1}));
}

TEST_F(WrapTest, ScrollingCountsRowsAndTheLeftColumnStaysOne)
{
    SetWidth(40, 5);
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += std::string(100, 'w') + "\r\n";
    SetText(text);
    ed.SetCaretXY({90, 4});  // row 12
    EXPECT_EQ(ed.DisplayXY().Row, 12);
    EXPECT_EQ(ed.TopLine(), 8);
    EXPECT_EQ(ed.LeftChar(), 1);
    ed.SetLeftChar(10);
    EXPECT_EQ(ed.LeftChar(), 1);
    // The window's last row is the second row of line 2.
    ed.SetCaretXY({1, 1});
    Key(ecPageBottom);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{41, 2}));
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{1, 5}));
}

TEST_F(WrapTest, TypingAtARowEndRewrapsTheLineAndMovesLaterRows)
{
    SetText(Words(7, "abcd") + "\r\nnext");
    EXPECT_EQ(ed.LineToRow(2), 2);
    ed.SetCaretXY({35, 1});
    for (char c : std::string(" wxyz efgh"))
        ed.CommandProcessor(ecChar, c);
    EXPECT_EQ(ed.LineToRow(2), 3);
    EXPECT_EQ(ed.DisplayXY(), (TDisplayCoord{5, 2}));
    ed.Undo();
    EXPECT_EQ(ed.LineToRow(2), 2);
}

// ---- painting ---------------------------------------------------------------------------------

namespace {

class WrapPaintTest : public WrapTest {
protected:
    void PaintAll()
    {
        canvas.Clear();
        ed.Paint(canvas, {0, 0, ed.ClientWidth(), ed.ClientHeight()});
    }
    char ShownAt(int column, int row) const
    {
        const int cw = ed.CharWidth();
        const int lh = ed.LineHeight();
        const RecordingCanvas::Pixel p =
            canvas.PixelAt(ed.TextOffset() + (column - 1) * cw + cw / 2, (row - ed.TopLine()) * lh + lh / 2);
        return p.ch ? p.ch : ' ';
    }
    std::string ShownRow(int row, int columns) const
    {
        std::string shown;
        for (int c = 1; c <= columns; ++c)
            shown += ShownAt(c, row);
        return shown;
    }
    RecordingCanvas canvas;
};

}  // namespace

TEST_F(WrapPaintTest, EachRowShowsItsPartOfTheLine)
{
    const std::string line = Words(12, "abcdefg");
    SetText("top\r\n" + line + "\r\nend");
    PaintAll();
    EXPECT_EQ(ShownRow(1, 40), "top" + std::string(37, ' '));
    for (int row = 2; row <= 3; ++row)
        EXPECT_EQ(ShownRow(row, 40), RowText(row) + std::string(40 - RowText(row).size(), ' ')) << row;
    EXPECT_EQ(ShownRow(4, 40).substr(0, RowText(4).size()), RowText(4));
    EXPECT_EQ(ShownRow(5, 4), "end ");
}

TEST_F(WrapPaintTest, HighlightedAndSpecialCharactersFollowTheRows)
{
    TOstHTMLHighlighter html;
    ed.SetHighlighter(&html);
    ed.SetOption(eoShowSpecialChars, true);
    SetWidth(40);  // in the cells of the highlighter's fonts
    SetText("<b>" + std::string(50, 'x') + "</b>");
    PaintAll();
    EXPECT_EQ(ShownRow(1, 3), "<b>");
    EXPECT_EQ(ShownRow(2, 18), std::string(13, 'x') + "</b>\xB6");
    // The pilcrow shows on the last row only.
    EXPECT_NE(ShownAt(41, 1), '\xB6');
    // The editor outlives this highlighter.
    ed.SetHighlighter(nullptr);
}

TEST_F(WrapPaintTest, SelectionCoversTheRowsBetweenItsEnds)
{
    ed.SetSelectedColor({clYellow, clNavy});
    SetText(std::string(100, 'w'));
    ed.SetBlockBegin({35, 1});
    ed.SetBlockEnd({45, 1});
    PaintAll();
    auto selected = [this](int column, int row) {
        return canvas.PixelAt(ed.TextOffset() + (column - 1) * kCell + kCell / 2, (row - 1) * kRow + kRow / 2)
                   .background == clNavy;
    };
    EXPECT_FALSE(selected(34, 1));
    EXPECT_TRUE(selected(35, 1));
    EXPECT_TRUE(selected(40, 1));
    EXPECT_TRUE(selected(4, 2));
    EXPECT_FALSE(selected(5, 2));
}

TEST_F(WrapPaintTest, GutterNumbersFirstRowsAndGlyphsMarkContinuations)
{
    ed.Gutter().SetVisible(true);
    ed.Gutter().SetShowLineNumbers(true);
    SetWidth(40);
    SetText("one\r\n" + std::string(100, 'w') + "\r\nthree");
    PaintAll();
    std::vector<int> numberRows;
    std::vector<int> glyphRows;
    for (const RecordingCanvas::Op& op : canvas.Ops()) {
        if (op.kind == RecordingCanvas::OpKind::Text && op.x < ed.GutterWidth())
            numberRows.push_back(op.rect.Top / kRow + 1);
        if (op.kind == RecordingCanvas::OpKind::Image && op.text == ed.WordWrapGlyph().Images().Name)
            glyphRows.push_back(op.y / kRow + 1);
    }
    EXPECT_EQ(numberRows, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(glyphRows, (std::vector<int>{3, 4}));

    ed.WordWrapGlyph().SetVisible(false);
    PaintAll();
    for (const RecordingCanvas::Op& op : canvas.Ops())
        EXPECT_NE(op.text, ed.WordWrapGlyph().Images().Name);
}
