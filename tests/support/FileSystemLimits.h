#pragma once
// Bad days for the file system, made real for a test: a small file system
// that fills up, a file-size limit, and a process that runs as a user whom
// permissions bind.

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

namespace ostrel::test {

// Writes beyond this many bytes fail with EFBIG (SIGXFSZ ignored) while the
// object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

// A tmpfs of the given size mounted on a fresh folder where the test may
// mount one (root, or a user namespace); unmounted with the object.
class SmallFileSystem {
public:
    explicit SmallFileSystem(size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Makes the mount read-only (or writable again).
    bool SetReadOnly(bool readOnly);

private:
    std::filesystem::path path_;
    std::string options_;
    bool mounted_ = false;
};

// While it lives, permission bits bind this thread even when it runs as
// root (the capabilities that override them are put aside, and back after).
class PermissionsBind {
public:
    PermissionsBind();
    ~PermissionsBind();
    PermissionsBind(const PermissionsBind&) = delete;
    PermissionsBind& operator=(const PermissionsBind&) = delete;

private:
    unsigned saved_[2] = {};
    bool changed_ = false;
};

// Runs the function in a child process, as the user "nobody" when this
// process is root, so that permission bits bind it; returns its exit status
// (-1 when it did not exit normally).
int RunUnprivileged(const std::function<int()>& body);
// The user and group the unprivileged child runs as.
uid_t UnprivilegedUser();
gid_t UnprivilegedGroup();

}  // namespace ostrel::test
