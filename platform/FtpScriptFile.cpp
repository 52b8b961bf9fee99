#include "platform/FtpScriptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/FtpScript.h"

namespace ostrel {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

bool IsPrivateFolderOfOurs(const char* path)
{
    struct stat info {};
    return path && *path == '/' && ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

void WriteFully(int fd, const std::string& bytes, const std::string& path)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno("cannot write " + path);
        done += static_cast<size_t>(n);
    }
}

}  // namespace

TUniqueFd::~TUniqueFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

TUniqueFd& TUniqueFd::operator=(TUniqueFd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int TUniqueFd::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::string TUniqueFd::ReadAll() const
{
    std::string bytes;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno("cannot read the FTP script");
        if (n == 0)
            return bytes;
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

std::string PrivateFolderRoot()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsPrivateFolderOfOurs(runtime))
        return runtime;
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : temp.string();
}

void TFtpScriptFile::Write(const std::string& script)
{
    DeleteScriptFile();
    std::string pattern = PrivateFolderRoot() + "/ostrel-ftp-XXXXXX";
    // mkdtemp makes a folder that did not exist before, mode 0700.
    if (!::mkdtemp(pattern.data()))
        ThrowErrno("cannot create a private folder in " + PrivateFolderRoot());
    folder_ = pattern;
    path_ = folder_ + '/' + kFtpScriptFileName;
    TUniqueFd file(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.IsOpen()) {
        const int error = errno;
        DeleteScriptFile();
        errno = error;
        ThrowErrno("cannot create " + pattern + '/' + kFtpScriptFileName);
    }
    try {
        WriteFully(file.Get(), script, path_);
    } catch (...) {
        DeleteScriptFile();
        throw;
    }
}

TUniqueFd TFtpScriptFile::OpenForClient()
{
    TUniqueFd file(::open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const int error = errno;
    DeleteScriptFile();
    if (!file.IsOpen()) {
        errno = error;
        ThrowErrno("cannot open the FTP script");
    }
    return file;
}

void TFtpScriptFile::DeleteScriptFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
    if (!folder_.empty())
        ::rmdir(folder_.c_str());
    path_.clear();
    folder_.clear();
}

}  // namespace ostrel
