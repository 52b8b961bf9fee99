// The main window's FTP upload: the window's rules, uploads through the
// system's client to a real FTP server on this machine, watched in the
// console, and SFTP and FTPS uploads in the background to servers on this
// machine.

#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "app/wndFtpConsole.h"
#include "app/wndFtpUpload.h"
#include "support/FtpTestServer.h"
#include "support/ScopedEnv.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kMarker = "/tmp/ostrel-ftp-app-test-marker";
const std::string kPassword = HostilePassword(kMarker);

// Runs the event loop until the sender's signal comes (a stuck upload ends
// the wait after a minute, and the test then fails on what it checks).
template <class Sender, class Signal>
void WaitForSignal(Sender* sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
}

// Until the console's client has ended.
void WaitUntilEnded(TwndFtpConsole* console)
{
    if (console && console->IsRunning())
        WaitForSignal(console, &TwndFtpConsole::Finished);
}

class FtpUploadTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ::chmod(runtime.path().c_str(), 0700);
        window->ExecDialog = [this](QDialog& dialog) {
            auto& upload = dynamic_cast<TwndFtpUpload&>(dialog);
            ++shownCount;
            if (fill)
                fill(upload);
            return int(QDialog::Rejected);
        };
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        EXPECT_TRUE(fs::is_empty(runtime.path())) << "a script file remained";
    }

    // A saved document and the upload command on it.
    void SendDocument(const char* name = "strona główna.html")
    {
        OpenFile(local.path(), name, content);
        Click("miWyslijNaFTP1");
    }

    static void Fill(TwndFtpUpload& w, const std::string& server, const std::string& password,
                     const QString& folder)
    {
        w.edFtpServer1->setText(QString::fromStdString(server));
        w.edUser1->setText(QStringLiteral("jan kowalski"));
        w.edHaslo1->setText(QString::fromStdString(password));
        w.edKatalog1->setText(folder);
        w.edNazwaPliku1->setText(QStringLiteral("nowa strona.html"));
    }

    // Sends with the given values and waits for the client; the status text.
    QString Upload(const std::string& server, const std::string& password, const QString& folder, bool bye = true)
    {
        fill = [&](TwndFtpUpload& w) {
            Fill(w, server, password, folder);
            w.cbZamknijPoWyslaniu1->setChecked(bye);
            w.btnOk1->click();
            EXPECT_TRUE(w.btnAnuluj1->hasFocus() || !w.isActiveWindow());
            if (afterStart)
                afterStart(w);
            WaitUntilEnded(w.Console());
        };
        if (window->CurrentDocument()->Path().isEmpty())
            OpenFile(local.path(), "strona główna.html", content);
        Click("miWyslijNaFTP1");
        return window->StatusPanelText(2);
    }

    TempDir local;
    TempDir runtime;
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path().string()};
    const std::string content = "<p>\r\nbajty \0\xff\xfe\nkoniec"s;
    int shownCount = 0;
    std::function<void(TwndFtpUpload&)> fill;
    std::function<void(TwndFtpUpload&)> afterStart;
};

TEST_F(FtpUploadTest, OnlyASavedFileIsSent)
{
    Click("miWyslijNaFTP1");  // the untitled document of the start
    OpenFile(local.path(), "a.html", "<p>");
    Type("x");
    Click("miWyslijNaFTP1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")),
              (std::vector<QString>{res::kFtpSaveFirst, res::kFtpSaveFirst}));
    EXPECT_EQ(shownCount, 0);

    Current().Editor().SetModified(false);
    fs::remove(local / "a.html");
    Click("miWyslijNaFTP1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("information")), 3);
    EXPECT_EQ(shownCount, 0);
}

