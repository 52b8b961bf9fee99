// ostrel-cli ftp against a real FTP server on this machine, through the
// system's console client.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/FtpTestServer.h"
#include "support/ScopedEnv.h"
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
        writeFile(local / "hasło", kPassword + "\n");
        fs::create_directories(local / "moje pliki");
        writeFile(document, content);
    }
    void TearDown() override
    {
        server.reset();
        EXPECT_FALSE(fs::exists(kMarker)) << "a shell command ran";
        EXPECT_TRUE(fs::is_empty(runtime.path())) << "a script file remained";
    }

    RunResult Upload(const std::string& address, const std::string& passwordFile, const std::string& folder)
    {
        return runCli({"ftp", "--server", address, "--user", "jan kowalski", "--password-file", passwordFile,
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
    EXPECT_EQ(readFile(arrived), content);

    const std::string odd = "tab\there \"q\" back\\slash";
    const RunResult again = runCli({"ftp", "--server", server->Address(), "--user", "jan kowalski", "--password-file",
                                    (local / "hasło").string(), "--target", odd, "--bye", document.string()});
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_EQ(readFile(home.path() / odd), content);
}

TEST_F(FtpCliTest, WithoutATargetTheLocalNameIsUsedInTheLoginFolder)
{
    const RunResult r = runCli({"ftp", "--server", server->Address(), "--user", "jan kowalski", "--password-file",
                                (local / "hasło").string(), document.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(readFile(home.path() / "strona główna.html"), content);
}

TEST_F(FtpCliTest, FailuresAreReportedAndNothingArrives)
{
    writeFile(local / "złe", "!touch " + kMarker + "\n");
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
    const RunResult r = runCli({"ftp", "--server", open.Address(), "--user", "gosc", "--bye", document.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(readFile(otherHome.path() / "strona główna.html"), content);
}

TEST_F(FtpCliTest, BadInputIsRefusedBeforeTheClientStarts)
{
    const std::string address = server->Address();
    const std::string password = (local / "hasło").string();
    const RunResult missing = runCli({"ftp", "--server", address, "--user", "jan", (local / "brak").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;

    const RunResult broken = runCli({"ftp", "--server", address, "--user", "jan", "--dir", "a\n!touch " + kMarker,
                                     document.string()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("line break"), std::string::npos) << broken.err;
    EXPECT_TRUE(broken.out.empty()) << broken.out;

    EXPECT_EQ(runCli({"ftp", "--user", "jan", document.string()}).status, 2);
    EXPECT_EQ(runCli({"ftp", "--server", address, document.string()}).status, 2);
    EXPECT_EQ(runCli({"ftp", "--server", address, "--user", "jan"}).status, 2);

    TempDir emptyPath;
    ScopedEnv path("PATH", emptyPath.path().string());
    const RunResult noClient = runCli({"ftp", "--server", address, "--user", "jan", document.string()});
    EXPECT_EQ(noClient.status, 1);
    EXPECT_NE(noClient.err.find("no FTP client"), std::string::npos) << noClient.err;
}

}  // namespace
}  // namespace ostrel::test
