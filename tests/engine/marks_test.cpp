// Bookmarks and marks: setting, toggling and reaching bookmarks by call and
// by key, and marks following the lines that editing and undo insert and
// delete.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

struct Fixture {
    MemoryClipboard clipboard;
    TOstEdit ed;
    explicit Fixture(int lineCount = 20)
    {
        ed.SetClipboard(&clipboard);
        std::string text;
        for (int i = 1; i <= lineCount; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        ed.Lines().LoadFromBytes(text);
        ed.SetWindowSize(40, 10);
    }
    void key(uint16_t vk, TOstShiftState shift)
    {
        ed.KeyDown(vk, shift);
        uint16_t up = vk;
        ed.KeyUp(up, shift);
    }
    void run(TOstEditorCommand command) { ed.CommandProcessor(command, '\0'); }
    int bookmarkLine(int n) const
    {
        const auto at = ed.GetBookMark(n);
        return at ? at->Line : 0;
    }
};

}  // namespace

// ---- setting, clearing, going to ---------------------------------------------------

TEST(Bookmarks, InvalidNumbersAndLinesAreRefused)
{
    Fixture f(5);
    EXPECT_FALSE(f.ed.SetBookMark(10, {1, 2}));
    EXPECT_FALSE(f.ed.SetBookMark(-1, {1, 2}));
    EXPECT_FALSE(f.ed.SetBookMark(1, {1, 0}));
    EXPECT_FALSE(f.ed.SetBookMark(1, {1, 6}));
    EXPECT_EQ(f.ed.Marks().Count(), 0);
    // An empty buffer still has a line 1 to mark.
    TOstEdit empty;
    EXPECT_TRUE(empty.SetBookMark(0, {1, 1}));
}

TEST(Bookmarks, SettingAgainMovesTheBookmarkAndReportsTheOldOneCleared)
{
    Fixture f;
    std::vector<int> cleared;
    f.ed.OnClearBookmark = [&](TOstEditMark& m) { cleared.push_back(m.Line()); };
    ASSERT_TRUE(f.ed.SetBookMark(3, {4, 2}));
    ASSERT_TRUE(f.ed.SetBookMark(3, {1, 7}));
    EXPECT_EQ(f.ed.Marks().Count(), 1);
    EXPECT_EQ(f.ed.GetBookMark(3), (TBufferCoord{1, 7}));
    EXPECT_EQ(cleared, std::vector<int>{2});
}

TEST(Bookmarks, PlaceEventMayRefuseTheMarkAndKeepTheOldBookmark)
{
    Fixture f;
    f.ed.SetBookMark(1, {1, 4});
    f.ed.OnPlaceBookmark = [](TOstEditMark& m, bool& accept) { accept = m.Line() != 9; };
    EXPECT_FALSE(f.ed.SetBookMark(1, {1, 9}));
    EXPECT_EQ(f.bookmarkLine(1), 4);
    EXPECT_TRUE(f.ed.SetBookMark(1, {1, 8}));
    EXPECT_EQ(f.bookmarkLine(1), 8);
}

TEST(Bookmarks, GoingToABookmarkCentresItsRowAndCollapsesTheSelection)
{
    Fixture f(100);
    f.ed.SetBookMark(4, {3, 80});
    f.ed.SetBlockBegin({1, 1});
    f.ed.SetBlockEnd({2, 3});
    f.ed.GotoBookMark(4);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 80}));
    EXPECT_EQ(f.ed.TopLine(), 76);  // row 80 in the middle of rows 76..85
    EXPECT_FALSE(f.ed.SelAvail());
    // Going to a bookmark already in view does not scroll.
    f.ed.SetBookMark(5, {1, 78});
    f.ed.GotoBookMark(5);
    EXPECT_EQ(f.ed.TopLine(), 76);
}

TEST(Bookmarks, GoingToABookmarkBeyondTheLastLineDoesNothing)
{
    Fixture f(10);
    f.ed.SetBookMark(2, {1, 10});
    f.ed.Lines().DeleteBlock(5, 5);  // not through editing: the mark stays
    f.ed.SetCaretXY({2, 3});
    f.ed.GotoBookMark(2);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 3}));
    f.ed.GotoBookMark(7);  // never set
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 3}));
}

// ---- the bookmark keys ------------------------------------------------------------

