// Editing cost against buffer size: single-character inserts and their undo
// steps on buffers of 10,000 and 1,000,000 lines, with and without a
// highlighter whose line states are kept current. The cost of one edit must
// not grow with the number of lines.
//
// Usage: editor_bench [EDITS]   (default 10000)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterHtml.h"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

namespace {

std::string MakeDocument(int lines, bool html)
{
    std::string doc;
    doc.reserve(static_cast<size_t>(lines) * 40);
    for (int i = 0; i < lines; ++i)
        doc += html ? "<p class=\"note\">Line &amp; text " + std::to_string(i) + "</p>\r\n"
                    : "Line of plain text number " + std::to_string(i) + "\r\n";
    return doc;
}

double MicrosecondsPer(Clock::time_point start, int count)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void Run(int lines, int edits, bool withHighlighter)
{
    TOstHTMLHighlighter html;
    TOstEdit ed;
    TOstEditorOptions options = TCustomOstEdit::DefaultOptions();
    options.exclude(eoGroupUndo);  // every insert its own undo step
    ed.SetOptions(options);
    ed.SetMaxUndo(edits * 2);
    ed.Lines().LoadFromBytes(MakeDocument(lines, withHighlighter));
    if (withHighlighter)
        ed.SetHighlighter(&html);
    // Type in the middle of the buffer, where every line index shifts if a
    // change were to walk the lines.
    ed.SetCaretXY({5, lines / 2});

    const auto typing = Clock::now();
    for (int i = 0; i < edits; ++i)
        ed.SetSelText(std::string(1, static_cast<char>('a' + i % 26)));
    const double perInsert = MicrosecondsPer(typing, edits);

    const auto undoing = Clock::now();
    int steps = 0;
    while (ed.CanUndo()) {
        ed.Undo();
        ++steps;
    }
    const double perUndo = MicrosecondsPer(undoing, std::max(steps, 1));
    std::printf("%9d lines %-16s insert %7.2f us   undo step %7.2f us   (%d edits, %d undo steps)\n", lines,
                withHighlighter ? "html highlighter" : "no highlighter", perInsert, perUndo, edits, steps);
    ed.SetHighlighter(nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    const int edits = argc > 1 ? std::atoi(argv[1]) : 10000;
    for (bool hl : {false, true})
        for (int lines : {10000, 1000000})
            Run(lines, edits, hl);
    return 0;
}
