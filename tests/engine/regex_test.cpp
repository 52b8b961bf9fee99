#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/OstRegex.h"

using namespace ostrel;

namespace {

using Span = std::pair<std::ptrdiff_t, std::ptrdiff_t>;  // 1-based start, length

std::vector<Span> AllMatches(TOstRegex& re, std::string_view subject)
{
    std::vector<Span> out;
    for (bool found = re.Exec(subject); found; found = re.ExecNext())
        out.emplace_back(re.MatchPos(0), re.MatchLen(0));
    return out;
}

std::vector<Span> AllMatches(std::string_view pattern, std::string_view subject,
                             std::string_view mods = {})
{
    TOstRegex re;
    re.SetModifierStr(mods);
    re.SetExpression(pattern);
    return AllMatches(re, subject);
}

Span FirstMatch(std::string_view pattern, std::string_view subject, std::string_view mods = {})
{
    const auto all = AllMatches(pattern, subject, mods);
    return all.empty() ? Span{-1, -1} : all.front();
}

int CompileError(std::string_view pattern, std::string_view mods = {})
{
    TOstRegex re;
    re.SetModifierStr(mods);
    re.SetExpression(pattern);
    try {
        re.Compile();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(re.LastError(), e.ErrorCode());
        return e.ErrorCode();
    }
    return 0;
}

int RunError(std::string_view pattern, std::string_view subject)
{
    TOstRegex re;
    re.SetExpression(pattern);
    try {
        re.Exec(subject);
    } catch (const EOstRegex& e) {
        return e.ErrorCode();
    }
    return 0;
}

std::string ReplaceAll(std::string_view pattern, std::string_view subject,
                       std::string_view replacement, bool templ = true)
{
    TOstRegex re;
    re.SetExpression(pattern);
    return re.Replace(subject, replacement, templ);
}

}  // namespace

// ---- walking through the matches

TEST(RegexExec, EmptyMatchesAdvanceOneCharacterAndStopAtTheEnd)
{
    EXPECT_EQ(AllMatches("a*", "bbb"), (std::vector<Span>{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_EQ(AllMatches("x*", "xxa"), (std::vector<Span>{{1, 2}, {3, 0}, {4, 0}}));
}

TEST(RegexExec, ExecFromAndExecNextCheckTheirPreconditions)
{
    TOstRegex re;
    re.SetExpression("b");
    try {
        re.ExecNext();
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeExecNextWithoutExec);
        EXPECT_STREQ(e.what(), "TOstRegex(exec): ExecNext Without Exec[Pos]");
    }
    try {
        re.ExecFrom(1);
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeNoInputStringSpecified);
    }
    ASSERT_TRUE(re.Exec("abcb"));
    try {
        re.ExecFrom(0);
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeOffsetMustBeGreaterThen0);
    }
    EXPECT_TRUE(re.ExecFrom(3));
    EXPECT_EQ(re.MatchPos(0), 4);
    EXPECT_FALSE(re.ExecFrom(6));
    EXPECT_EQ(re.MatchPos(0), -1);
    EXPECT_FALSE(re.ExecFrom(100));
}

TEST(RegexExec, ExecFromKeepsTheContextBeforeTheOffset)
{
    TOstRegex re;
    re.SetExpression("\\bb|^c");
    ASSERT_FALSE(re.Exec("abc") && re.MatchPos(0) == 2);
    EXPECT_FALSE(re.ExecFrom(2)) << "b follows a word character; c is not at the input start";
}

TEST(RegexExec, SlotsReportPositionsLengthsAndTexts)
{
    TOstRegex re;
    re.SetExpression("(a)(x)?(b)");
    ASSERT_TRUE(re.Exec("zab"));
    EXPECT_EQ(re.MatchPos(0), 2);
    EXPECT_EQ(re.MatchLen(0), 2);
    EXPECT_EQ(re.Match(3), "b");
    EXPECT_EQ(re.MatchPos(2), -1);
    EXPECT_EQ(re.MatchLen(2), -1);
    EXPECT_EQ(re.MatchPos(15), -1);
    EXPECT_EQ(re.MatchPos(-1), -1);
    EXPECT_EQ(re.SubExprMatchCount(), 3);
    EXPECT_EQ(re.InputString(), "zab");
}

