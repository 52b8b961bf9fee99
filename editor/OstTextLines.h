#pragma once
// Splitting text into lines the way the editor inserts it.

#include <string_view>
#include <vector>

namespace ostrel {

// The lines of a text split at CR LF, lone CR and lone LF; a NUL is text
// like any other byte. A final line break leaves an empty last piece.
std::vector<std::string_view> SplitTextLines(std::string_view text);

}  // namespace ostrel
