// ostrel-cli ftp against real servers on this machine: FTP through the
// system's console client, SFTP and FTPS through the program's own transfer.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "support/FtpTestServer.h"
#include "support/ScopedEnv.h"
#include "support/CliRun.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kMarker = "/tmp/ostrel-ftp-test-marker";
const std::string kPassword = HostilePassword(kMarker);

class FtpCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!FtpTestServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no pyftpdlib";
        fs::remove(kMarker);
        fs::create_directories(home.path() / "strony www");
        ::chmod(runtime.path().c_str(), 0700);
        server = std::make_unique<FtpTestServer>(home.path(), "jan kowalski", kPassword);
        WriteFile(local / "hasło", kPassword + "\n");
        fs::create_directories(local / "moje pliki");
        WriteFile(document, content);
    }
    void TearDown() override
    {
        server.reset();
        EXPECT_FALSE(fs::exists(kMarker)) << "a shell command ran";
        EXPECT_TRUE(fs::is_empty(runtime.path())) << "a script file remained";
    }

    RunResult Upload(const std::string& address, const std::string& passwordFile, const std::string& folder)
    {
        return RunCli({"ftp", "--server", address, "--user", "jan kowalski", "--password-file", passwordFile,
                       "--dir", folder, "--target", "nowa strona.html", "--bye", document.string()});
    }

    TempDir home;
    TempDir local;
    TempDir runtime;
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path().string()};
    std::unique_ptr<FtpTestServer> server;
    const fs::path document = local / "moje pliki" / "strona główna.html";
    const std::string content = "<p>\r\nbajty \0\xff\xfe\nkoniec"s;
};

TEST_F(FtpCliTest, FileWithBlanksArrivesByteForByteInAFolderWithABlank)
{
    const RunResult r = Upload(server->Address(), (local / "hasło").string(), "strony www");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("226 "), std::string::npos) << "the client's dialogue is passed through";
    const fs::path arrived = home.path() / "strony www" / "nowa strona.html";
    ASSERT_TRUE(fs::exists(arrived)) << r.out;
    EXPECT_EQ(ReadFile(arrived), content);

    const std::string odd = "tab\there \"q\" back\\slash";
    const RunResult again = RunCli({"ftp", "--server", server->Address(), "--user", "jan kowalski", "--password-file",
                                    (local / "hasło").string(), "--target", odd, "--bye", document.string()});
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_EQ(ReadFile(home.path() / odd), content);
}

