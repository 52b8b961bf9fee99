#pragma once
// Where a language's short name ("html", "css", ...) meets its lexer class.

#include <memory>
#include <span>
#include <string_view>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

// The short names of the eleven languages, whether or not their lexer exists.
std::span<const char* const> HighlighterLanguages();

// A new lexer for the short name, or none when there is no lexer for it.
std::unique_ptr<TOstCustomHighlighter> CreateHighlighter(std::string_view language);

}  // namespace ostrel
