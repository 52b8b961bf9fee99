// Caret, selection and the editing primitive of the editor control.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

// An editor holding the given bytes (CR LF line breaks unless the bytes say
// otherwise), with its own clipboard.
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
    void select(TBufferCoord from, TBufferCoord to, TOstSelectionMode mode = smNormal)
    {
        ed.SetSelectionMode(mode);
        ed.SetCaretXY(from);
        ed.SetBlockBegin(from);
        ed.SetBlockEnd(to);
        ed.SetCaretXYEx(false, to);
    }
};

TOstEditorOptions Without(TOstEditorOptions o, TOstEditorOption off)
{
    o.exclude(off);
    return o;
}

}  // namespace

TEST(EditorCaret, ClampsToLineEndUnlessScrollPastEol)
{
    Fixture f("0123456789\r\nab\r\n", Without(TCustomOstEdit::DefaultOptions(), eoScrollPastEol));
    f.ed.SetCaretXY({50, 1});
    EXPECT_EQ(f.ed.CaretX(), 11);
    f.ed.SetCaretXY({50, 9});
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));

    f.ed.SetOption(eoScrollPastEol, true);
    f.ed.SetCaretXY({50, 1});
    EXPECT_EQ(f.ed.CaretX(), 50);
    f.ed.SetCaretXY({5000, 1});
    EXPECT_EQ(f.ed.CaretX(), f.ed.MaxLineWidth() + 1);
    f.ed.SetCaretXY({0, 0});
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));
}

TEST(EditorCaret, TabWidthIsClampedAndDrivesDisplayColumns)
{
    Fixture f("\tx\r\nab\tc\r\n");
    f.ed.SetTabWidth(0);
    EXPECT_EQ(f.ed.TabWidth(), 1);
    f.ed.SetTabWidth(1000);
    EXPECT_EQ(f.ed.TabWidth(), 256);
    f.ed.SetTabWidth(4);
    EXPECT_EQ(f.ed.BufferToDisplayPos({2, 1}).Column, 5);
    EXPECT_EQ(f.ed.BufferToDisplayPos({4, 2}).Column, 5);
    EXPECT_EQ(f.ed.BufferToDisplayPos({10, 2}).Column, 11);  // virtual space
    // A column inside the tab's cells maps to the tab itself.
    EXPECT_EQ(f.ed.DisplayToBufferPos({3, 1}).Char, 1);
    EXPECT_EQ(f.ed.DisplayToBufferPos({5, 1}).Char, 2);
    EXPECT_EQ(f.ed.DisplayToBufferPos({9, 2}).Char, 8);
}

TEST(EditorCaret, ScrollsIntoViewPlainAndCentred)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line\r\n";
    Fixture f(text);
    f.ed.SetWindowSize(40, 10);
    f.ed.SetCaretXY({1, 50});
    EXPECT_EQ(f.ed.TopLine(), 41);
    f.ed.SetCaretXY({60, 50});
    EXPECT_EQ(f.ed.LeftChar(), 21);
    f.ed.SetCaretXYEx(false, {1, 150});
    f.ed.EnsureCursorPosVisibleEx(true);
    EXPECT_EQ(f.ed.TopLine(), 150 - 9 + 5);
    f.ed.SetCaretXYEx(false, {1, 20});
    f.ed.EnsureCursorPosVisibleEx(true);
    EXPECT_EQ(f.ed.TopLine(), 15);
    // The top line stops where the last line reaches the bottom.
    f.ed.SetTopLine(1000);
    EXPECT_EQ(f.ed.TopLine(), 191);
}

TEST(EditorSelection, SelectedTextInTheThreeModes)
{
    Fixture f("abcdef\r\nxy\r\n0123456\r\n");
    f.select({3, 1}, {4, 3});
    EXPECT_EQ(f.ed.SelText(), "cdef\r\nxy\r\n012");
    f.select({3, 1}, {2, 2}, smLine);
    EXPECT_EQ(f.ed.SelText(), "abcdef\r\nxy\r\n");
    f.select({1, 2}, {1, 3}, smLine);
    EXPECT_EQ(f.ed.SelText(), "xy\r\n0123456");  // no break after the buffer's last line
}

TEST(EditorSelection, ColumnCopyPadsRowsWhileSelTextFollowsTrimming)
{
    Fixture f("abcdefg\r\nab\r\n0123456\r\n");
    f.select({3, 1}, {6, 3}, smColumn);
    EXPECT_EQ(f.ed.SelText(), "cde\r\n\r\n234");
    f.ed.CopyToClipboard();
    EXPECT_EQ(f.clipboard.get()->text, "cde\r\n   \r\n234");
    EXPECT_EQ(f.clipboard.get()->blockMode, smColumn);

    f.ed.SetOption(eoTrimTrailingSpaces, false);
    f.select({3, 1}, {6, 3}, smColumn);
    EXPECT_EQ(f.ed.SelText(), "cde\r\n   \r\n234");
}