TEST_F(FtpCliTest, WithoutATargetTheLocalNameIsUsedInTheLoginFolder)
{
    const RunResult r = RunCli({"ftp", "--server", server->Address(), "--user", "jan kowalski", "--password-file",
                                (local / "hasło").string(), document.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(ReadFile(home.path() / "strona główna.html"), content);
}

TEST_F(FtpCliTest, FailuresAreReportedAndNothingArrives)
{
    WriteFile(local / "złe", "!touch " + kMarker + "\n");
    const int refusedPort = UnusedLocalPort();
    struct Case {
        std::string address, passwordFile, folder, expected;
    };
    for (const Case& c : {Case{server->Address(), (local / "złe").string(), "strony www", "530"},
                          Case{"127.0.0.1 " + std::to_string(refusedPort), (local / "hasło").string(), "strony www",
                               "connect"},
                          Case{server->Address(), (local / "hasło").string(), "nie ma takiego", "550"}}) {
        const RunResult r = Upload(c.address, c.passwordFile, c.folder);
        EXPECT_NE(r.status, 0) << r.out;
        EXPECT_NE(r.err.find("upload failed"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(home.path() / "strony www" / "nowa strona.html"));
}

TEST_F(FtpCliTest, EmptyPasswordIsSentAsEmpty)
{
    TempDir otherHome;
    FtpTestServer open(otherHome.path(), "gosc", "");
    const RunResult r = RunCli({"ftp", "--server", open.Address(), "--user", "gosc", "--bye", document.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(ReadFile(otherHome.path() / "strona główna.html"), content);
}

TEST_F(FtpCliTest, BadInputIsRefusedBeforeTheClientStarts)
{
    const std::string address = server->Address();
    const std::string password = (local / "hasło").string();
    const RunResult missing = RunCli({"ftp", "--server", address, "--user", "jan", (local / "brak").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;

    const RunResult broken = RunCli({"ftp", "--server", address, "--user", "jan", "--dir", "a\n!touch " + kMarker,
                                     document.string()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("line break"), std::string::npos) << broken.err;
    EXPECT_TRUE(broken.out.empty()) << broken.out;

    EXPECT_EQ(RunCli({"ftp", "--user", "jan", document.string()}).status, 2);
    EXPECT_EQ(RunCli({"ftp", "--server", address, document.string()}).status, 2);
    EXPECT_EQ(RunCli({"ftp", "--server", address, "--user", "jan"}).status, 2);

    TempDir emptyPath;
    ScopedEnv path("PATH", emptyPath.path().string());
    const RunResult noClient = RunCli({"ftp", "--server", address, "--user", "jan", document.string()});
    EXPECT_EQ(noClient.status, 1);
    EXPECT_NE(noClient.err.find("no FTP client"), std::string::npos) << noClient.err;
}

TEST_F(FtpCliTest, TimeLimitEndsAClientThatNeverGetsAnAnswer)
{
    TrickleTestServer trickle(0.5);
    const auto start = std::chrono::steady_clock::now();
    const RunResult r = RunCli({"ftp", "--server", trickle.Address(), "--user", "jan", "--timeout", "2", "--bye",
                                document.string()});
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.err.find("time limit of 2 s"), std::string::npos) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));

    for (const char* bad : {"0", "-3", "zwłoka", "5s"})
        EXPECT_EQ(RunCli({"ftp", "--server", server->Address(), "--user", "jan", "--timeout", bad, document.string()})
                      .status,
                  2)
            << bad;
}

// The servers of SFTP and FTPS, and a home of the test's own for the
// known-hosts file.
class FtpCliProtocolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SftpTestServer::Available() || !FtpTestServer::TlsAvailable())
            GTEST_SKIP() << "/usr/bin/python3 lacks asyncssh, pyftpdlib or OpenSSL";
        fs::create_directories(serverRoot.path() / "strony www");
        fs::create_directories(local.path() / "moje pliki");
        WriteFile(passwordFile, kPassword + "\n");
        WriteFile(document, content);
        sftp = std::make_unique<SftpTestServer>(serverRoot.path(), "jan kowalski", kPassword, keys / "host");
        ftps = std::make_unique<FtpTestServer>(serverRoot.path(), "jan kowalski", kPassword, keys / "cert.pem");
    }
    void TearDown() override
    {
        // Only the test's own password file holds it.
        for (const fs::path& folder : {home.path(), runtime.path()})
            EXPECT_TRUE(FilesHolding(folder, kPassword).empty()) << "the password was written into " << folder;
        EXPECT_EQ(FilesHolding(local.path(), kPassword), std::vector<fs::path>{passwordFile});
    }

    RunResult Upload(const std::string& protocol, const std::string& address, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"ftp", "--protocol", protocol, "--server", address, "--user", "jan kowalski",
                                      "--password-file", passwordFile.string(), "--dir", "strony www", "--target",
                                      "nowa strona ż.html"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(document.string());
        return RunCli(args);
    }
    fs::path Arrived() const { return serverRoot.path() / "strony www" / "nowa strona ż.html"; }

    TempDir home;
    TempDir local;
    TempDir runtime;
    TempDir serverRoot;
    TempDir keys;
    ScopedEnv homeEnv{"HOME", home.path().string()};
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path().string()};
    ScopedEnv agentEnv{"SSH_AUTH_SOCK", "/nonexistent/agent"};
    const fs::path passwordFile = local.path() / "hasło";
    const fs::path document = local.path() / "moje pliki" / "strona główna ż.html";
    const std::string content = "<p>\r\nbajty \0\xff\xfe\nkoniec"s;
    std::unique_ptr<SftpTestServer> sftp;
    std::unique_ptr<FtpTestServer> ftps;
};

TEST_F(FtpCliProtocolTest, AnUnconfirmedServerIsRefusedUntilTrustedThenTheFileArrives)
{
    struct Case {
        std::string protocol, address, fingerprint, refusal;
    };
    for (const Case& c : {Case{"sftp", sftp->Address(), sftp->Fingerprint(), "unknown host key"},
                          Case{"ftps", ftps->Address(), ftps->Fingerprint(), "untrusted certificate"}}) {
        const RunResult refused = Upload(c.protocol, c.address);
        EXPECT_EQ(refused.status, 1) << c.protocol;
        EXPECT_NE(refused.err.find("upload failed: " + c.refusal), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("--trust " + c.fingerprint), std::string::npos) << refused.err;
        EXPECT_FALSE(fs::exists(Arrived()));

        const RunResult sent = Upload(c.protocol, c.address, {"--trust", c.fingerprint});
        EXPECT_EQ(sent.status, 0) << sent.err;
        EXPECT_NE(sent.out.find(std::to_string(content.size()) + " bytes sent"), std::string::npos) << sent.out;
        EXPECT_EQ(ReadFile(Arrived()), content);
        fs::remove(Arrived());
    }
    // The SFTP key is known now; the certificate was trusted for that run alone.
    EXPECT_EQ(Upload("sftp", sftp->Address()).status, 0);
    EXPECT_EQ(Upload("ftps", ftps->Address()).status, 1);
}

TEST_F(FtpCliProtocolTest, FailuresAreReportedAndNothingArrives)
{
    WriteFile(local.path() / "złe", "zupełnie inne\n");
    const std::vector<std::string> trustSftp{"--trust", sftp->Fingerprint()};
    const std::vector<std::string> trustFtps{"--trust", ftps->Fingerprint()};
    const std::string refused = "127.0.0.1 " + std::to_string(UnusedLocalPort());
    struct Case {
        std::string protocol, address;
        std::vector<std::string> extra;
        std::string expected;
    };
    for (const Case& c : {Case{"sftp", sftp->Address(), {"--password-file", (local.path() / "złe").string()},
                               "refused the user or the password"},
                          Case{"ftps", ftps->Address(), {"--password-file", (local.path() / "złe").string()},
                               "refused the user or the password"},
                          Case{"sftp", refused, {}, "no connection"},
                          Case{"ftps", refused, {}, "no connection"},
                          Case{"sftp", sftp->Address(), {"--dir", "nie ma"}, "refused the folder or the file"}}) {
        std::vector<std::string> extra = c.protocol == "sftp" ? trustSftp : trustFtps;
        extra.insert(extra.end(), c.extra.begin(), c.extra.end());
        const RunResult r = Upload(c.protocol, c.address, extra);
        EXPECT_EQ(r.status, 1) << c.protocol << " " << c.expected;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(Arrived()));
}

TEST_F(FtpCliProtocolTest, ChangedHostKeyIsRefusedWithAWarning)
{
    ASSERT_EQ(Upload("sftp", sftp->Address(), {"--trust", sftp->Fingerprint()}).status, 0);
    fs::remove(Arrived());
    // A server with another key under the same name.
    const std::string known = ReadFile(home.path() / ".ssh" / "known_hosts");
    SftpTestServer impostor(serverRoot.path(), "jan kowalski", kPassword, keys / "impostor");
    std::string moved = known;
    const std::string name = "[127.0.0.1]:" + std::to_string(sftp->Port());
    moved.replace(moved.find(name), name.size(), "[127.0.0.1]:" + std::to_string(impostor.Port()));
    WriteFile(home.path() / ".ssh" / "known_hosts", moved);

    const RunResult r = Upload("sftp", impostor.Address(), {"--trust", impostor.Fingerprint()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("WARNING: the host key of [127.0.0.1]:" + std::to_string(impostor.Port()) + " has CHANGED"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(Arrived()));
    EXPECT_EQ(ReadFile(home.path() / ".ssh" / "known_hosts"), moved);
}

TEST_F(FtpCliProtocolTest, TimeLimitAndBadOptions)
{
    TrickleTestServer trickle(0.5);
    const auto start = std::chrono::steady_clock::now();
    const RunResult r = Upload("ftps", trickle.Address(), {"--timeout", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("time limit"), std::string::npos) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));

    EXPECT_EQ(Upload("scp", sftp->Address()).status, 2);
    EXPECT_EQ(Upload("sftp", "127.0.0.1 port").status, 2);
    EXPECT_EQ(Upload("sftp", "127.0.0.1 70000").status, 2);
}

}  // namespace
}  // namespace ostrel::test
