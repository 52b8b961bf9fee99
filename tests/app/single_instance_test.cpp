// Real processes of the program: the second start hands its file to the
// first and ends; a crashed first instance does not block the next start;
// the channel talks to nobody but the same user, and a first instance that
// does not answer is given up on within seconds.

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <grp.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <functional>

#include "AppTestSupport.h"
#include "app/MRUFileList.h"
#include "platform/OstRegistry.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

// How a start that ran to its end went.
struct TEnded {
    int exitCode = -1;
    QString out;
    QString errors;
    qint64 ms = 0;
};

// The user the test acts as when it plays another local user: `nobody`.
struct TOtherUser {
    uid_t uid;
    gid_t gid;
};

// Only root can act as another user.
std::optional<TOtherUser> OtherUser()
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        return std::nullopt;
    return TOtherUser{nobody->pw_uid, nobody->pw_gid};
}

void Become(const TOtherUser& user)
{
    if (::setgroups(0, nullptr) != 0 || ::setresgid(user.gid, user.gid, user.gid) != 0 ||
        ::setresuid(user.uid, user.uid, user.uid) != 0)
        ::_exit(3);
}

// A process forked from the test that runs plain POSIX code (nothing of Qt
// after the fork) and tells what happens to it through a pipe, one letter
// an event.
class TForkedProcess {
public:
    explicit TForkedProcess(const std::function<void(int report)>& body)
    {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipeEnds[0]);
            body(pipeEnds[1]);
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        report_ = pipeEnds[0];
    }
    ~TForkedProcess()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(report_);
    }
    TForkedProcess(const TForkedProcess&) = delete;
    TForkedProcess& operator=(const TForkedProcess&) = delete;

    // What it told until it ended, it told `until`, or the time ran out.
    std::string Report(int patienceMs, char until = '\0')
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < patienceMs && (until == '\0' || report.find(until) == std::string::npos)) {
            pollfd wait{report_, POLLIN, 0};
            if (::poll(&wait, 1, 100) <= 0)
                continue;
            char letters[64];
            const ssize_t got = ::read(report_, letters, sizeof letters);
            if (got <= 0)
                break;
            report.append(letters, static_cast<size_t>(got));
        }
        return report;
    }

private:
    pid_t pid_ = -1;
    int report_ = -1;
    std::string report;
};

void Tell(int report, char event) { (void)!::write(report, &event, 1); }

sockaddr_un SocketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

// Whether bytes come on the connection within a while: 'D' when they do.
void TellWhatArrives(int report, int connection, const QByteArray& reply)
{
    pollfd wait{connection, POLLIN, 0};
    char bytes[4096];
    if (::poll(&wait, 1, 3000) > 0 && ::read(connection, bytes, sizeof bytes) > 0) {
        Tell(report, 'D');
        (void)!::write(connection, reply.constData(), static_cast<size_t>(reply.size()));
    }
}

