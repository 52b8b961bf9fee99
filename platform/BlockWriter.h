#pragma once
// Appends to a string through a block on the stack: the conversion loops
// write with plain stores (several bytes at once, past what they keep) and
// the string grows by whole blocks instead of one character at a time.

#include <cstddef>
#include <cstring>
#include <string>

namespace ostrel {

class TBlockWriter {
public:
    // The most bytes one Room call may ask for.
    static constexpr size_t kMaxRoom = 64;

    explicit TBlockWriter(std::string& out) : out_(out) {}
    TBlockWriter(const TBlockWriter&) = delete;
    TBlockWriter& operator=(const TBlockWriter&) = delete;

    // Space for up to n (<= kMaxRoom) bytes at the end; Advance keeps the first ones written there.
    char* Room(size_t n)
    {
        if (kSize - used_ < n) [[unlikely]]
            Flush();
        return block_ + used_;
    }
    void Advance(size_t n) { used_ += n; }
    void Put(char c) { *Room(1) = c; ++used_; }
    void Append(const char* bytes, size_t n)
    {
        if (kSize - used_ < n) {
            Flush();
            if (n > kSize / 2) {
                out_.append(bytes, n);
                return;
            }
        }
        std::memcpy(block_ + used_, bytes, n);
        used_ += n;
    }
    // Hands what is written to the string; call it before reading the string.
    void Flush()
    {
        out_.append(block_, used_);
        used_ = 0;
    }

private:
    static constexpr size_t kSize = 16384;
    std::string& out_;
    size_t used_ = 0;
    char block_[kSize];
};

}  // namespace ostrel
