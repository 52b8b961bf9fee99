// The mouse on the editor control: clicks, selecting by dragging and by
// double click, scrolling while selecting, the wheel, the scroll bars, and
// dragging selected text with its undo.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "platform/CodePage.h"

using namespace ostrel;

namespace {

class FakeTimer : public Timer {
public:
    void Start(int intervalMs) override
    {
        active = true;
        interval = intervalMs;
    }
    void Stop() override { active = false; }
    bool Active() const override { return active; }
    bool active = false;
    int interval = 0;
};

constexpr int kCols = 40;
constexpr int kRows = 10;

// An editor 40 cells wide and 10 rows high with a gutter, as a host would
// size it, and pixel helpers that aim at cell boundaries.
struct Fixture {
    MemoryClipboard clipboard;
    FakeTimer timer;
    TOstEdit ed;
    explicit Fixture(std::string_view bytes, TOstEditorOptions options = TCustomOstEdit::DefaultOptions())
    {
        ed.SetClipboard(&clipboard);
        ed.SetScrollTimer(&timer);
        ed.SetOptions(options);
        ed.Gutter().SetVisible(true);
        ed.Lines().LoadFromBytes(bytes);
        ed.SetClientSize(ed.GutterWidth() + 2 + kCols * ed.CharWidth(), kRows * ed.LineHeight());
    }
    // The left edge of a display cell and the middle of its row.
    int X(int column) const { return ed.TextOffset() + (column - 1) * ed.CharWidth(); }
    int Y(int row) const { return (row - ed.TopLine()) * ed.LineHeight() + ed.LineHeight() / 2; }
    int Bottom() const { return kRows * ed.LineHeight(); }
    void Down(int column, int row, TOstShiftState shift = 0) { ed.MouseDown(mbLeft, shift, X(column), Y(row)); }
    void Move(int column, int row, TOstShiftState shift = 0) { ed.MouseMove(shift, X(column), Y(row)); }
    void Up(int column, int row, TOstShiftState shift = 0) { ed.MouseUp(mbLeft, shift, X(column), Y(row)); }
    void Click(int column, int row, TOstShiftState shift = 0)
    {
        Down(column, row, shift);
        Up(column, row, shift);
    }
    void Select(TBufferCoord from, TBufferCoord to)
    {
        Down(from.Char, from.Line);
        Move(to.Char, to.Line);
        Up(to.Char, to.Line);
    }
    bool Drop(TCustomOstEdit& source, int column, int row, TOstShiftState shift = 0)
    {
        return ed.DragDrop(source, shift, X(column), Y(row));
    }
    std::string text() const { return ed.Lines().Text(); }
};

std::string Lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TOstEditorOptions With(TOstEditorOptions o, TOstEditorOption on, bool value = true)
{
    o.set(on, value);
    return o;
}

}  // namespace

// ---- clicks ------------------------------------------------------------------------------

TEST(EditorMouseClick, CaretGoesToTheNearestCellBoundary)
{
    Fixture f("abcdef\r\nxy\r\n", With(TCustomOstEdit::DefaultOptions(), eoScrollPastEol, false));
    const int cw = f.ed.CharWidth();
    f.ed.MouseDown(mbLeft, 0, f.X(3) + cw / 2 - 1, f.Y(1));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
    f.ed.MouseDown(mbLeft, 0, f.X(3) + cw / 2 + 1, f.Y(1));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 1}));
    // Beyond the end of a line the caret stops there without virtual space,
    f.Click(20, 2);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));
    // and below the last line it goes to the last line.
    f.Click(2, 8);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));
    f.ed.SetOption(eoScrollPastEol, true);
    f.Click(20, 2);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{20, 2}));
}