// Another user's listener at the channel's path, answering "opened" to
// whatever it is told, as the one that caught hand-overs did. It binds as
// root (the path is in root's private folder) and listens as the other user;
// with ownFile the socket file becomes that user's as well. Tells 'L' once
// it listens, 'C' for each connection and 'D' when a connection sends bytes.
void ListenAsOtherUser(int report, const std::string& path, const TOtherUser& user, bool ownFile)
{
    QByteArray reply;
    QDataStream replyStream(&reply, QIODevice::WriteOnly);
    replyStream << QStringList{QStringLiteral("opened")};
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = SocketAddress(path);
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ::_exit(2);
    if (ownFile && ::chown(path.c_str(), user.uid, user.gid) != 0)
        ::_exit(2);
    Become(user);
    ::listen(listener, 8);
    Tell(report, 'L');
    for (;;) {
        const int connection = ::accept(listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        Tell(report, 'C');
        TellWhatArrives(report, connection, reply);
        ::close(connection);
    }
}

// Another user's client that asks the first instance to open a file, all of
// the hand-over in one go. Tells 'C' once connected, 'A' for any answer and
// 'E' when the first instance closes the connection.
void HandOverAsOtherUser(int report, const std::string& channel, const TOtherUser& user, const QString& path)
{
    QByteArray request;
    QDataStream requestStream(&request, QIODevice::WriteOnly);
    requestStream << QStringLiteral("open") << path << QStringLiteral("go");
    Become(user);
    const int connection = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = SocketAddress(channel);
    if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ::_exit(2);
    Tell(report, 'C');
    (void)!::send(connection, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
    for (;;) {
        pollfd wait{connection, POLLIN, 0};
        char bytes[4096];
        if (::poll(&wait, 1, 5000) <= 0)
            return;
        const ssize_t got = ::read(connection, bytes, sizeof bytes);
        Tell(report, got > 0 ? 'A' : 'E');
        if (got <= 0)
            return;
    }
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        program_ = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../app/ostrel"));
        ASSERT_TRUE(QFileInfo(program_).isExecutable()) << "build the ostrel program first: " << program_.toStdString();
        std::filesystem::create_directory(runtime_);
        ::chmod(runtime_.c_str(), 0700);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env_.insert(QStringLiteral("HOME"), Q(home_.path()));
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(runtime_));
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(home_ / "config"));
        env_.insert(QStringLiteral("TMPDIR"), Q(temp_.path()));
        env_.remove(QStringLiteral("OSTREL_REPORT_FIRST_PAINT"));
    }
    void TearDown() override
    {
        for (auto& process : running_) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    // The folder a start uses when the session has no runtime folder.
    fs::path PrivateFolder() const { return temp_ / ("ostrel-" + std::to_string(::geteuid())); }
    fs::path Channel() const
    {
        return runtime_ / ("Ostrel3_20122003_05101982-" + std::string(::getpwuid(::geteuid())->pw_name));
    }

    QProcess& Start(const QStringList& arguments)
    {
        running_.push_back(std::make_unique<QProcess>());
        QProcess& process = *running_.back();
        process.setProcessEnvironment(env_);
        process.start(program_, arguments);
        EXPECT_TRUE(process.waitForStarted(10000));
        return process;
    }

    TEnded Run(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program_, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError()), timer.elapsed()};
    }

    // Runs a start that should end by itself; its exit status.
    int RunToEnd(const QStringList& arguments) { return Run(arguments, env_).exitCode; }

    // Runs a start that opens a window of its own; it ends at its first
    // paint, after opening its file.
    TEnded RunInItsOwnWindow(const QStringList& arguments)
    {
        QProcessEnvironment environment = env_;
        environment.insert(QStringLiteral("OSTREL_REPORT_FIRST_PAINT"), QStringLiteral("quit"));
        const TEnded ended = Run(arguments, environment);
        EXPECT_TRUE(ended.errors.contains(QStringLiteral("ostrel: first paint"))) << ended.errors.toStdString();
        return ended;
    }

    // The first instance's documents, once it answers.
    std::optional<QStringList> Documents()
    {
        TEnded query = Run({QStringLiteral("--list-documents")}, env_);
        if (query.exitCode != 0)
            return std::nullopt;
        if (query.out.isEmpty())
            return QStringList();
        query.out.chop(1);  // the last line's break
        return query.out.split(u'\n');
    }

    // Waits until the first instance lists the expected documents.
    QStringList WaitForDocuments(const QStringList& expected)
    {
        QElapsedTimer timer;
        timer.start();
        std::optional<QStringList> documents;
        while (timer.elapsed() < 20000) {
            documents = Documents();
            if (documents && *documents == expected)
                break;
            QThread::msleep(100);
        }
        return documents.value_or(QStringList{QStringLiteral("<no answer>")});
    }

    // The recent-files list as the windows that ended left it.
    QStringList RecentFiles() const
    {
        TRegistry registry(home_ / "config" / "ostrel" / "registry.txt");
        QStringList paths;
        if (registry.OpenKeyReadOnly("\\Software\\Kalvenor\\Ostrel\\MRU"))
            for (const std::string& name : registry.GetValueNames())
                paths << MRUPathFromStored(registry.ReadString(name));
        return paths;
    }

    TempDir home_;
    TempDir files_;
    TempDir temp_;
    fs::path runtime_ = home_ / "runtime";
    QString program_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsFileOverAndEnds)
{
    WriteFile(files_ / "a.txt", "a\n");
    Start({});
    // The untitled document lists as an empty path.
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});

    EXPECT_EQ(RunToEnd({Q(files_ / "a.txt")}), 0);
    EXPECT_EQ(Documents().value_or(QStringList()), (QStringList{QString(), Q(files_ / "a.txt")}));

    // A relative path is made absolute before it travels.
    WriteFile(files_ / "b.txt", "b\n");
    {
        QProcess process;
        process.setProcessEnvironment(env_);
        process.setWorkingDirectory(Q(files_.path()));
        process.start(program_, {QStringLiteral("b.txt")});
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitCode(), 0);
    }
    EXPECT_EQ(Documents().value_or(QStringList()),
              (QStringList{QString(), Q(files_ / "a.txt"), Q(files_ / "b.txt")}));
}

