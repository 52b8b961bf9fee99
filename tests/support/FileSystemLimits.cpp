#include "support/FileSystemLimits.h"

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <grp.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace ostrel::test {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
}

SmallFileSystem::SmallFileSystem(size_t bytes) : options_("size=" + std::to_string(bytes) + ",mode=0777")
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-fs-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options_.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool SmallFileSystem::SetReadOnly(bool readOnly)
{
    return mounted_ && ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | (readOnly ? MS_RDONLY : 0),
                               options_.c_str()) == 0;
}

namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool Capabilities(__user_cap_data_struct (&data)[2], bool set)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

}  // namespace

PermissionsBind::PermissionsBind()
{
    __user_cap_data_struct data[2] = {};
    if (!Capabilities(data, false))
        return;
    saved_[0] = data[0].effective;
    saved_[1] = data[1].effective;
    data[0].effective &= ~kOverrides;
    changed_ = Capabilities(data, true);
}

PermissionsBind::~PermissionsBind()
{
    __user_cap_data_struct data[2] = {};
    if (!changed_ || !Capabilities(data, false))
        return;
    data[0].effective = saved_[0];
    data[1].effective = saved_[1];
    Capabilities(data, true);
}

uid_t UnprivilegedUser() { return ::geteuid() == 0 ? 65534 : ::geteuid(); }
gid_t UnprivilegedGroup() { return ::geteuid() == 0 ? 65534 : ::getegid(); }

int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(UnprivilegedGroup()) != 0 ||
                                 ::setuid(UnprivilegedUser()) != 0))
            ::_exit(120);
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace ostrel::test