TEST(EditorMouseClick, ClickCollapsesAndShiftClickExtendsFromTheAnchor)
{
    Fixture f("first line\r\nsecond line\r\nthird\r\n");
    f.Click(3, 1);
    f.Click(7, 1, ssShift);
    EXPECT_EQ(f.ed.SelText(), "rst ");
    f.Click(4, 2, ssShift);
    EXPECT_EQ(f.ed.SelText(), "rst line\r\nsec");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 2}));
    // Shift-clicking before the anchor selects the other way.
    f.Click(1, 1, ssShift);
    EXPECT_EQ(f.ed.SelText(), "fi");
    f.Click(5, 3);
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{5, 3}));
}

TEST(EditorMouseClick, GutterPressesLeaveTheCaret)
{
    Fixture f("abc\r\ndef\r\n");
    ASSERT_GT(f.ed.GutterWidth(), 0);
    std::vector<int> clicked;
    f.ed.OnGutterClick = [&](TOstMouseButton, int, int, int line, TOstEditMark*) { clicked.push_back(line); };
    f.Click(3, 1);
    f.ed.MouseDown(mbLeft, 0, 1, f.Y(2));
    f.ed.MouseUp(mbLeft, 0, 1, f.Y(2));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
    EXPECT_EQ(clicked, std::vector<int>{2});
    EXPECT_FALSE(f.ed.MouseCaptured());
}

TEST(EditorMouseClick, AnEmptyBufferTakesEveryKindOfPress)
{
    Fixture f("");
    f.Select({3, 2}, {1, 1});
    f.ed.DoubleClick(0, f.X(1), f.Y(1));
    f.ed.MouseDown(mbRight, 0, f.X(2), f.Y(1));
    f.ed.MouseWheel(0, -120);
    f.ed.MouseMove(0, f.X(1), f.Bottom() + 50);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 1);
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.text(), "");
}

TEST(EditorMouseClick, ClickAfterTypingStartsANewUndoStep)
{
    Fixture f("\r\n");
    f.ed.SetCaretXY({1, 1});
    f.ed.CommandProcessor(ecChar, 'a');
    f.Click(1, 1);
    f.ed.CommandProcessor(ecChar, 'b');
    f.ed.Undo();
    EXPECT_EQ(f.text(), "a\r\n");
}

TEST(EditorMouseClick, WrappedRowsTakeClicksOnTheirOwnRows)
{
    std::string line;
    for (int i = 0; i < 12; ++i)
        line += "word" + std::to_string(i) + " ";
    Fixture f(line + "\r\nnext\r\n");
    f.ed.SetWordWrap(true);
    ASSERT_EQ(f.ed.DisplayLineCount(), 3);
    // Past the end of the first row the caret stays at that row's end.
    f.Click(kCols, 1);
    EXPECT_EQ(f.ed.CaretY(), 1);
    EXPECT_TRUE(f.ed.CaretAtRowEnd());
    EXPECT_EQ(f.ed.DisplayXY().Row, 1);
    // The second row's start is further on in the same line.
    f.Click(1, 2);
    EXPECT_EQ(f.ed.CaretY(), 1);
    EXPECT_FALSE(f.ed.CaretAtRowEnd());
    EXPECT_EQ(f.ed.DisplayXY(), (TDisplayCoord{1, 2}));
    EXPECT_GT(f.ed.CaretX(), 1);
    f.Click(2, f.ed.DisplayLineCount());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));
    // Selecting from the first row into the second stays within the line.
    f.Select({1, 1}, {3, 2});
    EXPECT_EQ(f.ed.SelText(), line.substr(0, static_cast<size_t>(f.ed.CaretX() - 1)));
}

// ---- selecting by dragging ---------------------------------------------------------

TEST(EditorMouseSelect, DraggingSelectsFromThePressToThePointer)
{
    Fixture f("alpha beta\r\ngamma delta\r\n");
    f.Down(3, 1);
    EXPECT_TRUE(f.ed.MouseCaptured());
    f.Move(5, 1);
    EXPECT_EQ(f.ed.SelText(), "ph");
    f.Move(3, 2);
    EXPECT_EQ(f.ed.SelText(), "pha beta\r\nga");
    f.Up(3, 2);
    EXPECT_FALSE(f.ed.MouseCaptured());
    // Moves without the button change nothing.
    f.Move(1, 1);
    EXPECT_EQ(f.ed.SelText(), "pha beta\r\nga");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));
}