TEST(EditorSelection, ColumnSelectionExistsOnlyWithWidth)
{
    Fixture f("abc\r\nabc\r\n");
    f.select({2, 1}, {2, 2}, smColumn);
    EXPECT_FALSE(f.ed.SelAvail());
    f.ed.SetActiveSelectionMode(smNormal);
    EXPECT_TRUE(f.ed.SelAvail());
}

TEST(EditorEditing, InsertWithLineBreakSplitsTheLine)
{
    Fixture f("xy\r\n");
    f.ed.SetCaretXY({2, 1});
    f.ed.SetSelText("a\r\nb");
    EXPECT_EQ(f.bytes(), "xa\r\nby\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));

    // Lone CR and lone LF break lines too; a NUL ends the text.
    f.ed.SetSelText("1\r2\n3\0ignored");
    EXPECT_EQ(f.bytes(), "xa\r\nb1\r\n2\r\n3y\r\n");
}

TEST(EditorEditing, TypingBeyondTheLineEndPadsWithSpaces)
{
    Fixture f("ab\r\n", Without(TCustomOstEdit::DefaultOptions(), eoTrimTrailingSpaces));
    f.ed.SetCaretXY({6, 1});
    f.ed.SetSelText("x");
    EXPECT_EQ(f.bytes(), "ab   x\r\n");
    EXPECT_EQ(f.ed.CaretX(), 7);
}

TEST(EditorEditing, TrimmingKeepsTheCaretAfterTrailingBlanks)
{
    Fixture f("ab\r\n");
    f.ed.SetCaretXY({3, 1});
    f.ed.SetSelText("c  ");
    EXPECT_EQ(f.bytes(), "abc\r\n");
    EXPECT_EQ(f.ed.CaretX(), 6);
    f.ed.SetCaretXY({1, 1});
    f.ed.SetSelText("  ");
    EXPECT_EQ(f.bytes(), "  abc\r\n");
    EXPECT_EQ(f.ed.CaretX(), 3);
}

TEST(EditorEditing, LineModeDeletion)
{
    Fixture f("1\r\n2\r\n3\r\n4\r\n5\r\n");
    f.select({1, 2}, {1, 4}, smLine);
    f.ed.SetSelText("");
    EXPECT_EQ(f.bytes(), "1\r\n5\r\n");

    Fixture g("1\r\n2\r\n3\r\n4\r\n5\r\n");
    g.select({1, 3}, {1, 5}, smLine);
    g.ed.SetSelText("");
    // The last three lines leave one empty line in their place.
    EXPECT_EQ(g.bytes(), "1\r\n2\r\n\r\n");
    EXPECT_EQ(g.ed.CaretXY(), (TBufferCoord{1, 3}));
}

TEST(EditorEditing, ColumnPasteOnTheLastLineAddsPaddedLines)
{
    Fixture f("abcdef\r\nabcdef\r\n");
    f.select({3, 1}, {5, 2}, smColumn);
    f.ed.CopyToClipboard();
    f.ed.SetSelectionMode(smNormal);
    f.ed.SetCaretXY({4, 2});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "abcdef\r\nabccddef\r\n   cd\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{6, 3}));
}

TEST(EditorEditing, ColumnDeletionKeepsShortLines)
{
    Fixture f("abcdefg\r\nab\r\nabcd\r\n");
    f.select({3, 1}, {6, 3}, smColumn);
    f.ed.SetSelText("");
    EXPECT_EQ(f.bytes(), "abfg\r\nab\r\nab\r\n");
}

TEST(EditorEditing, ReadOnlyRefusesEveryChange)
{
    Fixture f("abc\r\n");
    f.clipboard.putPlain("zzz");
    f.ed.SetReadOnly(true);
    f.select({1, 1}, {3, 1});
    f.ed.SetSelText("x");
    f.ed.PasteFromClipboard();
    f.ed.CutToClipboard();
    f.ed.InsertLineBreak(true);
    EXPECT_EQ(f.bytes(), "abc\r\n");
    EXPECT_FALSE(f.ed.Modified());
}

TEST(EditorEditing, SelStartCountsTwoBytesPerLineBreak)
{
    Fixture f("abc\r\nde\r\nfgh\r\n");
    f.ed.SetSelStart(7);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));
    f.ed.SetSelStart(6);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));
    f.ed.SetSelEnd(11);
    EXPECT_EQ(f.ed.SelText(), "e\r\nfg");
    EXPECT_EQ(f.ed.SelStart(), 6);
    EXPECT_EQ(f.ed.SelLength(), 5);
}

