// The main window's own text commands as undo steps: deleting and
// duplicating lines, the Polish recodings, recoding before a save, and a
// save, which never costs the history.

#include <QFile>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"

namespace ostrel::test {
namespace {

class WindowUndoTest : public MainWindowTest {
protected:
    TOstEdit& Editor() const { return Current().Editor(); }
    std::string Text() const { return Editor().Text(); }
    // Undoes until nothing is left, the texts on the way back.
    std::vector<std::string> UndoAll() const
    {
        std::vector<std::string> texts;
        for (int guard = 0; Editor().CanUndo() && guard < 1000; ++guard) {
            Click("miCofnij1");
            texts.push_back(Text());
        }
        return texts;
    }
    void RedoAll() const
    {
        for (int guard = 0; Editor().CanRedo() && guard < 1000; ++guard)
            Click("miPowtorz1");
    }
};

TEST_F(WindowUndoTest, DuplicateLineIsOneStepAndLaterUndosStayOnTheirLines)
{
    Type("pierwsza\r\ndruga\r\ntrzecia");
    const std::string typed = Text();
    Editor().SetCaretXY({1, 1});
    Click("miDuplikujWiersz1");
    EXPECT_EQ(Text(), "pierwsza\r\npierwsza\r\ndruga\r\ntrzecia");
    EXPECT_EQ(Editor().CaretY(), 1);
    Click("miCofnij1");
    EXPECT_EQ(Text(), typed);
    const std::vector<std::string> back = UndoAll();
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.back(), "");
    RedoAll();
    EXPECT_EQ(Text(), "pierwsza\r\npierwsza\r\ndruga\r\ntrzecia");
}

TEST_F(WindowUndoTest, DuplicateLineCopiesTrailingBlanksExactlyWithTrimmingOn)
{
    ASSERT_TRUE(Editor().HasOption(eoTrimTrailingSpaces));
    Editor().Lines().LoadFromBytes("a \t\r\nb\t");
    Editor().SetCaretXY({1, 2});
    Click("miDuplikujWiersz1");
    EXPECT_EQ(Text(), "a \t\r\nb\t\r\nb\t");
    Click("miCofnij1");
    EXPECT_EQ(Text(), "a \t\r\nb\t");
}

TEST_F(WindowUndoTest, DeleteLineIsOneStepAndKeepsTheLineAboveAsItWas)
{
    Editor().Lines().LoadFromBytes("jeden\t \r\ndwa\r\ntrzy");
    const std::string original = Text();
    Editor().SetCaretXY({2, 3});
    Click("miUsunWiersz1");
    EXPECT_EQ(Text(), "jeden\t \r\ndwa");
    EXPECT_EQ(Editor().CaretY(), 2);
    EXPECT_EQ(window->StatusPanelText(0), res::kModified);
    Editor().SetCaretXY({1, 1});
    Click("miUsunWiersz1");
    EXPECT_EQ(Text(), "dwa");
    Click("miCofnij1");
    EXPECT_EQ(Text(), "jeden\t \r\ndwa");
    Click("miCofnij1");
    EXPECT_EQ(Text(), original);
    EXPECT_FALSE(Editor().CanUndo());
    RedoAll();
    EXPECT_EQ(Text(), "dwa");
}

TEST_F(WindowUndoTest, DeleteLineOnTheOnlyLineEmptiesItAsOneStep)
{
    Type("abc");
    Click("miUsunWiersz1");
    EXPECT_EQ(Editor().Lines().Count(), 1);
    EXPECT_EQ(Text(), "");
    Click("miCofnij1");
    EXPECT_EQ(Text(), "abc");
}

TEST_F(WindowUndoTest, EachRecodingIsOneStepAndKeepsTheEarlierHistory)
{
    Editor().Lines().SetEncoding(TOstEncoding::Windows1250);
    Type("Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1");
    const std::string typed = Text();
    Click("miPrzekodujNaISO1");
    EXPECT_NE(Text(), typed);
    Click("miPrzekodujNaBezPolskich1");
    EXPECT_EQ(Text(), "Zazolc gesla jazn");
    Click("miCofnij1");
    EXPECT_EQ(Editor().Lines().Encoding(), TOstEncoding::Iso88592);
    Click("miCofnij1");
    EXPECT_EQ(Text(), typed);
    EXPECT_EQ(Editor().Lines().Encoding(), TOstEncoding::Windows1250);
    EXPECT_EQ(UndoAll().back(), "");
    RedoAll();
    EXPECT_EQ(Text(), "Zazolc gesla jazn");
}

TEST_F(WindowUndoTest, SavingWithRecodingKeepsTheHistoryAndTheRecodingIsUndoable)
{
    const TempDir dir;
    const QString path = OpenFile(dir.path(), "a.txt", "ab\xb9\r\n");
    Editor().Lines().SetEncoding(TOstEncoding::Windows1250);
    Editor().SetCaretXY({1, 1});
    Type("x");
    window->SetDecodeBeforeSave(1);
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir.path() / "a.txt"), "xab\xb1\r\n");
    EXPECT_EQ(window->StatusPanelText(0), res::kNotModified);
    ASSERT_TRUE(Editor().CanUndo());
    Click("miCofnij1");
    EXPECT_EQ(Text(), "xab\xb9");
    Click("miCofnij1");
    EXPECT_EQ(Text(), "ab\xb9");
    // Without recoding, a save leaves every step in place too.
    window->SetDecodeBeforeSave(0);
    Type("y");
    Click("miZapisz1");
    Click("miCofnij1");
    EXPECT_EQ(Text(), "ab\xb9");
    EXPECT_EQ(window->StatusPanelText(0), res::kModified);
}

}  // namespace
}  // namespace ostrel::test