TEST(EditorMouseSelect, NoSelectionOptionKeepsTheBlockEnd)
{
    Fixture f("alpha beta\r\n", With(TCustomOstEdit::DefaultOptions(), eoNoSelection));
    f.Select({1, 1}, {6, 1});
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{6, 1}));
}

TEST(EditorMouseSelect, AltDragSelectsAColumnWithTheOption)
{
    Fixture f("abcdef\r\nghijkl\r\nmnopqr\r\n", With(TCustomOstEdit::DefaultOptions(), eoAltSetsColumnMode));
    f.Down(2, 1, ssAlt);
    f.Move(4, 3, ssAlt);
    f.Up(4, 3, ssAlt);
    EXPECT_EQ(f.ed.ActiveSelectionMode(), smColumn);
    EXPECT_EQ(f.ed.SelectionMode(), smColumn);
    EXPECT_EQ(f.ed.SelText(), "bc\r\nhi\r\nno");
    // A press without Alt goes back to a character stream.
    f.Select({2, 1}, {4, 3});
    EXPECT_EQ(f.ed.ActiveSelectionMode(), smNormal);
    EXPECT_EQ(f.ed.SelText(), "bcdef\r\nghijkl\r\nmno");
}

TEST(EditorMouseSelect, AltChangesNothingWithoutTheOptionOrInLineMode)
{
    Fixture f("abcdef\r\nghijkl\r\n");
    f.Down(2, 1, ssAlt);
    f.Move(4, 2, ssAlt);
    f.Up(4, 2, ssAlt);
    EXPECT_EQ(f.ed.ActiveSelectionMode(), smNormal);

    Fixture g("abcdef\r\nghijkl\r\n", With(TCustomOstEdit::DefaultOptions(), eoAltSetsColumnMode));
    g.ed.SetSelectionMode(smLine);
    g.Down(2, 1, ssAlt);
    g.Move(4, 2, ssAlt);
    EXPECT_EQ(g.ed.ActiveSelectionMode(), smLine);
    EXPECT_EQ(g.ed.SelText(), "abcdef\r\nghijkl");
}

TEST(EditorMouseSelect, PressOnTheSelectionWithoutMovingIsAPlainClick)
{
    Fixture f("one two three\r\n");
    f.Select({5, 1}, {12, 1});
    ASSERT_EQ(f.ed.SelText(), "two thr");
    int drags = 0;
    f.ed.OnStartDrag = [&] { ++drags; };
    f.Down(7, 1);
    // Until it moves or is released, the selection stays.
    EXPECT_EQ(f.ed.SelText(), "two thr");
    f.Up(8, 1);
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));
    EXPECT_EQ(drags, 0);

    // With Shift the release extends the selection instead.
    f.Select({5, 1}, {12, 1});
    f.Down(7, 1);
    f.Up(9, 1, ssShift);
    EXPECT_EQ(f.ed.SelText(), "two ");
}

TEST(EditorMouseSelect, MovingFarEnoughFromTheSelectionStartsADrag)
{
    Fixture f("one two three\r\n");
    f.ed.SetDragDistance(6);
    f.Select({5, 1}, {12, 1});
    int drags = 0;
    f.ed.OnStartDrag = [&] { ++drags; };
    f.Down(7, 1);
    f.ed.MouseMove(0, f.X(7) + 5, f.Y(1));
    EXPECT_EQ(drags, 0);
    f.ed.MouseMove(0, f.X(7) + 6, f.Y(1));
    EXPECT_EQ(drags, 1);
    EXPECT_FALSE(f.ed.MouseCaptured());
    EXPECT_EQ(f.ed.SelText(), "two thr");
    // Without eoDragDropEditing the press starts a new selection.
    f.ed.SetOption(eoDragDropEditing, false);
    f.Down(7, 1);
    EXPECT_FALSE(f.ed.SelAvail());
}

// ---- double click ------------------------------------------------------------------------

