#include "platform/FtpScriptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/FtpScript.h"
#include "platform/SafeWrite.h"

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

}  // namespace

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
    try {
        // The folder is new and only ours, so nobody can have put a link there.
        WriteFileSafely(path_, script, TSafeWriteOptions{.newFileMode = 0600});
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
