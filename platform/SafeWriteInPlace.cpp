// Writing a file in place where replacing it would make it another file:
// first a complete copy of the old bytes, then the new bytes over the old
// ones, and the old bytes back when anything fails.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/SafeWriteParts.h"
#include "platform/TemporaryFile.h"

namespace ostrel::safe_write {

namespace {

constexpr size_t kCopyBlock = size_t{1} << 20;

// Copies length bytes from the start of one file to the start of another;
// errno tells why when it returns false.
bool CopyBytes(int from, int to, off_t length)
{
    const auto block = std::make_unique_for_overwrite<char[]>(kCopyBlock);
    for (off_t at = 0; at < length;) {
        const size_t want = static_cast<size_t>(std::min<off_t>(length - at, kCopyBlock));
        const ssize_t got = ::pread(from, block.get(), want, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;  // shorter than it was a moment ago
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t n = ::pwrite(to, block.get() + done, static_cast<size_t>(got - done), at + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = ENOSPC;
                return false;
            }
            done += n;
        }
        at += got;
    }
    return true;
}

// The old bytes of a file, in the state folder or, where that cannot be
// had, beside the file. Removed with the object unless released.
class TKeptCopy {
public:
    TKeptCopy(const std::string& target, int from, off_t length)
    {
        Create(target);
        if (!CopyBytes(from, fd_.Get(), length) || ::fsync(fd_.Get()) != 0) {
            const int error = errno;
            Remove();
            Fail(error, "cannot keep a copy of '" + target + "' before writing it");
        }
    }
    ~TKeptCopy() { Remove(); }
    TKeptCopy(const TKeptCopy&) = delete;
    TKeptCopy& operator=(const TKeptCopy&) = delete;

    bool RestoreInto(int fd, off_t length) const
    {
        return CopyBytes(fd_.Get(), fd, length) && ::ftruncate(fd, length) == 0 && ::fsync(fd) == 0;
    }
    const std::string& Path() const { return path_; }
    std::string Release() { return std::exchange(path_, std::string()); }
    void Remove()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
        path_.clear();
    }

private:
    void Create(const std::string& target)
    {
        try {
            MakePrivateFolder(StateFolder());
            fd_ = TUniqueFd(CreateUniqueFile(StateFolder() + "/kept-" + NameOf(target) + '-', {}, 0600, path_));
        } catch (const ESafeWrite&) {
        }
        if (!fd_.IsOpen())
            fd_ = TUniqueFd(CreateUniqueFile(FolderOf(target) + "/." + NameOf(target) + ".ostrel-kept-", {}, 0600,
                                             path_));
        if (!fd_.IsOpen()) {
            const int error = errno;
            path_.clear();
            Fail(error, "cannot keep a copy of '" + target + "' before writing it");
        }
    }

    TUniqueFd fd_;
    std::string path_;
};

// Writes the source from the start of the file and cuts it to the new length.
void Overwrite(const TUniqueFd& file, const TBytesSource& source, const std::string& target)
{
    if (::lseek(file.Get(), 0, SEEK_SET) != 0)
        Fail(errno, CannotWrite(target));
    TBlockedWriter out(file, CannotWrite(target));
    source([&out](std::string_view piece) { out.Put(piece); });
    out.Flush();
    const off_t end = ::lseek(file.Get(), 0, SEEK_CUR);
    if (end < 0 || ::ftruncate(file.Get(), end) != 0 || ::fsync(file.Get()) != 0)
        Fail(errno, CannotWrite(target));
}

}  // namespace

void WriteInPlace(const std::string& target, const TBytesSource& source)
{
    const TUniqueFd file(::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    struct stat old {};
    if (!file.IsOpen() || ::fstat(file.Get(), &old) != 0)
        Fail(errno, CannotWrite(target));
    TKeptCopy kept(target, file.Get(), old.st_size);
    try {
        Overwrite(file, source, target);
    } catch (const std::exception& failure) {
        if (kept.RestoreInto(file.Get(), old.st_size))
            throw;
        const auto* system = dynamic_cast<const std::system_error*>(&failure);
        const std::string where = kept.Path();
        Fail(system ? system->code().value() : EIO, std::string(failure.what()) + "; the old contents are kept in '" + where + "'", kept.Release());
    }
}

void WriteThrough(const std::string& target, const TBytesSource& source)
{
    // Not blocking on a FIFO without a reader: that is refused at once.
    const TUniqueFd file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen())
        Fail(errno, CannotWrite(target));
    ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
    TBlockedWriter out(file, CannotWrite(target));
    source([&out](std::string_view piece) { out.Put(piece); });
    out.Flush();
}

}  // namespace ostrel::safe_write