TEST_F(FtpUploadTest, ButtonNeedsServerUserAndTargetAndFieldsAreKept)
{
    fill = [](TwndFtpUpload& w) {
        EXPECT_EQ(w.edKatalog1->text(), QStringLiteral("/"));
        EXPECT_FALSE(w.btnOk1->isEnabled());
        w.edFtpServer1->setText(QStringLiteral("ftp.example.com"));
        EXPECT_FALSE(w.btnOk1->isEnabled());
        w.edUser1->setText(QStringLiteral("jan"));
        EXPECT_TRUE(w.btnOk1->isEnabled()) << "password and folder may stay empty";
        w.edKatalog1->clear();
        EXPECT_TRUE(w.btnOk1->isEnabled());
        w.edNazwaPliku1->clear();
        EXPECT_FALSE(w.btnOk1->isEnabled());
        w.edNazwaPliku1->setText(QStringLiteral("inna.html"));
        w.edHaslo1->setText(QStringLiteral("tajne"));
        w.edKatalog1->setText(QStringLiteral("/www"));
        EXPECT_EQ(w.edHaslo1->echoMode(), QLineEdit::Password);
    };
    SendDocument("pierwszy.html");
    fill = [this](TwndFtpUpload& w) {
        EXPECT_EQ(w.edFtpServer1->text(), QStringLiteral("ftp.example.com"));
        EXPECT_EQ(w.edUser1->text(), QStringLiteral("jan"));
        EXPECT_EQ(w.edHaslo1->text(), QStringLiteral("tajne"));
        EXPECT_EQ(w.edKatalog1->text(), QStringLiteral("/www"));
        EXPECT_EQ(w.edNazwaPliku1->text(), QStringLiteral("drugi plik.html"));
        EXPECT_EQ(w.memPlikDoWyslania1->toPlainText(), Q(local / "drugi plik.html"));
        EXPECT_TRUE(w.btnOk1->isEnabled());
    };
    SendDocument("drugi plik.html");
    EXPECT_EQ(shownCount, 2);
}

TEST_F(FtpUploadTest, MissingClientIsReported)
{
    TempDir emptyPath;
    ScopedEnv path("PATH", emptyPath.path().string());
    fill = [](TwndFtpUpload& w) {
        Fill(w, "127.0.0.1", "x", QStringLiteral("/"));
        w.btnOk1->click();
        EXPECT_EQ(w.Console(), nullptr);
    };
    SendDocument();
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), (std::vector<QString>{res::kFtpClientMissing}));
}

class FtpServerUploadTest : public FtpUploadTest {
protected:
    void SetUp() override
    {
        FtpUploadTest::SetUp();
        if (!FtpTestServer::Available())
            GTEST_SKIP() << "/usr/bin/python3 has no pyftpdlib";
        fs::remove(kMarker);
        fs::create_directories(home.path() / "strony www");
        server = std::make_unique<FtpTestServer>(home.path(), "jan kowalski", kPassword);
    }
    void TearDown() override
    {
        server.reset();
        EXPECT_FALSE(fs::exists(kMarker)) << "a shell command ran";
        FtpUploadTest::TearDown();
    }

    fs::path Arrived() const { return home.path() / "strony www" / "nowa strona.html"; }

    TempDir home;
    std::unique_ptr<FtpTestServer> server;
};

TEST_F(FtpServerUploadTest, FileArrivesAndTheStatusBarSaysSo)
{
    const QString status = Upload(server->Address(), kPassword, QStringLiteral("strony www"));
    ASSERT_TRUE(fs::exists(Arrived())) << status.toStdString();
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_TRUE(status.startsWith(res::kFtpSent.left(10))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("226"))) << status.toStdString();
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(FtpServerUploadTest, FailuresAreToldInTheStatusBar)
{
    const std::string refused = "127.0.0.1 " + std::to_string(UnusedLocalPort());
    const QString wrongPassword = Upload(server->Address(), "!touch " + kMarker, QStringLiteral("strony www"));
    EXPECT_TRUE(wrongPassword.contains(res::kFtpLoginRefused)) << wrongPassword.toStdString();
    EXPECT_TRUE(wrongPassword.contains(QStringLiteral("530"))) << wrongPassword.toStdString();
    const QString noServer = Upload(refused, kPassword, QStringLiteral("strony www"));
    EXPECT_TRUE(noServer.contains(res::kFtpNotConnected)) << noServer.toStdString();
    const QString noFolder = Upload(server->Address(), kPassword, QStringLiteral("nie ma takiego"));
    EXPECT_TRUE(noFolder.contains(QStringLiteral("550"))) << noFolder.toStdString();
    EXPECT_FALSE(fs::exists(Arrived()));
}

