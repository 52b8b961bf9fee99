#include "support/CliRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestSupport.h"

namespace ostrel::test {

namespace fs = std::filesystem;

RunResult RunCli(const std::vector<std::string>& args, const std::string& stdinBytes)
{
    TempDir dir;
    const fs::path inPath = dir / "stdin";
    const fs::path outPath = dir / "stdout";
    const fs::path errPath = dir / "stderr";
    WriteFile(inPath, stdinBytes);

    std::vector<std::string> argv{OSTREL_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(inPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    RunResult r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

void ExpectCliTokensMatchGolden(const std::string& language, const std::string& folder, const std::string& source)
{
    const std::string dir = std::string(OSTREL_TEST_DATA) + "/" + folder + "/";
    const RunResult r = RunCli({"tokens", "--lang", language, dir + source});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadFile(dir + "golden.tokens"));
}

}  // namespace ostrel::test