TEST(RegexExec, SubjectsMayHoldNulBytes)
{
    const std::string subject("x\0ab\0", 5);
    EXPECT_EQ(FirstMatch("a\\x00?b\\x00", subject), (Span{3, 3}));
    EXPECT_EQ(FirstMatch("\\x{0}a", subject), (Span{2, 2}));
    EXPECT_EQ(FirstMatch("b.$", subject), (Span{4, 2}));
}

TEST(RegexExec, ModifierChangeRecompilesBeforeTheNextRun)
{
    TOstRegex re;
    re.SetExpression("abc");
    EXPECT_FALSE(re.Exec("ABC"));
    re.SetModifier(rmI, true);
    EXPECT_TRUE(re.Exec("ABC"));
    re.SetModifier(rmI, false);
    EXPECT_FALSE(re.Exec("ABC"));
}

// ---- modifiers

TEST(RegexModifiers, DefaultsAndLetterStrings)
{
    TOstRegex re;
    EXPECT_EQ(re.ModifierStr(), "rsg-imx");
    re.SetModifierStr("im-s");
    EXPECT_EQ(re.ModifierMask(), rmI | rmM | rmR | rmG);
    re.SetModifierStr("-g");
    EXPECT_FALSE(re.Modifier(rmG));
    EXPECT_THROW(re.SetModifierStr("q"), EOstRegex);
}

