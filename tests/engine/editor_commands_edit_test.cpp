// Typing, deleting, line breaks and case commands: the text they leave and
// the undo they record.

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
        ed.SetMaxUndo(10000);
        ed.Lines().LoadFromBytes(bytes);
    }
    std::string bytes() const { return ed.Lines().Text(); }
    void type(std::string_view text)
    {
        for (char c : text)
            ed.CommandProcessor(ecChar, c);
    }
    void run(TOstEditorCommand command) { ed.CommandProcessor(command, '\0'); }
    void at(int c, int l) { ed.SetCaretXY({c, l}); }
    void undoAll()
    {
        while (ed.CanUndo())
            ed.Undo();
    }
    void redoAll()
    {
        while (ed.CanRedo())
            ed.Redo();
    }
    // The edit leaves `after`; undoing everything gives the input back and
    // redoing everything gives `after` again.
    void expectRoundTrip(std::string_view before, std::string_view after)
    {
        EXPECT_EQ(bytes(), after);
        undoAll();
        EXPECT_EQ(bytes(), before);
        redoAll();
        EXPECT_EQ(bytes(), after);
    }
};

TOstEditorOptions With(std::initializer_list<TOstEditorOption> on, std::initializer_list<TOstEditorOption> off = {})
{
    TOstEditorOptions o = TCustomOstEdit::DefaultOptions();
    for (TOstEditorOption x : on) o.include(x);
    for (TOstEditorOption x : off) o.exclude(x);
    return o;
}

}  // namespace

// ---- typing ----------------------------------------------------------------------------

TEST(Typing, BeyondTheLineEndPadsAndUndoesInOneStep)
{
    Fixture f("ab\r\n");
    f.at(6, 1);
    f.type("x");
    EXPECT_EQ(f.bytes(), "ab   x\r\n");
    EXPECT_EQ(f.ed.CaretX(), 7);
    EXPECT_EQ(f.ed.UndoList().Item(0).ChangeReason, crPaddingInsert);
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "ab   x\r\n");
}

TEST(Typing, OnAnEmptyLineThePaddingIsAnIndentation)
{
    Fixture f("\r\n", TCustomOstEdit::TemplateOptions());
    f.ed.SetTabWidth(4);
    f.at(10, 1);
    f.type("x");
    EXPECT_EQ(f.bytes(), "\t\t x\r\n");
    EXPECT_EQ(f.ed.DisplayXY().Column, 11);
    f.expectRoundTrip("\r\n", "\t\t x\r\n");
}

TEST(Typing, TrimmedSpaceMovesTheCaretWithoutWriting)
{
    Fixture f("ab\r\n\r\n");
    f.at(3, 1);
    f.type(" ");
    EXPECT_EQ(f.bytes(), "ab\r\n\r\n");
    EXPECT_EQ(f.ed.CaretX(), 4);
    f.type("c");
    EXPECT_EQ(f.bytes(), "ab c\r\n\r\n");
    f.expectRoundTrip("ab\r\n\r\n", "ab c\r\n\r\n");
}

TEST(Typing, OverwriteReplacesUpToTheLineEndAndThenAppends)
{
    Fixture f("abc\r\n");
    f.run(ecToggleMode);
    EXPECT_FALSE(f.ed.InsertMode());
    f.at(3, 1);
    f.type("XYZ");
    EXPECT_EQ(f.bytes(), "abXYZ\r\n");
    EXPECT_EQ(f.ed.UndoList().Item(0).ChangeStr, "c");
    f.expectRoundTrip("abc\r\n", "abXYZ\r\n");

    Fixture g("ab\r\n");
    g.run(ecOverwriteMode);
    g.at(5, 1);
    g.type("x");
    g.expectRoundTrip("ab\r\n", "ab  x\r\n");
}

TEST(Typing, OverwritingTheLastCharacterWithASpaceIsUndoneExactly)
{
    Fixture f("abc\r\n");
    f.run(ecOverwriteMode);
    f.at(3, 1);
    f.type(" ");
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.expectRoundTrip("abc\r\n", "ab\r\n");
}

