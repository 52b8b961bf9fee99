#pragma once
// Checks shared by the lexer tests: what an editor keeps in its line states
// after edits must equal what a full scan of the same text gives.

#include <string_view>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel::test {

// Loads the document into an editor with the highlighter, makes seeded random
// edits (typing, deleting, line breaks, pastes of lines, at random places)
// and after each one checks every stored line state against a full rescan.
// Returns the number of edits after which the states differed (0 when all
// matched); reports the first mismatch through GoogleTest.
int CountIncrementalStateMismatches(TOstCustomHighlighter& highlighter, std::string_view document,
                                    unsigned seed, int edits);

}  // namespace ostrel::test
