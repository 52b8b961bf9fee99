#include "support/HighlighterChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "editor/OstEdit.h"

namespace ostrel::test {

namespace {

std::vector<TOstLineRange> FullScanStates(TOstCustomHighlighter& hl, const TOstEditStringList& lines)
{
    std::vector<TOstLineRange> states;
    hl.ClearLineState();
    for (int i = 0; i < lines.Count(); ++i) {
        hl.StartLine(lines.Get(i), i);
        hl.SkipToLineEnd();
        states.push_back(hl.LineState());
    }
    return states;
}

// Pieces that open and close the constructs lexers carry across lines.
constexpr const char* kPieces[] = {
    "<!--", "-->", "\"", "'", "/*", "*/", "<", ">", "{", "}", "<?php ", "?>", "<![CDATA[", "]]>",
    "<script>", "</script>", "<style>", "</style>", "#", "//", "(*", "*)", "\\", "$", "=", "a", " ",
    "\r\n", "<<<EOT\r\n", "EOT;\r\n", "--", "begin", "end", "asm",
};

}  // namespace

int CountIncrementalStateMismatches(TOstCustomHighlighter& highlighter, std::string_view document,
                                    unsigned seed, int edits)
{
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    MemoryClipboard clipboard;
    TOstEdit ed;
    ed.SetClipboard(&clipboard);
    ed.Lines().LoadFromBytes(document);
    ed.SetHighlighter(&highlighter);
    int mismatches = 0;
    for (int e = 0; e < edits; ++e) {
        const int line = 1 + pick(std::max(ed.Lines().Count(), 1));
        const int len = static_cast<int>(ed.Lines().Get(line - 1).size());
        ed.SetCaretXY({1 + pick(len + 1), line});
        switch (pick(4)) {
        case 0:
        case 1:
            ed.SetSelText(kPieces[pick(static_cast<int>(std::size(kPieces)))]);
            break;
        case 2: {
            const int line2 = 1 + pick(std::max(ed.Lines().Count(), 1));
            ed.SetBlockEnd({1 + pick(3), line2});
            ed.ClearSelection();
            break;
        }
        case 3:
            ed.InsertLineBreak(true);
            break;
        }
        const std::vector<TOstLineRange> expected = FullScanStates(highlighter, ed.Lines());
        for (int i = 0; i < ed.Lines().Count(); ++i) {
            if (ed.Lines().LineRange(i) != expected[static_cast<size_t>(i)]) {
                if (mismatches == 0)
                    ADD_FAILURE() << "seed " << seed << ", edit " << e << ": line " << i + 1 << " stored state "
                                  << ed.Lines().LineRange(i) << ", full scan " << expected[static_cast<size_t>(i)];
                ++mismatches;
                break;
            }
        }
    }
    ed.SetHighlighter(nullptr);
    return mismatches;
}

}  // namespace ostrel::test
