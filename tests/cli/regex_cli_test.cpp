#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::RunCli;

namespace {

std::string UnmatchedFields(int from)
{
    std::string s;
    for (int slot = from; slot < 15; ++slot)
        s += " -1:-1";
    return s;
}

}  // namespace

TEST(RegexCli, ListsEveryMatchWithAllFifteenSlots)
{
    const auto r = RunCli({"regex", "(a)(x)?"}, "bab a");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "2:1 2:1 -1:-1" + UnmatchedFields(3) + "\n" +
                         "5:1 5:1 -1:-1" + UnmatchedFields(3) + "\n");
    EXPECT_TRUE(r.err.empty());

    const auto empty = RunCli({"regex", "a*"}, "b");
    EXPECT_EQ(empty.out, "1:0" + UnmatchedFields(1) + "\n" + "2:0" + UnmatchedFields(1) + "\n");

    const auto none = RunCli({"regex", "q"}, "abc");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

TEST(RegexCli, ModifiersAreRelativeToTheDefaults)
{
    EXPECT_EQ(RunCli({"regex", "abc"}, "ABC").out, "");
    EXPECT_EQ(RunCli({"regex", "-m", "i", "abc"}, "ABC").out, "1:3" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "-m", "-g", "a+"}, "aa").out,
              "1:1" + UnmatchedFields(1) + "\n" + "2:1" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "-m", "im-s", "^b."}, "a\r\nBc\r\n").out,
              "4:2" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "-m", "im-s", "c."}, "a\r\nBc\r\n").out, "")
        << "the dot stops at the line break";
}

TEST(RegexCli, ReplacePrintsTheRawResult)
{
    const std::string subject("x12y\r\n\x00z", 8);
    const auto r = RunCli({"regex", "--replace", "<$1>", "([0-9]+)"}, subject);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("x<12>y\r\n\x00z", 10));

    const auto literal = RunCli({"regex", "--literal", "--replace", "<$1>", "([0-9]+)"}, "x12y");
    EXPECT_EQ(literal.out, "x<$1>y");

    EXPECT_EQ(RunCli({"regex", "--replace", "$1-${1}-$&-\\$", "(b)"}, "abc").out, "ab-b-b-$c");
}

TEST(RegexCli, EngineErrorsGoToStandardOutputWithStatusOne)
{
    const auto r = RunCli({"regex", "x{3,2}"}, "xxx");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 124 TOstRegex(comp): BRACE Min Param Greater then Max (pos 6)\n");

    const auto loops = RunCli({"regex", "((((((((((((a){1}){1}){1}){1}){1}){1}){1}){1}){1}){1}){1})"}, "a");
    EXPECT_EQ(loops.status, 1);
    EXPECT_EQ(loops.out, "error 1014 TOstRegex(exec): Loop Stack Exceeded\n");

    const auto empty = RunCli({"regex", ""}, "a");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out.rfind("error 1003 ", 0), 0u);
}

TEST(RegexCli, UsageErrorsGoToStandardErrorWithStatusTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"regex"}, {"regex", "a", "b"}, {"regex", "--bogus", "a"},
          {"regex", "-m"}, {"regex", "-m", "q", "a"}, {"regex", "a", "--replace"}}) {
        const auto r = RunCli(args, "a");
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    const auto dashPattern = RunCli({"regex", "--", "-a"}, "x-a");
    EXPECT_EQ(dashPattern.status, 0);
    EXPECT_EQ(dashPattern.out, "2:2" + UnmatchedFields(1) + "\n");
}

TEST(RegexCli, TheEncodingChoosesUtf8ModeOrTheCodePage)
{
    // In UTF-8 "ż" is one atom; without --encoding the bytes are characters.
    EXPECT_EQ(RunCli({"regex", "--encoding", "utf-8", "ż+"}, "ażżb").out, "2:4" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "ż+"}, "a\xC5\xBC\xBC").out, "2:3" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "--encoding=utf-8", "-m", "i", "--replace", "[$&]", "żółw"}, "ŻÓŁW i Żółw").out,
              "[ŻÓŁW] i [Żółw]");
    // UTF-16 is searched as the editor holds it and written back as UTF-16.
    const std::string utf16("\xFF\xFE\x7C\x01\x61\x00", 6);  // "ża"
    EXPECT_EQ(RunCli({"regex", "--encoding", "utf-16le", "."}, utf16).out,
              "1:2" + UnmatchedFields(1) + "\n3:1" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "--encoding", "utf-16le", "--replace", "Ż", "ż"}, utf16).out,
              std::string("\xFF\xFE\x7B\x01\x61\x00", 6));
    // In a code page the pattern, given as UTF-8, is taken into the page.
    EXPECT_EQ(RunCli({"regex", "--encoding", "iso-8859-2", "-m", "i", "ą"}, "x\xA1\xB1").out,
              "2:1" + UnmatchedFields(1) + "\n3:1" + UnmatchedFields(1) + "\n");
    EXPECT_EQ(RunCli({"regex", "--encoding", "windows-1250", "\\w+"}, "\xBF\xF3\xB3w").out,
              "4:1" + UnmatchedFields(1) + "\n") << "single-byte classes stay ASCII, as before";
    const auto unheld = RunCli({"regex", "--encoding", "windows-1250", "中"}, "a");
    EXPECT_EQ(unheld.status, 2);
    EXPECT_EQ(RunCli({"regex", "--encoding", "koi8", "a"}, "a").status, 2);
}

TEST(RegexCli, RunawayPatternsEndWithTheStepLimitError)
{
    const std::string error = "error 1017 TOstRegex(exec): Step Limit Exceeded (the match takes too long for the input)\n";
    const std::string manyA(1'000'000, 'a');
    const struct {
        const char* pattern;
        std::string subject;
    } cases[] = {{"^(a+)+$", std::string(30, 'a') + "!"}, {"(.+){20}x", manyA}, {"a{1,99999999}b", manyA}};
    for (const auto& c : cases) {
        for (const char* encoding : {"windows-1250", "utf-8"}) {
            const auto r = RunCli({"regex", "--encoding", encoding, c.pattern}, c.subject);
            EXPECT_EQ(r.status, 1) << c.pattern;
            EXPECT_EQ(r.out, error) << c.pattern;
        }
    }
}
