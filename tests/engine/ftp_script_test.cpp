// The upload script, its private file, finding the client and reading the
// client's dialogue.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/FtpScript.h"
#include "platform/FtpScriptFile.h"
#include "platform/FtpTranscript.h"
#include "support/ScopedEnv.h"
#include "support/TestSupport.h"

namespace ostrel {
namespace {

using test::ScopedEnv;
using test::TempDir;

std::vector<std::string> Lines(const std::string& script)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = script.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(script.substr(start, end - start));
    EXPECT_EQ(start, script.size()) << "the script ends with a line break";
    return lines;
}

TFtpParameters Sample()
{
    TFtpParameters p;
    p.server = "ftp.example.com 2121";
    p.user = "jan";
    p.password = "tajne";
    p.folder = "/www";
    p.localPath = "/home/jan/strona.html";
    p.targetName = "index.html";
    return p;
}

mode_t Permissions(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(FtpScript, LinesInTheirOrderWithLfEnds)
{
    TFtpParameters p = Sample();
    EXPECT_EQ(Lines(BuildFtpScript(p)), (std::vector<std::string>{"open ftp.example.com 2121", "user jan tajne", "bin",
                                                                  "cd /www", "put /home/jan/strona.html index.html"}));
    p.closeAfterSending = true;
    const std::vector<std::string> lines = Lines(BuildFtpScript(p));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.back(), "bye");
    EXPECT_EQ(BuildFtpScript(p).find('\r'), std::string::npos);
}

TEST(FtpScript, EveryFieldIsOneWordForTheClient)
{
    EXPECT_EQ(FtpEscape("a b\tc"), "a\\ b\\\tc");
    EXPECT_EQ(FtpEscape("\"q\" \\x"), "\\\"q\\\"\\ \\\\x");
    EXPECT_EQ(FtpEscape("!touch;|$(x)"), "!touch;|$(x)");

    TFtpParameters p = Sample();
    p.user = "jan kowalski";
    p.password = "!a \"b\"";
    p.folder = "moje strony";
    p.localPath = "/home/jan/moja strona.html";
    p.targetName = "nowa strona.html";
    const std::vector<std::string> lines = Lines(BuildFtpScript(p));
    EXPECT_EQ(lines[1], "user jan\\ kowalski !a\\ \\\"b\\\"");
    EXPECT_EQ(lines[3], "cd moje\\ strony");
    EXPECT_EQ(lines[4], "put /home/jan/moja\\ strona.html nowa\\ strona.html");
}

TEST(FtpScript, EmptyPasswordIsAnsweredByAnEmptyLine)
{
    TFtpParameters p = Sample();
    p.password.clear();
    const std::vector<std::string> lines = Lines(BuildFtpScript(p));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "user jan");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "bin");
}

TEST(FtpScript, EmptyFolderStaysInTheLoginFolder)
{
    TFtpParameters p = Sample();
    p.folder.clear();
    for (const std::string& line : Lines(BuildFtpScript(p)))
        EXPECT_FALSE(line.starts_with("cd")) << line;
}

TEST(FtpScript, RefusesFieldsThatWouldStartACommandOfTheirOwn)
{
    for (std::string TFtpParameters::*field : {&TFtpParameters::server, &TFtpParameters::user,
                                                &TFtpParameters::password, &TFtpParameters::folder,
                                                &TFtpParameters::targetName}) {
        for (const std::string& tail : {std::string("\n!sh"), std::string("\r!sh"), std::string("\0!sh", 4)}) {
            TFtpParameters p = Sample();
            p.*field += tail;
            EXPECT_THROW(BuildFtpScript(p), EFtpScript);
        }
    }
    TFtpParameters relative = Sample();
    relative.localPath = "|touch marker";
    EXPECT_THROW(BuildFtpScript(relative), EFtpScript);
    relative.localPath.clear();
    EXPECT_THROW(BuildFtpScript(relative), EFtpScript);
}

TEST(FtpScriptFile, PrivateWhileItExistsAndGoneOnceOpened)
{
    TempDir runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().string());
    const mode_t oldMask = ::umask(0);  // the modes may not depend on the umask
    TFtpScriptFile file;
    file.Write("open host\n");
    ::umask(oldMask);
    ASSERT_TRUE(file.Exists());
    const std::string folder = file.Path().substr(0, file.Path().rfind('/'));
    EXPECT_EQ(file.Path().substr(folder.size() + 1), kFtpScriptFileName);
    EXPECT_EQ(folder.substr(0, runtime.path().string().size()), runtime.path().string());
    EXPECT_EQ(Permissions(folder), 0700u);
    EXPECT_EQ(Permissions(file.Path()), 0600u);

    const TUniqueFd input = file.OpenForClient();
    EXPECT_FALSE(file.Exists());
    EXPECT_NE(::access(folder.c_str(), F_OK), 0);
    EXPECT_EQ(input.ReadAll(), "open host\n");
}

TEST(FtpScriptFile, EachWriteReplacesTheLastAndNothingOutlivesTheObject)
{
    TempDir runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().string());
    std::string first;
    {
        TFtpScriptFile file;
        file.Write("one\n");
        first = file.Path();
        file.Write("two\n");
        EXPECT_NE(::access(first.c_str(), F_OK), 0);
        EXPECT_EQ(test::ReadFile(file.Path()), "two\n");
    }
    EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
}