TEST(EditorMouseDoubleClick, SelectsTheWordPolishLettersIncluded)
{
    Fixture f(codepage::FromUtf8("int zażółć = gęśla;\r\nx\r\n"));
    f.Click(7, 1);
    f.ed.DoubleClick(0, f.X(7), f.Y(1));
    f.Up(7, 1);
    EXPECT_EQ(f.ed.SelText(), codepage::FromUtf8("zażółć"));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{11, 1}));
    // The capture ends with the double click: moving selects nothing more.
    f.Move(20, 1);
    EXPECT_EQ(f.ed.SelText(), codepage::FromUtf8("zażółć"));

    // Right after the last letter of a word still takes the word.
    f.ed.DoubleClick(0, f.X(19), f.Y(1));
    EXPECT_EQ(f.ed.SelText(), codepage::FromUtf8("gęśla"));
}

TEST(EditorMouseDoubleClick, BeyondTheLineOrWithoutSelectionOnlyMovesTheCaret)
{
    Fixture f("word\r\n");
    f.ed.DoubleClick(0, f.X(10), f.Y(1));
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{10, 1}));
    f.ed.SetOption(eoNoSelection, true);
    f.ed.DoubleClick(0, f.X(2), f.Y(1));
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 1}));
}

// ---- the right button --------------------------------------------------------------------

TEST(EditorMouseRight, MovesTheCaretOnlyWithTheOption)
{
    Fixture f("one two three\r\n");
    f.Select({5, 1}, {8, 1});
    f.ed.MouseDown(mbRight, 0, f.X(12), f.Y(1));
    EXPECT_EQ(f.ed.SelText(), "two");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));

    f.ed.SetOption(eoRightMouseMovesCursor, true);
    // On the selection it stays for the context menu,
    f.ed.MouseDown(mbRight, 0, f.X(6), f.Y(1));
    EXPECT_EQ(f.ed.SelText(), "two");
    // elsewhere the selection collapses at the click.
    f.ed.MouseDown(mbRight, 0, f.X(12), f.Y(1));
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{12, 1}));
    EXPECT_FALSE(f.ed.MouseCaptured());
}

// ---- scrolling while selecting -----------------------------------------------------------

TEST(EditorMouseAutoScroll, BelowTheTextScrollsARowATickAndFurtherMore)
{
    Fixture f(Lines(100));
    f.Down(1, 1);
    f.ed.MouseMove(0, f.X(3), f.Bottom());
    EXPECT_TRUE(f.timer.active);
    EXPECT_EQ(f.timer.interval, 100);
    EXPECT_EQ(f.ed.ScrollDeltaY(), 1);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 2);
    EXPECT_EQ(f.ed.CaretY(), kRows + 1);
    EXPECT_EQ(f.ed.BlockEnd().Line, kRows + 1);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 3);

    // Three rows further below: four rows a tick.
    f.ed.MouseMove(0, f.X(3), f.Bottom() + 3 * f.ed.LineHeight());
    EXPECT_EQ(f.ed.ScrollDeltaY(), 4);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 7);
    EXPECT_EQ(f.ed.CaretY(), 7 + kRows - 1);
    EXPECT_EQ(f.ed.BlockBegin(), (TBufferCoord{1, 1}));

    // Back inside, the timer stops; so it does on release.
    f.Move(3, 8);
    EXPECT_FALSE(f.timer.active);
    f.ed.MouseMove(0, f.X(3), f.Bottom() + 1);
    EXPECT_TRUE(f.timer.active);
    f.Up(3, 8);
    EXPECT_FALSE(f.timer.active);
}

TEST(EditorMouseAutoScroll, LosingTheMouseStopsSelectingAndScrolling)
{
    Fixture f(Lines(100));
    f.Down(2, 3);
    f.ed.MouseMove(0, f.X(3), f.Bottom() + 5);
    ASSERT_TRUE(f.timer.active);
    f.ed.MouseCaptureLost();
    EXPECT_FALSE(f.timer.active);
    EXPECT_FALSE(f.ed.MouseCaptured());
    const TBufferCoord end = f.ed.BlockEnd();
    f.Move(5, 8);
    EXPECT_EQ(f.ed.BlockEnd(), end);
}

