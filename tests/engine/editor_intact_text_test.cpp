// Edits that must leave the rest of the text as it was and undo exactly:
// deleting and duplicating lines, lines longer than the maximum width,
// search and replace in every selection mode, column blocks, eoNoSelection.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"
#include "editor/OstEditSearch.h"

using namespace ostrel;

namespace {

struct Fixture {
    MemoryClipboard clipboard;
    TOstEdit ed;
    TOstEditSearch plain;
    explicit Fixture(std::string_view bytes, TOstEditorOptions options = TCustomOstEdit::TemplateOptions())
    {
        ed.SetClipboard(&clipboard);
        ed.SetOptions(options);
        ed.SetMaxLineWidth(2024);
        ed.SetSearchEngine(&plain);
        ed.Lines().LoadFromBytes(bytes);
    }
    std::string text() const { return ed.Text(); }
    void undoAll()
    {
        for (int guard = 0; ed.CanUndo() && guard < 10000; ++guard)
            ed.Undo();
    }
    void redoAll()
    {
        for (int guard = 0; ed.CanRedo() && guard < 10000; ++guard)
            ed.Redo();
    }
    void key(TOstEditorCommand command, char c = 0) { ed.CommandProcessor(command, c); }
};

std::string Long(size_t n, char c = 'x') { return std::string(n, c); }

}  // namespace

// ---- lines -------------------------------------------------------------------------------

TEST(WholeLines, DeleteLineOnTheLastLineLeavesTheLineAboveByteForByte)
{
    Fixture f("ab \t\t\r\nlast\r\n");
    f.ed.SetCaretXY({2, 2});
    f.key(ecDeleteLine);
    EXPECT_EQ(f.text(), "ab \t\t");
    f.ed.Undo();
    EXPECT_EQ(f.text(), "ab \t\t\r\nlast");
    f.ed.Redo();
    EXPECT_EQ(f.text(), "ab \t\t");
}

TEST(WholeLines, DeleteLineInTheMiddleKeepsTheNextLineAsItWas)
{
    Fixture f("one\r\ntwo\r\nthree  \r\n");
    f.ed.SetCaretXY({1, 2});
    f.key(ecDeleteLine);
    EXPECT_EQ(f.text(), "one\r\nthree  ");
    f.ed.Undo();
    EXPECT_EQ(f.text(), "one\r\ntwo\r\nthree  ");
}

TEST(WholeLines, DuplicateLineIsOneStepEvenAmongTypedText)
{
    Fixture f("pierwsza\r\ndruga\r\ntrzecia\r\n");
    const std::string original = f.text();
    f.ed.SetCaretXY({3, 2});
    f.ed.SetSelText("X");
    f.ed.SetCaretXY({1, 1});
    f.ed.DuplicateLine();
    EXPECT_EQ(f.text(), "pierwsza\r\npierwsza\r\ndrXuga\r\ntrzecia");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));
    f.ed.Undo();
    EXPECT_EQ(f.text(), "pierwsza\r\ndrXuga\r\ntrzecia");
    f.ed.Undo();
    EXPECT_EQ(f.text(), original);
    f.redoAll();
    EXPECT_EQ(f.text(), "pierwsza\r\npierwsza\r\ndrXuga\r\ntrzecia");
}

// ---- lines longer than the maximum width -----------------------------------------------

TEST(LongLines, TypingCaretAndSelectionReachEveryCharacter)
{
    const std::string line = Long(5000);
    Fixture f(line + "\r\nnext\r\n");
    f.ed.SetCaretXY({4000, 1});
    EXPECT_EQ(f.ed.CaretX(), 4000);
    f.key(ecChar, 'y');
    EXPECT_EQ(f.ed.Lines().Get(0), Long(3999) + "y" + Long(1001));
    f.key(ecLineEnd);
    EXPECT_EQ(f.ed.CaretX(), 5002);
    f.key(ecLineStart);
    f.key(ecSelLineEnd);
    EXPECT_EQ(f.ed.SelText().size(), 5001u);
    // Virtual space still ends at the width on short lines.
    f.ed.SetCaretXY({3000, 2});
    EXPECT_EQ(f.ed.CaretX(), 2025);
}

TEST(LongLines, CutTakesTheWholeLineAndUndoPutsItBack)
{
    const std::string line = Long(3000, 'a') + "END";
    Fixture f(line + "\r\nnext\r\n");
    f.key(ecSelLineEnd);
    f.key(ecCut);
    EXPECT_EQ(f.ed.Lines().Get(0), "");
    ASSERT_TRUE(f.clipboard.get().has_value());
    EXPECT_EQ(f.clipboard.get()->text, line);
    f.ed.Undo();
    EXPECT_EQ(f.ed.Lines().Get(0), line);
}

TEST(LongLines, JoiningByBackspaceUndoesWhereTheLinesMet)
{
    const std::string line = Long(2500, 'b');
    Fixture f(line + "\r\nnext\r\n");
    f.ed.SetCaretXY({1, 2});
    f.key(ecDeleteLastChar);
    EXPECT_EQ(f.ed.Lines().Get(0), line + "next");
    f.ed.Undo();
    EXPECT_EQ(f.text(), line + "\r\nnext");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 2}));
}

