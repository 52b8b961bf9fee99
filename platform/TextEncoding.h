#pragma once
// The encodings a document may have, how a file's bytes become the buffer's
// bytes and back, and text between the encodings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

namespace codepage {
class TCodePage;
}

enum class TOstEncoding : uint8_t { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1250, Iso88592 };
inline constexpr int kEncodingCount = 6;

// "utf-8", "utf-8-bom", "utf-16le", "utf-16be", "windows-1250", "iso-8859-2"
std::string_view EncodingName(TOstEncoding e);
// "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE", "Windows-1250", "ISO-8859-2"
std::string_view EncodingTitle(TOstEncoding e);
// The names above, in any letter case.
std::optional<TOstEncoding> EncodingFromName(std::string_view name);
// The buffer holds UTF-8 for every encoding but the two code pages.
constexpr bool HoldsUtf8(TOstEncoding e)
{
    return e != TOstEncoding::Windows1250 && e != TOstEncoding::Iso88592;
}

TOstEncoding DetectEncoding(std::string_view bytes, TOstEncoding plainDefault = TOstEncoding::Utf8);
size_t ByteOrderMarkLength(std::string_view bytes, TOstEncoding e);

std::string DecodeFileBytes(std::string_view file, TOstEncoding e);

class TOstFileEncoder {
public:
    explicit TOstFileEncoder(TOstEncoding e);
    void Encode(std::string_view piece, std::string& out);
    void Finish(std::string& out);

private:
    TOstEncoding encoding_;
    bool started_ = false;
    std::string carry_;
};

std::string ToUtf8(std::string_view text, TOstEncoding e);
size_t FromUtf8(std::string_view utf8, TOstEncoding e, std::string& out);
size_t ConvertText(std::string_view text, TOstEncoding from, TOstEncoding to, std::string& out);

}  // namespace ostrel
