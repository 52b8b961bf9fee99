#pragma once
// Comparing names and keywords in any ASCII letter case, as charset names
// and HTML attributes are compared; never through the process locale.

#include <algorithm>
#include <string_view>

namespace ostrel::ascii {

inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

// The first place of word in text from `from` on, or npos.
inline size_t FindNoCase(std::string_view text, std::string_view word, size_t from = 0)
{
    if (from > text.size())
        return std::string_view::npos;
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), word.begin(),
                                word.end(), [](char x, char y) { return Lower(x) == Lower(y); });
    return it == text.end() && !word.empty() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

}  // namespace ostrel::ascii