TEST(Typing, GoesInBeyondTheMaximumLineWidthButControlCharactersNever)
{
    // The width limits virtual space, never the text a line holds.
    Fixture f("abcde\r\n");
    f.ed.SetMaxLineWidth(5);
    f.at(3, 1);
    f.type("x");
    EXPECT_EQ(f.bytes(), "abxcde\r\n");
    f.at(7, 1);
    f.type("y");
    EXPECT_EQ(f.bytes(), "abxcdey\r\n");
    f.type("\t\x7F\x01");
    EXPECT_EQ(f.bytes(), "abxcdey\r\n");
}

TEST(Typing, ReplacesTheSelectionInOneUndoStep)
{
    Fixture f("hello world\r\n", With({}, {eoGroupUndo}));
    f.ed.SetCaretXY({7, 1});
    f.ed.SetBlockBegin({7, 1});
    f.ed.SetBlockEnd({12, 1});
    f.type("W");
    EXPECT_EQ(f.bytes(), "hello W\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "hello world\r\n");
}

TEST(Typing, ScrollsAPieceRightAtTheWindowEdge)
{
    Fixture f("0123456789012345678\r\n");
    f.ed.SetWindowSize(20, 5);
    f.at(20, 1);
    f.type("x");
    EXPECT_EQ(f.ed.LeftChar(), 20);
}

TEST(Typing, ReadOnlyEditorIgnoresTextCommands)
{
    Fixture f("abc\r\n");
    f.ed.SetReadOnly(true);
    f.at(2, 1);
    f.type("x");
    for (TOstEditorCommand c : {ecDeleteLastChar, ecDeleteChar, ecDeleteLine, ecLineBreak, ecTab, ecUpperCase})
        f.run(c);
    EXPECT_EQ(f.bytes(), "abc\r\n");
    EXPECT_FALSE(f.ed.UndoList().CanUndo());
}

TEST(Typing, ImeStringTypesAllAndDropsEchoedCharacters)
{
    Fixture f("ab\r\n");
    f.at(2, 1);
    f.ed.ImeString("\xB3\xF3", true);
    char c = 'q';
    f.ed.KeyPress(c);
    f.ed.KeyPress(c);
    EXPECT_EQ(f.bytes(), "a\xB3\xF3" "b\r\n");
    f.ed.KeyPress(c);
    EXPECT_EQ(f.bytes(), "a\xB3\xF3qb\r\n");
}

// ---- Backspace --------------------------------------------------------------------------

TEST(Backspace, SmartTabDeleteFallsBackToTheIndentationAbove)
{
    Fixture f("    a\r\n        b\r\n");
    f.at(9, 2);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bytes(), "    a\r\n    b\r\n");
    EXPECT_EQ(f.ed.CaretX(), 5);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bytes(), "    a\r\nb\r\n");
    f.expectRoundTrip("    a\r\n        b\r\n", "    a\r\nb\r\n");
}

TEST(Backspace, WithoutSmartDeleteGoesBackToTheTabStop)
{
    Fixture f("\t      x\r\n  \tx\r\n", With({}, {eoSmartTabDelete}));
    f.ed.SetTabWidth(4);
    f.at(8, 1);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bytes(), "\t    x\r\n  \tx\r\n");
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bytes(), "\tx\r\n  \tx\r\n");
    // Before a TAB only the TAB goes.
    f.at(4, 2);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.bytes(), "\tx\r\n  x\r\n");
}

TEST(Backspace, InVirtualSpaceOnlyMovesTheCaret)
{
    Fixture f("  ab\r\n      cd\r\n\r\n", With({eoAutoIndent}));
    f.at(9, 3);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{7, 3}));
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 3}));
    f.at(9, 1);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{5, 1}));
    EXPECT_FALSE(f.ed.UndoList().CanUndo());

    Fixture g("ab\r\n", With({}, {eoSmartTabDelete}));
    g.at(9, 1);
    g.run(ecDeleteLastChar);
    EXPECT_EQ(g.ed.CaretX(), 8);
}

