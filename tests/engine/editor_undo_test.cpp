// Undo and redo through the editor control: grouping, markers, trimming of
// the list and the modified flag.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

struct Fixture {
    MemoryClipboard clipboard;
    TOstEdit ed;
    explicit Fixture(std::string_view bytes, TOstEditorOptions options = TCustomOstEdit::DefaultOptions())
    {
        ed.SetClipboard(&clipboard);
        ed.SetOptions(options);
        ed.Lines().LoadFromBytes(bytes);
    }
    std::string bytes() const { return ed.Lines().Text(); }
    // Types one character the way the character command records it.
    void type(char c) { ed.SetSelText(std::string(1, c)); }
};

TOstEditorOptions Without(TOstEditorOption off)
{
    TOstEditorOptions o = TCustomOstEdit::DefaultOptions();
    o.exclude(off);
    return o;
}

}  // namespace

TEST(UndoGrouping, GroupUndoTakesBackARunOfTypingAtOnce)
{
    Fixture f("\r\n");
    for (char c : std::string("abc"))
        f.type(c);
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "\r\n");

    Fixture g("\r\n", Without(eoGroupUndo));
    for (char c : std::string("abc"))
        g.type(c);
    g.ed.Undo();
    EXPECT_EQ(g.bytes(), "ab\r\n");
}

TEST(UndoGrouping, CaretMoveSeparatesGroups)
{
    Fixture f("\r\n");
    for (char c : std::string("ab"))
        f.type(c);
    f.ed.MoveCaretAndSelection(f.ed.CaretXY(), {1, 1}, false);
    for (char c : std::string("xy"))
        f.type(c);
    EXPECT_EQ(f.bytes(), "xyab\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "\r\n");
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "xyab\r\n");
}

TEST(UndoGrouping, PasteOverASelectionIsOneStep)
{
    Fixture f("hello world\r\n", Without(eoGroupUndo));
    f.clipboard.putPlain("big\r\nnew");
    f.ed.SetCaretXY({7, 1});
    f.ed.SetBlockBegin({7, 1});
    f.ed.SetBlockEnd({12, 1});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "hello big\r\nnew\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "hello world\r\n");
    EXPECT_EQ(f.ed.SelText(), "world");
    EXPECT_FALSE(f.ed.CanUndo());
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "hello big\r\nnew\r\n");
}

TEST(UndoGrouping, ColumnPasteUndoesInOneStep)
{
    Fixture f("ab\r\n", Without(eoTrimTrailingSpaces));
    f.clipboard.put("12\r\n34\r\n56", smColumn);
    f.ed.SetCaretXY({5, 1});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "ab  12\r\n    34\r\n    56\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "ab  12\r\n    34\r\n    56\r\n");
}

TEST(UndoGrouping, NewEditAfterUndoEmptiesRedo)
{
    Fixture f("\r\n");
    f.type('a');
    f.ed.Undo();
    EXPECT_TRUE(f.ed.CanRedo());
    f.type('b');
    EXPECT_FALSE(f.ed.CanRedo());
}

TEST(UndoLimits, MaxUndoDropsTheOldestAndMarksFullUndoImpossible)
{
    Fixture f("\r\n", Without(eoGroupUndo));
    f.ed.SetMaxUndo(2);
    for (char c : std::string("abc"))
        f.type(c);
    // Each typed character is one insert item: the first one is gone.
    EXPECT_EQ(f.ed.UndoList().ItemCount(), 2);
    EXPECT_TRUE(f.ed.UndoList().FullUndoImpossible());
    f.ed.Undo();
    f.ed.Undo();
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "a\r\n");
    f.ed.UndoList().Clear();
    EXPECT_FALSE(f.ed.UndoList().FullUndoImpossible());
}

TEST(UndoItems, LineJoinComesBackAsTwoLines)
{
    Fixture f("ab\r\ncd\r\n");
    f.ed.SetCaretXY({3, 1});
    f.ed.SetBlockBegin({3, 1});
    f.ed.SetBlockEnd({1, 2});
    f.ed.SetSelText("");
    EXPECT_EQ(f.bytes(), "abcd\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ab\r\ncd\r\n");
    EXPECT_EQ(f.ed.SelText(), "\r\n");
}

TEST(UndoItems, LineBreakUndoAndRedo)
{
    Fixture f("  abc  def\r\n");
    f.ed.SetCaretXY({8, 1});
    f.ed.InsertLineBreak(true);
    EXPECT_EQ(f.bytes(), "  abc\r\n  def\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "  abc  def\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "  abc\r\n  def\r\n");
}

TEST(UndoItems, CutIsUndoneWithTheTextSelected)
{
    Fixture f("one two\r\n");
    f.ed.SetCaretXY({1, 1});
    f.ed.SetBlockBegin({1, 1});
    f.ed.SetBlockEnd({5, 1});
    f.ed.CutToClipboard();
    EXPECT_EQ(f.bytes(), "two\r\n");
    EXPECT_EQ(f.clipboard.get()->text, "one ");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "one two\r\n");
    EXPECT_EQ(f.ed.SelText(), "one ");
}

TEST(ModifiedFlag, FollowsSaveEditAndUndo)
{
    Fixture f("abc\r\n");
    std::vector<TOstStatusChanges> reports;
    f.ed.OnStatusChange = [&](TOstStatusChanges c) { reports.push_back(c); };
    EXPECT_FALSE(f.ed.Modified());
    f.type('x');
    EXPECT_TRUE(f.ed.Modified());
    f.ed.SetModified(false);  // saved
    EXPECT_FALSE(f.ed.Modified());
    f.ed.SetCaretXY({1, 1});
    f.type('y');
    EXPECT_TRUE(f.ed.Modified());
    f.ed.Undo();
    EXPECT_FALSE(f.ed.Modified());
    f.ed.Undo();
    EXPECT_TRUE(f.ed.Modified());  // before the save point
    f.ed.Redo();
    EXPECT_FALSE(f.ed.Modified());
    f.ed.Redo();
    EXPECT_TRUE(f.ed.Modified());
    bool reportedModified = false;
    for (TOstStatusChanges c : reports)
        reportedModified |= (c & scModified) != 0;
    EXPECT_TRUE(reportedModified);
}

TEST(ModifiedFlag, OnChangeFiresOncePerBlock)
{
    Fixture f("hello\r\n");
    int changes = 0;
    f.ed.OnChange = [&] { ++changes; };
    f.ed.SelectAll();
    f.ed.SetSelText("bye");  // a delete and an insert, in one block
    EXPECT_EQ(changes, 1);
    f.ed.ClearAll();
    EXPECT_FALSE(f.ed.Modified());
    EXPECT_FALSE(f.ed.CanUndo());
}
