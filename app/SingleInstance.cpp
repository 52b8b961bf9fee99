#include "app/SingleInstance.h"

#include <pwd.h>
#include <unistd.h>

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace ostrel {

namespace {

const QString kMutexName = QStringLiteral("Ostrel3_20122003_05101982");
const QString kOpenCommand = QStringLiteral("open");
const QString kListCommand = QStringLiteral("list");
const QString kOpenedAnswer = QStringLiteral("opened");

// A second start may come while the first is still between taking the lock
// and listening; it keeps trying for this long. A question about the
// documents gives up sooner, as nobody may be running at all.
constexpr int kHandOverPatienceMs = 5000;
constexpr int kQueryPatienceMs = 1000;

QString UserName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::getuid());
}

QString ChannelFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool ConnectWithPatience(QLocalSocket& socket, int patienceMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        socket.connectToServer(TSingleInstance::ChannelName());
        if (socket.waitForConnected(1000))
            return true;
        if (waited.elapsed() > patienceMs)
            return false;
        QThread::msleep(50);
    }
}

}  // namespace

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ChannelName()
{
    return QDir(ChannelFolder()).filePath(kMutexName + u'-' + UserName());
}

bool TSingleInstance::TryClaim()
{
    lock_ = std::make_unique<QLockFile>(ChannelName() + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);  // stale only when its holder is gone, never by age
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}

bool TSingleInstance::Listen()
{
    QLocalServer::removeServer(ChannelName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            ServeConnection(socket);
    });
    return server_->listen(ChannelName());
}

void TSingleInstance::ServeConnection(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        QDataStream in(socket);
        in.startTransaction();
        QString command;
        QString argument;
        in >> command >> argument;
        if (!in.commitTransaction())
            return;  // the rest of the request is still on its way
        QStringList answer;
        if (command == kOpenCommand && OnOpen) {
            OnOpen(argument);
            answer << kOpenedAnswer;
        } else if (command == kListCommand && OnListDocuments) {
            answer = OnListDocuments();
        }
        QDataStream out(socket);
        out << answer;
        socket->flush();
        socket->disconnectFromServer();
    });
}

std::optional<QStringList> TSingleInstance::Ask(const QString& command, const QString& argument, int patienceMs)
{
    QLocalSocket socket;
    if (!ConnectWithPatience(socket, patienceMs))
        return std::nullopt;
    {
        QDataStream out(&socket);
        out << command << argument;
    }
    if (!socket.waitForBytesWritten(-1))
        return std::nullopt;
    QDataStream in(&socket);
    for (;;) {
        in.startTransaction();
        QStringList answer;
        in >> answer;
        if (in.commitTransaction())
            return answer;
        if (!socket.waitForReadyRead(-1))
            return std::nullopt;  // the first instance went away without an answer
    }
}

bool TSingleInstance::HandOver(const QString& path)
{
    const std::optional<QStringList> answer = Ask(kOpenCommand, path, kHandOverPatienceMs);
    return answer && answer->contains(kOpenedAnswer);
}

std::optional<QStringList> TSingleInstance::QueryDocuments() { return Ask(kListCommand, QString(), kQueryPatienceMs); }

}  // namespace ostrel
