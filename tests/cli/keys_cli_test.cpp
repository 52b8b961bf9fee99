// ostrel-cli keys: the script language, the state lines and the errors.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"
#include "support/RandomKeyScript.h"
#include "support/TestSupport.h"

using namespace ostrel::test;

namespace {

struct Session {
    TempDir dir;
    RunResult result;
    std::string output;
    Session(const std::string& input, const std::string& script, std::vector<std::string> options = {})
    {
        WriteFile(dir / "in.txt", input);
        std::vector<std::string> args{"keys"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back((dir / "in.txt").string());
        args.push_back((dir / "out.txt").string());
        result = RunCli(args, script);
        if (std::filesystem::exists(dir / "out.txt"))
            output = ReadFile(dir / "out.txt");
    }
    bool wroteOutput() const { return std::filesystem::exists(dir / "out.txt"); }
};

}  // namespace

TEST(KeysCli, ShowReportsTheStateAndTheEndRepeatsIt)
{
    Session s("hello world\r\nsecond\r\n",
              "# comments and blank lines are skipped\n\nshow\nkey End\nkey Shift+Ctrl+Left\nshow\n"
              "type !\nkey Ctrl+Z\nmode column\nshow\n");
    ASSERT_EQ(s.result.status, 0) << s.result.err;
    EXPECT_EQ(s.result.out,
              "caret 1 1 sel 1 1 1 1 mode normal modified 0 undo 0 redo 0\n"
              "caret 7 1 sel 12 1 7 1 mode normal modified 0 undo 0 redo 0\n"
              "caret 7 1 sel 12 1 7 1 mode column modified 0 undo 0 redo 2\n"
              "caret 7 1 sel 12 1 7 1 mode column modified 0 undo 0 redo 2\n");
    EXPECT_EQ(s.output, "hello world\r\nsecond\r\n");
}

TEST(KeysCli, KeysTypeCommandsCaretAndSelection)
{
    Session s("one\ntwo\n",
              "caret 4 1\nkey Enter\ntype x\\xB3\\\\\ncmd ecChar y\nselect 1 1 3 1\ncmd ecUpperCaseBlock\n"
              "key Shift+A\ncmd ecLineEnd\nkey Space\nkey 7\n");
    ASSERT_EQ(s.result.status, 0) << s.result.err;
    EXPECT_EQ(s.output, "Ae 7\nx\xB3\\y\ntwo\n");
}

TEST(KeysCli, TemplateSettingsAndOverrides)
{
    // The template editor keeps TABs and uses Ctrl+F1 for help.
    Session tab("ab\r\n", "caret 2 1\nkey Tab\nkey F1\nkey Ctrl+F1\n");
    ASSERT_EQ(tab.result.status, 0) << tab.result.err;
    EXPECT_EQ(tab.output, "a\tb\r\n");

    Session spaces("ab\r\n", "caret 2 1\nkey Tab\noption -eoTabsToSpaces\nkey Tab\n",
                   {"--options", "eoTabsToSpaces,eoAutoIndent", "--tab-width", "4"});
    ASSERT_EQ(spaces.result.status, 0) << spaces.result.err;
    EXPECT_EQ(spaces.output, "a   \tb\r\n");

    Session page("1\n2\n3\n4\n5\n6\n7\n8\n", "key Page Down\nshow\n", {"--window", "10x3"});
    ASSERT_EQ(page.result.status, 0) << page.result.err;
    EXPECT_EQ(page.result.out.substr(0, 10), "caret 1 4 ");
}

TEST(KeysCli, ClipboardIsSharedByTheScript)
{
    Session s("abc\r\n", "key Shift+End\nkey Ctrl+C\nkey End\nkey Ctrl+V\nkey Ctrl+V\n");
    ASSERT_EQ(s.result.status, 0) << s.result.err;
    EXPECT_EQ(s.output, "abcabcabc\r\n");
}

TEST(KeysCli, ScriptErrorsNameTheLineAndWriteNothing)
{
    const char* const bad[] = {
        "key Right\nkey Hyper+X\n",
        "show\ncmd ecNoSuchCommand\n",
        "show\noption +eoNoSuchOption\n",
        "show\ncaret 1\n",
        "show\nmode diagonal\n",
        "show\nfly away\n",
        "show\ntype \\q\n",
    };
    for (const char* script : bad) {
        Session s("abc\r\n", script);
        EXPECT_EQ(s.result.status, 2) << script;
        EXPECT_NE(s.result.err.find("line 2"), std::string::npos) << s.result.err;
        EXPECT_FALSE(s.wroteOutput()) << script;
    }
    Session options("abc\r\n", "", {"--options", "eoAutoIndent,eoBogus"});
    EXPECT_EQ(options.result.status, 2);
    Session missing("abc\r\n", "", {"--window", "80"});
    EXPECT_EQ(missing.result.status, 2);
}

// The command-line tool runs the same script: a few sessions through it,
// ending with Ctrl+Z pressed until nothing is left, give back the input.
TEST(RandomCommands, CommandLineSessionsUndoToTheInput)
{
    for (unsigned seed = 1000; seed < 1004; ++seed) {
        const RandomKeyScript s(seed, seed % 2 == 0);
        TempDir dir;
        WriteFile(dir / "in.txt", s.document());
        std::string script;
        for (size_t i = 0; i < 60; ++i)
            script += s.lines()[i] + "\n";
        const RunResult edited = RunCli({"keys", "--options", s.optionList(), "--tab-width",
                                                     std::to_string(s.tabWidth()), "--window", "20x5",
                                                     (dir / "in.txt").string(), (dir / "mid.txt").string()},
                                                    script);
        ASSERT_EQ(edited.status, 0) << edited.err;
        // Group undo may take several steps each; 600 presses are plenty.
        std::string undoAll;
        for (int i = 0; i < 600; ++i)
            undoAll += "cmd ecUndo\n";
        const RunResult undone =
            RunCli({"keys", "--options", s.optionList(), "--tab-width", std::to_string(s.tabWidth()),
                          "--window", "20x5", (dir / "in.txt").string(), (dir / "out.txt").string()},
                         script + undoAll);
        ASSERT_EQ(undone.status, 0) << undone.err;
        EXPECT_EQ(ReadFile(dir / "out.txt"), s.document()) << "seed " << seed;
        EXPECT_NE(undone.out.find(" undo 0 "), std::string::npos) << undone.out;
    }
}