TEST(LongLines, ReplaceBeyondTheWidthReplacesTheMatch)
{
    const std::string head = Long(2100, 'c');
    Fixture f(head + "needle" + Long(10, 'c') + "needle\r\n");
    EXPECT_EQ(f.ed.SearchReplace("needle", "pin", ssoReplace | ssoEntireScope), 1);
    EXPECT_EQ(f.ed.Lines().Get(0), head + "pin" + Long(10, 'c') + "needle");
    f.ed.Undo();
    EXPECT_EQ(f.ed.SearchReplace("needle", "pin", ssoReplaceAll | ssoEntireScope), 2);
    EXPECT_EQ(f.ed.Lines().Get(0), head + "pin" + Long(10, 'c') + "pin");
    f.ed.Undo();
    EXPECT_EQ(f.ed.Lines().Get(0), head + "needle" + Long(10, 'c') + "needle");
}

// ---- search in every selection mode -------------------------------------------------------

TEST(SearchModes, FindAndReplaceTakeExactlyTheMatchAndTheModeComesBack)
{
    for (TOstSelectionMode mode : {smNormal, smLine, smColumn}) {
        Fixture f("one two three\r\nfour two five\r\n");
        f.ed.SetSelectionMode(mode);
        EXPECT_EQ(f.ed.SearchReplace("two", "", ssoEntireScope), 1) << mode;
        EXPECT_EQ(f.ed.SelText(), "two") << mode;
        EXPECT_EQ(f.ed.SelectionMode(), mode);
        EXPECT_EQ(f.ed.SearchReplace("two", "2", ssoReplace | ssoEntireScope), 1) << mode;
        EXPECT_EQ(f.text(), "one 2 three\r\nfour two five") << mode;
        EXPECT_EQ(f.ed.SearchReplace("two", "2", ssoReplaceAll | ssoEntireScope), 1) << mode;
        EXPECT_EQ(f.text(), "one 2 three\r\nfour 2 five") << mode;
        EXPECT_EQ(f.ed.SelectionMode(), mode);
        EXPECT_EQ(f.ed.ActiveSelectionMode(), mode);
        // A new selection is made in the chosen mode again.
        f.ed.SetCaretXY({1, 1});
        f.key(ecSelDown);
        EXPECT_EQ(f.ed.ActiveSelectionMode(), mode);
    }
}

TEST(SearchModes, WithoutSelectionsSearchStillReplacesOnlyTheMatch)
{
    TOstEditorOptions options = TCustomOstEdit::TemplateOptions();
    options.include(eoNoSelection);
    Fixture f("abc abc\r\n", options);
    f.ed.SelectAll();
    EXPECT_FALSE(f.ed.SelAvail());
    EXPECT_EQ(f.ed.SearchReplace("abc", "", ssoEntireScope), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 1}));
    EXPECT_EQ(f.ed.SearchReplace("abc", "x", ssoReplace | ssoEntireScope), 1);
    EXPECT_EQ(f.text(), "x abc");
    EXPECT_EQ(f.ed.SearchReplace("abc", "y", ssoReplaceAll | ssoEntireScope), 1);
    EXPECT_EQ(f.text(), "x y");
    f.ed.Undo();
    EXPECT_EQ(f.text(), "x abc");
}

TEST(SearchModes, PromptedReplaceShowsTheMatchUnlockedWhileAsking)
{
    Fixture f("ab ab ab\r\n");
    std::vector<std::string> asked;
    f.ed.OnReplaceText = [&](const std::string&, const std::string&, int, int) {
        EXPECT_EQ(f.ed.PaintLock(), 0);
        asked.push_back(f.ed.SelText() + "|" + f.text());
        return asked.size() == 2 ? raSkip : raReplace;
    };
    EXPECT_EQ(f.ed.SearchReplace("ab", "X", ssoReplace | ssoReplaceAll | ssoPromptOnReplace | ssoEntireScope), 3);
    EXPECT_EQ(f.text(), "X ab X");
    EXPECT_EQ(asked, (std::vector<std::string>{"ab|ab ab ab", "ab|X ab ab", "ab|X ab ab"}));
}

// ---- column blocks ------------------------------------------------------------------------

TEST(ColumnBlocks, DeletingABlockLeavesTheCaretOnItsLastLine)
{
    Fixture f("abcdef\r\nghijkl\r\nmnopqr\r\n");
    f.ed.SetSelectionMode(smColumn);
    f.ed.SetCaretXY({2, 1});
    f.ed.SetBlockBegin({2, 1});
    f.ed.SetBlockEnd({4, 3});
    f.key(ecDeleteChar);
    EXPECT_EQ(f.text(), "adef\r\ngjkl\r\nmpqr");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 3}));
    f.ed.Undo();
    EXPECT_EQ(f.text(), "abcdef\r\nghijkl\r\nmnopqr");
}

// ---- the undo limit -------------------------------------------------------------------------

TEST(UndoLimit, AStepLargerThanTheLimitStillUndoesWhole)
{
    std::string line;
    for (int i = 0; i < 1500; ++i)
        line += "ab ";
    Fixture f("first\r\n" + line + "\r\n");
    f.ed.SetCaretXY({1, 1});
    f.key(ecChar, 'z');
    ASSERT_EQ(f.ed.MaxUndo(), 1024);
    EXPECT_EQ(f.ed.SearchReplace("ab", "x", ssoReplaceAll | ssoEntireScope), 1500);
    EXPECT_TRUE(f.ed.UndoList().FullUndoImpossible());
    f.ed.Undo();
    // Trimming took the last blank; undo gives it back too.
    EXPECT_TRUE(f.ed.Lines().Get(1) == line);
    // The older step went whole; nothing half done is left to undo.
    EXPECT_FALSE(f.ed.CanUndo());
    EXPECT_EQ(f.ed.Lines().Get(0), "zfirst");
}
