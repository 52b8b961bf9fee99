#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "editor/OstEditSearch.h"
#include "editor/OstEditTypes.h"
#include "platform/CodePage.h"

using namespace ostrel;

namespace {

std::vector<int> FindAll(std::string_view pattern, std::string_view line, TOstSearchOptions options)
{
    TOstEditSearch s;
    s.SetOptions(options);
    s.SetPattern(pattern);
    std::vector<int> out;
    const int n = s.FindAll(line);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(s.Length(i), static_cast<int>(pattern.size()));
        out.push_back(s.Result(i));
    }
    return out;
}

bool IsWordByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || c == '_' || codepage::IsUpper(c) || codepage::IsLower(c) ||
           c == 0xDF || c == 0xB5;
}

// Straightforward left-to-right search with the same rules, for comparison.
std::vector<int> NaiveFindAll(const std::string& pattern, const std::string& line, bool matchCase,
                              bool wholeWord)
{
    auto fold = [&](const std::string& s) { return matchCase ? s : codepage::ToLower(s); };
    const std::string p = fold(pattern), l = fold(line);
    std::vector<int> out;
    for (std::size_t at = 0; at + p.size() <= l.size();) {
        const bool here = l.compare(at, p.size(), p) == 0;
        const std::size_t end = at + p.size();
        const bool alone = (at == 0 || !IsWordByte(static_cast<unsigned char>(l[at - 1]))) &&
                           (end == l.size() || !IsWordByte(static_cast<unsigned char>(l[end])));
        if (here && (!wholeWord || alone)) {
            out.push_back(static_cast<int>(at + 1));
            at = end;
        } else {
            ++at;
        }
    }
    return out;
}

}  // namespace

TEST(PlainSearch, FindsEveryNonOverlappingMatchLeftToRight)
{
    EXPECT_EQ(FindAll("aa", "aaaa", ssoMatchCase), (std::vector<int>{1, 3}));
    EXPECT_EQ(FindAll("aba", "ababa", ssoMatchCase), (std::vector<int>{1}));
    EXPECT_EQ(FindAll("ab", "xab ab", ssoMatchCase), (std::vector<int>{2, 5}));
    EXPECT_EQ(FindAll("abc", "ab", ssoMatchCase), std::vector<int>{});
    EXPECT_EQ(FindAll("a", "", ssoMatchCase), std::vector<int>{});
}

TEST(PlainSearch, CaseFollowsTheCodePageUnlessMatchCase)
{
    // 0xA5 / 0xB9: A with ogonek; 0xD3 / 0xF3: O with acute.
    EXPECT_EQ(FindAll("\xA5", "x\xB9y\xA5", 0), (std::vector<int>{2, 4}));
    EXPECT_EQ(FindAll("\xA5", "x\xB9y\xA5", ssoMatchCase), (std::vector<int>{4}));
    EXPECT_EQ(FindAll("KR\xD3L", "kr\xF3l i KR\xD3L", 0), (std::vector<int>{1, 8}));
    EXPECT_EQ(FindAll("Ab", "ab AB Ab", ssoMatchCase), (std::vector<int>{7}));
}

TEST(PlainSearch, WholeWordsStandBetweenNonWordCharactersOrLineEdges)
{
    const TOstSearchOptions ww = ssoWholeWord;
    EXPECT_EQ(FindAll("kot", "kotek", ww), std::vector<int>{});
    EXPECT_EQ(FindAll("kot", "kot_", ww), std::vector<int>{});
    EXPECT_EQ(FindAll("kot", "kot.", ww), (std::vector<int>{1}));
    EXPECT_EQ(FindAll("kot", "(kot)", ww), (std::vector<int>{2}));
    EXPECT_EQ(FindAll("kot", "kot", ww), (std::vector<int>{1}));
    EXPECT_EQ(FindAll("kot", "ma kot", ww), (std::vector<int>{4}));
    EXPECT_EQ(FindAll("kot", "kotkot kot", ww), (std::vector<int>{8}));
    EXPECT_EQ(FindAll("kot", "\xB9kot kot\xB3", ww), std::vector<int>{})
        << "Polish letters are word characters";
    EXPECT_EQ(FindAll("kot", "1kot kot9", ww), std::vector<int>{});
}

TEST(PlainSearch, EmptyPatternIsRefusedAndTheCounterRestartsWithAPattern)
{
    TOstEditSearch s;
    try {
        s.FindAll("abc");
        FAIL();
    } catch (const EOstEditError& e) {
        EXPECT_STREQ(e.what(), "Pattern is empty");
    }
    s.SetPattern("b");
    EXPECT_EQ(s.FindAll("abcb"), 2);
    EXPECT_EQ(s.FindAll("b"), 1);
    EXPECT_EQ(s.Count(), 3);
    s.SetPattern("b");
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Pattern(), "b");
    EXPECT_EQ(s.Replace("b", "x$1"), "x$1") << "the plain replacement is literal";
}

TEST(PlainSearch, SwitchingCaseRebuildsTheTables)
{
    TOstEditSearch s;
    s.SetPattern("Ab");
    s.SetOptions(ssoMatchCase);
    EXPECT_EQ(s.FindAll("ab Ab"), 1);
    s.SetOptions(0);
    EXPECT_EQ(s.FindAll("ab Ab"), 2);
    s.SetPattern("aB");
    EXPECT_EQ(s.FindAll("ab Ab"), 2);
}

// The shift tables skip text; a straightforward search must find the same.
TEST(PlainSearch, AgreesWithAStraightforwardSearchOnRandomText)
{
    std::mt19937 rng(1250);
    const std::string alphabet = "aAbB_ .\xB9\xA5";
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto text = [&](int maxLen, int minLen) {
        std::string t;
        const int len = minLen + pick(maxLen - minLen + 1);
        for (int i = 0; i < len; ++i)
            t += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        return t;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string pattern = text(4, 1);
        const std::string line = text(30, 0);
        const bool matchCase = pick(2) == 0;
        const bool wholeWord = pick(2) == 0;
        const TOstSearchOptions options =
            (matchCase ? ssoMatchCase : 0) | (wholeWord ? ssoWholeWord : 0);
        ASSERT_EQ(FindAll(pattern, line, options), NaiveFindAll(pattern, line, matchCase, wholeWord))
            << "pattern '" << pattern << "' line '" << line << "' case " << matchCase << " word "
            << wholeWord;
    }
}

// Searching backwards takes the matches of a line from the last one; the
// nearest match that ends at or before the caret must be among them.
TEST(PlainSearch, BackwardsSearchCanPickTheNearestMatchBeforeTheCaret)
{
    TOstEditSearch s;
    s.SetOptions(ssoBackwards);
    s.SetPattern("ab");
    ASSERT_EQ(s.FindAll("ab ab ab"), 3);
    const int caret = 6;  // after the second "ab"
    int nearest = 0;
    for (int i = s.ResultCount() - 1; i >= 0 && nearest == 0; --i) {
        if (s.Result(i) + s.Length(i) <= caret)
            nearest = s.Result(i);
    }
    EXPECT_EQ(nearest, 4);
}
