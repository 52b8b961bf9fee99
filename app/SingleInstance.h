#pragma once
// One running instance per user. The first start holds a lock file and
// listens on a local socket; a later start hands its file over through the
// socket, waits until the first instance has opened it, and ends.
//
// The lock file notices a holder that has died (its process is gone), so a
// crash leaves neither the lock nor the socket in the way of the next start.

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace ostrel {

class TSingleInstance : public QObject {
    Q_OBJECT

public:
    explicit TSingleInstance(QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The socket's full path, named from the program's mutex name and the user.
    static QString ChannelName();

    // True when this process is the first instance: it now holds the lock.
    bool TryClaim();
    // Starts answering later starts (call after TryClaim succeeded); a
    // socket file left by a crashed instance is replaced.
    bool Listen();

    // Asks the first instance to open a file; true once it answered that it
    // did. Waits as long as the first instance keeps the connection.
    static bool HandOver(const QString& path);
    // The paths of the first instance's documents, or nothing when no
    // instance answers.
    static std::optional<QStringList> QueryDocuments();

    // The first instance's side.
    std::function<void(const QString& path)> OnOpen;
    std::function<QStringList()> OnListDocuments;

private:
    void ServeConnection(QLocalSocket* socket);
    static std::optional<QStringList> Ask(const QString& command, const QString& argument, int patienceMs);

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;  // owned by this object
};

}  // namespace ostrel