TEST_F(FtpServerUploadTest, ConnectionStaysOpenForTheUsersCommandsWithoutBye)
{
    afterStart = [](TwndFtpUpload& w) {
        TwndFtpConsole* console = w.Console();
        ASSERT_NE(console, nullptr);
        ASSERT_TRUE(console->isVisible());
        // The program goes on while the client runs; the user ends it.
        QEventLoop loop;
        QObject::connect(console, &TwndFtpConsole::Finished, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (console->Transcript().Succeeded()) {
                poll.stop();
                console->edPolecenie1->setText(QStringLiteral("bye"));
                emit console->edPolecenie1->returnPressed();
            }
        });
        poll.start(50);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(console->IsRunning());
        EXPECT_TRUE(console->memDialog1->toPlainText().contains(QStringLiteral("> bye")));
        EXPECT_TRUE(console->memDialog1->toPlainText().contains(QStringLiteral("221")));
    };
    const QString status = Upload(server->Address(), kPassword, QStringLiteral("strony www"), false);
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_TRUE(status.contains(QStringLiteral("226"))) << status.toStdString();
}

TEST_F(FtpServerUploadTest, ClosingTheConsoleEndsItsClient)
{
    QPointer<TwndFtpConsole> closed;
    afterStart = [&](TwndFtpUpload& w) {
        closed = w.Console();
        ASSERT_NE(closed, nullptr);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (closed->Transcript().Outcome() != TFtpOutcome::Pending)
                loop.quit();
        });
        poll.start(50);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_TRUE(closed->IsRunning()) << "without bye the connection stays open";
        closed->btnZamknij1->click();
        EXPECT_FALSE(closed->IsRunning());
    };
    const QString status = Upload(server->Address(), kPassword, QStringLiteral("strony www"), false);
    EXPECT_TRUE(status.contains(QStringLiteral("226"))) << status.toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed, nullptr);
}

TEST_F(FtpServerUploadTest, TimeLimitEndsAClientThatNeverGetsAnAnswer)
{
    TrickleTestServer trickle(0.3);
    fill = [&](TwndFtpUpload& w) {
        Fill(w, trickle.Address(), kPassword, QStringLiteral("strony www"));
        w.seLimitCzasu1->setValue(1);
        w.btnOk1->click();
        WaitUntilEnded(w.Console());
        ASSERT_NE(w.Console(), nullptr);
        EXPECT_FALSE(w.Console()->IsRunning());
    };
    const auto start = std::chrono::steady_clock::now();
    SendDocument();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(window->StatusPanelText(2), res::kFtpFailed.arg(res::kUploadTimedOut.arg(1)));
}

// Until the window's SFTP or FTPS upload has ended.
void WaitUntilUploaded(TwndFtpUpload& w)
{
    if (w.IsUploading())
        WaitForSignal(&w, &TwndFtpUpload::UploadFinished);
}

class ProtocolUploadTest : public FtpUploadTest {
protected:
    void SetUp() override
    {
        FtpUploadTest::SetUp();
        fs::create_directories(serverRoot.path() / "strony www");
    }
    void TearDown() override
    {
        // The window's settings are written as it ends.
        FtpUploadTest::TearDown();
        const fs::path config = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
        for (const fs::path& folder : {home.path(), config, runtime.path(), local.path()})
            EXPECT_TRUE(FilesHolding(folder, kPassword).empty()) << "the password was written into " << folder;
    }

    // Sends over the protocol with the window's fields and waits for the
    // end; the status bar's text.
    QString Send(TUploadChoice protocol, int port, const std::string& password = kPassword)
    {
        fill = [&](TwndFtpUpload& w) {
            if (!pinsSet) {
                w.CertificatePins() = TCertificatePins((keys.path() / "pins").string());
                pinsSet = true;
            }
            w.cbProtokol1->setCurrentIndex(int(protocol));
            Fill(w, "127.0.0.1", password, QStringLiteral("strony www"));
            w.sePort1->setValue(port);
            w.btnOk1->click();
            // The window goes on while the upload runs.
            EXPECT_TRUE(w.IsUploading());
            EXPECT_FALSE(w.btnOk1->isEnabled());
            EXPECT_TRUE(w.btnPrzerwij1->isEnabled());
            if (afterStart)
                afterStart(w);
            WaitUntilUploaded(w);
            EXPECT_FALSE(w.btnPrzerwij1->isEnabled());
            progress = w.pbPostep1->value();
        };
        if (window->CurrentDocument()->Path().isEmpty())
            OpenFile(local.path(), "strona główna.html", content);
        Click("miWyslijNaFTP1");
        return window->StatusPanelText(2);
    }
    fs::path Arrived() const { return serverRoot.path() / "strony www" / "nowa strona.html"; }
    fs::path KnownHosts() const { return home.path() / ".ssh" / "known_hosts"; }

