#include "platform/upload/KnownHosts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "platform/FtpScriptFile.h"
#include "platform/upload/Fingerprint.h"

namespace ostrel {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

void MakeFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        ThrowErrno("cannot make " + folder);
}

// Whether the file's last byte is not a line break, so a new line needs one first.
bool EndsMidLine(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size == 0)
        return false;
    char last = '\n';
    return ::pread(fd, &last, 1, info.st_size - 1) == 1 && last != '\n';
}

void WriteAll(int fd, std::string_view bytes, const std::string& path)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ThrowErrno("cannot write " + path);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace

std::string DefaultKnownHostsPath()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return {};
    return std::string(home) + "/.ssh/known_hosts";
}

std::string KnownHostsName(std::string_view host, int port)
{
    if (port == 22 || port == 0)
        return std::string(host);
    return "[" + std::string(host) + "]:" + std::to_string(port);
}

std::string SshKeyType(std::string_view blob)
{
    if (blob.size() < 4)
        return {};
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(blob[i])); };
    const uint32_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (length == 0 || length > 64 || length > blob.size() - 4)
        return {};
    const std::string_view type = blob.substr(4, length);
    for (const char c : type)
        if (c <= ' ' || c > '~')
            return {};
    return std::string(type);
}

void AppendKnownHost(const std::string& path, std::string_view host, int port, std::string_view blob)
{
    const std::string type = SshKeyType(blob);
    if (type.empty())
        throw std::invalid_argument("the server's host key is malformed");
    MakeFolderOf(path);
    const TUniqueFd file(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (!file.IsOpen())
        ThrowErrno("cannot open " + path);
    std::string line = EndsMidLine(file.Get()) ? "\n" : "";
    line += KnownHostsName(host, port) + ' ' + type + ' ' + Base64(blob) + '\n';
    WriteAll(file.Get(), line, path);
}

}  // namespace ostrel
