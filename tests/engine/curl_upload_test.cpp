// SFTP and FTPS uploads against real servers on this machine: the file's
// bytes, the checks of the server's identity, the failures, the time limit
// and cancelling.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/upload/CurlUpload.h"
#include "platform/upload/Fingerprint.h"
#include "platform/upload/KnownHosts.h"
#include "support/FtpTestServer.h"
#include "support/ScopedEnv.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kUser = "jan kowalski";
const std::string kPassword = "tajne hasło \"a\\b\" 'c'";

// Answers the questions from queues; a question nobody expected fails.
class ScriptedObserver final : public TUploadObserver {
public:
    std::deque<TTrustAnswer> answers;
    std::vector<TPeerIdentity> asked;
    uint64_t sent = 0;
    uint64_t total = 0;
    int progressCalls = 0;
    int cancelAfter = -1;  // progress calls before the user cancels

    void Progress(uint64_t s, uint64_t t) override
    {
        EXPECT_GE(s, sent) << "progress goes forward";
        sent = s;
        total = t;
        ++progressCalls;
    }
    TTrustAnswer TrustHostKey(const TPeerIdentity& key) override { return Answer(key); }
    TTrustAnswer TrustCertificate(const TPeerIdentity& certificate) override { return Answer(certificate); }
    bool Cancelled() const override { return cancelAfter >= 0 && progressCalls >= cancelAfter; }

private:
    TTrustAnswer Answer(const TPeerIdentity& identity)
    {
        asked.push_back(identity);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question about " << identity.fingerprint;
            return TTrustAnswer::Reject;
        }
        const TTrustAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Bytes of every value, a CR LF and a NUL among them, more than one buffer long.
std::string Content()
{
    std::string bytes = "<p>\r\nbajty \0\xff\xfe\nkoniec"s;
    for (uint32_t i = 0; i < 300000; ++i)
        bytes += static_cast<char>((i * 7919u) >> 3);
    return bytes;
}

class UploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(serverRoot.path() / "strony www");
        fs::create_directories(local.path() / "moje pliki");
        WriteFile(document, content);
    }
    void TearDown() override
    {
        EXPECT_TRUE(FilesHolding(home.path(), kPassword).empty()) << "the password was written into a file";
    }

    TUploadRequest Request(TUploadProtocol protocol, int port, const std::string& password = kPassword)
    {
        TUploadRequest r;
        r.protocol = protocol;
        r.host = "127.0.0.1";
        r.port = port;
        r.user = kUser;
        r.password = password;
        r.folder = "strony www";
        r.localPath = document.string();
        r.targetName = "nowa strona ż.html";
        r.knownHostsPath = KnownHosts().string();
        return r;
    }
    TUploadResult Upload(const TUploadRequest& request)
    {
        observer.sent = 0;
        return TCurlUpload(request, observer).Run();
    }

    // A wrong password, a missing folder, an absolute folder that exists and
    // a port where nothing listens, each with the server's identity trusted;
    // the request afterwards points at that port.
    void ExpectCommonOutcomes(TUploadRequest& trusted)
    {
        const std::string password = trusted.password;
        trusted.password = "zupełnie inne";
        EXPECT_EQ(Upload(trusted).error, TUploadError::LoginRefused);
        trusted.password = password;
        trusted.folder = "nie ma takiego";
        EXPECT_EQ(Upload(trusted).error, TUploadError::RemoteRefused);
        trusted.folder = "/strony www";  // absolute: from the server's root
        const TUploadResult sent = Upload(trusted);
        EXPECT_TRUE(sent.Succeeded()) << UploadFailureText(sent);
        EXPECT_EQ(ReadFile(Arrived()), content);
        trusted.port = UnusedLocalPort();
        EXPECT_EQ(Upload(trusted).error, TUploadError::NotConnected);
    }

    fs::path KnownHosts() const { return home.path() / ".ssh" / "known_hosts"; }
    fs::path Arrived() const { return serverRoot.path() / "strony www" / "nowa strona ż.html"; }

    TempDir home;
    TempDir serverRoot;
    TempDir local;
    TempDir keys;
    ScopedEnv homeEnv{"HOME", home.path().string()};
    // The user's own agent stays out of the tests.
    ScopedEnv agentEnv{"SSH_AUTH_SOCK", "/nonexistent/agent"};
    const fs::path document = local.path() / "moje pliki" / "strona główna ż.html";
    const std::string content = Content();
    ScriptedObserver observer;
};

