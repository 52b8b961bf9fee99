#include "platform/UniqueFd.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace ostrel {

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

bool TUniqueFd::Close()
{
    const int fd = Release();
    // Linux frees the descriptor even when close is interrupted, so it is
    // never closed a second time.
    return fd < 0 || ::close(fd) == 0 || errno == EINTR;
}

std::string TUniqueFd::ReadAll() const
{
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::system_error(errno, std::generic_category(), "cannot read");
        if (n == 0)
            return bytes;
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

void TUniqueFd::WriteAll(std::string_view bytes, const std::string& what) const
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::system_error(errno, std::generic_category(), what);
        if (n == 0)
            throw std::system_error(ENOSPC, std::generic_category(), what);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace ostrel
