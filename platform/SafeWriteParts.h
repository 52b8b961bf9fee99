#pragma once
// The pieces the safe writer is made of, shared by its files.

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/SafeWrite.h"
#include "platform/UniqueFd.h"

namespace ostrel::safe_write {

[[noreturn]] void Fail(int error, const std::string& what, std::string keptCopy = {});
std::string CannotWrite(const std::string& path);
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
// Makes a rename or a new file in the folder last through a power cut.
void SyncFolder(const std::string& folder);
// Why the file may not be written (nobody may, or we may not, or its file
// system is read-only); 0 when it may.
int WriteRefusal(const std::string& path, const struct stat& info);

// Gathers small pieces into large blocks on their way to the file.
class TBlockedWriter {
public:
    TBlockedWriter(const TUniqueFd& fd, std::string what);
    void Put(std::string_view piece);
    void Flush();

private:
    void WriteOut(std::string_view bytes);

    const TUniqueFd& fd_;
    std::string what_;
    std::string block_;
};

// Every byte of the file open as fd, from its start.
TBytesSource FileSource(int fd);

// Overwrites the file's bytes in place, keeping a copy of the old ones until
// the new ones are synced; a failure puts the old bytes back.
void WriteInPlace(const std::string& target, const TBytesSource& source);

// Devices and pipes: they have no content to keep and cannot be renamed over.
void WriteThrough(const std::string& target, const TBytesSource& source);

}  // namespace ostrel::safe_write
