#pragma once
// What a file on disk looked like when a document last read or wrote it:
// which file it was, its size and time, and a hash of its bytes, so that a
// change by another program is told apart from a touch or from our own save.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

struct TFileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;
    // Left out for files too large to hash on every load and save.
    std::optional<uint64_t> hash;

    // The same file, size and time (the hash aside).
    bool LooksLike(const TFileStamp& other) const;
};

// Files up to this size carry a hash of their bytes.
inline constexpr off_t kHashedFileLimit = off_t{256} << 20;

// The stamp of the file now; no file (or no plain file) gives exists false.
TFileStamp StampFile(const std::string& path, bool withHash = true);

// The hash of the file's bytes, none when it cannot be read.
std::optional<uint64_t> HashFile(const std::string& path);

// A fast hash of bytes, the same for the same bytes on every run.
class TContentHash {
public:
    void Feed(std::string_view bytes);
    uint64_t Value() const;

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
    uint64_t length_ = 0;
    unsigned char tail_[8] = {};
    size_t tailSize_ = 0;
    void Mix(uint64_t word);
};

// Whether the file on disk is no longer what the stamp describes: another
// file, or other bytes. A file that was only touched, or replaced by the
// same bytes, is not a change; without hashes, size, time and identity
// decide. now gets the file's present stamp (hashed only when it had to be).
bool ChangedSince(const TFileStamp& recorded, const std::string& path, TFileStamp& now);

}  // namespace ostrel
