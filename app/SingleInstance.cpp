#include "app/SingleInstance.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

#include "app/ChannelSafety.h"

namespace ostrel {

namespace {

const QString kMutexName = QStringLiteral("Ostrel3_20122003_05101982");

// The conversation. A question about the documents is answered at once. A
// file is handed over in two steps: the first instance says it is "ready",
// the later start confirms with "go", and only then is the file opened, so a
// later start that gave up waiting never has its file opened twice.
const QString kOpenCommand = QStringLiteral("open");
const QString kListCommand = QStringLiteral("list");
const QString kReadyAnswer = QStringLiteral("ready");
const QString kGoCommand = QStringLiteral("go");
const QString kOpenedAnswer = QStringLiteral("opened");

// A second start may come while the first is still between taking the lock
// and listening, so it keeps trying for a while; a stopped or busy first
// instance must not keep it waiting longer than that. A question about the
// documents gives up connecting sooner, as nobody may be running at all.
constexpr int kHandOverPatienceMs = 5000;
constexpr int kQueryConnectPatienceMs = 1000;
constexpr int kQueryPatienceMs = 5000;
// Once confirmed the file is the first instance's; the later start waits a
// little for it to open (it may be asking the user something first).
constexpr int kOpenedPatienceMs = 5000;

const QString kNotAnswering = QStringLiteral("uruchomiony już program nie odpowiada");
const QString kNotRunning = QStringLiteral("program nie jest uruchomiony");
const QString kConnectionLost = QStringLiteral("uruchomiony już program zakończył połączenie bez odpowiedzi");

QString ForeignPeer(const QString& channel, std::optional<uid_t> owner)
{
    const QString who = owner ? QStringLiteral("uid %1").arg(*owner) : QStringLiteral("nieznany");
    return QStringLiteral("kanał %1 należy do innego użytkownika (%2); nic mu nie przekazano").arg(channel, who);
}

QString UserName()
{
    if (const passwd* entry = ::getpwuid(ThisUserId()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(ThisUserId());
}

QString ChannelPath(const QString& folder) { return QDir(folder).filePath(kMutexName + u'-' + UserName()); }

int RemainingMs(const QDeadlineTimer& deadline) { return static_cast<int>(deadline.remainingTime()); }

void Answer(QLocalSocket& socket, const QStringList& answer)
{
    QDataStream out(&socket);
    out << answer;
    socket.flush();
}

// The later start's side of one conversation, all of it within a deadline.
class TChannelClient {
public:
    TChannelClient(QString channel, int patienceMs) : channel_(std::move(channel)), deadline_(patienceMs) {}

    // Reaches this user's first instance, retrying while its socket is not
    // there yet; a socket or a listener of another user is never talked to.
    bool Connect(int patienceMs, const QString& whenNobodyListens)
    {
        const QDeadlineTimer patience(std::min(patienceMs, RemainingMs(deadline_)));
        for (;;) {
            uid_t owner = 0;
            const TSocketFile file = InspectSocketFile(channel_, &owner);
            if (file == TSocketFile::Foreign)
                return Fail(ForeignPeer(channel_, owner));
            if (file == TSocketFile::Ours) {
                socket_.connectToServer(channel_);
                if (socket_.waitForConnected(std::max(1, RemainingMs(patience))))
                    return CheckPeer();
                socket_.abort();
            }
            if (patience.hasExpired())
                return Fail(whenNobodyListens);
            QThread::msleep(50);
        }
    }

    bool Send(const QStringList& words)
    {
        QDataStream out(&socket_);
        for (const QString& word : words)
            out << word;
        while (socket_.bytesToWrite() > 0) {
            if (!socket_.waitForBytesWritten(std::max(1, RemainingMs(deadline_))))
                return Fail(Silence());
        }
        return true;
    }

    std::optional<QStringList> Receive()
    {
        QDataStream in(&socket_);
        for (;;) {
            in.startTransaction();
            QStringList answer;
            in >> answer;
            if (in.commitTransaction())
                return answer;
            if (deadline_.hasExpired() || !socket_.waitForReadyRead(std::max(1, RemainingMs(deadline_)))) {
                Fail(Silence());
                return std::nullopt;
            }
        }
    }

    void GiveMoreTime(int patienceMs) { deadline_.setRemainingTime(patienceMs); }
    TChannelAnswer Failed() const { return {std::nullopt, failure_}; }

private:
    // Why nothing came: the first instance holds the connection but says
    // nothing (stopped, or busy), or it went away.
    QString Silence() const
    {
        return socket_.state() == QLocalSocket::ConnectedState ? kNotAnswering : kConnectionLost;
    }
    bool CheckPeer()
    {
        const std::optional<uid_t> peer = PeerUserId(socket_.socketDescriptor());
        if (peer == ThisUserId())
            return true;
        socket_.abort();
        return Fail(ForeignPeer(channel_, peer));
    }
    bool Fail(const QString& failure)
    {
        failure_ = failure;
        return false;
    }

    QString channel_;
    QDeadlineTimer deadline_;
    QLocalSocket socket_;
    QString failure_;
};

}  // namespace

void TellUser(const QString& message)
{
    std::fprintf(stderr, "ostrel: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::TClaim TSingleInstance::TryClaim()
{
    const TChannelFolder folder = FindChannelFolder();
    if (!folder.refusal.isEmpty()) {
        refusal_ = folder.refusal;
        return TClaim::NoChannel;
    }
    channel_ = ChannelPath(folder.path);
    lock_ = std::make_unique<QLockFile>(channel_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);  // stale only when its holder is gone, never by age
    if (lock_->tryLock(0))
        return TClaim::First;
    const bool heldByAnother = lock_->error() == QLockFile::LockFailedError;
    if (!heldByAnother)
        refusal_ = QStringLiteral("nie można utworzyć pliku blokady %1").arg(channel_ + QStringLiteral(".lock"));
    lock_.reset();
    return heldByAnother ? TClaim::Second : TClaim::NoChannel;
}

bool TSingleInstance::Listen()
{
    // Holding the lock, whatever sits at the socket's name in the user's own
    // folder is a leftover: it is replaced, never talked to.
    QLocalServer::removeServer(channel_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            ServeConnection(socket);
    });
    if (server_->listen(channel_))
        return true;
    refusal_ = QStringLiteral("nie można nasłuchiwać na %1 (%2)").arg(channel_, server_->errorString());
    return false;
}

void TSingleInstance::ServeConnection(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (const std::optional<uid_t> peer = PeerUserId(socket->socketDescriptor()); peer != ThisUserId()) {
        TellUser(QStringLiteral("odrzucono połączenie procesu innego użytkownika (uid %1)")
                     .arg(peer ? QString::number(*peer) : QStringLiteral("nieznany")));
        socket->abort();
        socket->deleteLater();
        return;
    }
    auto accepted = std::make_shared<std::optional<QString>>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, accepted] { ServeRequest(*socket, *accepted); });
}

void TSingleInstance::ServeRequest(QLocalSocket& socket, std::optional<QString>& accepted)
{
    QDataStream in(&socket);
    if (!accepted) {
        in.startTransaction();
        QString command;
        QString argument;
        in >> command >> argument;
        if (!in.commitTransaction())
            return;  // the rest of the request is still on its way
        if (command == kOpenCommand && OnOpen) {
            accepted = argument;
            Answer(socket, {kReadyAnswer});
            if (socket.bytesAvailable() == 0)
                return;
        } else {
            Answer(socket, command == kListCommand && OnListDocuments ? OnListDocuments() : QStringList());
            socket.disconnectFromServer();
            return;
        }
    }
    in.startTransaction();
    QString confirmation;
    in >> confirmation;
    if (!in.commitTransaction())
        return;
    const QString path = *accepted;
    const QPointer<QLocalSocket> stillThere(&socket);
    if (confirmation == kGoCommand)
        OnOpen(path);  // may ask the user first; the socket may go meanwhile
    if (stillThere) {
        Answer(*stillThere, {kOpenedAnswer});
        stillThere->disconnectFromServer();
    }
}

TChannelAnswer TSingleInstance::HandOver(const QString& path)
{
    const TChannelFolder folder = FindChannelFolder();
    if (!folder.refusal.isEmpty())
        return {std::nullopt, folder.refusal};
    TChannelClient client(ChannelPath(folder.path), kHandOverPatienceMs);
    if (!client.Connect(kHandOverPatienceMs, kNotAnswering) || !client.Send({kOpenCommand, path}))
        return client.Failed();
    const std::optional<QStringList> ready = client.Receive();
    if (!ready)
        return client.Failed();
    if (ready->contains(kOpenedAnswer))
        return {ready, {}};  // an instance that opens at once, without asking for "go"
    if (!ready->contains(kReadyAnswer))
        return {std::nullopt, kConnectionLost};
    if (!client.Send({kGoCommand}))
        return client.Failed();
    client.GiveMoreTime(kOpenedPatienceMs);
    client.Receive();  // either way the file is the first instance's now
    return {QStringList{kOpenedAnswer}, {}};
}

TChannelAnswer TSingleInstance::QueryDocuments()
{
    const TChannelFolder folder = FindChannelFolder();
    if (!folder.refusal.isEmpty())
        return {std::nullopt, folder.refusal};
    TChannelClient client(ChannelPath(folder.path), kQueryPatienceMs);
    if (!client.Connect(kQueryConnectPatienceMs, kNotRunning) || !client.Send({kListCommand, QString()}))
        return client.Failed();
    const std::optional<QStringList> documents = client.Receive();
    return documents ? TChannelAnswer{documents, {}} : client.Failed();
}

}  // namespace ostrel
