// Search and replace through the editor control, with the plain and the
// regular-expression engine.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"
#include "editor/OstEditRegexSearch.h"

using namespace ostrel;

namespace {

struct Fixture {
    TOstEditSearch plain;
    TOstEditRegexSearch regex;
    TOstEdit ed;
    explicit Fixture(std::string_view bytes)
    {
        ed.Lines().LoadFromBytes(bytes);
        ed.SetSearchEngine(&plain);
    }
    std::string bytes() const { return ed.Lines().Text(); }
};

constexpr TOstSearchOptions kReplaceFromDialog = ssoReplace | ssoReplaceAll | ssoPromptOnReplace;

}  // namespace

TEST(EditorSearch, WithoutEngineOrPattern)
{
    TOstEdit ed;
    ed.Lines().LoadFromBytes("abc");
    try {
        ed.SearchReplace("a", "", 0);
        FAIL();
    } catch (const EOstEditError& e) {
        EXPECT_STREQ(e.what(), "No search engine has been assigned");
    }
    TOstEditSearch plain;
    ed.SetSearchEngine(&plain);
    EXPECT_EQ(ed.SearchReplace("", "", 0), 0);
}

TEST(EditorSearch, ForwardsFromTheCaretOverLineEnds)
{
    Fixture f("one cat\r\ntwo\r\nthree cat\r\n");
    f.ed.SetCaretXY({5, 1});
    EXPECT_EQ(f.ed.SearchReplace("cat", "", 0), 1);
    EXPECT_EQ(f.ed.SelText(), "cat");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));
    EXPECT_EQ(f.ed.SearchReplace("cat", "", 0), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{10, 3}));
    EXPECT_EQ(f.ed.SearchReplace("cat", "", 0), 0);
    EXPECT_EQ(f.ed.SearchReplace("cat", "", ssoEntireScope), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{8, 1}));
}

TEST(EditorSearch, BackwardsFindsTheNearestMatchEndingBeforeTheCaret)
{
    Fixture f("ab ab\r\nab ab\r\n");
    f.ed.SetCaretXY({4, 2});  // inside the second "ab" of line 2
    EXPECT_EQ(f.ed.SearchReplace("ab", "", ssoBackwards), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 2}));
    EXPECT_EQ(f.ed.SearchReplace("ab", "", ssoBackwards), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 1}));
    EXPECT_EQ(f.ed.SearchReplace("ab", "", ssoBackwards), 1);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));
    EXPECT_EQ(f.ed.SearchReplace("ab", "", ssoBackwards), 0);
}

TEST(EditorSearch, CaseInsensitiveSearchFoldsPolishLetters)
{
    Fixture f("x \xB9 y\r\n");  // "x ą y"
    EXPECT_EQ(f.ed.SearchReplace("\xA5", "", ssoEntireScope), 1);  // "Ą"
    EXPECT_EQ(f.ed.SearchReplace("\xA5", "", ssoEntireScope | ssoMatchCase), 0);
}

TEST(EditorSearch, WholeWordsStandBetweenDelimiters)
{
    Fixture f("kotek kot_ kot. (kot)\r\n");
    const TOstSearchOptions whole = ssoWholeWord | ssoEntireScope | ssoReplace | ssoReplaceAll;
    EXPECT_EQ(f.ed.SearchReplace("kot", "pies", whole), 2);
    EXPECT_EQ(f.bytes(), "kotek kot_ pies. (pies)\r\n");
}

