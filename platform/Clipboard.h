#pragma once
// The clipboard as the editor sees it: plain text, and a private block that
// also carries the selection mode the text was copied in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace ostrel {

struct ClipboardData {
    std::string text;                 // lines separated by CR LF, in `encoding`
    std::optional<uint8_t> blockMode; // selection mode of the private block, if present
    // Other programs' text is UTF-8; the private block keeps the encoding of
    // the document it was copied from.
    TOstEncoding encoding = TOstEncoding::Utf8;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Puts the text (in the encoding) as plain text for other programs and as
    // the private block with the mode. Returns false when the clipboard could
    // not be written.
    virtual bool put(std::string_view text, uint8_t mode, TOstEncoding encoding) = 0;
    // Whether plain text or the private block is available.
    virtual bool hasText() const = 0;
    // The content, or nothing when the clipboard could not be read.
    virtual std::optional<ClipboardData> get() = 0;
};

// A clipboard held in memory: the headless tool's and the tests'.
class MemoryClipboard final : public Clipboard {
public:
    bool put(std::string_view text, uint8_t mode, TOstEncoding encoding) override
    {
        data_ = ClipboardData{std::string(text), mode, encoding};
        return true;
    }
    // The private block of a Windows-1250 document.
    bool put(std::string_view text, uint8_t mode) { return put(text, mode, TOstEncoding::Windows1250); }
    bool hasText() const override { return data_.has_value(); }
    std::optional<ClipboardData> get() override { return data_ ? data_ : ClipboardData{}; }
    // Plain text only, as another program would leave it: UTF-8.
    void putPlain(std::string_view text) { data_ = ClipboardData{std::string(text), std::nullopt, TOstEncoding::Utf8}; }
    void clear() { data_.reset(); }

private:
    std::optional<ClipboardData> data_;
};

}  // namespace ostrel
