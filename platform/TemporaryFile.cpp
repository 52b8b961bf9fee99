#include "platform/TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <random>

#include "platform/SafeWrite.h"

namespace ostrel {

namespace {

constexpr std::string_view kRandomLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string RandomPart()
{
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kRandomLetters.size() - 1);
    std::string part(kTemporaryRandomLength, ' ');
    for (char& c : part)
        c = kRandomLetters[pick(generator)];
    return part;
}

bool IsRandomPart(std::string_view text)
{
    return text.size() == kTemporaryRandomLength &&
           text.find_first_not_of(kRandomLetters) == std::string_view::npos;
}

// A leftover is ours (same owner), a plain file, and no living writer holds
// its lock.
bool IsStale(int folderFd, const char* name)
{
    const TUniqueFd file(::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.Get(), &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0;
}

struct TDirClose {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

int CreateUniqueFile(const std::string& prefix, std::string_view suffix, mode_t mode, std::string& path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + RandomPart() + std::string(suffix);
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

TTemporaryFile::TTemporaryFile(const std::string& folder, std::string_view name, mode_t mode)
{
    std::string path;
    const std::string prefix = folder + "/." + std::string(name) + std::string(kTemporaryMark);
    fd_ = TUniqueFd(CreateUniqueFile(prefix, {}, mode, path));
    if (!fd_.IsOpen())
        return;
    path_ = path;
    // Held until the descriptor closes, which a killed process does too.
    ::flock(fd_.Get(), LOCK_EX | LOCK_NB);
}

TTemporaryFile::~TTemporaryFile() { Remove(); }

TTemporaryFile& TTemporaryFile::operator=(TTemporaryFile&& other) noexcept
{
    if (this != &other) {
        Remove();
        fd_ = std::move(other.fd_);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

void TTemporaryFile::Remove()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
    path_.clear();
}

bool IsTemporaryFileName(std::string_view fileName, std::string_view name)
{
    if (fileName.size() < 1 + kTemporaryMark.size() + kTemporaryRandomLength + 1 || fileName[0] != '.')
        return false;
    const std::string_view random = fileName.substr(fileName.size() - kTemporaryRandomLength);
    const std::string_view rest = fileName.substr(0, fileName.size() - kTemporaryRandomLength);
    if (!IsRandomPart(random) || !rest.ends_with(kTemporaryMark))
        return false;
    const std::string_view owner = rest.substr(1, rest.size() - 1 - kTemporaryMark.size());
    return name.empty() ? !owner.empty() : owner == name;
}

int RemoveStaleTemporaries(const std::string& folder, std::string_view name)
{
    const std::unique_ptr<DIR, TDirClose> dir(::opendir(folder.c_str()));
    if (!dir)
        return 0;
    const int folderFd = ::dirfd(dir.get());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!IsTemporaryFileName(entry->d_name, name) || !IsStale(folderFd, entry->d_name))
            continue;
        if (::unlinkat(folderFd, entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

}  // namespace ostrel
