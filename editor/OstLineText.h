#pragma once
// The bytes of one buffer line, kept small: a line loaded from a file borrows
// its bytes from the loaded content (which the buffer keeps alive), a line
// written by an edit owns a heap copy.

#include <cstdint>
#include <string_view>

namespace ostrel {

class TOstLineText {
public:
    TOstLineText() = default;
    // Copies the bytes; raises std::length_error above 4 GiB.
    explicit TOstLineText(std::string_view owned);
    // Refers to bytes owned elsewhere; they must outlive this object.
    static TOstLineText Borrowed(const char* data, uint32_t size);
    TOstLineText(const TOstLineText&) = delete;
    TOstLineText& operator=(const TOstLineText&) = delete;
    TOstLineText(TOstLineText&& other) noexcept;
    TOstLineText& operator=(TOstLineText&& other) noexcept;
    ~TOstLineText()
    {
        if (owned_)
            release();
    }

    std::string_view view() const { return {data_ ? data_ : "", size_}; }
    uint32_t size() const { return size_; }
    bool borrowed() const { return data_ != nullptr && !owned_; }
    // Replaces the bytes with an owned copy; text may view the old bytes.
    void assign(std::string_view text);

private:
    void release() noexcept;
    // A pointer, a size and an ownership flag instead of a unique_ptr beside a
    // borrowed pointer: a buffer holds millions of these, and 16 bytes keep a
    // line record at 40. Only this class allocates and frees data_.
    const char* data_ = nullptr;
    uint32_t size_ = 0;
    bool owned_ = false;
};

}  // namespace ostrel