TEST(Backspace, AtLineStartJoinsAndUndoSplitsAgain)
{
    Fixture f("ab\r\ncd\r\n");
    f.at(1, 2);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
    f.expectRoundTrip("ab\r\ncd\r\n", "abcd\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 2}));
}

TEST(Backspace, SelectionDirectionDecidesTheRecordedKind)
{
    Fixture f("abcdef\r\n");
    f.ed.SetCaretXY({2, 1});
    f.ed.MoveCaretAndSelection({2, 1}, {5, 1}, true);
    f.run(ecDeleteLastChar);
    EXPECT_EQ(f.ed.UndoList().PeekItem()->ChangeReason, crDeleteBackward);
    f.ed.Undo();
    f.ed.SetCaretXY({5, 1});
    f.ed.MoveCaretAndSelection({5, 1}, {2, 1}, true);
    f.run(ecDeleteChar);
    EXPECT_EQ(f.bytes(), "aef\r\n");
    EXPECT_EQ(f.ed.UndoList().PeekItem()->ChangeReason, crDeleteForward);
}

// ---- Delete and the other deletions -----------------------------------------------------------

TEST(Delete, BeyondTheEndJoinsThePaddedLine)
{
    Fixture f("ab\r\ncd\r\n", With({}, {eoTrimTrailingSpaces}));
    f.at(5, 1);
    f.run(ecDeleteChar);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{5, 1}));
    f.expectRoundTrip("ab\r\ncd\r\n", "ab  cd\r\n");

    Fixture g("ab\r\n\r\nz\r\n");
    g.at(5, 1);
    g.run(ecDeleteChar);
    g.expectRoundTrip("ab\r\n\r\nz\r\n", "ab\r\nz\r\n");

    Fixture last("ab\r\n");
    last.at(3, 1);
    last.run(ecDeleteChar);
    EXPECT_EQ(last.bytes(), "ab\r\n");
}

TEST(Delete, WordTakesTheWordAndTheBlanksAfterIt)
{
    Fixture f("foo   bar\r\n(  x\r\na   b\r\nend\r\nnext\r\n");
    f.at(1, 1);
    f.run(ecDeleteWord);
    EXPECT_EQ(f.ed.LineText(), "bar");
    f.at(1, 2);
    f.run(ecDeleteWord);
    EXPECT_EQ(f.ed.LineText(), "x");
    f.at(2, 3);
    f.run(ecDeleteWord);
    EXPECT_EQ(f.ed.LineText(), "ab");
    f.at(4, 4);
    f.run(ecDeleteWord);
    EXPECT_EQ(f.ed.LineText(), "endnext");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 4}));
    f.expectRoundTrip("foo   bar\r\n(  x\r\na   b\r\nend\r\nnext\r\n", "bar\r\nx\r\nab\r\nendnext\r\n");
}

TEST(Delete, LineParts)
{
    Fixture f("alpha beta gamma\r\nx\r\n");
    f.at(12, 1);
    f.run(ecDeleteLastWord);
    EXPECT_EQ(f.ed.LineText(), "alpha gamma");
    EXPECT_EQ(f.ed.CaretX(), 7);
    f.run(ecDeleteEOL);
    EXPECT_EQ(f.ed.LineText(), "alpha");  // trimmed
    f.run(ecDeleteBOL);
    EXPECT_EQ(f.ed.LineText(), "");
    f.at(1, 2);
    f.run(ecDeleteLastWord);
    EXPECT_EQ(f.bytes(), "x\r\n");
    f.expectRoundTrip("alpha beta gamma\r\nx\r\n", "x\r\n");
}

