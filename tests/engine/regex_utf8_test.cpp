// The regular-expression engine in UTF-8 mode: characters, not bytes, are
// what literals, quantifiers, sets and classes take; offsets stay bytes.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "editor/OstRegex.h"

using namespace ostrel;

namespace {

using Span = std::pair<std::ptrdiff_t, std::ptrdiff_t>;  // 1-based byte start, byte length

std::vector<Span> Utf8Matches(std::string_view pattern, std::string_view subject, std::string_view mods = {})
{
    TOstRegex re;
    re.SetUtf8Mode(true);
    re.SetModifierStr(mods);
    re.SetExpression(pattern);
    std::vector<Span> out;
    for (bool found = re.Exec(subject); found; found = re.ExecNext())
        out.emplace_back(re.MatchPos(0), re.MatchLen(0));
    return out;
}

std::vector<std::string> Utf8Texts(std::string_view pattern, std::string_view subject, std::string_view mods = {})
{
    std::vector<std::string> out;
    for (const auto& [pos, len] : Utf8Matches(pattern, subject, mods))
        out.emplace_back(subject.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(len)));
    return out;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(RegexUtf8, AMultiByteLiteralIsOneAtom)
{
    EXPECT_EQ(Utf8Texts("ż+", "żżż ż"), (Texts{"żżż", "ż"}));
    EXPECT_EQ(Utf8Texts("ża{2}", "żaa"), (Texts{"żaa"}));
    EXPECT_EQ(Utf8Texts("aż{2}", "ażż ażx"), (Texts{"ażż"}));
    EXPECT_EQ(Utf8Texts("ó?w", "ów w"), (Texts{"ów", "w"}));
    EXPECT_EQ(Utf8Texts("(żó)+", "żóżóż"), (Texts{"żóżó"}));
    // In single-byte mode the same bytes repeat only the last byte, as before.
    TOstRegex bytes;
    bytes.SetExpression("ż+");
    ASSERT_TRUE(bytes.Exec("\xC5\xBC\xBC"));
    EXPECT_EQ(bytes.MatchLen(0), 3);
}

TEST(RegexUtf8, DotAndNegatedSetsTakeAWholeCharacter)
{
    EXPECT_EQ(Utf8Texts(".", "aż中😀"), (Texts{"a", "ż", "中", "😀"}));
    EXPECT_EQ(Utf8Texts("[^a]", "aęb"), (Texts{"ę", "b"}));
    EXPECT_EQ(Utf8Texts("x.y", "xźy xy"), (Texts{"xźy"}));
    EXPECT_EQ(Utf8Texts(".{2}", "ąćęł"), (Texts{"ąć", "ęł"}));
    EXPECT_EQ(Utf8Texts("\\W", "a😀b"), (Texts{"😀"}));
    // A combining mark is a code point of its own.
    EXPECT_EQ(Utf8Texts(".", "e\xCC\x81"), (Texts{"e", "\xCC\x81"}));
}

TEST(RegexUtf8, SetsAndRangesHoldCodePoints)
{
    EXPECT_EQ(Utf8Texts("[ąę]+", "kąęt"), (Texts{"ąę"}));
    EXPECT_EQ(Utf8Texts("[а-я]+", "Мир мир"), (Texts{"ир", "мир"}));
    EXPECT_EQ(Utf8Texts("[α-ω]", "Ωω"), (Texts{"ω"}));
    EXPECT_EQ(Utf8Texts("[^ą-ż]+", "aąb"), (Texts{"a", "b"}));
    EXPECT_EQ(Utf8Texts("[\\xE9]", "é"), (Texts{"é"})) << "\\x names a code point";
    EXPECT_EQ(Utf8Texts("\\xF3w", "ów"), (Texts{"ów"}));
    TOstRegex re;
    re.SetUtf8Mode(true);
    re.SetExpression("[ż-a]");
    try {
        re.Compile();
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeInvalidRange);
    }
}

TEST(RegexUtf8, ClassesAndBoundariesFollowUnicode)
{
    EXPECT_EQ(Utf8Texts("\\w+", "zażółć gęślą, Жук 中文 ٣٤"), (Texts{"zażółć", "gęślą", "Жук", "中文", "٣٤"}));
    EXPECT_EQ(Utf8Texts("\\d+", "x٣٤９y²"), (Texts{"٣٤９"}));
    EXPECT_EQ(Utf8Texts("\\s", "a\xC2\xA0" "b\xE3\x80\x80" "c"), (Texts{"\xC2\xA0", "\xE3\x80\x80"}));
    EXPECT_EQ(Utf8Texts("\\bż\\w*", "żółw aż żuk"), (Texts{"żółw", "żuk"}));
    EXPECT_EQ(Utf8Texts("\\Bą", "ąą"), (Texts{"ą"}));
    EXPECT_EQ(Utf8Texts("[\\w-]+", "ą-ę!"), (Texts{"ą-ę"}));
}

TEST(RegexUtf8, IgnoringCaseFoldsByUnicode)
{
    EXPECT_EQ(Utf8Texts("żółw", "ŻÓŁW Żółw", "i"), (Texts{"ŻÓŁW", "Żółw"}));
    EXPECT_EQ(Utf8Texts("(?i)σ", "Σσς"), (Texts{"Σ", "σ", "ς"}));
    EXPECT_EQ(Utf8Texts("(?i)[а-я]+", "МИР"), (Texts{"МИР"}));
    EXPECT_EQ(Utf8Texts("(?i)[^ł]", "ŁłX"), (Texts{"X"}));
    EXPECT_EQ(Utf8Texts("(?i)k", "kK\xE2\x84\xAA"), (Texts{"k", "K", "\xE2\x84\xAA"})) << "the Kelvin sign";
    EXPECT_EQ(Utf8Texts("(?i)ą+", "ĄąĄ"), (Texts{"ĄąĄ"}));
    EXPECT_EQ(Utf8Texts("(?i)(ę)\\1", "ęĘ"), (Texts{"ęĘ"}));
    EXPECT_EQ(Utf8Texts("(?i)(ę)\\1", "ęx"), Texts{});
}