    TempDir home;
    TempDir serverRoot;
    TempDir keys;
    ScopedEnv homeEnv{"HOME", home.path().string()};
    ScopedEnv busEnv{"DBUS_SESSION_BUS_ADDRESS", ""};
    ScopedEnv agentEnv{"SSH_AUTH_SOCK", "/nonexistent/agent"};
    int progress = 0;
    bool pinsSet = false;  // false gives the window a fresh pin store
};

QString ServerLabel(const TwndFtpUpload& w)
{
    for (const QLabel* label : w.findChildren<QLabel*>())
        if (label->buddy() == w.edFtpServer1)
            return label->text();
    return {};
}

TEST_F(ProtocolUploadTest, ProtocolChoiceSetsThePortAndWhatApplies)
{
    fill = [](TwndFtpUpload& w) {
        EXPECT_EQ(w.cbProtokol1->currentText(), res::kProtocolConsoleFtp);
        EXPECT_FALSE(w.sePort1->isEnabled()) << "the console client takes its port in the server field";
        EXPECT_TRUE(w.cbZamknijPoWyslaniu1->isEnabled());
        EXPECT_EQ(w.seLimitCzasu1->value(), 300);
        EXPECT_EQ(ServerLabel(w), res::kServerLabelFtp);
        w.cbProtokol1->setCurrentIndex(int(TUploadChoice::Sftp));
        EXPECT_EQ(ServerLabel(w), res::kServerLabel);
        EXPECT_EQ(w.sePort1->value(), 22);
        EXPECT_TRUE(w.sePort1->isEnabled());
        EXPECT_FALSE(w.cbZamknijPoWyslaniu1->isEnabled());
        // No secret service without a session bus: the choice is not offered.
        EXPECT_FALSE(w.cbZapamietajHaslo1->isEnabled());
        EXPECT_EQ(w.cbZapamietajHaslo1->toolTip(), res::kSecretStoreMissing);
        w.cbProtokol1->setCurrentIndex(int(TUploadChoice::Ftps));
        EXPECT_EQ(w.sePort1->value(), 21);
        w.cbProtokol1->setCurrentIndex(int(TUploadChoice::ConsoleFtp));
        EXPECT_FALSE(w.sePort1->isEnabled());
        EXPECT_EQ(ServerLabel(w), res::kServerLabelFtp);
    };
    SendDocument();
}

TEST_F(ProtocolUploadTest, SftpAsksAboutAnUnknownKeyOnceAndTheFileArrives)
{
    if (!SftpTestServer::Available())
        GTEST_SKIP() << "/usr/bin/python3 has no asyncssh";
    SftpTestServer server(serverRoot.path(), "jan kowalski", kPassword, keys.path() / "host");
    dialogs->answers = {TAnswer::Yes};
    const QString status = Send(TUploadChoice::Sftp, server.Port());
    EXPECT_EQ(status, res::kUploadSent.arg(QStringLiteral("SFTP")).arg(content.size()));
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_EQ(progress, 1000);
    const std::vector<QString> questions = dialogs->Texts(QStringLiteral("question"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(server.Fingerprint()))) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains(Q(KnownHosts())));
    EXPECT_NE(ReadFile(KnownHosts()).find(" ssh-ed25519 "), std::string::npos);

    fs::remove(Arrived());
    EXPECT_EQ(Send(TUploadChoice::Sftp, server.Port()), status);
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 1) << "a stored key is not asked about";
    EXPECT_EQ(ReadFile(Arrived()), content);
}