TEST(DeleteLine, RemovesTheCaretLineAndKeepsUndoExact)
{
    Fixture f("one\r\ntwo\r\nthree\r\n");
    f.at(3, 2);
    f.run(ecDeleteLine);
    EXPECT_EQ(f.bytes(), "one\r\nthree\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 2}));
    f.run(ecDeleteLine);
    EXPECT_EQ(f.bytes(), "one\r\n");
    f.run(ecDeleteLine);
    EXPECT_EQ(f.bytes(), "\r\n");
    EXPECT_EQ(f.ed.Lines().Count(), 1);
    const int items = f.ed.UndoList().ItemCount();
    f.run(ecDeleteLine);
    EXPECT_EQ(f.ed.UndoList().ItemCount(), items);
    f.expectRoundTrip("one\r\ntwo\r\nthree\r\n", "\r\n");
}

// ---- line breaks ---------------------------------------------------------------------------------

TEST(LineBreak, KeepsATabIndentationOrTurnsItIntoSpaces)
{
    Fixture f("\tab\r\n", TCustomOstEdit::TemplateOptions());
    f.ed.SetTabWidth(4);
    f.at(3, 1);
    f.run(ecLineBreak);
    EXPECT_EQ(f.bytes(), "\ta\r\n\tb\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 2}));

    Fixture g("\tab\r\n", With({eoAutoIndent, eoTabsToSpaces}));
    g.ed.SetTabWidth(4);
    g.at(3, 1);
    g.run(ecLineBreak);
    EXPECT_EQ(g.bytes(), "\ta\r\n    b\r\n");
}

// At a line's end the new line gets the indentation, which trimming takes
// again once the edit is complete: the caret stays at the indentation's
// screen column, and what is typed there is indented as the line above.
TEST(LineBreak, AtTheEndTheCaretKeepsATabIndentationsColumnAfterTrimming)
{
    Fixture f("\t\t  ab\r\n", TCustomOstEdit::TemplateOptions());
    f.ed.SetTabWidth(8);
    f.at(7, 1);
    f.run(ecLineBreak);
    EXPECT_EQ(f.bytes(), "\t\t  ab\r\n\r\n");
    EXPECT_EQ(f.ed.DisplayXY().Column, 19);
    f.type("cd");
    EXPECT_EQ(f.bytes(), "\t\t  ab\r\n\t\t  cd\r\n");
    f.expectRoundTrip("\t\t  ab\r\n", "\t\t  ab\r\n\t\t  cd\r\n");
}

TEST(LineBreak, InsertLineKeepsTheCaret)
{
    Fixture f("abcd\r\n");
    f.at(3, 1);
    f.run(ecInsertLine);
    EXPECT_EQ(f.bytes(), "ab\r\ncd\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
    f.expectRoundTrip("abcd\r\n", "ab\r\ncd\r\n");
}

// ---- case ----------------------------------------------------------------------------------------

TEST(CaseCommands, WordAtTheCaretWithPolishLetters)
{
    // "zażółć gęślą"
    Fixture f("za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\r\n");
    f.at(3, 1);
    f.run(ecUpperCase);
    EXPECT_EQ(f.bytes(), "ZA\xAF\xD3\xA3\xC6 g\xEA\x9Cl\xB9\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
    EXPECT_FALSE(f.ed.SelAvail());
    f.at(9, 1);
    f.run(ecTitleCase);
    EXPECT_EQ(f.bytes(), "ZA\xAF\xD3\xA3\xC6 G\xEA\x9Cl\xB9\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ZA\xAF\xD3\xA3\xC6 g\xEA\x9Cl\xB9\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{9, 1}));
}

TEST(CaseCommands, WordCommandFromABlankTakesThePreviousWord)
{
    Fixture f("abc   \r\n  \r\n", With({}, {eoTrimTrailingSpaces}));
    f.at(6, 1);
    f.run(ecUpperCase);
    EXPECT_EQ(f.bytes(), "ABC   \r\n  \r\n");
    f.at(2, 2);
    f.run(ecLowerCase);
    EXPECT_EQ(f.bytes(), "abc   \r\n  \r\n");
}

TEST(CaseCommands, BlockCommandsKeepTheSelectionOrStepOneCharacter)
{
    Fixture f("Hello World\r\nab\r\n");
    f.ed.SetCaretXY({1, 1});
    f.ed.MoveCaretAndSelection({1, 1}, {8, 1}, true);
    f.run(ecToggleCaseBlock);
    EXPECT_EQ(f.bytes(), "hELLO world\r\nab\r\n");
    EXPECT_EQ(f.ed.SelText(), "hELLO w");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));

    f.ed.SetCaretXY({12, 1});
    f.run(ecUpperCaseBlock);
    EXPECT_EQ(f.bytes(), "hELLO world\r\nAb\r\n");
    f.run(ecUpperCaseBlock);
    EXPECT_EQ(f.bytes(), "hELLO world\r\nAB\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));
    f.expectRoundTrip("Hello World\r\nab\r\n", "hELLO world\r\nAB\r\n");
}