TEST(BookmarkKeys, CtrlDigitGoesAndShiftCtrlDigitToggles)
{
    Fixture f(40);
    f.ed.SetCaretXY({3, 30});
    f.key('5', ssShift | ssCtrl);
    EXPECT_EQ(f.ed.GetBookMark(5), (TBufferCoord{3, 30}));
    f.ed.SetCaretXY({1, 1});
    f.key('5', ssCtrl);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 30}));

    // On a line already carrying bookmark 5 the key removes it, wherever
    // the caret stands in the line.
    f.ed.SetCaretXY({6, 30});
    f.key('5', ssShift | ssCtrl);
    EXPECT_FALSE(f.ed.IsBookmark(5));
    EXPECT_EQ(f.ed.Marks().Count(), 0);

    // Elsewhere it moves the bookmark.
    f.key('5', ssShift | ssCtrl);
    f.ed.SetCaretXY({1, 12});
    f.key('5', ssShift | ssCtrl);
    EXPECT_EQ(f.bookmarkLine(5), 12);
    EXPECT_EQ(f.ed.Marks().Count(), 1);
}

TEST(BookmarkKeys, SetCommandTakesTheGivenPositionAndKeysCanBeDisabled)
{
    Fixture f;
    const TBufferCoord at{4, 9};
    f.ed.CommandProcessor(ecSetMarker0, '\0', &at);
    EXPECT_EQ(f.ed.GetBookMark(0), at);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));

    f.ed.BookMarkOptions().SetEnableKeys(false);
    f.key('1', ssShift | ssCtrl);
    f.key('0', ssCtrl);
    EXPECT_FALSE(f.ed.IsBookmark(1));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));
    // The calls themselves still work.
    f.ed.GotoBookMark(0);
    EXPECT_EQ(f.ed.CaretXY(), at);
}

// ---- marks following the lines ----------------------------------------------------

TEST(MarksFollowLines, InsertedLinesAboveMoveTheMarkDownAndUndoBringsItBack)
{
    Fixture f;
    f.ed.SetBookMark(1, {1, 5});
    // Two line breaks at the end of line 4.
    f.ed.SetCaretXY({7, 4});
    f.run(ecLineBreak);
    f.run(ecLineBreak);
    EXPECT_EQ(f.bookmarkLine(1), 7);
    f.ed.Undo();
    f.ed.Undo();
    EXPECT_EQ(f.bookmarkLine(1), 5);

    // Pasting two lines at the start of the marked line pushes it down.
    f.clipboard.putPlain("a\r\nb\r\n");
    f.ed.SetCaretXY({1, 5});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.ed.Lines().Get(6), "line 5");
    EXPECT_EQ(f.bookmarkLine(1), 7);
    f.ed.Undo();
    EXPECT_EQ(f.bookmarkLine(1), 5);
}

TEST(MarksFollowLines, TextInsertedInsideTheLineAboveKeepsTheMarkWithItsText)
{
    Fixture f;
    f.ed.SetBookMark(2, {1, 5});
    f.ed.SetCaretXY({3, 5});
    f.ed.SetSelText("x\r\ny");
    // Line 5 keeps its start; its rest went to line 6.
    EXPECT_EQ(f.bookmarkLine(2), 5);
    f.ed.SetCaretXY({3, 3});
    f.ed.SetSelText("1\r\n2\r\n3");
    EXPECT_EQ(f.bookmarkLine(2), 7);
}

TEST(MarksFollowLines, JoiningTheMarkedLineToTheLineAboveTakesTheMarkAlong)
{
    Fixture f;
    f.ed.SetBookMark(3, {1, 6});
    f.ed.SetBookMark(4, {1, 9});
    f.ed.SetCaretXY({1, 6});
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bookmarkLine(3), 5);
    EXPECT_EQ(f.bookmarkLine(4), 8);
    f.ed.Undo();
    EXPECT_EQ(f.bookmarkLine(4), 9);
    // Delete at the end of the line above joins the same way.
    f.ed.SetCaretXY({7, 8});
    f.run(ecDeleteChar);
    EXPECT_EQ(f.bookmarkLine(4), 8);
}

TEST(MarksFollowLines, DeletedSelectionsMoveMarksOnAndBelowThem)
{
    Fixture f;
    f.ed.SetBookMark(0, {1, 4});
    f.ed.SetBookMark(1, {1, 5});
    f.ed.SetBookMark(2, {1, 12});
    // A normal selection from line 3 into line 5: lines 4 and 5 join line 3.
    f.ed.SetBlockBegin({3, 3});
    f.ed.SetBlockEnd({2, 5});
    f.ed.ClearSelection();
    EXPECT_EQ(f.bookmarkLine(0), 3);
    EXPECT_EQ(f.bookmarkLine(1), 3);
    EXPECT_EQ(f.bookmarkLine(2), 10);
    f.ed.Undo();
    EXPECT_EQ(f.bookmarkLine(2), 12);

    // Whole lines from the first: marks on them stay on a line that exists.
    f.ed.SetSelectionMode(smLine);
    f.ed.SetBlockBegin({1, 1});
    f.ed.SetBlockEnd({1, 4});
    f.ed.ClearSelection();
    EXPECT_EQ(f.ed.Lines().Get(0), "line 5");
    EXPECT_EQ(f.bookmarkLine(2), 8);
    for (int i = 0; i < f.ed.Marks().Count(); ++i)
        EXPECT_GE(f.ed.Marks()[i].Line(), 1);
}