TEST_F(ProtocolUploadTest, SftpFailuresAreToldAndAChangedKeyIsWarnedAbout)
{
    if (!SftpTestServer::Available())
        GTEST_SKIP() << "/usr/bin/python3 has no asyncssh";
    SftpTestServer server(serverRoot.path(), "jan kowalski", kPassword, keys.path() / "host");
    dialogs->answers = {TAnswer::No};
    EXPECT_TRUE(Send(TUploadChoice::Sftp, server.Port()).contains(res::kUploadHostKeyUnknown));
    EXPECT_FALSE(fs::exists(KnownHosts()));

    dialogs->answers = {TAnswer::Yes};
    EXPECT_TRUE(Send(TUploadChoice::Sftp, server.Port(), "złe hasło").contains(res::kFtpLoginRefused));
    EXPECT_TRUE(Send(TUploadChoice::Sftp, UnusedLocalPort()).contains(res::kFtpNotConnected));

    // Another server under the name the key was stored for.
    SftpTestServer impostor(serverRoot.path(), "jan kowalski", kPassword, keys.path() / "impostor");
    std::string known = ReadFile(KnownHosts());
    const std::string name = "[127.0.0.1]:" + std::to_string(server.Port());
    known.replace(known.find(name), name.size(), "[127.0.0.1]:" + std::to_string(impostor.Port()));
    WriteFile(KnownHosts(), known);
    const QString changed = Send(TUploadChoice::Sftp, impostor.Port());
    EXPECT_TRUE(changed.contains(res::kUploadHostKeyChanged)) << changed.toStdString();
    const std::vector<QString> warnings = dialogs->Texts(QStringLiteral("warning"));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("UWAGA")));
    EXPECT_TRUE(warnings[0].contains(QString::fromStdString(impostor.Fingerprint())));
    EXPECT_EQ(ReadFile(KnownHosts()), known);
    EXPECT_FALSE(fs::exists(Arrived()));
}

TEST_F(ProtocolUploadTest, UntrustedCertificateIsAcceptedForTheSessionOrForGoodOrRefused)
{
    if (!FtpTestServer::TlsAvailable())
        GTEST_SKIP() << "/usr/bin/python3 has no pyftpdlib or OpenSSL";
    FtpTestServer server(serverRoot.path(), "jan kowalski", kPassword, keys.path() / "cert.pem");
    dialogs->answers = {TAnswer::Cancel};
    EXPECT_TRUE(Send(TUploadChoice::Ftps, server.Port()).contains(res::kUploadCertificateUntrusted));
    EXPECT_FALSE(fs::exists(Arrived()));
    const std::vector<QString> questions = dialogs->Texts(QStringLiteral("question"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(server.Fingerprint())));

    dialogs->answers = {TAnswer::No};  // for this session
    EXPECT_EQ(Send(TUploadChoice::Ftps, server.Port()), res::kUploadSent.arg(QStringLiteral("FTPS")).arg(content.size()));
    EXPECT_EQ(ReadFile(Arrived()), content);
    EXPECT_FALSE(fs::exists(keys.path() / "pins"));
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 2);
    fs::remove(Arrived());
    EXPECT_TRUE(Send(TUploadChoice::Ftps, server.Port()).startsWith(res::kUploadSent.left(10)));
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 2) << "accepted for the session";
    EXPECT_EQ(ReadFile(Arrived()), content);

    // A new session asks again, and Yes keeps the certificate in the file.
    pinsSet = false;
    dialogs->answers = {TAnswer::Yes};
    EXPECT_TRUE(Send(TUploadChoice::Ftps, server.Port()).startsWith(res::kUploadSent.left(10)));
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 3);
    EXPECT_EQ(ReadFile(keys.path() / "pins"),
              "127.0.0.1:" + std::to_string(server.Port()) + " " + server.Fingerprint() + "\n");
}

TEST_F(ProtocolUploadTest, CancelEndsAStalledUpload)
{
    if (!TestServerProcess::PythonHas({"socket"}))
        GTEST_SKIP() << "no /usr/bin/python3";
    TrickleTestServer trickle(0.3);
    afterStart = [](TwndFtpUpload& w) { QTimer::singleShot(300, w.btnPrzerwij1, &QPushButton::click); };
    const auto start = std::chrono::steady_clock::now();
    const QString status = Send(TUploadChoice::Ftps, trickle.Port());
    EXPECT_TRUE(status.contains(res::kUploadCancelled)) << status.toStdString();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace ostrel::test