TEST_F(SingleInstanceTest, ASecondStartWithoutAnExistingFileChangesNothing)
{
    Start({});
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});
    for (const QStringList& arguments :
         {QStringList{}, QStringList{QStringLiteral("-r")}, QStringList{QStringLiteral("-H")},
          QStringList{Q(files_ / "missing.txt")}})
        EXPECT_EQ(RunToEnd(arguments), 0) << arguments.join(u' ').toStdString();
    EXPECT_EQ(Documents().value_or(QStringList()), QStringList{QString()});
}

TEST_F(SingleInstanceTest, ACrashedFirstInstanceDoesNotBlockTheNextStart)
{
    WriteFile(files_ / "a.txt", "a\n");
    WriteFile(files_ / "b.txt", "b\n");
    QProcess& crashed = Start({});
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});
    ::kill(static_cast<pid_t>(crashed.processId()), SIGKILL);
    crashed.waitForFinished(5000);

    // Its socket and lock file are still there; the next start takes over.
    Start({Q(files_ / "a.txt")});
    ASSERT_EQ(WaitForDocuments({Q(files_ / "a.txt")}), QStringList{Q(files_ / "a.txt")});
    EXPECT_EQ(RunToEnd({Q(files_ / "b.txt")}), 0);
    EXPECT_EQ(Documents().value_or(QStringList()), (QStringList{Q(files_ / "a.txt"), Q(files_ / "b.txt")}));
}

TEST_F(SingleInstanceTest, AskingWithoutAnInstanceFindsNothing)
{
    const TEnded query = Run({QStringLiteral("--list-documents")}, env_);
    EXPECT_NE(query.exitCode, 0);
    EXPECT_TRUE(query.out.isEmpty());
    EXPECT_EQ(query.errors, QStringLiteral("ostrel: program nie jest uruchomiony\n"));
}

TEST_F(SingleInstanceTest, WithoutAPrivateRuntimeFolderTheChannelLivesInAFolderOfTheUsersOwn)
{
    WriteFile(files_ / "a.txt", "a\n");
    fs::create_directory(home_ / "open");
    ::chmod((home_ / "open").c_str(), 0755);
    // No runtime folder at all, then one that others may enter: it is passed
    // over, and the folder made the first time is found again the second,
    // with the killed first instance's socket and lock still in it.
    for (const QString& runtime : {QString(), Q(home_ / "open")}) {
        SCOPED_TRACE(runtime.toStdString());
        if (runtime.isEmpty())
            env_.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        else
            env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        QProcess& first = Start({});
        ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});
        EXPECT_EQ(RunToEnd({Q(files_ / "a.txt")}), 0);
        EXPECT_EQ(Documents().value_or(QStringList()), (QStringList{QString(), Q(files_ / "a.txt")}));

        EXPECT_EQ(ModeOf(PrivateFolder()) & 07777, 0700u);
        EXPECT_FALSE(fs::is_empty(PrivateFolder()));
        EXPECT_TRUE(fs::is_empty(home_ / "open"));
        first.kill();
        first.waitForFinished(5000);
    }
}

