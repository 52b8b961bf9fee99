// Tab and Shift+Tab with the smart-tab rules, and block indent and unindent
// in the three selection modes.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

struct Fixture {
    TOstEdit ed;
    Fixture(std::string_view bytes, TOstEditorOptions options, int tabWidth = 4)
    {
        ed.SetOptions(options);
        ed.SetTabWidth(tabWidth);
        ed.SetMaxUndo(10000);
        ed.Lines().LoadFromBytes(bytes);
    }
    std::string bytes() const { return ed.Lines().Text(); }
    void run(TOstEditorCommand command) { ed.CommandProcessor(command, '\0'); }
    void tabAt(int c, int l)
    {
        ed.SetCaretXY({c, l});
        run(ecTab);
    }
    void select(TBufferCoord from, TBufferCoord to, TOstSelectionMode mode)
    {
        ed.SetSelectionMode(mode);
        ed.SetCaretXY(from);
        ed.MoveCaretAndSelection(from, to, true);
    }
    void expectRoundTrip(std::string_view before, std::string_view after)
    {
        EXPECT_EQ(bytes(), after);
        while (ed.CanUndo())
            ed.Undo();
        EXPECT_EQ(bytes(), before);
        while (ed.CanRedo())
            ed.Redo();
        EXPECT_EQ(bytes(), after);
    }
};

TOstEditorOptions Options(std::initializer_list<TOstEditorOption> on)
{
    return TOstEditorOptions(on);
}

}  // namespace

// ---- Tab ------------------------------------------------------------------------------------

TEST(TabKey, SmartTabsReachTheNextWordOfTheLineAbove)
{
    Fixture f("ab cd\r\n\r\n", Options({eoSmartTabs, eoTabsToSpaces}));
    f.tabAt(1, 2);
    EXPECT_EQ(f.bytes(), "ab cd\r\n   \r\n");
    EXPECT_EQ(f.ed.CaretX(), 4);
    f.run(ecTab);
    EXPECT_EQ(f.bytes(), "ab cd\r\n     \r\n");

    // With trimming nothing is written, the caret still moves.
    Fixture t("ab cd\r\n\r\n", Options({eoSmartTabs, eoTabsToSpaces, eoTrimTrailingSpaces}));
    t.tabAt(1, 2);
    EXPECT_EQ(t.bytes(), "ab cd\r\n\r\n");
    EXPECT_EQ(t.ed.CaretX(), 4);
    t.ed.CommandProcessor(ecChar, 'x');
    EXPECT_EQ(t.bytes(), "ab cd\r\n   x\r\n");
}

TEST(TabKey, SpacesReachTheNextTabStopCountedInCharacters)
{
    Fixture f("abc\r\n", Options({eoTabsToSpaces}));
    f.tabAt(3, 1);
    EXPECT_EQ(f.bytes(), "ab  c\r\n");
    EXPECT_EQ(f.ed.CaretX(), 5);
    f.expectRoundTrip("abc\r\n", "ab  c\r\n");
}

TEST(TabKey, TabCharactersAndTrimmingInVirtualSpace)
{
    Fixture f("abc\r\n\r\n", TCustomOstEdit::TemplateOptions(), 8);
    f.tabAt(2, 1);
    EXPECT_EQ(f.bytes(), "a\tbc\r\n\r\n");
    EXPECT_EQ(f.ed.CaretX(), 3);
    // A TAB at the line end would be trimmed: the caret moves to the stop.
    f.tabAt(5, 1);
    EXPECT_EQ(f.bytes(), "a\tbc\r\n\r\n");
    EXPECT_EQ(f.ed.DisplayXY().Column, 17);
    f.tabAt(1, 2);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{9, 2}));
}