TEST(EditorClipboard, FailuresRaiseEditorErrors)
{
    struct BrokenClipboard : Clipboard {
        bool put(std::string_view, uint8_t, TOstEncoding) override { return false; }
        bool hasText() const override { return true; }
        std::optional<ClipboardData> get() override { return std::nullopt; }
    } broken;
    TOstEdit ed;
    ed.SetClipboard(&broken);
    ed.Lines().LoadFromBytes("abc");
    ed.SelectAll();
    try {
        ed.CopyToClipboard();
        FAIL();
    } catch (const EOstEditError& e) {
        EXPECT_STREQ(e.what(), "Clipboard copy operation failed");
    }
    try {
        ed.PasteFromClipboard();
        FAIL();
    } catch (const EOstEditError& e) {
        EXPECT_STREQ(e.what(), "Clipboard paste operation failed.");
    }
    EXPECT_EQ(ed.Lines().Text(), "abc\r\n");
}

TEST(EditorClipboard, PrivateBlockModeDecidesHowTextIsPasted)
{
    Fixture f("one\r\ntwo\r\n");
    f.select({2, 1}, {2, 1}, smLine);
    f.ed.SetBlockEnd({3, 1});
    f.ed.CopyToClipboard();
    EXPECT_EQ(f.clipboard.get()->text, "one\r\n");
    f.ed.SetSelectionMode(smNormal);
    f.ed.SetCaretXY({2, 2});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "one\r\none\r\ntwo\r\n");

    f.clipboard.putPlain("X");
    f.ed.SetCaretXY({2, 3});
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "one\r\none\r\ntXwo\r\n");
}

TEST(EditorWords, WordMovesStopAtPunctuationAndLineEnds)
{
    Fixture f("foo.bar baz\r\n  next\r\n");
    EXPECT_EQ(f.ed.NextWordPosEx({2, 1}), (TBufferCoord{5, 1}));
    EXPECT_EQ(f.ed.NextWordPosEx({5, 1}), (TBufferCoord{9, 1}));
    EXPECT_EQ(f.ed.NextWordPosEx({10, 1}), (TBufferCoord{12, 1}));
    EXPECT_EQ(f.ed.NextWordPosEx({12, 1}), (TBufferCoord{3, 2}));
    EXPECT_EQ(f.ed.PrevWordPosEx({1, 2}), (TBufferCoord{12, 1}));
    EXPECT_EQ(f.ed.PrevWordPosEx({3, 2}), (TBufferCoord{12, 1}));
    EXPECT_EQ(f.ed.PrevWordPosEx({8, 1}), (TBufferCoord{5, 1}));
    EXPECT_EQ(f.ed.WordStartEx({7, 1}), (TBufferCoord{5, 1}));
    EXPECT_EQ(f.ed.WordEndEx({5, 1}), (TBufferCoord{8, 1}));
    EXPECT_EQ(f.ed.GetWordAtRowCol({6, 1}), "bar");
    EXPECT_EQ(f.ed.GetWordAtRowCol({4, 1}), "");
}

TEST(EditorWords, PolishLettersArePartOfWords)
{
    // "zażółć gęślą" in Windows-1250.
    Fixture f("za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\r\n");
    EXPECT_EQ(f.ed.NextWordPosEx({1, 1}), (TBufferCoord{8, 1}));
    EXPECT_EQ(f.ed.GetWordAtRowCol({9, 1}), "g\xEA\x9Cl\xB9");
}

TEST(EditorIndentation, LeftSpacingUsesTabsOnlyWhenWanted)
{
    Fixture f("", TCustomOstEdit::TemplateOptions());
    f.ed.SetTabWidth(4);
    EXPECT_EQ(f.ed.GetLeftSpacing(10, true), "\t\t  ");
    EXPECT_EQ(f.ed.GetLeftSpacing(3, true), "   ");
    EXPECT_EQ(f.ed.GetLeftSpacing(10, false), std::string(10, ' '));
    f.ed.SetOption(eoTabsToSpaces, true);
    EXPECT_EQ(f.ed.GetLeftSpacing(10, true), std::string(10, ' '));
    EXPECT_EQ(f.ed.LeftSpaces("\t  x"), 3);
    EXPECT_EQ(f.ed.LeftSpacesColumns("\t  x"), 6);
    f.ed.SetOption(eoAutoIndent, false);
    EXPECT_EQ(f.ed.LeftSpaces("\t  x"), 0);
}

TEST(EditorLineBreak, EnterKeepsIndentation)
{
    Fixture f("\tabcd\r\n", TCustomOstEdit::TemplateOptions());
    f.ed.SetTabWidth(4);
    f.ed.SetCaretXY({4, 1});
    f.ed.InsertLineBreak(true);
    EXPECT_EQ(f.bytes(), "\tab\r\n\tcd\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));

    Fixture g("\tabcd\r\n", TCustomOstEdit::TemplateOptions());
    g.ed.SetTabWidth(4);
    g.ed.SetOption(eoTabsToSpaces, true);
    g.ed.SetCaretXY({4, 1});
    g.ed.InsertLineBreak(true);
    EXPECT_EQ(g.bytes(), "\tab\r\n    cd\r\n");
}