TEST_F(SingleInstanceTest, AChannelFolderThatIsNotTheUsersAloneIsRefusedWithAMessage)
{
    WriteFile(files_ / "a.txt", "a\n");
    env_.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const fs::path folder = PrivateFolder();
    const fs::path elsewhere = home_ / "elsewhere";
    fs::create_directory(elsewhere);
    ::chmod(elsewhere.c_str(), 0700);

    struct TCase {
        std::function<void()> prepare;
        QString reason;
    };
    std::vector<TCase> cases = {
        {[&] {
             fs::create_directory(folder);
             ::chmod(folder.c_str(), 0755);
         },
         QStringLiteral("folder %1 jest dostępny dla innych użytkowników (uprawnienia 0755 zamiast 0700)")
             .arg(Q(folder))},
        {[&] { fs::create_directory_symlink(elsewhere, folder); },
         QStringLiteral("%1 nie jest folderem").arg(Q(folder))},
    };
    if (const std::optional<TOtherUser> other = OtherUser())
        cases.push_back({[&, other] {
                             fs::create_directory(folder);
                             ::chmod(folder.c_str(), 0700);
                             ASSERT_EQ(::chown(folder.c_str(), other->uid, other->gid), 0);
                         },
                         QStringLiteral("folder %1 należy do innego użytkownika (uid %2)").arg(Q(folder)).arg(other->uid)});

    for (const TCase& refused : cases) {
        SCOPED_TRACE(refused.reason.toStdString());
        fs::remove_all(folder);
        fs::remove_all(home_ / "config");
        refused.prepare();

        // Every start stands alone and opens its file itself...
        const TEnded start = RunInItsOwnWindow({Q(files_ / "a.txt")});
        EXPECT_EQ(start.exitCode, 0);
        EXPECT_TRUE(start.errors.contains(QStringLiteral("ostrel: ") + refused.reason +
                                          QStringLiteral("; każde uruchomienie programu otwiera więc własne okno\n")))
            << start.errors.toStdString();
        EXPECT_EQ(RecentFiles(), QStringList{Q(files_ / "a.txt")});
        // ...leaving nothing in the folder, and nobody to ask about documents.
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_TRUE(fs::is_empty(elsewhere));
        const TEnded query = Run({QStringLiteral("--list-documents")}, env_);
        EXPECT_EQ(query.exitCode, 1);
        EXPECT_EQ(query.errors, QStringLiteral("ostrel: ") + refused.reason + u'\n');
    }
}

TEST_F(SingleInstanceTest, AListenerOfAnotherUserHearsNothingAndTheSecondStartOpensTheFileItself)
{
    const std::optional<TOtherUser> other = OtherUser();
    if (!other)
        GTEST_SKIP() << "only root can act as another user";
    WriteFile(files_ / "secret-plan.txt", "plan\n");
    Start({});
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});

    // The first instance holds the lock, but the socket is now another
    // user's: owned by that user, or root's file with that user listening.
    for (const bool ownFile : {true, false}) {
        SCOPED_TRACE(ownFile ? "the socket file is the other user's" : "the listener is the other user");
        fs::remove(Channel());
        fs::remove_all(home_ / "config");
        TForkedProcess listener([&](int report) { ListenAsOtherUser(report, Channel().string(), *other, ownFile); });
        ASSERT_EQ(listener.Report(10000, 'L'), "L");

        const TEnded start = RunInItsOwnWindow({Q(files_ / "secret-plan.txt")});
        EXPECT_EQ(start.exitCode, 0);
        EXPECT_TRUE(start.errors.contains(QStringLiteral("ostrel: kanał %1 należy do innego użytkownika (uid %2); "
                                                         "nic mu nie przekazano; plik zostanie otwarty w nowym oknie\n")
                                              .arg(Q(Channel()))
                                              .arg(other->uid)))
            << start.errors.toStdString();
        EXPECT_EQ(RecentFiles(), QStringList{Q(files_ / "secret-plan.txt")});
        // A socket file of another user is not even connected to; a listener
        // of another user is left before anything is said.
        EXPECT_EQ(listener.Report(500), ownFile ? "L" : "LC");
    }
}