TEST(RegexUtf8, AnInvalidByteIsACharacterOnlyDotAndNegationsMatch)
{
    const std::string subject = "a\xFF" "b\xC5" "c";
    EXPECT_EQ(Utf8Texts(".", subject).size(), 5u);
    EXPECT_EQ(Utf8Texts("[^a-z]", subject), (Texts{"\xFF", "\xC5"}));
    EXPECT_EQ(Utf8Texts("\\w", subject), (Texts{"a", "b", "c"}));
    EXPECT_EQ(Utf8Texts("[\\s\\d\\w]+", subject), (Texts{"a", "b", "c"}));
    EXPECT_EQ(Utf8Texts("b.c", subject), (Texts{"b\xC5" "c"}));
    // A lone byte in the pattern matches that byte only where it stands alone.
    EXPECT_EQ(Utf8Texts("\xC5", "\xC5\xBC \xC5"), (Texts{"\xC5"}));
}

TEST(RegexUtf8, NoMatchStartsOrEndsInsideACharacter)
{
    // "ą" is C4 85, "ő" is C5 91: their second bytes never start a match.
    EXPECT_EQ(Utf8Matches("[^x]", "ą"), (std::vector<Span>{{1, 2}}));
    EXPECT_EQ(Utf8Matches("x*", "ąb"), (std::vector<Span>{{1, 0}, {3, 0}, {4, 0}}));
    EXPECT_TRUE(Utf8Matches("\\B", "ą").empty());
    EXPECT_EQ(Utf8Matches(".*", "żż"), (std::vector<Span>{{1, 4}, {5, 0}}));
    EXPECT_EQ(Utf8Matches("ż*?", "ż"), (std::vector<Span>{{1, 0}, {3, 0}}));
    TOstRegex re;
    re.SetUtf8Mode(true);
    re.SetExpression(".");
    re.Exec("żb");
    ASSERT_TRUE(re.ExecFrom(2)) << "from inside a character the next one is found";
    EXPECT_EQ(re.MatchPos(0), 3);
}

TEST(RegexUtf8, ReplaceAndTemplatesWorkOnCharacters)
{
    TOstRegex re;
    re.SetUtf8Mode(true);
    re.SetExpression("(ł)(ó)?");
    EXPECT_EQ(re.Replace("łódź łza", "[$2$1]", true), "[ół]dź [ł]za");
    re.SetExpression(".");
    EXPECT_EQ(re.Replace("żółw", "<$&>", true), "<ż><ó><ł><w>");
}

// ---- the step budget

namespace {

int SearchError(std::string_view pattern, std::string_view subject, double& seconds, bool utf8 = false)
{
    TOstRegex re;
    re.SetUtf8Mode(utf8);
    re.SetExpression(pattern);
    const auto t0 = std::chrono::steady_clock::now();
    int code = 0;
    try {
        re.Exec(subject);
    } catch (const EOstRegex& e) {
        code = e.ErrorCode();
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return code;
}

}  // namespace

TEST(RegexStepBudget, RunawayPatternsEndWithTheirError)
{
    double seconds = 0;
    for (bool utf8 : {false, true}) {
        EXPECT_EQ(SearchError("^(a+)+$", std::string(30, 'a') + "!", seconds, utf8), reeStepLimitExceeded);
        EXPECT_EQ(SearchError("(.+){20}x", std::string(40, 'a'), seconds, utf8), reeStepLimitExceeded);
        EXPECT_EQ(SearchError("a{1,99999999}b", std::string(1'000'000, 'a'), seconds, utf8), reeStepLimitExceeded);
    }
    TOstRegex re;
    re.SetExpression("^(a+)+$");
    try {
        re.Exec(std::string(30, 'a') + "!");
    } catch (const EOstRegex& e) {
        EXPECT_NE(std::string(e.what()).find("Step Limit Exceeded"), std::string::npos);
        EXPECT_EQ(re.MatchPos(0), -1);
    }
    EXPECT_EQ(re.LastError(), reeStepLimitExceeded);
    EXPECT_EQ(TOstRegex::ErrorMsg(reeStepLimitExceeded),
              "TOstRegex(exec): Step Limit Exceeded (the match takes too long for the input)");
}

TEST(RegexStepBudget, LinearWorkOnLongSubjectsStaysWithinIt)
{
    const std::string line = std::string(2'000'000, 'a') + "b";
    double seconds = 0;
    EXPECT_EQ(SearchError("a+b", line, seconds), 0);
    EXPECT_EQ(SearchError("(a|c)*b", line.substr(line.size() - 100'000), seconds), 0);
    EXPECT_EQ(SearchError("\\w+b", line, seconds, true), 0);
    EXPECT_EQ(SearchError("^(a+)+b$", std::string(25, 'a') + "b", seconds), 0) << "the match is found";
}

TEST(RegexStepBudget, TheInterruptCheckEndsALongSearch)
{
    TOstRegex re;
    int asked = 0;
    re.SetInterruptCheck([&] { return ++asked >= 2; });
    re.SetExpression("a{1,99999999}b");
    try {
        re.Exec(std::string(1'000'000, 'a'));
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeInterrupted);
    }
    EXPECT_EQ(asked, 2);
    re.SetInterruptCheck(nullptr);
    EXPECT_TRUE(re.Exec("aab"));
}
