#include "support/Iconv.h"

#include <iconv.h>

namespace ostrel::test {

std::optional<std::string> ConvertWithIconv(const char* from, const char* to, std::string_view bytes)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input(bytes);
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* to_ = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &to_, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace ostrel::test
