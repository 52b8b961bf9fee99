#pragma once
// Writing a file so that a failure never costs what was on disk. Every file
// the program writes (documents, exports, settings, printed PDF files, the
// FTP script, recovery journals) goes through here.
//
// The rules:
// - a symlink is followed: the file it points to is written and the link
//   stays a link;
// - a plain file with one link that the user owns is replaced atomically: a
//   temporary file in the same folder gets the data, the old file's mode,
//   owner, group, ACLs and extended attributes, is synced and renamed over
//   the old one, and the folder is synced;
// - where replacing would change the file's identity (several hard links,
//   another owner, a folder where no file may be created, a mount that
//   refuses chmod, ownership or rename), the file is written in place, with
//   a complete copy of its old contents kept in the state folder (or beside
//   the file) until the new contents are written and synced; a failure puts
//   the old contents back;
// - nothing is left half written, and a failure raises ESafeWrite with the
//   system's reason and the old file intact.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/TemporaryFile.h"

namespace ostrel {

// Hands the bytes to write, piece by piece, to the function it is given.
using TBytesSink = std::function<void(std::string_view)>;
using TBytesSource = std::function<void(const TBytesSink& put)>;

struct TSafeWriteOptions {
    // The permission bits of a file that does not exist yet (less the umask).
    mode_t newFileMode = 0666;
};

// A failed write: the system's error code, and what() naming the file.
class ESafeWrite : public std::system_error {
public:
    ESafeWrite(int error, const std::string& what, std::string keptCopy = {});
    // Where the old contents still wait when they could not be put back.
    const std::string& KeptCopy() const { return keptCopy_; }

private:
    std::string keptCopy_;
};

void WriteFileSafely(const std::string& path, const TBytesSource& source, const TSafeWriteOptions& options = {});
void WriteFileSafely(const std::string& path, std::string_view bytes, const TSafeWriteOptions& options = {});

// Appends to an existing file; a failure cuts it back to its old length.
void AppendToFileSafely(const std::string& path, std::string_view bytes);

// For a writer that wants a file name of its own (a PDF engine): it writes
// TemporaryPath(), and Commit puts the finished file in place by the rules
// above. Without a commit the temporary file goes with the object.
class TSafeReplacement {
public:
    explicit TSafeReplacement(const std::string& path, const TSafeWriteOptions& options = {});
    ~TSafeReplacement();
    TSafeReplacement(const TSafeReplacement&) = delete;
    TSafeReplacement& operator=(const TSafeReplacement&) = delete;

    const std::string& TemporaryPath() const { return temporary_.Path(); }
    void Commit();

private:
    std::string target_;
    TTemporaryFile temporary_;
};

// Whether the file exists and this user may not write it, or nobody may
// (the counterpart of the read-only attribute, which even an
// administrator's programs respect).
bool IsReadOnlyFile(const std::string& path);

// The file a path finally names: links followed, even to a file that does
// not exist yet.
std::string FollowLinks(const std::string& path);

// The program's state folder: $XDG_STATE_HOME/ostrel, by default
// ~/.local/state/ostrel. Created (owner only) on demand by the writers.
std::string StateFolder();
// Makes a folder and its missing parents, owner only; throws ESafeWrite.
void MakePrivateFolder(const std::string& folder);

// Whether a file name is that of one of our temporary files for name (any
// name when name is empty).
bool IsTemporaryFileName(std::string_view fileName, std::string_view name = {});
// Removes our temporary files in the folder that no running save holds
// (those of a save that was killed); only those for name when it is given.
// Returns how many went.
int RemoveStaleTemporaries(const std::string& folder, std::string_view name = {});

}  // namespace ostrel
