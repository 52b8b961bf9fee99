#include "editor/OstTextLines.h"

namespace ostrel {

std::vector<std::string_view> SplitTextLines(std::string_view text)
{
    std::vector<std::string_view> result;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        result.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    result.push_back(text.substr(start));
    return result;
}

}  // namespace ostrel
