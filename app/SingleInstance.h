#pragma once
// One running instance per user. The first start holds a lock file and
// listens on a local socket; a later start hands its file over through the
// socket, waits until the first instance has opened it, and ends.
//
// The lock file notices a holder that has died (its process is gone), so a
// crash leaves neither the lock nor the socket in the way of the next start.
//
// The channel is the user's alone (see ChannelSafety.h): a later start that
// finds no trustworthy first instance, or one that does not answer within a
// few seconds, tells why and opens the file in a window of its own.

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace ostrel {

// What asking the first instance came to: its answer, or why there is none,
// for the user.
struct TChannelAnswer {
    std::optional<QStringList> answer;
    QString failure;
};

// Says something on standard error to the user who started the program.
void TellUser(const QString& message);

class TSingleInstance : public QObject {
    Q_OBJECT

public:
    explicit TSingleInstance(QObject* parent = nullptr);
    ~TSingleInstance() override;

    enum class TClaim {
        First,      // this process holds the lock
        Second,     // another instance of this user holds it
        NoChannel,  // no safe place for the channel: every start stands alone
    };
    // Takes the lock if nobody holds it. With NoChannel, Refusal() says why.
    TClaim TryClaim();
    const QString& Refusal() const { return refusal_; }

    // Starts answering later starts (call after TryClaim gave First); a
    // socket file left by a crashed instance is replaced. False, with
    // Refusal() saying why, when the socket cannot be set up.
    bool Listen();

    // Asks the first instance to open a file. No answer means the file did
    // not reach it: the caller opens the file itself.
    static TChannelAnswer HandOver(const QString& path);
    // The paths of the first instance's documents.
    static TChannelAnswer QueryDocuments();

    // The first instance's side.
    std::function<void(const QString& path)> OnOpen;
    std::function<QStringList()> OnListDocuments;

private:
    void ServeConnection(QLocalSocket* socket);
    // accepted: the path of a hand-over that waits for its confirmation.
    void ServeRequest(QLocalSocket& socket, std::optional<QString>& accepted);

    std::unique_ptr<QLockFile> lock_;
    QString channel_;
    QString refusal_;
    QLocalServer* server_ = nullptr;  // owned by this object
};

}  // namespace ostrel