TEST(EditorMouseAutoScroll, ShiftScrollsByWholeWindowsAndAboveScrollsBack)
{
    Fixture f(Lines(100));
    f.ed.SetTopLine(50);
    f.Down(1, 55);
    f.ed.MouseMove(ssShift, f.X(1), f.Bottom() + 2);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 50 + kRows);
    f.ed.MouseMove(0, f.X(1), -1);
    EXPECT_EQ(f.ed.ScrollDeltaY(), -1);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 59);
    EXPECT_EQ(f.ed.CaretY(), 59);
    EXPECT_EQ(f.ed.SelText().substr(0, 9), "line 55\r\n");
}

TEST(EditorMouseAutoScroll, BesideTheTextScrollsColumns)
{
    Fixture f(std::string(200, 'x') + "\r\n");
    f.Down(1, 1);
    f.ed.MouseMove(0, f.X(1) + kCols * f.ed.CharWidth() + 2 * f.ed.CharWidth(), f.Y(1));
    EXPECT_EQ(f.ed.ScrollDeltaX(), 3);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.LeftChar(), 4);
    EXPECT_EQ(f.ed.CaretX(), 4 + kCols - 1);
    // In the gutter, left of the text, it scrolls back.
    f.ed.MouseMove(0, 0, f.Y(1));
    EXPECT_LT(f.ed.ScrollDeltaX(), 0);
    f.ed.ScrollTimerTick();
    EXPECT_LT(f.ed.LeftChar(), 4);
    EXPECT_EQ(f.ed.CaretX(), f.ed.LeftChar());
}

// ---- the wheel ------------------------------------------------------------------------------

TEST(EditorMouseWheel, NotchesScrollByTheSystemLineCount)
{
    Fixture f(Lines(200));
    f.ed.SetWheelScrollLines(3);
    int scrolls = 0;
    f.ed.OnScroll = [&](TOstScrollBarKind bar) { scrolls += bar == sbVertical; };
    f.ed.MouseWheel(0, -120);
    EXPECT_EQ(f.ed.TopLine(), 4);
    // Two half notches scroll once, and the remainder carries over.
    f.ed.MouseWheel(0, -60);
    EXPECT_EQ(f.ed.TopLine(), 4);
    f.ed.MouseWheel(0, -60);
    EXPECT_EQ(f.ed.TopLine(), 7);
    f.ed.MouseWheel(0, -90);
    EXPECT_EQ(f.ed.TopLine(), 7);
    f.ed.MouseWheel(0, -30);
    EXPECT_EQ(f.ed.TopLine(), 10);
    f.ed.MouseWheel(0, 240);
    EXPECT_EQ(f.ed.TopLine(), 4);
    EXPECT_EQ(scrolls, 4);
}

TEST(EditorMouseWheel, CtrlOrAPageSettingScrollsWindows)
{
    Fixture f(Lines(200));
    f.ed.MouseWheel(ssCtrl, -120);
    EXPECT_EQ(f.ed.TopLine(), 1 + kRows);
    f.ed.SetOption(eoHalfPageScroll, true);
    f.ed.MouseWheel(ssCtrl, -120);
    EXPECT_EQ(f.ed.TopLine(), 1 + kRows + kRows / 2);
    f.ed.SetWheelScrollLines(-1);
    f.ed.MouseWheel(0, 120);
    EXPECT_EQ(f.ed.TopLine(), 1 + kRows / 2);
    f.ed.SetWheelScrollLines(500);
    f.ed.MouseWheel(0, 120);
    EXPECT_EQ(f.ed.TopLine(), 1);
}

// ---- scroll bars ------------------------------------------------------------------------------

