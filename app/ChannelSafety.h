#pragma once
// Who may be at the other end of the single-instance channel: only this
// user. The channel carries the paths of the files a user opens, so its
// folder must be the user's own and closed to everybody else, and each end
// checks the other's user id before a path travels.

#include <sys/types.h>

#include <QString>
#include <optional>

namespace ostrel {

// The folder for the channel and its lock, once checked; or, when no folder
// can be trusted, the reason for the user.
struct TChannelFolder {
    QString path;
    QString refusal;  // empty when the folder may be used
};

// The session's runtime folder when it is this user's and private; else a
// folder of the user's own under the temporary folder, created 0700 on first
// use. A folder that exists but is not a plain folder, belongs to another
// user or is open to others is never used.
TChannelFolder FindChannelFolder();

// What sits at the channel's path: nothing yet, this user's socket, or
// something that must not be talked to.
enum class TSocketFile { Missing, Ours, Foreign };
TSocketFile InspectSocketFile(const QString& path, uid_t* owner);

// The user id of the process at the other end of a connected local socket.
std::optional<uid_t> PeerUserId(qintptr descriptor);

// The user id the channel belongs to: the one files are opened as.
uid_t ThisUserId();

}  // namespace ostrel
