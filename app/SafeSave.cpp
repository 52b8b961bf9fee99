#include "app/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "editor/OstEditTextBuffer.h"

namespace ostrel {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// The file a path finally names, so a link is kept and its target replaced.
std::string ResolveLinks(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;  // a new file: nothing to follow
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno(path);
    const int rc = ::fsync(fd);
    const int savedErrno = errno;
    ::close(fd);
    if (rc != 0) {
        errno = savedErrno;
        ThrowErrno(path);
    }
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // best effort: the rename itself has already happened
        ::close(fd);
    }
}

// Removes the temporary file unless it has been renamed into place.
class TTempFile {
public:
    explicit TTempFile(std::string path) : path_(std::move(path)) {}
    ~TTempFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    const std::string& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
};

}  // namespace

void SaveLinesSafely(const TOstEditStringList& lines, const std::string& path)
{
    const std::string target = ResolveLinks(path);
    const std::filesystem::path targetPath(target);
    const std::string folder = targetPath.parent_path().empty() ? "." : targetPath.parent_path().string();

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;

    std::string pattern = folder + "/." + targetPath.filename().string() + ".ostrel-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        if ((errno == EACCES || errno == EPERM || errno == EROFS) && exists &&
            ::access(target.c_str(), W_OK) == 0) {
            lines.SaveToFile(target);
            return;
        }
        ThrowErrno(target);
    }
    ::close(fd);
    TTempFile temp(pattern);
    lines.SaveToFile(temp.Path());
    // The bits are set after writing, since they may forbid writing.
    const mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();
    if (::chmod(temp.Path().c_str(), mode) != 0)
        ThrowErrno(temp.Path());
    SyncFile(temp.Path());
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        ThrowErrno(target);
    temp.Release();
    SyncFolder(folder);
}

}  // namespace ostrel
