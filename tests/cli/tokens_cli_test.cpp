#include <gtest/gtest.h>

#include <sstream>

#include "highlighters/OstHighlighterFactory.h"
#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::ReadFile;
using ostrel::test::RunCli;

namespace {

const std::string kData = std::string(OSTREL_TEST_DATA) + "/html/";

// The line numbers of the "N<TAB>state<TAB>VALUE" lines, and the token lines
// of each line as "START LENGTH".
struct Summary {
    std::vector<int> stateLines;
    std::vector<std::string> tokens;
};

Summary Summarize(const std::string& out)
{
    Summary s;
    std::istringstream in(out);
    for (std::string row; std::getline(in, row);) {
        std::vector<std::string> fields;
        std::istringstream f(row);
        for (std::string field; std::getline(f, field, '\t');)
            fields.push_back(field);
        if (fields.size() == 3 && fields[1] == "state")
            s.stateLines.push_back(std::stoi(fields[0]));
        else
            s.tokens.push_back(fields.at(0) + ":" + fields.at(1) + "+" + fields.at(2));
    }
    return s;
}

}  // namespace

TEST(TokensCli, HtmlMatchesTheGoldenFile)
{
    const auto r = RunCli({"tokens", "--lang", "html", kData + "golden.html"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadFile(kData + "golden.tokens"));
    EXPECT_TRUE(r.err.empty());

    const auto piped = RunCli({"tokens", "--lang", "html"}, ReadFile(kData + "golden.html"));
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, r.out) << "standard input reads like a file";
}

TEST(TokensCli, LinesSplitAsTheBufferSplitsThem)
{
    // CR LF, LF, CR, LF CR (a break and an empty line), NUL (text like any
    // other byte: the string's own final NUL makes a last line of its own).
    const auto r = RunCli({"tokens", "--lang", "html"}, std::string("a\r\nbb\nc\rd\n\re\0f\n", 16));
    ASSERT_EQ(r.status, 0) << r.err;
    const Summary s = Summarize(r.out);
    EXPECT_EQ(s.stateLines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(s.tokens, (std::vector<std::string>{"1:0+1", "2:0+2", "3:0+1", "4:0+1", "6:0+1", "6:1+1", "6:2+1", "7:0+1"}));
}

TEST(TokensCli, StateCarriesFromLineToLine)
{
    const auto r = RunCli({"tokens", "--lang", "html"}, "<!-- a\n\nb -->\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "1\t0\t4\t1\tComment\n1\t4\t2\t1\tComment\n1\tstate\t1\n"
              "2\tstate\t1\n"
              "3\t0\t5\t1\tComment\n3\tstate\t4\n");
}

TEST(TokensCli, EmptyInputPrintsNothing)
{
    const auto r = RunCli({"tokens", "--lang", "html"}, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(TokensCli, UsageErrors)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"tokens", "--lang", "cobol"}, {"tokens", "--lang", "HTML"},
             {"tokens"}, {"tokens", "--lang"}, {"tokens", "--lang", "html", "--frobnicate"},
             {"tokens", "--lang", "html", "a.html", "b.html"}}) {
        const auto r = RunCli(args, "<p>");
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_FALSE(r.err.empty()) << args.back();
    }
    const auto missing = RunCli({"tokens", "--lang", "html", kData + "no-such-file.html"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no-such-file.html"), std::string::npos) << missing.err;
}

TEST(TokensCli, EveryLanguageEitherLexesOrSaysItCannotYet)
{
    for (const char* language : ostrel::HighlighterLanguages()) {
        const auto r = RunCli({"tokens", "--lang", language}, "x\n");
        if (ostrel::CreateHighlighter(language)) {
            EXPECT_EQ(r.status, 0) << language << ": " << r.err;
            EXPECT_NE(r.out.find("1\tstate\t"), std::string::npos) << language;
        } else {
            EXPECT_EQ(r.status, 2) << language;
            EXPECT_NE(r.err.find(language), std::string::npos) << r.err;
        }
    }
}

// A UTF-8 file lexes with the bytes of a character as letters, as the
// editor does; --encoding reads the same bytes as a code page.
TEST(TokensCli, TheEncodingDecidesWhatTheBytesAre)
{
    const std::string word = "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87";  // zażółć
    auto r = RunCli({"tokens", "--lang", "cpp"}, word + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t0\t10\t3\tIdentifier\n1\tstate\t0\n");
    r = RunCli({"tokens", "--lang", "cpp", "--encoding", "windows-1250"}, word + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Summarize(r.out).tokens.size(), 9u) << r.out;  // "za" and seven illegal bytes
    r = RunCli({"tokens", "--lang", "cpp", "--encoding=klingon"}, word);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("klingon"), std::string::npos) << r.err;
}
