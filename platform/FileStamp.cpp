#include "platform/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/UniqueFd.h"

namespace ostrel {

bool TFileStamp::LooksLike(const TFileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

TFileStamp StampFile(const std::string& path, bool withHash)
{
    TFileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
    if (withHash && info.st_size <= kHashedFileLimit)
        stamp.hash = HashFile(path);
    return stamp;
}

std::optional<uint64_t> HashFile(const std::string& path)
{
    const TUniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen())
        return std::nullopt;
    constexpr size_t kBlock = size_t{1} << 20;
    const auto block = std::make_unique_for_overwrite<char[]>(kBlock);
    TContentHash hash;
    for (;;) {
        const ssize_t got = ::read(file.Get(), block.get(), kBlock);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return hash.Value();
        hash.Feed(std::string_view(block.get(), static_cast<size_t>(got)));
    }
}

void TContentHash::Mix(uint64_t word)
{
    state_ ^= word * 0xBF58476D1CE4E5B9ull;
    state_ = (state_ << 27 | state_ >> 37) * 0x94D049BB133111EBull;
}

void TContentHash::Feed(std::string_view bytes)
{
    length_ += bytes.size();
    while (tailSize_ > 0 && tailSize_ < 8 && !bytes.empty()) {
        tail_[tailSize_++] = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
    }
    if (tailSize_ == 8) {
        uint64_t word = 0;
        std::memcpy(&word, tail_, 8);
        Mix(word);
        tailSize_ = 0;
    }
    for (; bytes.size() >= 8; bytes.remove_prefix(8)) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data(), 8);
        Mix(word);
    }
    for (char c : bytes)
        tail_[tailSize_++] = static_cast<unsigned char>(c);
}

uint64_t TContentHash::Value() const
{
    uint64_t last = 0;
    std::memcpy(&last, tail_, tailSize_);
    uint64_t value = state_ ^ (last * 0xFF51AFD7ED558CCDull) ^ length_;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ull;
    return value ^ (value >> 33);
}

bool ChangedSince(const TFileStamp& recorded, const std::string& path, TFileStamp& now)
{
    now = StampFile(path, false);
    if (recorded.LooksLike(now)) {
        now.hash = recorded.hash;
        return false;
    }
    if (!recorded.exists || !now.exists)
        return recorded.exists != now.exists;
    if (!recorded.hash || now.size != recorded.size)
        return true;
    now.hash = HashFile(path);
    return now.hash != recorded.hash;
}

}  // namespace ostrel