class SftpUploadTest : public UploadTest {
protected:
    void SetUp() override
    {
        if (!SftpTestServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no asyncssh";
        UploadTest::SetUp();
        server = std::make_unique<SftpTestServer>(serverRoot.path(), kUser, kPassword, keys.path() / "host");
    }
    TUploadRequest Request(const std::string& password = kPassword)
    {
        return UploadTest::Request(TUploadProtocol::Sftp, server->Port(), password);
    }

    std::unique_ptr<SftpTestServer> server;
};

TEST_F(SftpUploadTest, UnknownKeyIsAskedOnceThenKnownAndTheFileArrivesByteForByte)
{
    observer.answers = {TTrustAnswer::AcceptAndRemember};
    const TUploadResult first = Upload(Request());
    ASSERT_TRUE(first.Succeeded()) << UploadFailureText(first);
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_EQ(first.bytesSent, content.size());
    EXPECT_EQ(observer.sent, content.size());
    EXPECT_EQ(observer.total, content.size());
    ASSERT_EQ(observer.asked.size(), 1u);
    EXPECT_EQ(observer.asked[0].fingerprint, server->Fingerprint()) << "the fingerprint OpenSSH would show";
    EXPECT_EQ(observer.asked[0].keyType, "ssh-ed25519");

    const std::string known = ReadFile(KnownHosts());
    EXPECT_EQ(known.rfind("[127.0.0.1]:" + std::to_string(server->Port()) + " ssh-ed25519 AAAA", 0), 0u) << known;
    struct stat info {};
    ASSERT_EQ(::stat(KnownHosts().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    fs::remove(Arrived());
    const TUploadResult second = Upload(Request());
    EXPECT_TRUE(second.Succeeded()) << UploadFailureText(second);
    EXPECT_EQ(observer.asked.size(), 1u) << "a known key is not asked about";
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_EQ(ReadFile(KnownHosts()), known);
}

TEST_F(SftpUploadTest, RejectedUnknownKeySendsNothingAndStoresNothing)
{
    observer.answers = {TTrustAnswer::Reject};
    const TUploadResult result = Upload(Request());
    EXPECT_EQ(result.error, TUploadError::HostKeyUnknown) << UploadFailureText(result);
    EXPECT_EQ(result.identity.fingerprint, server->Fingerprint());
    EXPECT_FALSE(fs::exists(Arrived()));
    EXPECT_FALSE(fs::exists(KnownHosts()));

    // Accepted once, the key is not stored either.
    observer.answers = {TTrustAnswer::AcceptOnce};
    EXPECT_TRUE(Upload(Request()).Succeeded());
    EXPECT_FALSE(fs::exists(KnownHosts()));
}

TEST_F(SftpUploadTest, ChangedKeyIsRefusedWithoutAskingAndTheFileIsKept)
{
    // The file knows another key under this server's name.
    SftpTestServer other(serverRoot.path(), kUser, kPassword, keys.path() / "other");
    TUploadRequest first = UploadTest::Request(TUploadProtocol::Sftp, other.Port());
    first.trustedFingerprints = {other.Fingerprint()};
    ASSERT_TRUE(Upload(first).Succeeded());
    std::string known = "# my servers\n" + ReadFile(KnownHosts());
    const std::string otherName = "[127.0.0.1]:" + std::to_string(other.Port());
    known.replace(known.find(otherName), otherName.size(), "[127.0.0.1]:" + std::to_string(server->Port()));
    WriteFile(KnownHosts(), known);
    fs::remove(Arrived());

    TUploadRequest request = Request();
    request.trustedFingerprints = {server->Fingerprint()};  // not even this overrides a changed key
    const TUploadResult result = Upload(request);
    EXPECT_EQ(result.error, TUploadError::HostKeyChanged) << UploadFailureText(result);
    EXPECT_EQ(result.identity.fingerprint, server->Fingerprint());
    EXPECT_NE(UploadFailureText(result).find("CHANGED"), std::string::npos);
    EXPECT_TRUE(observer.asked.empty());
    EXPECT_FALSE(fs::exists(Arrived()));
    EXPECT_EQ(ReadFile(KnownHosts()), known);
}

TEST_F(SftpUploadTest, LoginFolderAndConnectionFailuresAreReported)
{
    TUploadRequest trusted = Request();
    trusted.trustedFingerprints = {server->Fingerprint()};
    ExpectCommonOutcomes(trusted);
    trusted.localPath = (local.path() / "brak").string();
    EXPECT_EQ(Upload(trusted).error, TUploadError::LocalFile);
}

TEST_F(SftpUploadTest, KeysLogInFirstAndThePasswordOnlyWhereTheyAreRefused)
{
    if (::access("/usr/bin/ssh-keygen", X_OK) != 0)
        GTEST_SKIP() << "no ssh-keygen";
    fs::create_directories(home.path() / ".ssh");
    const fs::path key = home.path() / ".ssh" / "id_ed25519";
    ASSERT_EQ(std::system(("/usr/bin/ssh-keygen -q -t ed25519 -N '' -f '" + key.string() + "'").c_str()), 0);
    SftpTestServer keyed(serverRoot.path(), kUser, "inne hasło serwera", keys.path() / "keyed",
                         key.string() + ".pub");
    TUploadRequest request = UploadTest::Request(TUploadProtocol::Sftp, keyed.Port(), "");
    request.trustedFingerprints = {keyed.Fingerprint()};
    const TUploadResult byKey = Upload(request);
    EXPECT_TRUE(byKey.Succeeded()) << UploadFailureText(byKey);
    EXPECT_EQ(ReadFile(Arrived()), content);
    request.password = kPassword;  // wrong for this server: the key is what logs in
    EXPECT_TRUE(Upload(request).Succeeded());

    // A server that does not take the key: the password, asked about once.
    fs::remove(Arrived());
    observer.answers = {TTrustAnswer::AcceptOnce};
    const TUploadResult byPassword = Upload(Request());
    EXPECT_TRUE(byPassword.Succeeded()) << UploadFailureText(byPassword);
    EXPECT_EQ(observer.asked.size(), 1u);
    EXPECT_EQ(ReadFile(Arrived()), content);

    fs::remove(key);
    request.password.clear();
    EXPECT_EQ(Upload(request).error, TUploadError::LoginRefused) << "without the key nothing else logs in";
}

class FtpsUploadTest : public UploadTest {
protected:
    void SetUp() override
    {
        if (!FtpTestServer::TlsAvailable())
            GTEST_SKIP() << "/usr/bin/python3 has no pyftpdlib or OpenSSL";
        UploadTest::SetUp();
        server = std::make_unique<FtpTestServer>(serverRoot.path(), kUser, kPassword, keys.path() / "server.pem");
    }
    TUploadRequest Request(const std::string& password = kPassword)
    {
        return UploadTest::Request(TUploadProtocol::Ftps, server->Port(), password);
    }

    std::unique_ptr<FtpTestServer> server;
};

TEST_F(FtpsUploadTest, SelfSignedCertificateIsRefusedUnlessAccepted)
{
    observer.answers = {TTrustAnswer::Reject};
    const TUploadResult refused = Upload(Request());
    EXPECT_EQ(refused.error, TUploadError::CertificateUntrusted) << UploadFailureText(refused);
    EXPECT_EQ(refused.identity.fingerprint, server->Fingerprint());
    EXPECT_NE(refused.identity.details.find("self-signed"), std::string::npos) << refused.identity.details;
    EXPECT_FALSE(fs::exists(Arrived()));

    observer.answers = {TTrustAnswer::AcceptOnce};
    const TUploadResult accepted = Upload(Request());
    ASSERT_TRUE(accepted.Succeeded()) << UploadFailureText(accepted);
    EXPECT_EQ(observer.asked.size(), 2u) << "the data connection is not asked about again";
    EXPECT_EQ(ReadFile(Arrived()), content);
    ASSERT_EQ(accepted.acceptedOnce.size(), 1u);
    EXPECT_EQ(accepted.acceptedOnce[0].fingerprint, server->Fingerprint());

    fs::remove(Arrived());
    TUploadRequest pinned = Request();
    pinned.trustedFingerprints = {server->Fingerprint()};
    EXPECT_TRUE(Upload(pinned).Succeeded());
    EXPECT_EQ(observer.asked.size(), 2u);
    EXPECT_EQ(ReadFile(Arrived()), content);
}

TEST_F(FtpsUploadTest, AnotherCertificateUnderTheSameNameIsAskedAbout)
{
    TUploadRequest request = Request();
    request.trustedFingerprints = {"SHA256:00:11:22"};
    observer.answers = {TTrustAnswer::Reject};
    EXPECT_EQ(Upload(request).error, TUploadError::CertificateUntrusted);
    EXPECT_EQ(observer.asked.size(), 1u);
}

TEST_F(FtpsUploadTest, LoginFolderAndConnectionFailuresAreReported)
{
    TUploadRequest trusted = Request();
    trusted.trustedFingerprints = {server->Fingerprint()};
    ExpectCommonOutcomes(trusted);

    // A server of clear text alone is not sent the password.
    TempDir plainRoot;
    FtpTestServer plain(plainRoot.path(), kUser, kPassword);
    trusted.port = plain.Port();
    EXPECT_EQ(Upload(trusted).error, TUploadError::NoTls);
}

class UploadLimitTest : public UploadTest {
protected:
    void SetUp() override
    {
        if (!TestServerProcess::PythonHas({"socket"}))
            GTEST_SKIP() << "no /usr/bin/python3";
        UploadTest::SetUp();
    }
};

TEST_F(UploadLimitTest, TimeLimitEndsAServerThatNeverGetsToThePoint)
{
    TrickleTestServer trickle(0.5);
    for (const TUploadProtocol protocol : {TUploadProtocol::Ftps, TUploadProtocol::Sftp}) {
        TUploadRequest request = Request(protocol, trickle.Port());
        request.timeLimitSeconds = 2;
        const auto start = std::chrono::steady_clock::now();
        const TUploadResult result = Upload(request);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(result.error, TUploadError::TimedOut) << UploadFailureText(result);
        EXPECT_GE(took, std::chrono::milliseconds(1900));
        EXPECT_LT(took, std::chrono::seconds(15));
    }
}

TEST_F(UploadLimitTest, CancelEndsAStalledUpload)
{
    TrickleTestServer trickle(0.5);
    observer.cancelAfter = 2;
    const auto start = std::chrono::steady_clock::now();
    const TUploadResult result = Upload(Request(TUploadProtocol::Ftps, trickle.Port()));
    EXPECT_EQ(result.error, TUploadError::Cancelled) << UploadFailureText(result);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(UploadRequestTest, UrlEncodesTheNamesAndKeepsTheFolderRoots)
{
    TUploadRequest r;
    r.host = "serwer.example";
    r.targetName = "nowa strona ż.html";
    r.protocol = TUploadProtocol::Sftp;
    EXPECT_EQ(UploadUrl(r), "sftp://serwer.example:22/~/nowa%20strona%20%C5%BC.html");
    r.folder = "/var/www/a b/";
    EXPECT_EQ(UploadUrl(r), "sftp://serwer.example:22/var/www/a%20b/nowa%20strona%20%C5%BC.html");
    r.protocol = TUploadProtocol::Ftps;
    r.port = 2121;
    EXPECT_EQ(UploadUrl(r), "ftp://serwer.example:2121/%2F/var/www/a%20b/nowa%20strona%20%C5%BC.html");
    r.folder = "www;type=a/%2e";
    r.host = "::1";
    EXPECT_EQ(UploadUrl(r), "ftp://[::1]:2121/www%3Btype%3Da/%252e/nowa%20strona%20%C5%BC.html");
}

TEST(UploadRequestTest, FieldsThatWouldChangeTheCommandsAreRefused)
{
    TUploadRequest good;
    good.host = "serwer";
    good.user = "jan";
    good.targetName = "a.html";
    good.knownHostsPath = "/tmp/known_hosts";
    EXPECT_EQ(CheckUploadRequest(good), "");
    const auto refused = [&](auto change) {
        TUploadRequest r = good;
        change(r);
        return !CheckUploadRequest(r).empty();
    };
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.host = "jan@serwer"; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.host = "serwer/x"; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.user.clear(); }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.password = "a\r\nDELE x"; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.folder = "www\nDELE x"; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.targetName = "../a.html"; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.targetName = ".."; }));
    EXPECT_TRUE(refused([](TUploadRequest& r) { r.knownHostsPath.clear(); }));
    EXPECT_FALSE(refused([](TUploadRequest& r) {
        r.knownHostsPath.clear();
        r.protocol = TUploadProtocol::Ftps;
    }));
}

TEST(KnownHostsTest, AddingAKeyKeepsWhatTheFileHeld)
{
    TempDir home;
    const fs::path file = home.path() / ".ssh" / "known_hosts";
    const std::string blob = "\0\0\0\x0bssh-ed25519\0\0\0\x20"s + std::string(32, 'k');
    AppendKnownHost(file.string(), "serwer", 22, blob);
    struct stat info {};
    ASSERT_EQ(::stat(file.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    const std::string line = "serwer ssh-ed25519 " + Base64(blob) + "\n";
    EXPECT_EQ(ReadFile(file), line);

    WriteFile(file, "|1|hashed= ssh-rsa AAAA\n@cert-authority * ssh-rsa BBBB");
    AppendKnownHost(file.string(), "serwer.example", 2222, blob);
    EXPECT_EQ(ReadFile(file), "|1|hashed= ssh-rsa AAAA\n@cert-authority * ssh-rsa BBBB\n[serwer.example]:2222 ssh-ed25519 " +
                                  Base64(blob) + "\n");
    EXPECT_THROW(AppendKnownHost(file.string(), "x", 22, "\0\0\x10\0"s), std::invalid_argument);
}

}  // namespace
}  // namespace ostrel::test