TEST(RegexModifiers, InlineModifiersEndWithTheirGroup)
{
    EXPECT_EQ(FirstMatch("(?i)abc", "xABC"), (Span{2, 3}));
    EXPECT_EQ(FirstMatch("(?i)a((?-i)b)c", "ABC"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("(?i)a((?-i)b)c", "AbC"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("((?i)a)b", "AB"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("((?i)a)b", "Ab"), (Span{1, 2}));
    // A later branch of the same group still sees the change.
    EXPECT_EQ(FirstMatch("(x(?i)|a)", "A"), (Span{1, 1}));
    EXPECT_EQ(FirstMatch("(?I-S).", "\nA"), (Span{2, 1}));
}

TEST(RegexModifiers, IgnoringCaseFollowsTheCodePageTables)
{
    // Windows-1250: 0xA5 / 0xB9 A with ogonek, 0xA3 / 0xB3 L with stroke,
    // 0x8C / 0x9C S with acute.
    EXPECT_EQ(FirstMatch("\xB9", "x\xA5", "i"), (Span{2, 1}));
    EXPECT_EQ(FirstMatch("\xA3\xB9", "\xB3\xA5", "i"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("[\x9C]", "\x8C", "i"), (Span{1, 1}));
    EXPECT_EQ(FirstMatch("(\xB9)\\1", "\xB9\xA5", "i"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("\xB9", "\xA5"), (Span{-1, -1}));
}

TEST(RegexModifiers, WithoutGQuantifiersAreLazy)
{
    EXPECT_EQ(FirstMatch("a+", "aaa", "-g"), (Span{1, 1}));
    EXPECT_EQ(FirstMatch("(ab)+", "ababab", "-g"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("a+", "aaa", "g"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("a+?", "aaa"), (Span{1, 1}));
}

TEST(RegexModifiers, DotAndLineBreaksUnderS)
{
    EXPECT_EQ(AllMatches(".", "a\r\nb", "s").size(), 4u);
    EXPECT_EQ(AllMatches(".", "a\r\nb", "-s"), (std::vector<Span>{{1, 1}, {4, 1}}));
}

TEST(RegexModifiers, ExtendedSyntaxSkipsBlanksAndComments)
{
    EXPECT_EQ(FirstMatch("a b  c # a comment\n d", "abcd", "x"), (Span{1, 4}));
    EXPECT_EQ(FirstMatch("ab *c", "abbbc", "x"), (Span{1, 5})) << "the star takes b alone";
    EXPECT_EQ(FirstMatch("a *", "aaa", "x"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("a b", "a b"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("(?x) a (?-x) b", "a b"), (Span{1, 3}));
    // Blanks and comments between an atom and its quantifier are ignored too.
    EXPECT_EQ(FirstMatch("(ab) +c", "ababc", "x"), (Span{1, 5}));
    EXPECT_EQ(FirstMatch("ab # b repeats\n *c", "abbbc", "x"), (Span{1, 5}));
    EXPECT_EQ(FirstMatch("[0-9] {2}", "a123", "x"), (Span{2, 2}));
}

// ---- quantifiers

TEST(RegexQuantifiers, QuantifierTakesTheLastCharacterOfALiteralRun)
{
    EXPECT_EQ(FirstMatch("ab*", "abbb"), (Span{1, 4}));
    EXPECT_EQ(FirstMatch("ab*", "ababab"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("ab{2}", "abbb"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("abc?d", "abd"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("abc+?", "abccc"), (Span{1, 3}));
}

TEST(RegexQuantifiers, CountedRepeatsOfSingleAndComplexOperands)
{
    EXPECT_EQ(FirstMatch("x{2,3}", "xxxxx"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("x{2,3}?", "xxxxx"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("x{2,}", "xxxxx"), (Span{1, 5}));
    EXPECT_EQ(FirstMatch("(ab){2,3}", "abababab"), (Span{1, 6}));
    EXPECT_EQ(FirstMatch("(ab){2,3}?", "abababab"), (Span{1, 4}));
    EXPECT_EQ(FirstMatch("(ab){0}c", "abc"), (Span{3, 1}));
    EXPECT_EQ(FirstMatch("(a|ab)(c|bcd)(d*)", "abcd"), (Span{1, 4}));
    EXPECT_EQ(FirstMatch("(a+|b)*?c", "aabac"), (Span{1, 5}));
}

TEST(RegexQuantifiers, BraceThatIsNoQuantifierIsAnOrdinaryCharacter)
{
    EXPECT_EQ(FirstMatch("a{", "xa{"), (Span{2, 2}));
    EXPECT_EQ(FirstMatch("a{x}", "a{x}"), (Span{1, 4}));
    EXPECT_EQ(FirstMatch("{,5}", "a{,5}"), (Span{2, 4}));
    EXPECT_EQ(FirstMatch("a{2", "a{2"), (Span{1, 3}));
}

// ---- compile errors

TEST(RegexErrors, EveryCompileErrorHasItsCode)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"(a", reeCompParseRegUnmatchedBrackets},
        {"a)", reeCompParseRegUnmatchedBrackets2},
        {"(a*)*", reePlusStarOperandCouldBeEmpty},
        {"(a|)+", reePlusStarOperandCouldBeEmpty},
        {"\\b{2}", reePlusStarOperandCouldBeEmpty},
        {"x**", reeNestedSQP},
        {"a{2}{3}", reeNestedSQP},
        {"a???", reeNestedSQP},
        {"\\xg1", reeBadHexDigit},
        {"\\x{1g}", reeBadHexDigit},
        {"[z-a]", reeInvalidRange},
        {"\\x", reeNoHexCodeAfterBSlashX},
        {"\\x4", reeNoHexCodeAfterBSlashX},
        {"\\x{}", reeNoHexCodeAfterBSlashX},
        {"\\x{41", reeNoHexCodeAfterBSlashX},
        {"\\x{100}", reeHexCodeAfterBSlashXTooBig},
        {"[ab", reeUnmatchedSqBrackets},
        {"[]", reeUnmatchedSqBrackets},
        {"*a", reeQPSBFollowsNothing},
        {"a|+", reeQPSBFollowsNothing},
        {"{2}", reeQPSBFollowsNothing},
        {"a\\", reeTrailingBackSlash},
        {"[a\\", reeTrailingBackSlash},
        {"a{123456789}", reeBRACESArgTooBig},
        {"a{1,123456789}", reeBRACESArgTooBig},
        {"x{3,2}", reeBracesMinParamGreaterMax},
        {"(?#abc", reeUnclosedComment},
        {"(?q)", reeUnrecognizedModifier},
        {"(?:a)", reeUnrecognizedModifier},
        {"(?i", reeUnrecognizedModifier},
    };
    for (const auto& [pattern, code] : cases)
        EXPECT_EQ(CompileError(pattern), code) << pattern;
    EXPECT_EQ(CompileError("(?)"), 0) << "an empty modifier list is allowed";
    EXPECT_EQ(CompileError("a{99999999}"), 0);
    EXPECT_EQ(CompileError("\\x{0041}"), 0);
    EXPECT_EQ(CompileError("(a)?"), 0) << "'?' may follow anything";
}

TEST(RegexErrors, SixteenGroupsAreTooManyFourteenAreFine)
{
    std::string fourteen, sixteen;
    for (int i = 0; i < 14; ++i)
        fourteen += "(a)";
    for (int i = 0; i < 16; ++i)
        sixteen += "(a)";
    EXPECT_EQ(CompileError(sixteen), reeCompParseRegTooManyBrackets);
    EXPECT_EQ(CompileError(fourteen + "(a)"), reeCompParseRegTooManyBrackets);
    TOstRegex re;
    re.SetExpression(fourteen);
    ASSERT_TRUE(re.Exec(std::string(14, 'a')));
    EXPECT_EQ(re.MatchPos(14), 14);
    EXPECT_EQ(re.SubExprMatchCount(), 14);
}

TEST(RegexErrors, MessagesCarryTheCompilePosition)
{
    TOstRegex re;
    re.SetExpression("ab[z-a]");
    try {
        re.Compile();
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeInvalidRange);
        EXPECT_EQ(e.CompilerErrorPos(), 6);
        EXPECT_STREQ(e.what(), "TOstRegex(comp): Invalid [] Range (pos 6)");
    }
    EXPECT_EQ(TOstRegex::ErrorMsg(reeTrailingBackSlash), "TOstRegex(comp): Trailing \\");
    EXPECT_EQ(TOstRegex::ErrorMsg(reeLoopWithoutEntry), "TOstRegex(exec): Loop Without LoopEntry !");
    EXPECT_EQ(TOstRegex::ErrorMsg(4242), "Unknown error");
    EXPECT_EQ(TOstRegex::ErrorMsg(reeOk), "No errors");
}

TEST(RegexErrors, FailedCompileLeavesNoProgramAndEmptyExpressionIsRefused)
{
    TOstRegex re;
    re.SetExpression("(a");
    EXPECT_THROW(re.Exec("a"), EOstRegex);
    EXPECT_THROW(re.Exec("a"), EOstRegex) << "the broken pattern is not half-compiled";
    EXPECT_EQ(re.LastError(), reeCompParseRegUnmatchedBrackets);
    EXPECT_EQ(re.LastError(), reeOk);
    re.SetExpression("");
    EXPECT_EQ(RunError("", "a"), reeNoExpression);
}

TEST(RegexErrors, LinePairedSeparatorNeedsTwoDifferentCharactersOrNone)
{
    TOstRegex re;
    for (const char* bad : {"a", "aa", "abc"}) {
        try {
            re.SetLinePairedSeparator(bad);
            FAIL() << bad;
        } catch (const EOstRegex& e) {
            EXPECT_EQ(e.ErrorCode(), reeBadLinePairedSeparator);
        }
    }
    EXPECT_EQ(re.LinePairedSeparator(), "\r\n");
    re.SetLinePairedSeparator("");
    EXPECT_EQ(re.LinePairedSeparator(), "");
    re.SetLinePairedSeparator("\n\r");
    EXPECT_EQ(re.LinePairedSeparator(), "\n\r");
}

// ---- sets

TEST(RegexSets, BracketAndDashAtTheEdgesAreMembers)
{
    EXPECT_EQ(AllMatches("[]a]", "]ab"), (std::vector<Span>{{1, 1}, {2, 1}}));
    EXPECT_EQ(AllMatches("[a-]", "a-b"), (std::vector<Span>{{1, 1}, {2, 1}}));
    EXPECT_EQ(AllMatches("[-a]", "a-b"), (std::vector<Span>{{1, 1}, {2, 1}}));
    EXPECT_EQ(AllMatches("[^]a]", "]ab"), (std::vector<Span>{{3, 1}}));
    EXPECT_EQ(CompileError("[z-a]"), reeInvalidRange);
}

TEST(RegexSets, ClassesEscapesAndSizes)
{
    EXPECT_EQ(AllMatches("[\\d_]", "a1_b").size(), 2u);
    EXPECT_EQ(AllMatches("[\\s]", "a b\tc").size(), 2u);
    EXPECT_EQ(AllMatches("[\\w-]", "a-!").size(), 2u);
    EXPECT_EQ(AllMatches("[\\x41-\\x43]", "ABCD").size(), 3u);
    EXPECT_EQ(AllMatches("[\\D]", "D1").size(), 1u) << "other escapes stand for their character";
    // At most three members use the small form, more the bitmap; both agree.
    EXPECT_EQ(AllMatches("[abc]", "abcd").size(), 3u);
    EXPECT_EQ(AllMatches("[abcd]", "abcde").size(), 4u);
    EXPECT_EQ(AllMatches("[^abc]", "abcd").size(), 1u);
    EXPECT_EQ(AllMatches("[^abcd]", "abcde").size(), 1u);
    EXPECT_EQ(FirstMatch("a[^b]", "a"), (Span{-1, -1})) << "the end of input is no character";
    EXPECT_EQ(FirstMatch("a\\D", "a"), (Span{-1, -1}));
    EXPECT_EQ(AllMatches("[a-c]", "ABC", "i").size(), 3u);
    EXPECT_EQ(AllMatches("[^a]", "aA", "i").size(), 0u);
}

TEST(RegexSets, CyrillicRangesUnderR)
{
    EXPECT_EQ(FirstMatch("[\xE0-\xFF]", "\xB8", "r"), (Span{1, 1}));
    EXPECT_EQ(FirstMatch("[\xE0-\xFF]", "\xB8", "-r"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("[\xC0-\xDF]", "\xA8", "r"), (Span{1, 1}));
    EXPECT_EQ(AllMatches("[\xE0-\xDF]", "\xA8\xB8\xC0\xFF", "r").size(), 4u);
    EXPECT_EQ(CompileError("[\xE0-\xDF]", "-r"), reeInvalidRange);
}

// ---- anchors and line breaks

TEST(RegexAnchors, MultiLineAnchorsTreatCrLfAsOneBreak)
{
    EXPECT_EQ(FirstMatch("^b", "a\r\nb", "m"), (Span{4, 1}));
    EXPECT_EQ(AllMatches("^", "a\r\nb", "m"), (std::vector<Span>{{1, 0}, {4, 0}}));
    EXPECT_EQ(AllMatches("$", "a\r\nb", "m"), (std::vector<Span>{{2, 0}, {5, 0}}));
    EXPECT_EQ(AllMatches("^", "a\rb\nc", "m"), (std::vector<Span>{{1, 0}, {3, 0}, {5, 0}}));
    EXPECT_EQ(AllMatches("^", "a\n\rb", "m"), (std::vector<Span>{{1, 0}, {3, 0}, {4, 0}}));
    EXPECT_EQ(AllMatches("^", "a\r\nb", "-m"), (std::vector<Span>{{1, 0}}));
    EXPECT_EQ(AllMatches("$", "a\r\nb", "-m"), (std::vector<Span>{{5, 0}}));
}

TEST(RegexAnchors, WithoutAPairCrAndLfAreTwoBreaks)
{
    TOstRegex re;
    re.SetModifierStr("m");
    re.SetLinePairedSeparator("");
    re.SetExpression("^");
    EXPECT_EQ(AllMatches(re, "a\r\nb"), (std::vector<Span>{{1, 0}, {3, 0}, {4, 0}}));
    re.SetLineSeparators("");
    EXPECT_EQ(AllMatches(re, "a\r\nb"), (std::vector<Span>{{1, 0}})) << "no breaks: input start only";
}

TEST(RegexAnchors, WordBoundariesAndInputEdges)
{
    EXPECT_EQ(AllMatches("\\b", "ab cd"), (std::vector<Span>{{1, 0}, {3, 0}, {4, 0}, {6, 0}}));
    EXPECT_EQ(AllMatches("\\B", "ab"), (std::vector<Span>{{2, 0}}));
    EXPECT_EQ(AllMatches("\\Ab|b\\Z", "bab"), (std::vector<Span>{{1, 1}, {3, 1}}));
    EXPECT_EQ(FirstMatch("\\bk\xB9t", "k\xB9t"), (Span{1, 3}));
    EXPECT_EQ(FirstMatch("t\\b", "\xB9t\xB9"), (Span{2, 1})) << "Polish letters are no word characters here";
}

// ---- backreferences

TEST(RegexBackreferences, MatchWhatTheGroupCaptured)
{
    EXPECT_EQ(FirstMatch("(a+)b\\1", "aaabaa"), (Span{2, 5}));
    EXPECT_EQ(FirstMatch("(a+)b\\1$", "aaaba"), (Span{3, 3}));
    EXPECT_EQ(FirstMatch("(a)\\1", "aA", "i"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("(a)\\1", "aA"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("(x)?a\\1", "a"), (Span{-1, -1})) << "an unmatched group matches nothing";
    EXPECT_EQ(FirstMatch("(a*)b\\1c", "bc"), (Span{1, 2}));
    EXPECT_EQ(FirstMatch("(a)\\9|b", "ab"), (Span{2, 1})) << "a group the pattern lacks";
}

TEST(RegexBackreferences, InsideItsOwnGroupSeesThePreviousCapture)
{
    TOstRegex re;
    re.SetExpression("(a|b\\1)+");
    ASSERT_TRUE(re.Exec("aba"));
    EXPECT_EQ(re.MatchLen(0), 3);
    EXPECT_EQ(re.Match(1), "ba");
}

// ---- templates and replace all

TEST(RegexTemplates, ReferencesDollarsAndEscapes)
{
    TOstRegex re;
    re.SetExpression("(b)");
    ASSERT_TRUE(re.Exec("abc"));
    EXPECT_EQ(re.Substitute("$1-${1}-$&-\\$"), "b-b-b-$");
    EXPECT_EQ(re.Substitute("${&}$0"), "bb");
    EXPECT_EQ(re.Substitute("[$2][$15][${14}]"), "[][][]");
    EXPECT_EQ(re.Substitute("$x ${x} ${1 $"), "$x ${x} ${1 $");
    EXPECT_EQ(re.Substitute("\\\\$1\\n"), "\\bn");
    EXPECT_EQ(re.Substitute("$10"), "") << "ten is a slot number, not slot 1 and a zero";
}

TEST(RegexTemplates, ReplaceAllExpandsOrCopiesTheReplacement)
{
    EXPECT_EQ(ReplaceAll("([0-9]+)", "x12y3", "<$1>"), "x<12>y<3>");
    EXPECT_EQ(ReplaceAll("([0-9]+)", "x12y3", "<$1>", false), "x<$1>y<$1>");
    EXPECT_EQ(ReplaceAll("a*", "bbb", "-"), "-b-b-b-");
    EXPECT_EQ(ReplaceAll("(\\w+) (\\w+)", "one two", "$2 $1"), "two one");
    EXPECT_EQ(ReplaceAll("q", "abc", "x"), "abc");
    EXPECT_EQ(ReplaceAll("c$", "abc", "C"), "abC");
}

// ---- limits of the matcher

TEST(RegexLimits, ElevenNestedCountedLoopsExceedTheLoopStack)
{
    auto nested = [](int depth) {
        std::string p = "a";
        for (int i = 0; i < depth; ++i)
            p = "(" + p + "){1,2}";
        return p;
    };
    EXPECT_EQ(RunError(nested(10), "aaa"), 0);
    EXPECT_EQ(CompileError(nested(11)), 0) << "the limit is checked while matching";
    EXPECT_EQ(RunError(nested(11), "aaa"), reeLoopStackExceeded);
    EXPECT_EQ(RunError(nested(11), "bbb"), 0) << "a loop never entered does not count";
}

TEST(RegexLimits, LongSubjectsNeedNoMachineStack)
{
    std::string subject;
    for (int i = 0; i < 1 << 19; ++i)
        subject += "ab";  // 1 MB
    EXPECT_EQ(FirstMatch("(a|b)*", subject), (Span{1, 1 << 20}));
    EXPECT_EQ(FirstMatch("(ab)+?$", subject), (Span{1, 1 << 20}));
    EXPECT_EQ(FirstMatch("(.)*", subject), (Span{1, 1 << 20}));
    EXPECT_EQ(FirstMatch("(a|b)*c", subject), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("[ab]*$", subject), (Span{1, 1 << 20}));
}

TEST(RegexLimits, TooManySavedAlternativesEndWithAClearError)
{
    const std::string subject(5 << 20, 'a');
    TOstRegex re;
    re.SetExpression("(a|b)*");
    try {
        re.Exec(subject);
        FAIL();
    } catch (const EOstRegex& e) {
        EXPECT_EQ(e.ErrorCode(), reeBacktrackLimitExceeded);
        EXPECT_NE(std::string(e.what()).find("Backtrack Limit"), std::string::npos);
    }
    // A backreference to an empty capture could repeat without end; the
    // steps run out before the saved alternatives do.
    EXPECT_EQ(RunError("(a*)(\\1)*b", "cb"), reeStepLimitExceeded);
}

// ---- search shortcuts must not hide matches

TEST(RegexShortcuts, FirstCharacterAnchorAndRequiredSubstring)
{
    EXPECT_EQ(FirstMatch("x*abc", "zzabc"), (Span{3, 3}));
    EXPECT_EQ(FirstMatch(".*abc", "zzab"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("[xy]*abc", "yxabc"), (Span{1, 5}));
    EXPECT_EQ(FirstMatch("abc|d", "xxd"), (Span{3, 1}));
    EXPECT_EQ(FirstMatch("^ab", "xab"), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("(?i)ab", "xAB"), (Span{2, 2}));
    EXPECT_EQ(FirstMatch("b?$", "ab"), (Span{2, 1}));
    EXPECT_EQ(FirstMatch("\\bx?", ""), (Span{-1, -1}));
    EXPECT_EQ(FirstMatch("x?", ""), (Span{1, 0}));
    EXPECT_EQ(FirstMatch("(a)|b*", "cc"), (Span{1, 0}));
    // Start positions without room for the shortest match are not tried.
    EXPECT_EQ(FirstMatch("(ab|c){2}x?", "xabcab"), (Span{2, 3}));
    EXPECT_EQ(FirstMatch("x{5}|(yz)+y", "xxxxyzy"), (Span{5, 3}));
    EXPECT_EQ(FirstMatch("(x){99999999}", std::string(1 << 16, 'x')), (Span{-1, -1}));
}

// ---- robustness

// Random bytes drawn mostly from the pattern syntax: every pattern either
// compiles and runs or fails with one of the engine's own errors.
TEST(RegexRobustness, ArbitraryPatternsCompileAndRunOrFailCleanly)
{
    const std::set<int> knownCodes = {
        reeCompParseRegTooManyBrackets, reeCompParseRegUnmatchedBrackets,
        reeCompParseRegUnmatchedBrackets2, reePlusStarOperandCouldBeEmpty, reeNestedSQP,
        reeBadHexDigit, reeInvalidRange, reeNoHexCodeAfterBSlashX, reeHexCodeAfterBSlashXTooBig,
        reeUnmatchedSqBrackets, reeQPSBFollowsNothing, reeTrailingBackSlash, reeBRACESArgTooBig,
        reeBracesMinParamGreaterMax, reeUnclosedComment, reeUnrecognizedModifier,
        reeLoopStackExceeded, reeBacktrackLimitExceeded};
    const std::string alphabet = "()[]{}|*+?.^$\\-,#:0123abAZ dwsbxDWSBntre\xb9\r\n";
    std::mt19937 rng(42);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int compiled = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string pattern, subject;
        for (int k = pick(12); k >= 0; --k)
            pattern += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        for (int k = pick(10); k > 0; --k)
            subject += "ab1 \n\r-"[pick(8)];
        TOstRegex re;
        re.SetModifierMask(pick(64));
        re.SetExpression(pattern);
        try {
            for (bool found = re.Exec(subject); found; found = re.ExecNext())
                ASSERT_LE(re.MatchPos(0) + re.MatchLen(0), static_cast<std::ptrdiff_t>(subject.size()) + 1);
            ++compiled;
        } catch (const EOstRegex& e) {
            ASSERT_TRUE(knownCodes.count(e.ErrorCode())) << e.what() << " for " << pattern;
        }
    }
    EXPECT_GT(compiled, 2000);
}
