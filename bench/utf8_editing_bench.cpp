// One keystroke and one caret move in UTF-8 documents of Polish text against
// their size (10,000 and 1,000,000 lines), beside the same text in
// Windows-1250, with the HTML highlighter keeping its line states. The cost
// of one step must not grow with the number of lines.
//
// Usage: utf8_editing_bench [STEPS]   (default 20000)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/OstEdit.h"
#include "editor/OstEditKeyCmds.h"
#include "highlighters/OstHighlighterHtml.h"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

namespace {

std::string MakeDocument(int lines)
{
    std::string doc;
    doc.reserve(static_cast<size_t>(lines) * 70);
    for (int i = 0; i < lines; ++i)
        doc += "<p>Zażółć gęślą jaźń, źródło " + std::to_string(i) + " — łódź i żółw</p>\r\n";
    return doc;
}

double MicrosecondsPer(Clock::time_point start, int count)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void Run(int lines, int steps, TOstEncoding encoding)
{
    TOstHTMLHighlighter html;
    TOstEdit ed;
    ed.SetMaxUndo(steps * 2);
    std::string doc = MakeDocument(lines);
    if (encoding != TOstEncoding::Utf8) {
        std::string converted;
        FromUtf8(doc, encoding, converted);
        doc = std::move(converted);
    }
    ed.Lines().LoadFromBytes(doc, TOstEncodingChoice{encoding});
    ed.SetHighlighter(&html);
    ed.SetCaretXY({8, lines / 2});

    // Forty letters a line, then on to the next line, so that no line grows
    // long.
    const auto typing = Clock::now();
    for (int i = 0; i < steps; ++i) {
        ed.KeyStroke(0, 0, i % 2 ? "ż" : "ą");
        if (i % 40 == 39)
            ed.SetCaretXY({8, ed.CaretY() + 1});
    }
    const double perKey = MicrosecondsPer(typing, steps);
    if (ed.Lines().Get(lines / 2).find(encoding == TOstEncoding::Utf8 ? "\xC5\xBC" : "\xBF") == std::string_view::npos)
        std::printf("the letters did not arrive\n");

    const auto moving = Clock::now();
    for (int i = 0; i < steps; ++i)
        ed.CommandProcessor(i % 4 < 2 ? ecLeft : ecDown, '\0');
    const double perMove = MicrosecondsPer(moving, steps);

    std::printf("%9d lines %-13s keystroke %7.2f us   caret move %7.2f us\n", lines,
                std::string(EncodingName(encoding)).c_str(), perKey, perMove);
    ed.SetHighlighter(nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    const int steps = argc > 1 ? std::atoi(argv[1]) : 20000;
    for (int lines : {10000, 1000000})
        for (TOstEncoding encoding : {TOstEncoding::Utf8, TOstEncoding::Windows1250})
            Run(lines, steps, encoding);
    return 0;
}