TEST(TabKey, SmartTabsBuildTabsAndSpacesOnlyBeforeText)
{
    Fixture f("    foo  bar\r\n\r\nx\r\n", Options({eoSmartTabs}));
    f.tabAt(1, 2);
    EXPECT_EQ(f.ed.LineText(), "\t");
    f.run(ecTab);
    EXPECT_EQ(f.ed.LineText(), "\t\t ");
    EXPECT_EQ(f.ed.DisplayXY().Column, 10);
    // After text a smart tab is one TAB.
    f.tabAt(2, 3);
    EXPECT_EQ(f.ed.LineText(), "x\t");
}

TEST(TabKey, ReplacesASelectionOnOneLine)
{
    Fixture f("abcdef\r\n", Options({eoTabsToSpaces}));
    f.select({2, 1}, {4, 1}, smNormal);
    f.run(ecTab);
    EXPECT_EQ(f.bytes(), "a   def\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "abcdef\r\n");
}

// ---- Shift+Tab ----------------------------------------------------------------------------------

TEST(ShiftTab, GoesBackToTheTabStopOverBlanks)
{
    Fixture f("        x\r\n  \tx\r\n", Options({}));
    f.ed.SetCaretXY({9, 1});
    f.run(ecShiftTab);
    EXPECT_EQ(f.bytes(), "    x\r\n  \tx\r\n");
    EXPECT_EQ(f.ed.CaretX(), 5);
    EXPECT_EQ(f.ed.UndoList().PeekItem()->ChangeReason, crDeleteForward);
    f.ed.SetCaretXY({4, 2});
    f.run(ecShiftTab);
    EXPECT_EQ(f.bytes(), "    x\r\n  x\r\n");
    f.expectRoundTrip("        x\r\n  \tx\r\n", "    x\r\n  x\r\n");
}

TEST(ShiftTab, AtCharacterOneDoesNothingWhateverTheTabWidth)
{
    Fixture f(" a\r\n  b\r\n", Options({eoSmartTabs}), 1);
    f.ed.SetCaretXY({1, 2});
    f.run(ecShiftTab);
    EXPECT_EQ(f.bytes(), " a\r\n  b\r\n");
    EXPECT_EQ(f.ed.CaretX(), 1);
}

TEST(ShiftTab, SmartTabsGoToTheWordStartAbove)
{
    Fixture f("ab  cd\r\n      x\r\n", Options({eoSmartTabs}));
    f.ed.SetCaretXY({5, 2});
    f.run(ecShiftTab);
    EXPECT_EQ(f.ed.LineText(), "  x");
    EXPECT_EQ(f.ed.CaretX(), 1);
}

TEST(ShiftTab, NeverRemovesText)
{
    Fixture f("xxxxxxxxxx\r\nfoo bar\r\n", Options({eoSmartTabs, eoScrollPastEol}));
    f.ed.SetCaretXY({8, 2});
    f.run(ecShiftTab);
    EXPECT_EQ(f.bytes(), "xxxxxxxxxx\r\nfoo bar\r\n");
    // In virtual space the caret goes back without touching the text.
    f.ed.SetCaretXY({12, 2});
    f.run(ecShiftTab);
    EXPECT_EQ(f.ed.CaretX(), 9);
    f.run(ecShiftTab);
    EXPECT_EQ(f.ed.CaretX(), 8);
    f.run(ecShiftTab);
    EXPECT_EQ(f.ed.CaretX(), 8);
    EXPECT_EQ(f.bytes(), "xxxxxxxxxx\r\nfoo bar\r\n");
    EXPECT_FALSE(f.ed.UndoList().CanUndo());
}

// ---- block indent and unindent ------------------------------------------------------------------

TEST(BlockIndent, NormalSelectionSkipsALastLineEndingAtCharacterOne)
{
    Fixture f("a\r\nb\r\nc\r\n", Options({eoTabsToSpaces}), 2);
    f.select({1, 1}, {1, 3}, smNormal);
    f.run(ecBlockIndent);
    EXPECT_EQ(f.bytes(), "  a\r\n  b\r\nc\r\n");
    EXPECT_EQ(f.ed.BlockBegin(), (TBufferCoord{3, 1}));
    EXPECT_EQ(f.ed.BlockEnd(), (TBufferCoord{1, 3}));
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(f.ed.BlockBegin(), (TBufferCoord{1, 1}));
    EXPECT_EQ(f.ed.BlockEnd(), (TBufferCoord{1, 3}));
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "  a\r\n  b\r\nc\r\n");
    EXPECT_EQ(f.ed.BlockBegin(), (TBufferCoord{3, 1}));
}