TEST(MarksFollowLines, WholeLinesOfANormalSelectionGoWithTheirMarksAndComeBackWithUndo)
{
    Fixture f;
    f.ed.SetBookMark(0, {1, 3});
    f.ed.SetBookMark(1, {1, 4});
    f.ed.SetBookMark(2, {1, 6});
    f.ed.SetBookMark(3, {1, 9});
    // From the start of line 3 to the start of line 6: lines 3 to 5 go.
    f.ed.SetBlockBegin({1, 3});
    f.ed.SetBlockEnd({1, 6});
    f.ed.ClearSelection();
    EXPECT_EQ(f.ed.Lines().Get(2), "line 6");
    EXPECT_EQ(f.bookmarkLine(0), 3);
    EXPECT_EQ(f.bookmarkLine(1), 3);
    EXPECT_EQ(f.bookmarkLine(2), 3);
    EXPECT_EQ(f.bookmarkLine(3), 6);
    f.ed.Undo();
    EXPECT_EQ(f.ed.Lines().Get(5), "line 6");
    EXPECT_EQ(f.bookmarkLine(3), 9);
    f.ed.Redo();
    EXPECT_EQ(f.bookmarkLine(3), 6);
}

TEST(MarksFollowLines, LinesPutIntoTheBufferDirectlyLeaveTheMarks)
{
    Fixture f;
    f.ed.SetBookMark(5, {1, 8});
    f.ed.Lines().InsertLine(0, "new");
    f.ed.Lines().LoadFromBytes("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\n");
    EXPECT_EQ(f.bookmarkLine(5), 8);
    // Typing a line break in the reloaded text moves it again.
    f.ed.SetCaretXY({1, 2});
    f.run(ecLineBreak);
    EXPECT_EQ(f.bookmarkLine(5), 9);
}

TEST(MarksFollowLines, DeletingTheMarkedLineKeepsTheMarkOnAnExistingLine)
{
    Fixture f(6);
    f.ed.SetBookMark(7, {1, 4});
    f.ed.SetBookMark(8, {1, 6});
    f.ed.SetCaretXY({1, 4});
    f.run(ecDeleteLine);
    EXPECT_EQ(f.bookmarkLine(7), 4);
    EXPECT_EQ(f.bookmarkLine(8), 5);
    // The last line goes with the break before it: its mark moves up.
    f.ed.SetCaretXY({1, 5});
    f.run(ecDeleteLine);
    EXPECT_EQ(f.bookmarkLine(8), 4);
    f.ed.GotoBookMark(8);
    EXPECT_EQ(f.ed.CaretY(), 4);
}

// ---- the list ---------------------------------------------------------------------

TEST(MarkList, AFullLineReportsItsFirstSixteenMarksInListOrder)
{
    Fixture f;
    for (int i = 0; i < 20; ++i) {
        auto m = std::make_unique<TOstEditMark>();
        m->SetLine(3);
        m->SetImageIndex(i);
        f.ed.Marks().Add(std::move(m));
    }
    const auto marks = f.ed.Marks().GetMarksForLine(3);
    ASSERT_EQ(marks.size(), size_t(TOstEditMarkList::kMaxMarksPerLine));
    EXPECT_EQ(marks.back()->ImageIndex(), 15);
}

TEST(MarkList, ExtractedMarksReportNoControlAndClearAllDropsTheRest)
{
    Fixture f;
    f.ed.SetBookMark(1, {1, 2});
    f.ed.SetBookMark(2, {1, 3});
    std::unique_ptr<TOstEditMark> taken = f.ed.Marks().Extract(&f.ed.Marks()[0]);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->Edit(), nullptr);
    EXPECT_FALSE(f.ed.IsBookmark(1));
    taken->SetLine(5);  // no control to repaint: must not reach the editor

    f.run(ecClearAll);
    EXPECT_EQ(f.ed.Marks().Count(), 0);
    EXPECT_FALSE(f.ed.IsBookmark(2));
}
