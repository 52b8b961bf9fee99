// Two real processes of the program: the second start hands its file to the
// first and ends; a crashed first instance does not block the next start.

#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "AppTestSupport.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        program_ = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../app/ostrel"));
        ASSERT_TRUE(QFileInfo(program_).isExecutable()) << "build the ostrel program first: " << program_.toStdString();
        const auto runtime = home_ / "runtime";
        std::filesystem::create_directory(runtime);
        ::chmod(runtime.c_str(), 0700);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env_.insert(QStringLiteral("HOME"), Q(home_.path()));
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(runtime));
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(home_ / "config"));
    }
    void TearDown() override
    {
        for (auto& process : running_) {
            process->kill();
            process->waitForFinished(5000);
        }
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

    // Runs a start that should end by itself; its exit status.
    int RunToEnd(const QStringList& arguments)
    {
        QProcess& process = Start(arguments);
        EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(u' ').toStdString();
        return process.exitCode();
    }

    // The first instance's documents, once it answers.
    std::optional<QStringList> Documents()
    {
        QProcess query;
        query.setProcessEnvironment(env_);
        query.start(program_, {QStringLiteral("--list-documents")});
        if (!query.waitForFinished(20000) || query.exitCode() != 0)
            return std::nullopt;
        QString out = QString::fromLocal8Bit(query.readAllStandardOutput());
        if (out.isEmpty())
            return QStringList();
        out.chop(1);  // the last line's break
        return out.split(u'\n');
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

    TempDir home_;
    TempDir files_;
    QString program_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsFileOverAndEnds)
{
    writeFile(files_ / "a.txt", "a\n");
    Start({});
    // The untitled document lists as an empty path.
    ASSERT_EQ(WaitForDocuments({QString()}), QStringList{QString()});

    EXPECT_EQ(RunToEnd({Q(files_ / "a.txt")}), 0);
    EXPECT_EQ(Documents().value_or(QStringList()), (QStringList{QString(), Q(files_ / "a.txt")}));

    // A relative path is made absolute before it travels.
    writeFile(files_ / "b.txt", "b\n");
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
    writeFile(files_ / "a.txt", "a\n");
    writeFile(files_ / "b.txt", "b\n");
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
    EXPECT_EQ(Documents(), std::nullopt);
}

}  // namespace
}  // namespace ostrel::test
