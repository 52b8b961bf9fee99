#include "editor/OstLineText.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace ostrel {

namespace {

uint32_t CheckedSize(size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max())
        throw std::length_error("line longer than 4 GiB");
    return static_cast<uint32_t>(size);
}

const char* CopyOf(std::string_view text)
{
    if (text.empty())
        return nullptr;
    char* copy = new char[text.size()];
    std::memcpy(copy, text.data(), text.size());
    return copy;
}

}  // namespace

TOstLineText::TOstLineText(std::string_view owned)
    : size_(CheckedSize(owned.size()))
{
    data_ = CopyOf(owned);
    owned_ = data_ != nullptr;
}

TOstLineText TOstLineText::Borrowed(const char* data, uint32_t size)
{
    TOstLineText t;
    t.data_ = data;  // kept for empty lines too: it tells where the line lies
    t.size_ = size;
    return t;
}

TOstLineText::TOstLineText(TOstLineText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      owned_(std::exchange(other.owned_, false))
{
}

TOstLineText& TOstLineText::operator=(TOstLineText&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        owned_ = std::exchange(other.owned_, false);
    }
    return *this;
}

void TOstLineText::assign(std::string_view text)
{
    const uint32_t size = CheckedSize(text.size());
    const char* copy = CopyOf(text);  // before release: text may be our own bytes
    release();
    data_ = copy;
    size_ = size;
    owned_ = copy != nullptr;
}

void TOstLineText::release() noexcept
{
    if (owned_)
        delete[] data_;
    data_ = nullptr;
    size_ = 0;
    owned_ = false;
}

}  // namespace ostrel
