// Pagination of the print job without drawing: a highlighted file laid out
// on pages (rows, wrapping, page breaks, header and footer measured) on a
// canvas of fixed metrics, the line states once and then from the job's
// cache. Plain timed program; bench/print_bench.sh runs it beside the PDF
// figures.
// Usage: print_layout_bench FILE [LANG] [RUNS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterFactory.h"
#include "platform/RecordingCanvas.h"
#include "print/OstEditPrint.h"

using namespace ostrel;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: print_layout_bench FILE [LANG] [RUNS]\n");
        return 2;
    }
    const std::string language = argc > 2 ? argv[2] : "php";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    TOstEditStringList lines;
    lines.LoadFromFile(argv[1]);
    const auto highlighter = CreateHighlighter(language);

    TOstEditPrint print;
    print.SetHighlighter(highlighter.get());
    print.LineNumbers = true;
    print.Wrap = true;
    print.Header().Add("Strona $PAGENUM$ z $PAGECOUNT$", nullptr, taLeftJustify, 1);
    print.Footer().Add("$TITLE$", nullptr, taLeftJustify, 1);
    FixedMetricsCanvas canvas;

    double withStates = 1e9;
    double pagesOnly = 1e9;
    for (int run = 0; run < runs; ++run) {
        print.SetLines(lines);  // the line states must be scanned again
        Clock::time_point start = Clock::now();
        print.LayoutPages(canvas);
        withStates = std::min(withStates, Seconds(start));
        start = Clock::now();
        print.LayoutPages(canvas);
        pagesOnly = std::min(pagesOnly, Seconds(start));
    }
    const int pages = print.PageCount();
    std::printf("layout of %d lines: %d pages\n", lines.Count(), pages);
    std::printf("  with the line-state scan: %8.2f ms  %10.0f pages/s\n", withStates * 1e3, pages / withStates);
    std::printf("  pagination alone:         %8.2f ms  %10.0f pages/s\n", pagesOnly * 1e3, pages / pagesOnly);
    return 0;
}
