// A real crash: the program is started offscreen, text is typed into a saved
// document and into an untitled one, the process is killed with SIGKILL and
// started again; the recovery list brings both back exactly.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A user's private folders, and the program run with them.
class ProgramRun {
public:
    explicit ProgramRun(const TempDir& home, const std::vector<std::string>& variables, const std::vector<std::string>& args)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (!entry.starts_with("XDG_") && !entry.starts_with("QT_QPA_PLATFORM=") && !entry.starts_with("OSTREL_"))
                env.push_back(entry);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
        env.push_back("XDG_STATE_HOME=" + (home / "state").string());
        env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
        env.insert(env.end(), variables.begin(), variables.end());
        std::vector<std::string> argv{OSTREL_TYPIST_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> cargv, cenv;
            for (std::string& a : argv)
                cargv.push_back(a.data());
            cargv.push_back(nullptr);
            for (std::string& e : env)
                cenv.push_back(e.data());
            cenv.push_back(nullptr);
            ::execve(cargv[0], cargv.data(), cenv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
    }
    ~ProgramRun()
    {
        Kill();
        if (out_ >= 0)
            ::close(out_);
    }
    // Reads what the program prints until a line equal to last (or its end).
    std::string ReadUntil(const std::string& last, int seconds = 30)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < deadline) {
            if (!last.empty() && (output_.starts_with(last + "\n") || output_.find("\n" + last + "\n") != std::string::npos))
                break;
            pollfd wait{out_, POLLIN, 0};
            if (::poll(&wait, 1, 100) <= 0)
                continue;
            char block[65536];
            const ssize_t got = ::read(out_, block, sizeof block);
            if (got <= 0)
                break;
            output_.append(block, static_cast<size_t>(got));
        }
        return output_;
    }
    void Kill()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    int Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

std::vector<std::string> DocumentLines(const std::string& output)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("doc\t"))
            lines.push_back(line);
    return lines;
}

int JournalsIn(const fs::path& folder)
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        count += entry.path().extension() == ".journal" ? 1 : 0;
    return count;
}

TEST(CrashRecovery, AKilledProgramGivesBackASavedAndAnUntitledDocumentExactly)
{
    TempDir home;
    for (const char* folder : {"config", "state", "runtime", "files"})
        fs::create_directory(home / folder);
    fs::permissions(home / "runtime", fs::perms::owner_all);
    const fs::path file = home / "files" / "notatki.txt";
    WriteFile(file, "zażółć gęślą jaźń\nline two\n");

    ProgramRun first(home,
                     {"OSTREL_TYPIST=type", "OSTREL_TYPE_FIRST=Dopisane: źdźbło ",
                      "OSTREL_TYPE_SECOND=Nowy tekst\nw dwóch wierszach"},
                     {file.string()});
    const std::string typed = first.ReadUntil("typed");
    ASSERT_NE(typed.find("typed"), std::string::npos) << typed;
    const std::vector<std::string> before = DocumentLines(typed);
    ASSERT_EQ(before.size(), 2u) << typed;
    // The journals follow within the two seconds after the last key.
    const auto typedAt = Clock::now();
    const fs::path recovery = home / "state" / "ostrel" / "recovery";
    while (JournalsIn(recovery) < 2 && Clock::now() - typedAt < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto journaledAfter = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - typedAt);
    ASSERT_EQ(JournalsIn(recovery), 2);
    EXPECT_LT(journaledAfter.count(), 3000) << "journaled after " << journaledAfter.count() << " ms";
    ::testing::Test::RecordProperty("journaled_after_ms", static_cast<int>(journaledAfter.count()));
    first.Kill();
    EXPECT_EQ(ReadFile(file), "zażółć gęślą jaźń\nline two\n") << "nothing was saved";

    ProgramRun second(home, {"OSTREL_TYPIST=restore"}, {});
    const std::string restored = second.ReadUntil("");
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(DocumentLines(restored), before) << restored;
    // What came back, in plain words: the file with its path, encoding and LF
    // breaks, the untitled one with its caption, both modified.
    ASSERT_EQ(before.size(), 2u);
    EXPECT_TRUE(before[0].starts_with("doc\t" + file.string() + "\tnotatki.txt\t1\tutf-8\t1\t")) << before[0];
    EXPECT_TRUE(before[1].starts_with("doc\t\t1 Bez nazwy\t1\t")) << before[1];
}

}  // namespace
}  // namespace ostrel::test
