// The main window's FTP upload: the window's rules, and uploads through the
// system's client to a real FTP server on this machine, watched in the
// console.

#include <sys/stat.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
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

// Runs the event loop until the console's client has ended (a stuck client
// ends the wait after a minute, and the test then fails on what it checks).
void WaitUntilEnded(TwndFtpConsole* console)
{
    if (!console || !console->IsRunning())
        return;
    QEventLoop loop;
    QObject::connect(console, &TwndFtpConsole::Finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
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
    EXPECT_EQ(readFile(Arrived()), content);
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
    EXPECT_EQ(readFile(Arrived()), content);
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

}  // namespace
}  // namespace ostrel::test
