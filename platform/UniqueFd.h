#pragma once
// The one holder of a file descriptor for the whole program: closed exactly
// once, by its owner, and a close that fails can be reported.

#include <string>
#include <string_view>

namespace ostrel {

class TUniqueFd {
public:
    TUniqueFd() = default;
    explicit TUniqueFd(int fd) : fd_(fd) {}
    ~TUniqueFd();
    TUniqueFd(TUniqueFd&& other) noexcept : fd_(other.Release()) {}
    TUniqueFd& operator=(TUniqueFd&& other) noexcept;
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();
    // Closes now; false (with errno set) when the system reports a failure,
    // such as a delayed write error. The descriptor is gone either way.
    bool Close();
    // The rest of the file's bytes; throws std::system_error.
    std::string ReadAll() const;
    // Writes every byte, going on after short writes and interruptions;
    // throws std::system_error naming what.
    void WriteAll(std::string_view bytes, const std::string& what) const;

private:
    int fd_ = -1;
};

}  // namespace ostrel