TEST(BlockIndent, ColumnSelectionIndentsAtItsLeftEdge)
{
    Fixture f("abcd\r\nabcd\r\nab\r\n", Options({}));
    f.select({3, 1}, {4, 3}, smColumn);
    f.run(ecBlockIndent);
    EXPECT_EQ(f.bytes(), "ab\tcd\r\nab\tcd\r\nab\t\r\n");
    f.expectRoundTrip("abcd\r\nabcd\r\nab\r\n", "ab\tcd\r\nab\tcd\r\nab\t\r\n");
}

TEST(BlockIndent, TabKeyIndentsLineSelections)
{
    Fixture f("one\r\ntwo\r\nthree\r\n", Options({eoTabIndent}));
    f.select({2, 2}, {2, 2}, smLine);
    f.ed.SetBlockBegin({1, 2});
    f.ed.SetBlockEnd({4, 2});
    f.run(ecTab);
    EXPECT_EQ(f.bytes(), "one\r\n\ttwo\r\nthree\r\n");
    f.run(ecShiftTab);
    EXPECT_EQ(f.bytes(), "one\r\ntwo\r\nthree\r\n");
}

TEST(BlockIndent, TabKeyKeepsAWholeLineSelected)
{
    Fixture f("one\r\ntwo\r\n", Options({eoTabIndent, eoTabsToSpaces}), 2);
    f.select({1, 1}, {4, 1}, smNormal);
    f.run(ecTab);
    f.run(ecTab);
    EXPECT_EQ(f.bytes(), "    one\r\ntwo\r\n");
    EXPECT_EQ(f.ed.SelText(), "    one");
}

TEST(BlockUnindent, TakesATabOrATabWidthOfSpacesAndUndoesExactly)
{
    const std::string before = "\tx\r\n  y\r\n   \tz\r\n      w\r\nv\r\n";
    Fixture f(before, Options({}), 4);
    f.select({1, 1}, {2, 5}, smNormal);
    f.run(ecBlockUnindent);
    EXPECT_EQ(f.bytes(), "x\r\ny\r\nz\r\n  w\r\nv\r\n");
    EXPECT_EQ(f.ed.UndoList().PeekItem()->ChangeReason, crUnindent);
    EXPECT_EQ(f.ed.BlockEnd(), (TBufferCoord{2, 5}));
    f.expectRoundTrip(before, "x\r\ny\r\nz\r\n  w\r\nv\r\n");
}

TEST(BlockUnindent, ColumnModeWorksAtTheLeftEdgeAndKeepsTheSelection)
{
    const std::string before = "a  b\r\na\tb\r\nab\r\n";
    Fixture f(before, Options({}), 2);
    f.select({2, 1}, {3, 3}, smColumn);
    f.run(ecBlockUnindent);
    EXPECT_EQ(f.bytes(), "ab\r\nab\r\nab\r\n");
    EXPECT_EQ(f.ed.RawBlockBegin(), (TBufferCoord{2, 1}));
    f.expectRoundTrip(before, "ab\r\nab\r\nab\r\n");
}

TEST(BlockUnindent, NothingToRemoveRecordsNothing)
{
    Fixture f("a\r\nb\r\n", Options({}));
    f.select({1, 1}, {2, 2}, smNormal);
    f.run(ecBlockUnindent);
    EXPECT_EQ(f.bytes(), "a\r\nb\r\n");
    EXPECT_FALSE(f.ed.UndoList().CanUndo());
}
