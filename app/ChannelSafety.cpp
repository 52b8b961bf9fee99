#include "app/ChannelSafety.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>

namespace ostrel {

namespace {

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString ModeText(mode_t mode) { return QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0')); }

// Why the folder cannot hold the channel, or nothing when it can. A link is
// refused too: the name may sit in a shared folder where anybody could have
// made it point elsewhere.
std::optional<QString> FolderRefusal(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("folder %1 jest niedostępny (%2)").arg(path, ErrnoText(errno));
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 nie jest folderem").arg(path);
    if (info.st_uid != ThisUserId())
        return QStringLiteral("folder %1 należy do innego użytkownika (uid %2)").arg(path).arg(info.st_uid);
    if ((info.st_mode & 077) != 0)
        return QStringLiteral("folder %1 jest dostępny dla innych użytkowników (uprawnienia %2 zamiast 0700)")
            .arg(path, ModeText(info.st_mode));
    return std::nullopt;
}

// Makes the user's folder under the temporary folder unless it is there; an
// existing one is left as it is, for the check to judge.
std::optional<QString> CreatePrivateFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) == 0) {
        ::chmod(name.constData(), 0700);  // the umask may have taken the owner's own bits
        return std::nullopt;
    }
    if (errno == EEXIST)
        return std::nullopt;
    return QStringLiteral("nie można utworzyć folderu %1 (%2)").arg(path, ErrnoText(errno));
}

QString PrivateTempFolder() { return QDir(QDir::tempPath()).filePath(QStringLiteral("ostrel-%1").arg(ThisUserId())); }

}  // namespace

uid_t ThisUserId() { return ::geteuid(); }

TChannelFolder FindChannelFolder()
{
    // A runtime folder that fails the check (say, another user's, handed
    // down through sudo) is passed over for the user's own folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && !FolderRefusal(runtime))
        return {runtime, {}};

    const QString folder = PrivateTempFolder();
    std::optional<QString> refusal = CreatePrivateFolder(folder);
    if (!refusal)
        refusal = FolderRefusal(folder);
    return {folder, refusal.value_or(QString())};
}

TSocketFile InspectSocketFile(const QString& path, uid_t* owner)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return TSocketFile::Missing;
    *owner = info.st_uid;
    return info.st_uid == ThisUserId() ? TSocketFile::Ours : TSocketFile::Foreign;
}

std::optional<uid_t> PeerUserId(qintptr descriptor)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer)
        return std::nullopt;
    return peer.uid;
}

}  // namespace ostrel