TEST(FtpScriptFile, SharedRuntimeFolderIsNotUsed)
{
    TempDir runtime;
    ::chmod(runtime.path().c_str(), 0755);
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().string());
    TempDir temp;
    ScopedEnv tmp("TMPDIR", temp.path().string());
    EXPECT_EQ(PrivateFolderRoot(), temp.path().string());
    TFtpScriptFile file;
    file.Write("x\n");
    EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
    EXPECT_EQ(Permissions(file.Path().substr(0, file.Path().rfind('/'))), 0700u);
}

TEST(FtpClientLookup, FtpFirstThenTnftpThenInetutilsAlongThePath)
{
    TempDir dirs;
    auto make = [&](const std::string& path, mode_t mode) {
        std::filesystem::create_directories((dirs.path() / path).parent_path());
        test::WriteFile(dirs.path() / path, "#!/bin/sh\n");
        ::chmod((dirs.path() / path).c_str(), mode);
    };
    make("a/ftp", 0644);  // not executable
    make("b/inetutils-ftp", 0755);
    make("c/tnftp", 0755);
    std::filesystem::create_directories(dirs.path() / "d/ftp");  // a folder
    const std::string d = dirs.path().string();
    const std::string path = d + "/a::" + d + "/b:" + d + "/c:" + d + "/d";
    EXPECT_EQ(FindFtpClient(path), d + "/c/tnftp");
    make("e/ftp", 0755);
    EXPECT_EQ(FindFtpClient(path + ":" + d + "/e"), d + "/e/ftp");
    EXPECT_EQ(FindFtpClient(d + "/b"), d + "/b/inetutils-ftp");
    EXPECT_EQ(FindFtpClient(d + "/a"), "");
    EXPECT_EQ(FindFtpClient(""), "");
}

// What the client printed in real sessions.
constexpr const char* kTransferred =
    "Connected to 127.0.0.1.\n220 test server ready\n331 Username ok, send password.\n230 Login successful.\n"
    "Remote system type is UNIX.\nUsing binary mode to transfer files.\n200 Type set to: Binary.\n"
    "500 'EPSV': command not understood.\n227 Entering passive mode (127,0,0,1,139,21).\n"
    "150 File status okay. About to open data connection.\n226 Transfer complete.\n"
    "22 bytes sent in 00:00 (44.57 KiB/s)\n";
constexpr const char* kWrongPassword =
    "Connected to 127.0.0.1.\n220 test server ready\n331 Username ok, send password.\n"
    "Password: 530 Authentication failed.\nLogin failed.\n530 Log in with USER and PASS first.\n";
constexpr const char* kMissingFolder =
    "230 Login successful.\n200 Type set to: Binary.\n550 No such file or directory.\n"
    "local: /tmp/a remote: a\n150 File status okay.\n226 Transfer complete.\n";
constexpr const char* kRefused =
    "ftp: Can't connect to `127.0.0.1:1': Connection refused\nftp: Can't connect to `127.0.0.1:1'\n"
    "Not connected.\nNot connected.\n";
constexpr const char* kLocalFile = "230 Login successful.\nlocal: /x remote: x\nftp: Can't open `/x': No such file\n";

TFtpTranscript Read(const std::string& output, size_t piece)
{
    TFtpTranscript transcript;
    for (size_t at = 0; at < output.size(); at += piece)
        transcript.Feed(std::string_view(output).substr(at, piece));
    transcript.Finish();
    return transcript;
}

TEST(FtpTranscript, OutcomeAndDecidingLineWhateverThePieces)
{
    struct Case {
        const char* output;
        TFtpOutcome outcome;
        const char* line;
    };
    for (const Case& c : {Case{kTransferred, TFtpOutcome::Transferred, "226 Transfer complete."},
                          Case{kWrongPassword, TFtpOutcome::LoginRefused, "530 Authentication failed."},
                          Case{kMissingFolder, TFtpOutcome::RemoteRefused, "550 No such file or directory."},
                          Case{kRefused, TFtpOutcome::NotConnected,
                               "ftp: Can't connect to `127.0.0.1:1': Connection refused"},
                          Case{kLocalFile, TFtpOutcome::LocalFailure, "ftp: Can't open `/x': No such file"}}) {
        const std::string output = c.output;
        for (size_t piece = 1; piece <= output.size(); piece += 7) {
            const TFtpTranscript transcript = Read(output, piece);
            EXPECT_EQ(transcript.Outcome(), c.outcome) << c.output << " in pieces of " << piece;
            EXPECT_EQ(transcript.DecidingLine(), c.line);
        }
    }
}

TEST(FtpTranscript, UndecidedUntilTheClientEnds)
{
    TFtpTranscript transcript;
    transcript.Feed("220 ready\r\n331 Username ok\r\n226 Transfer compl");
    EXPECT_EQ(transcript.Outcome(), TFtpOutcome::Pending);
    transcript.Feed("ete.\r\n");
    EXPECT_TRUE(transcript.Succeeded());
    EXPECT_EQ(transcript.DecidingLine(), "226 Transfer complete.");

    TFtpTranscript folderThenFile;
    folderThenFile.Feed("250 \"/www\" is the current directory.\n");
    EXPECT_EQ(folderThenFile.Outcome(), TFtpOutcome::Pending);
    folderThenFile.Feed("local: /a remote: a\n150 Opening\n250 Requested file action okay, completed.\n");
    EXPECT_TRUE(folderThenFile.Succeeded());

    TFtpTranscript silent;
    silent.Feed("Connected to host.\n220 ready\n2269 bytes\n");
    silent.Finish();
    EXPECT_EQ(silent.Outcome(), TFtpOutcome::NoConfirmation);
}

}  // namespace
}  // namespace ostrel