TEST(EditorReplace, ReplaceFromTheDialogIsOneUndoStep)
{
    Fixture f("ab ab\r\n");
    EXPECT_EQ(f.ed.SearchReplace("ab", "abc", kReplaceFromDialog | ssoEntireScope), 2);
    EXPECT_EQ(f.bytes(), "abc abc\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "ab ab\r\n");
    f.ed.Redo();
    EXPECT_EQ(f.bytes(), "abc abc\r\n");
}

TEST(EditorReplace, ReplaceWithoutAllStopsAfterTheFirst)
{
    Fixture f("a a a\r\n");
    EXPECT_EQ(f.ed.SearchReplace("a", "bb", ssoReplace | ssoEntireScope), 1);
    EXPECT_EQ(f.bytes(), "bb a a\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 1}));
}

TEST(EditorReplace, PromptAnswersSkipReplaceAndAll)
{
    Fixture f("x x x x\r\nx\r\n");
    std::vector<TOstReplaceAction> answers{raSkip, raReplace, raReplaceAll};
    size_t asked = 0;
    f.ed.OnReplaceText = [&](const std::string&, const std::string&, int, int) { return answers[asked++]; };
    f.ed.SearchReplace("x", "y", kReplaceFromDialog | ssoEntireScope);
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(f.bytes(), "x y y y\r\ny\r\n");
    f.ed.Undo();  // everything after "all" went in as one step
    EXPECT_EQ(f.bytes(), "x y x x\r\nx\r\n");

    Fixture g("x x\r\n");
    g.ed.OnReplaceText = [](const std::string&, const std::string&, int, int) { return raCancel; };
    EXPECT_EQ(g.ed.SearchReplace("x", "y", kReplaceFromDialog | ssoEntireScope), 1);
    EXPECT_EQ(g.bytes(), "x x\r\n");
}

TEST(EditorReplace, ColumnSelectionLimitsMatchesToItsCharacters)
{
    Fixture f("aaaa\r\naaaa\r\naaaa\r\n");
    f.ed.SetSelectionMode(smColumn);
    f.ed.SetBlockBegin({2, 1});
    f.ed.SetBlockEnd({4, 3});
    const TOstSearchOptions options = ssoSelectedOnly | ssoEntireScope | ssoReplace | ssoReplaceAll;
    EXPECT_EQ(f.ed.SearchReplace("a", "b", options), 6);
    EXPECT_EQ(f.bytes(), "abba\r\nabba\r\nabba\r\n");
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), "aaaa\r\naaaa\r\naaaa\r\n");
}

TEST(EditorReplace, NormalSelectionRangeFollowsReplacementLength)
{
    Fixture f("a a a a\r\n");
    f.ed.SetBlockBegin({1, 1});
    f.ed.SetBlockEnd({6, 1});  // "a a a"
    const TOstSearchOptions options = ssoSelectedOnly | ssoReplace | ssoReplaceAll;
    EXPECT_EQ(f.ed.SearchReplace("a", "xyz", options), 3);
    EXPECT_EQ(f.bytes(), "xyz xyz xyz a\r\n");
}

TEST(EditorReplace, RegularExpressionTemplates)
{
    Fixture f("x12y\r\nz7\r\n");
    f.ed.SetSearchEngine(&f.regex);
    EXPECT_EQ(f.ed.SearchReplace("([0-9]+)", "<$1>", kReplaceFromDialog | ssoEntireScope), 2);
    EXPECT_EQ(f.bytes(), "x<12>y\r\nz<7>\r\n");
}

TEST(EditorSearch, TheProgressHandlerCanEndAReplaceBetweenLines)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "ab\r\n";
    Fixture f(text);
    std::vector<std::pair<int, int>> asked;
    f.ed.OnSearchProgress = [&](int done, int total) {
        asked.emplace_back(done, total);
        return done < 10;
    };
    EXPECT_EQ(f.ed.SearchReplace("a", "x", ssoReplaceAll | ssoEntireScope), 10);
    ASSERT_EQ(asked.size(), 11u);
    EXPECT_EQ(asked.front(), (std::pair<int, int>{0, 1000}));
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += i < 10 ? "xb\r\n" : "ab\r\n";
    EXPECT_EQ(f.bytes(), expected);
    f.ed.Undo();
    EXPECT_EQ(f.bytes(), text) << "what was replaced goes back as one step";
    // Backwards the lines are counted from the end.
    asked.clear();
    f.ed.OnSearchProgress = [&](int done, int total) {
        asked.emplace_back(done, total);
        return true;
    };
    f.ed.SetCaretXY({1, 1000});
    EXPECT_EQ(f.ed.SearchReplace("b", "", ssoBackwards), 1);
    EXPECT_EQ(asked.front(), (std::pair<int, int>{0, 1000}));
}