TEST_F(SingleInstanceTest, TheFirstInstanceTurnsAwayAClientOfAnotherUser)
{
    const std::optional<TOtherUser> other = OtherUser();
    if (!other)
        GTEST_SKIP() << "only root can act as another user";
    WriteFile(files_ / "a.txt", "a\n");
    QProcess& first = Start({});
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});

    // Let the other user reach the socket, as if the folder had been opened.
    ::chmod(home_.path().c_str(), 0711);
    ::chmod(runtime_.c_str(), 0711);
    ::chmod(Channel().c_str(), 0777);
    TForkedProcess client(
        [&](int report) { HandOverAsOtherUser(report, Channel().string(), *other, Q(files_ / "a.txt")); });
    const std::string report = client.Report(10000, 'E');
    ::chmod(runtime_.c_str(), 0700);
    ::chmod(home_.path().c_str(), 0700);

    EXPECT_EQ(report, "CE");  // connected, then closed without an answer
    EXPECT_EQ(Documents().value_or(QStringList()), QStringList{QString()});
    const QString refused =
        QStringLiteral("ostrel: odrzucono połączenie procesu innego użytkownika (uid %1)\n").arg(other->uid);
    QString errors;
    first.setReadChannel(QProcess::StandardError);
    for (QElapsedTimer waited; errors.isEmpty() || (!errors.contains(refused) && waited.elapsed() < 5000);) {
        if (!waited.isValid())
            waited.start();
        first.waitForReadyRead(100);
        errors += QString::fromLocal8Bit(first.readAllStandardError());
    }
    EXPECT_TRUE(errors.contains(refused)) << errors.toStdString();
}

TEST_F(SingleInstanceTest, AStoppedFirstInstanceIsGivenUpOnWithinSeconds)
{
    WriteFile(files_ / "a.txt", "a\n");
    QProcess& first = Start({});
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});
    const auto pid = static_cast<pid_t>(first.processId());
    ::kill(pid, SIGSTOP);

    // Generous bounds against a machine under load: without one, both would
    // wait for as long as the first instance stays stopped.
    const TEnded start = RunInItsOwnWindow({Q(files_ / "a.txt")});
    EXPECT_LT(start.ms, 20000);
    EXPECT_EQ(start.exitCode, 0);
    EXPECT_TRUE(start.errors.contains(
        QStringLiteral("ostrel: uruchomiony już program nie odpowiada; plik zostanie otwarty w nowym oknie\n")))
        << start.errors.toStdString();
    EXPECT_EQ(RecentFiles(), QStringList{Q(files_ / "a.txt")});

    const TEnded query = Run({QStringLiteral("--list-documents")}, env_);
    EXPECT_LT(query.ms, 20000);
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_EQ(query.errors, QStringLiteral("ostrel: uruchomiony już program nie odpowiada\n"));

    // Woken, the first instance finds the abandoned hand-over and leaves it:
    // the file is open once, in the window that took it.
    ::kill(pid, SIGCONT);
    EXPECT_EQ(WaitForDocuments({QString()}), QStringList{QString()});
    QThread::msleep(500);
    EXPECT_EQ(Documents().value_or(QStringList()), QStringList{QString()});
}

}  // namespace
}  // namespace ostrel::test