TEST(EditorScrollBars, VerticalBarCoversTheRowsAndFollowsOptions)
{
    Fixture f(Lines(100));
    TOstScrollBarInfo v = f.ed.ScrollBarInfo(sbVertical);
    EXPECT_EQ(v.Max, 100 - kRows + 1);
    EXPECT_EQ(v.Page, kRows);
    EXPECT_TRUE(v.Shown && v.Enabled);
    f.ed.SetOption(eoScrollPastEof, true);
    EXPECT_EQ(f.ed.ScrollBarInfo(sbVertical).Max, 100);
    f.ed.SetScrollBars(ssHorizontal);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbVertical).Shown);
    EXPECT_TRUE(f.ed.ScrollBarInfo(sbHorizontal).Shown);
    f.ed.SetScrollBars(ssNone);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbHorizontal).Shown);
    // Wrapped rows never reach beyond the window: no horizontal bar.
    f.ed.SetScrollBars(ssBoth);
    f.ed.SetWordWrap(true);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbHorizontal).Exists);
    EXPECT_TRUE(f.ed.ScrollBarInfo(sbVertical).Exists);
}

TEST(EditorScrollBars, FittingTextHidesOrDisablesTheBar)
{
    Fixture f("short\r\n", With(TCustomOstEdit::DefaultOptions(), eoScrollPastEol, false));
    TOstScrollBarInfo v = f.ed.ScrollBarInfo(sbVertical);
    EXPECT_TRUE(v.Shown);
    EXPECT_FALSE(v.Enabled);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbHorizontal).Enabled);
    f.ed.SetOption(eoHideShowScrollbars, true);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbVertical).Shown);
    EXPECT_FALSE(f.ed.ScrollBarInfo(sbHorizontal).Shown);
    f.ed.Lines().AddLine(std::string(100, 'x'));
    EXPECT_TRUE(f.ed.ScrollBarInfo(sbHorizontal).Shown);
    EXPECT_EQ(f.ed.ScrollBarInfo(sbHorizontal).Max, 100 - kCols + 1);
}

TEST(EditorScrollBars, RequestsMoveTheViewAndFireOnScroll)
{
    Fixture f(Lines(100));
    std::vector<TOstScrollBarKind> fired;
    f.ed.OnScroll = [&](TOstScrollBarKind bar) { fired.push_back(bar); };
    f.ed.ScrollBarAction(sbVertical, scrLineForward);
    EXPECT_EQ(f.ed.TopLine(), 2);
    f.ed.ScrollBarAction(sbVertical, scrPageForward);
    EXPECT_EQ(f.ed.TopLine(), 2 + kRows);
    f.ed.SetOption(eoScrollByOneLess, true);
    f.ed.ScrollBarAction(sbVertical, scrPageBack);
    EXPECT_EQ(f.ed.TopLine(), 3);
    f.ed.ScrollBarAction(sbVertical, scrLast);
    EXPECT_EQ(f.ed.TopLine(), 100 - kRows + 1);
    f.ed.ScrollBarAction(sbVertical, scrThumbTrack, 40);
    EXPECT_EQ(f.ed.TopLine(), 40);
    f.ed.ScrollBarAction(sbVertical, scrFirst);
    EXPECT_EQ(f.ed.TopLine(), 1);
    f.ed.ScrollBarAction(sbHorizontal, scrThumbPosition, 30);
    EXPECT_EQ(f.ed.LeftChar(), 30);
    f.ed.ScrollBarAction(sbHorizontal, scrLineBack);
    EXPECT_EQ(f.ed.LeftChar(), 29);
    f.ed.ScrollBarAction(sbVertical, scrEndScroll);
    EXPECT_EQ(fired.size(), 8u);
    EXPECT_EQ(fired.back(), sbHorizontal);
}

TEST(EditorScrollBars, TheScrollBoxReachesTheLastOfManyRows)
{
    Fixture f(Lines(40000));
    const TOstScrollBarInfo v = f.ed.ScrollBarInfo(sbVertical);
    f.ed.ScrollBarAction(sbVertical, scrThumbPosition, v.Max);
    EXPECT_EQ(f.ed.TopLine() + kRows - 1, f.ed.DisplayLineCount());
}

