#pragma once
// The one way the program walks a highlighter over lines: the editor, the
// print job and its pages, the exporters and ostrel-cli all scan through it.
//
// The state kept for a line is the highlighter's state at that line's END.
// A line starts from the state the line above ends in; the first line starts
// from the cleared state. So any line can be lexed alone, given the state
// stored for the line above it:
//   TOstLineStateScanner scan(hl, utf8);
//   scan.StartLine(text, index, index > 0 ? states[index - 1] : 0);
//   ... tokens ...
//   states[index] = scan.EndState();

#include <cstdint>
#include <string_view>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

// A highlighter's state between lines: a comparable value.
using TOstLineState = intptr_t;

class TOstLineStateScanner {
public:
    // The highlighter scans text of the given form (see SetUtf8Text) from now on.
    TOstLineStateScanner(TOstCustomHighlighter& highlighter, bool utf8Text);

    TOstCustomHighlighter& Highlighter() const { return hl_; }

    // Starts line `index` (from 0) from the end state of the line above,
    // which the first line does without.
    void StartLine(std::string_view text, int index, TOstLineState aboveEnd);
    // Starts the line after the one scanned last, or the first line after
    // ClearState, from the state the highlighter is in.
    void ContinueLine(std::string_view text, int index);
    // The state before the first line.
    void ClearState();
    // Scans what is left of the started line; the state at its end.
    TOstLineState EndState();

    // The end states of the lines [0, count), in order: store(index, state).
    // The highlighter is then ready to continue with line `count`.
    template <class LineAt, class Store>
    void ScanFromTop(int count, LineAt&& lineAt, Store&& store)
    {
        ClearState();
        for (int i = 0; i < count; ++i) {
            ContinueLine(lineAt(i), i);
            store(i, EndState());
        }
    }

private:
    TOstCustomHighlighter& hl_;
};

}  // namespace ostrel
