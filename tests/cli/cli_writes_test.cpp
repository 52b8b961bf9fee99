// ostrel-cli on a bad day: every command that writes a file keeps the
// original whole under a file-size limit and on a full file system and says
// why; input that is not a plain file (/dev/zero, a FIFO) is refused at once.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FileSystemLimits.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

struct ShellResult {
    int status = -1;  // -1: ended by a signal
    std::string err;
};

std::string Quoted(const std::string& word) { return "'" + word + "'"; }

// Runs ostrel-cli through the shell (for ulimit and redirections), bounded
// in time so that a blocked read fails the case instead of hanging it.
ShellResult RunCliInShell(const std::string& prefix, const std::vector<std::string>& args, const fs::path& input)
{
    TempDir logs;
    std::string command = prefix + "exec timeout -s KILL 20 " + Quoted(OSTREL_CLI_PATH);
    for (const std::string& arg : args)
        command += ' ' + Quoted(arg);
    command += " < " + Quoted(input.string()) + " 2> " + Quoted((logs / "err").string());
    const int raw = std::system(("bash -c " + Quoted(command)).c_str());
    ShellResult result;
    // timeout reports a kill as 137; the shell a signal of its own child as 128 + signal.
    result.status = WIFEXITED(raw) && WEXITSTATUS(raw) < 128 ? WEXITSTATUS(raw) : -1;
    result.err = ReadFile(logs / "err");
    return result;
}

std::string EightThousandLines()
{
    std::string text;
    for (int i = 1; i <= 8000; ++i)
        text += "line " + std::to_string(i) + " of a file that must not be cut short\n";
    return text;
}

// Each command that writes, with the INPUT and OUTPUT it is given.
std::vector<std::vector<std::string>> WritingCommands(const fs::path& input, const fs::path& output)
{
    return {
        {"keys", input.string(), output.string()},
        {"recode", "--to", "ascii", input.string(), output.string()},
        {"utf8", input.string(), output.string()},
        {"rtf", "--lang", "cpp", input.string(), output.string()},
    };
}

TEST(CliWrites, UnderAFileSizeLimitTheOriginalStaysWholeAndTheFailureIsReported)
{
    TempDir dir;
    const std::string original = EightThousandLines();
    WriteFile(dir / "script", "type x\n");
    for (const auto& args : WritingCommands(dir / "in.txt", dir / "in.txt")) {
        WriteFile(dir / "in.txt", original);
        const ShellResult r = RunCliInShell("ulimit -f 64; ", args, dir / "script");
        EXPECT_EQ(r.status, 1) << args[0] << " must fail with its message, not die of the signal: " << r.err;
        EXPECT_NE(r.err.find("File too large"), std::string::npos) << args[0] << ": " << r.err;
        EXPECT_EQ(ReadFile(dir / "in.txt"), original) << args[0];
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << args[0] << ": no file left behind";
    }
}

TEST(CliWrites, OnAFullFileSystemTheOriginalStaysWholeAndTheFailureIsReported)
{
    SmallFileSystem small(512 << 10);
    if (!small.Mounted())
        GTEST_SKIP() << "no permission to mount a file system";
    TempDir dir;
    const std::string original = EightThousandLines();  // about 450 KB: a second copy does not fit
    WriteFile(dir / "script", "type x\n");
    for (const auto& args : WritingCommands(small / "f.txt", small / "f.txt")) {
        WriteFile(small / "f.txt", original);
        const ShellResult r = RunCliInShell("", args, dir / "script");
        EXPECT_EQ(r.status, 1) << args[0] << ": " << r.err;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << args[0] << ": " << r.err;
        EXPECT_EQ(ReadFile(small / "f.txt"), original) << args[0];
        EXPECT_EQ(std::distance(fs::directory_iterator(small.path()), {}), 1) << args[0];
    }
}

TEST(CliReads, DevicesAndFifosAreRefusedAtOnce)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    WriteFile(dir / "empty", "");
    for (const fs::path& input : {fs::path("/dev/zero"), dir / "fifo"}) {
        std::vector<std::vector<std::string>> commands = WritingCommands(input, dir / "out");
        commands.push_back({"tokens", "--lang", "cpp", input.string()});
        commands.push_back({"wrap", input.string()});
        for (const auto& args : commands) {
            const ShellResult r = RunCliInShell("", args, dir / "empty");
            EXPECT_EQ(r.status, 1) << args[0] << " " << input << ": " << r.err;
            EXPECT_NE(r.err.find("is not a regular file"), std::string::npos) << args[0] << ": " << r.err;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "out"));
}

}  // namespace
}  // namespace ostrel::test
