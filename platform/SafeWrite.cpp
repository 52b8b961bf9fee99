#include "platform/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/FileAttributes.h"
#include "platform/SafeWriteParts.h"

namespace ostrel {

using namespace safe_write;

ESafeWrite::ESafeWrite(int error, const std::string& what, std::string keptCopy)
    : std::system_error(error, std::generic_category(), what), keptCopy_(std::move(keptCopy))
{
}

namespace safe_write {

void Fail(int error, const std::string& what, std::string keptCopy)
{
    throw ESafeWrite(error, what, std::move(keptCopy));
}

std::string CannotWrite(const std::string& path) { return "cannot write '" + path + "'"; }

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(const std::string& folder)
{
    const TUniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen())
        ::fsync(dir.Get());  // best effort: the rename itself has happened
}

int WriteRefusal(const std::string& path, const struct stat& info)
{
    // No write bit at all counts even for a user whom permissions do not bind.
    if ((info.st_mode & 0222) == 0)
        return EACCES;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

namespace {
constexpr size_t kBlockSize = size_t{1} << 20;
}  // namespace

TBlockedWriter::TBlockedWriter(const TUniqueFd& fd, std::string what) : fd_(fd), what_(std::move(what))
{
    block_.reserve(kBlockSize);
}

void TBlockedWriter::Put(std::string_view piece)
{
    if (block_.size() + piece.size() > kBlockSize) {
        Flush();
        if (piece.size() >= kBlockSize / 2)
            return WriteOut(piece);
    }
    block_.append(piece);
}

void TBlockedWriter::Flush()
{
    WriteOut(block_);
    block_.clear();
}

void TBlockedWriter::WriteOut(std::string_view bytes)
{
    try {
        fd_.WriteAll(bytes, what_);
    } catch (const ESafeWrite&) {
        throw;
    } catch (const std::system_error& e) {
        Fail(e.code().value(), what_);
    }
}

TBytesSource FileSource(int fd)
{
    return [fd](const TBytesSink& put) {
        const auto block = std::make_unique_for_overwrite<char[]>(kBlockSize);
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(fd, block.get(), kBlockSize, at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                Fail(errno, "cannot read the temporary file");
            if (got == 0)
                return;
            put(std::string_view(block.get(), static_cast<size_t>(got)));
            at += got;
        }
    };
}

}  // namespace safe_write

namespace {

// A temporary file for the target: beside it, where a rename can put it in
// place, or else in the state folder, from where it is copied.
TTemporaryFile TemporaryFor(const std::string& target, bool exists, const TSafeWriteOptions& options)
{
    // Until it takes over the old file's mode, nobody else may read it.
    const mode_t mode = exists ? 0600 : options.newFileMode;
    TTemporaryFile beside(FolderOf(target), NameOf(target), mode);
    if (beside.IsOpen() || !exists || (errno != EACCES && errno != EPERM))
        return beside;
    try {
        MakePrivateFolder(StateFolder());
    } catch (const ESafeWrite&) {
        return beside;
    }
    return TTemporaryFile(StateFolder(), NameOf(target), mode);
}

// Renames the finished temporary file over the target when the target stays
// the same file to its users; false when it would not.
bool ReplaceByRename(const std::string& target, const struct stat& old, TTemporaryFile& temp)
{
    if (!MayBeReplaced(old) || FolderOf(temp.Path()) != FolderOf(target))
        return false;
    const TUniqueFd from(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!from.IsOpen() || !CarryOverAttributes(from.Get(), temp.Fd(), old))
        return false;
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        if (errno == EBUSY || errno == EXDEV || errno == EPERM || errno == EACCES)
            return false;
        Fail(errno, CannotWrite(target));
    }
    temp.Keep();
    SyncFolder(FolderOf(target));
    return true;
}

// Puts the finished, synced temporary file in place of the target by the rules.
void Install(const std::string& target, TTemporaryFile& temp)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT)
            Fail(errno, CannotWrite(target));
        if (FolderOf(temp.Path()) != FolderOf(target))
            Fail(EACCES, CannotWrite(target));
        if (::rename(temp.Path().c_str(), target.c_str()) != 0)
            Fail(errno, CannotWrite(target));
        temp.Keep();
        SyncFolder(FolderOf(target));
        return;
    }
    if (S_ISDIR(old.st_mode))
        Fail(EISDIR, CannotWrite(target));
    if (!S_ISREG(old.st_mode))
        return WriteThrough(target, FileSource(temp.Fd()));
    if (const int refusal = WriteRefusal(target, old))
        Fail(refusal, CannotWrite(target));
    if (!ReplaceByRename(target, old, temp))
        WriteInPlace(target, FileSource(temp.Fd()));
}