TEST(EditorScrollBars, HintShowsTheTopLineOrTheVisibleRange)
{
    Fixture f(Lines(100));
    f.ed.SetTopLine(17);
    EXPECT_EQ(f.ed.ScrollHintText(), "Top Line: 17");
    f.ed.SetScrollHintFormat(shfTopToBottom);
    EXPECT_EQ(f.ed.ScrollHintText(), "17 - 26");
    f.ed.SetTopLine(200);
    EXPECT_EQ(f.ed.ScrollHintText(), "91 - 100");
    f.ed.SetOption(eoShowScrollHint, false);
    EXPECT_EQ(f.ed.ScrollHintText(), "");
}

// ---- dragging text ----------------------------------------------------------------------------

TEST(EditorDragText, MovingWithinTheEditorIsOneUndoStep)
{
    const std::string original = "one two three\r\nfour five\r\n";
    Fixture f(original);
    f.Select({5, 1}, {9, 1});  // "two "
    ASSERT_TRUE(f.Drop(f.ed, 6, 2));
    EXPECT_EQ(f.text(), "one three\r\nfour two five\r\n");
    EXPECT_EQ(f.ed.SelText(), "two ");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{6, 2}));
    f.ed.Undo();
    EXPECT_EQ(f.text(), original);
    f.ed.Redo();
    EXPECT_EQ(f.text(), "one three\r\nfour two five\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.text(), original);
    EXPECT_FALSE(f.ed.CanUndo());
}

