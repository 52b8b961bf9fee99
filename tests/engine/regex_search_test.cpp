#include <gtest/gtest.h>

#include <vector>

#include "editor/OstEditRegexSearch.h"

using namespace ostrel;

namespace {

struct Found {
    int pos, len;
    friend bool operator==(const Found&, const Found&) = default;
};

std::vector<Found> FindAll(TOstEditRegexSearch& s, std::string_view line)
{
    std::vector<Found> out;
    const int n = s.FindAll(line);
    for (int i = 0; i < n; ++i)
        out.push_back({s.Result(i), s.Length(i)});
    return out;
}

}  // namespace

TEST(RegexSearch, FindsEveryMatchWithItsLength)
{
    TOstEditRegexSearch s;
    s.SetOptions(ssoMatchCase);
    s.SetPattern("[0-9]+");
    EXPECT_EQ(FindAll(s, "a12b3"), (std::vector<Found>{{2, 2}, {5, 1}}));
    EXPECT_EQ(FindAll(s, "none"), std::vector<Found>{});
    s.SetPattern("x*");
    EXPECT_EQ(FindAll(s, "xxa"), (std::vector<Found>{{1, 2}, {3, 0}, {4, 0}}));
    EXPECT_EQ(s.Pattern(), "x*");
}

TEST(RegexSearch, IgnoresCaseUnlessMatchCaseAndIgnoresWholeWord)
{
    TOstEditRegexSearch s;
    s.SetPattern("kot");
    s.SetOptions(ssoWholeWord);
    EXPECT_EQ(FindAll(s, "KOTek"), (std::vector<Found>{{1, 3}}));
    s.SetOptions(ssoMatchCase);
    EXPECT_EQ(FindAll(s, "KOTek"), std::vector<Found>{});
    s.SetOptions(0);
    s.SetPattern("\xB9");  // a with ogonek finds its capital
    EXPECT_EQ(FindAll(s, "\xA5"), (std::vector<Found>{{1, 1}}));
}

TEST(RegexSearch, ReplacementExpandsGroupReferences)
{
    TOstEditRegexSearch s;
    s.SetPattern("([0-9]+)");
    ASSERT_EQ(s.FindAll("x12y"), 1);
    EXPECT_EQ(s.Replace("12", "<$1>"), "<12>");
    EXPECT_EQ(s.Replace("12", "$&-\\$1-${1}"), "12-$1-12");
}

TEST(RegexSearch, ReplacementOfOneMatchIsExpandedOnce)
{
    TOstEditRegexSearch s;
    s.SetPattern("x*");
    ASSERT_EQ(s.FindAll("xxa"), 3);
    EXPECT_EQ(s.Replace("xx", "[$&]"), "[xx]") << "the empty match after it is no part of it";
}

TEST(RegexSearch, ReplacementKeepsTheContextOfTheLine)
{
    TOstEditRegexSearch s;
    s.SetOptions(ssoMatchCase);
    s.SetPattern("\\B(x)");
    ASSERT_EQ(s.FindAll("ax"), 1);
    EXPECT_EQ(s.Replace("x", "<$1>"), "<x>");

    s.SetPattern("^(a)|(a)");
    ASSERT_EQ(s.FindAll("a ba"), 2);
    EXPECT_EQ(s.ReplaceResult(0, "[$1|$2]"), "[a|]");
    EXPECT_EQ(s.ReplaceResult(1, "[$1|$2]"), "[|a]");
}

TEST(RegexSearch, TextNotFromTheLastSearchIsReplacedByTheExpression)
{
    TOstEditRegexSearch s;
    s.SetPattern("(b)");
    ASSERT_EQ(s.FindAll("abc"), 1);
    EXPECT_EQ(s.Replace("bb", "<$1>"), "<b><b>");
}

TEST(RegexSearch, InvalidPatternRaisesTheEngineError)
{
    TOstEditRegexSearch s;
    s.SetPattern("(a");
    try {
        s.FindAll("a");
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeCompParseRegUnmatchedBrackets);
    }
}
