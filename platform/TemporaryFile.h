#pragma once
// Our temporary files: ".NAME.ostrel-XXXXXX" beside the file they will
// replace, created exclusively and locked for as long as their writer lives,
// so that a later start can tell the leftovers of a killed save from a save
// still running in another process.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/UniqueFd.h"

namespace ostrel {

class TTemporaryFile {
public:
    TTemporaryFile() = default;
    // Creates the file in the folder with the mode (less the umask); on
    // failure IsOpen() is false and errno tells why.
    TTemporaryFile(const std::string& folder, std::string_view name, mode_t mode);
    ~TTemporaryFile();
    TTemporaryFile(TTemporaryFile&& other) noexcept = default;
    TTemporaryFile& operator=(TTemporaryFile&& other) noexcept;
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    bool IsOpen() const { return fd_.IsOpen(); }
    int Fd() const { return fd_.Get(); }
    TUniqueFd& Descriptor() { return fd_; }
    const std::string& Path() const { return path_; }
    // The file has been renamed into place: it is no longer ours to remove.
    void Keep() { path_.clear(); }
    void Remove();

private:
    TUniqueFd fd_;
    std::string path_;
};

// The mark between a document's name and the random part.
inline constexpr std::string_view kTemporaryMark = ".ostrel-";
inline constexpr size_t kTemporaryRandomLength = 6;

// Opens a new file exclusively under a random name made of prefix, six
// letters or digits, and suffix; the path goes to path. Returns -1 with
// errno on failure.
int CreateUniqueFile(const std::string& prefix, std::string_view suffix, mode_t mode, std::string& path);

}  // namespace ostrel