void SyncTemporary(TTemporaryFile& temp, const std::string& target)
{
    if (::fsync(temp.Fd()) != 0)
        Fail(errno, CannotWrite(target));
}

// Checked before anything is written, so a refusal costs no write.
struct stat CheckTarget(const std::string& target, bool& exists)
{
    struct stat info {};
    exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        Fail(errno, CannotWrite(target));
    if (exists && S_ISDIR(info.st_mode))
        Fail(EISDIR, CannotWrite(target));
    if (exists && S_ISREG(info.st_mode))
        if (const int refusal = WriteRefusal(target, info))
            Fail(refusal, CannotWrite(target));
    return info;
}

}  // namespace

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && WriteRefusal(path, info) != 0;
}

std::string FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            return current;
        const std::string next(target, static_cast<size_t>(length));
        current = next.starts_with('/') ? next : FolderOf(current) + '/' + next;
    }
    Fail(ELOOP, CannotWrite(path));
}

std::string StateFolder()
{
    const char* xdg = std::getenv("XDG_STATE_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/ostrel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/state/ostrel";
}

void MakePrivateFolder(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode))
            Fail(ENOTDIR, "cannot use the folder '" + folder + "'");
        return;
    }
    const std::string parent = FolderOf(folder);
    if (parent != folder && parent != "." && parent != "/")
        MakePrivateFolder(parent);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        Fail(errno, "cannot create the folder '" + folder + "'");
}

void WriteFileSafely(const std::string& path, const TBytesSource& source, const TSafeWriteOptions& options)
{
    const std::string target = FollowLinks(path);
    bool exists = false;
    const struct stat info = CheckTarget(target, exists);
    if (exists && !S_ISREG(info.st_mode))
        return WriteThrough(target, source);
    TTemporaryFile temp = TemporaryFor(target, exists, options);
    if (!temp.IsOpen()) {
        // Not even the state folder takes a file: the last way left.
        if (exists && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, source);
        Fail(errno, CannotWrite(target));
    }
    {
        TBlockedWriter out(temp.Descriptor(), CannotWrite(target));
        source([&out](std::string_view piece) { out.Put(piece); });
        out.Flush();
    }
    SyncTemporary(temp, target);
    Install(target, temp);
}

void WriteFileSafely(const std::string& path, std::string_view bytes, const TSafeWriteOptions& options)
{
    WriteFileSafely(path, [bytes](const TBytesSink& put) { put(bytes); }, options);
}

void AppendToFileSafely(const std::string& path, std::string_view bytes)
{
    const std::string what = "cannot append to '" + path + "'";
    TUniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0)
        Fail(errno, what);
    const bool regular = S_ISREG(info.st_mode);
    try {
        fd.WriteAll(bytes, what);
        if (regular && ::fsync(fd.Get()) != 0)
            Fail(errno, what);
    } catch (...) {
        if (regular && ::ftruncate(fd.Get(), info.st_size) != 0) {
            // Nothing better is left to do: the write error is the one to report.
        }
        throw;
    }
    if (!fd.Close())
        Fail(errno, what);
}

TSafeReplacement::TSafeReplacement(const std::string& path, const TSafeWriteOptions& options)
    : target_(FollowLinks(path))
{
    bool exists = false;
    const struct stat info = CheckTarget(target_, exists);
    (void)info;
    temporary_ = TemporaryFor(target_, exists, options);
    if (!temporary_.IsOpen())
        Fail(errno, CannotWrite(target_));
}

TSafeReplacement::~TSafeReplacement() = default;

void TSafeReplacement::Commit()
{
    SyncTemporary(temporary_, target_);
    Install(target_, temporary_);
    temporary_.Remove();
}

}  // namespace ostrel