TEST(EditorDragText, MovedTextLandsWhereTheDropPointWas)
{
    // After the selection on its own last line, and on a later line of a
    // selection over several lines.
    Fixture f("abcdefgh\r\n");
    f.Select({2, 1}, {4, 1});
    f.Drop(f.ed, 7, 1);
    EXPECT_EQ(f.text(), "adefbcgh\r\n");
    EXPECT_EQ(f.ed.SelText(), "bc");

    Fixture g("one\r\ntwo\r\nthree\r\nfour\r\n");
    g.Select({2, 1}, {2, 2});
    g.Drop(g.ed, 3, 3);
    EXPECT_EQ(g.text(), "owo\r\nthne\r\ntree\r\nfour\r\n");
    EXPECT_EQ(g.ed.SelText(), "ne\r\nt");
    g.Select({2, 4}, {5, 4});  // "our", moved before its line
    g.Drop(g.ed, 1, 1);
    EXPECT_EQ(g.text(), "ourowo\r\nthne\r\ntree\r\nf\r\n");
    g.ed.Undo();
    g.ed.Undo();
    EXPECT_EQ(g.text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST(EditorDragText, CtrlCopiesAndTheCopyUndoesInOneStep)
{
    const std::string original = "alpha beta\r\n";
    Fixture f(original);
    f.Select({1, 1}, {6, 1});
    ASSERT_TRUE(f.Drop(f.ed, 11, 1, ssCtrl));
    EXPECT_EQ(f.text(), "alpha betaalpha\r\n");
    EXPECT_EQ(f.ed.SelText(), "alpha");
    // Copying to the selection's edge duplicates it in place.
    f.Select({1, 1}, {6, 1});
    ASSERT_TRUE(f.Drop(f.ed, 6, 1, ssCtrl));
    EXPECT_EQ(f.text(), "alphaalpha betaalpha\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.text(), "alpha betaalpha\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.text(), original);
}

TEST(EditorDragText, DropsOnTheSelectionChangeNothing)
{
    Fixture f("alpha beta gamma\r\n");
    f.Select({7, 1}, {11, 1});
    const int items = f.ed.UndoList().ItemCount();
    EXPECT_FALSE(f.Drop(f.ed, 9, 1));
    EXPECT_FALSE(f.Drop(f.ed, 7, 1));
    EXPECT_FALSE(f.Drop(f.ed, 11, 1));
    EXPECT_FALSE(f.Drop(f.ed, 9, 1, ssCtrl));
    EXPECT_EQ(f.text(), "alpha beta gamma\r\n");
    EXPECT_EQ(f.ed.SelText(), "beta");
    EXPECT_EQ(f.ed.UndoList().ItemCount(), items);
}

TEST(EditorDragText, DropBeyondTheLineEndPadsAndUndoesExactly)
{
    Fixture f("ab\r\ncd\r\n");
    f.Select({1, 2}, {3, 2});
    ASSERT_TRUE(f.Drop(f.ed, 6, 1));
    EXPECT_EQ(f.text(), "ab   cd\r\n\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.text(), "ab\r\ncd\r\n");
}

TEST(EditorDragText, BetweenEditorsCopiesOrWithShiftMoves)
{
    Fixture source("take this\r\n");
    Fixture target("into\r\n");
    source.Select({6, 1}, {10, 1});
    ASSERT_TRUE(target.Drop(source.ed, 5, 1));
    EXPECT_EQ(target.text(), "intothis\r\n");
    EXPECT_EQ(source.text(), "take this\r\n");

    ASSERT_TRUE(target.Drop(source.ed, 1, 1, ssShift));
    EXPECT_EQ(target.text(), "thisintothis\r\n");
    EXPECT_EQ(source.text(), "take\r\n");
    EXPECT_FALSE(source.ed.SelAvail());
    // Each editor undoes its own part.
    target.ed.Undo();
    EXPECT_EQ(target.text(), "intothis\r\n");
    source.ed.Undo();
    EXPECT_EQ(source.text(), "take this\r\n");
}

TEST(EditorDragText, NothingIsDroppedWithoutASelectionOrOnAReadOnlyEditor)
{
    Fixture source("text\r\n");
    Fixture target("into\r\n");
    EXPECT_FALSE(target.Drop(source.ed, 1, 1));
    source.Select({1, 1}, {3, 1});
    target.ed.SetReadOnly(true);
    EXPECT_FALSE(target.ed.AcceptsDragFrom(&source.ed));
    EXPECT_FALSE(target.Drop(source.ed, 1, 1));
    EXPECT_EQ(target.text(), "into\r\n");
    EXPECT_FALSE(target.ed.AcceptsDragFrom(nullptr));
}

TEST(EditorDragText, CaretFollowsTheDragAndComesBackWhenItLeaves)
{
    Fixture f(Lines(100));
    Fixture source("abc\r\n");
    source.Select({1, 1}, {3, 1});
    f.ed.SetCaretXY({2, 2});
    f.ed.DragOver(&source.ed, f.X(4), f.Y(5));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 5}));
    EXPECT_FALSE(f.ed.SelAvail());
    // Below the text the timer scrolls and moves the caret, not a selection.
    f.ed.DragOver(&source.ed, f.X(4), f.Bottom() + 1);
    EXPECT_TRUE(f.timer.active);
    f.ed.ScrollTimerTick();
    EXPECT_EQ(f.ed.TopLine(), 2);
    EXPECT_EQ(f.ed.CaretY(), kRows + 1);
    EXPECT_FALSE(f.ed.SelAvail());
    f.ed.DragLeave();
    EXPECT_FALSE(f.timer.active);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));
}

// ---- dropped files -------------------------------------------------------------------------

TEST(EditorDropFiles, HandlerGetsEveryPathOnlyWithTheOption)
{
    Fixture f("x\r\n");
    std::vector<std::string> got;
    f.ed.OnDropFiles = [&](const std::vector<std::string>& paths, int, int) { got = paths; };
    const std::vector<std::string> paths{"/tmp/a.txt", "/tmp/" + std::string(300, 'b') + ".txt"};
    f.ed.DropFiles(paths, 1, 1);
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(f.ed.AcceptsDroppedFiles());
    f.ed.SetOption(eoDropFiles, true);
    EXPECT_TRUE(f.ed.AcceptsDroppedFiles());
    f.ed.DropFiles(paths, 1, 1);
    // Long paths arrive whole.
    EXPECT_EQ(got, paths);
}
