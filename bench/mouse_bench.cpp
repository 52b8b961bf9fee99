// Mouse cost against buffer size: selecting by dragging over the window,
// scroll-timer ticks beyond its bottom, and dragging a selection of ten lines
// to another place with the undo of that move, on buffers of 10,000 and
// 1,000,000 lines, with and without word wrap. Moves and ticks must not grow
// with the number of lines; a drop removes and inserts lines, which costs
// what a paste of as many lines costs in the buffer.
//
// Usage: mouse_bench [REPEATS]   (default 2000)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/OstEdit.h"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCols = 80;
constexpr int kRows = 40;

std::string MakeDocument(int lines)
{
    std::string doc;
    doc.reserve(static_cast<size_t>(lines) * 120);
    for (int i = 0; i < lines; ++i)
        doc += "Line of plain text number " + std::to_string(i) +
               ", long enough to wrap on a window eighty cells wide when wrapping is on\r\n";
    return doc;
}

double MicrosecondsPer(Clock::time_point start, int count)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void Setup(TOstEdit& ed, int lines, bool wrap)
{
    ed.Lines().LoadFromBytes(MakeDocument(lines));
    ed.SetClientSize(ed.GutterWidth() + 2 + kCols * ed.CharWidth(), kRows * ed.LineHeight());
    ed.SetWordWrap(wrap);
    ed.SetCaretXY({1, lines / 2});
    ed.SetTopLine(ed.LineToRow(lines / 2));
}

double DragSelecting(TOstEdit& ed, int repeats)
{
    const int cw = ed.CharWidth();
    const int lh = ed.LineHeight();
    const int left = ed.TextOffset();
    ed.MouseDown(mbLeft, 0, left + cw / 2, lh / 2);
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i)
        ed.MouseMove(0, left + (i % kCols) * cw, (i % kRows) * lh + lh / 2);
    const double per = MicrosecondsPer(start, repeats);
    ed.MouseUp(mbLeft, 0, 2, lh / 2);
    return per;
}

double ScrollTicks(TOstEdit& ed, int repeats)
{
    const int lh = ed.LineHeight();
    const int left = ed.TextOffset();
    ed.MouseDown(mbLeft, 0, left, lh / 2);
    ed.MouseMove(0, left, kRows * lh + 1);
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i)
        ed.ScrollTimerTick();
    const double per = MicrosecondsPer(start, repeats);
    ed.MouseUp(mbLeft, 0, 2, lh / 2);
    return per;
}

// Ten lines dragged three lines down and put back by undo, repeats times.
void DropAndUndo(TOstEdit& ed, int repeats, double& perDrop, double& perUndo)
{
    const int lh = ed.LineHeight();
    double dropping = 0;
    double undoing = 0;
    for (int i = 0; i < repeats; ++i) {
        const int top = ed.TopLine();
        ed.SetCaretXY({1, ed.RowToLine(top)});
        ed.SetBlockBegin({1, ed.RowToLine(top)});
        ed.SetBlockEnd({1, ed.RowToLine(top) + 10});
        auto start = Clock::now();
        ed.DragDrop(ed, 0, ed.TextOffset(), (kRows - 2) * lh + lh / 2);
        dropping += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        start = Clock::now();
        ed.Undo();
        undoing += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        ed.SetTopLine(top);
    }
    perDrop = dropping / repeats;
    perUndo = undoing / repeats;
}

void Run(int lines, bool wrap, int repeats)
{
    TOstEdit ed;
    Setup(ed, lines, wrap);
    const double select = DragSelecting(ed, repeats);
    const double tick = ScrollTicks(ed, repeats);
    double drop = 0;
    double undo = 0;
    DropAndUndo(ed, repeats / 10, drop, undo);
    std::printf("%9d lines %-9s  drag-select move %7.2f us  scroll tick %7.2f us  drop 10 lines %8.2f us  undo %8.2f us\n",
                lines, wrap ? "wrapped" : "unwrapped", select, tick, drop, undo);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::max(std::atoi(argv[1]), 10) : 2000;
    for (int lines : {10000, 1000000})
        for (bool wrap : {false, true})
            Run(lines, wrap, repeats);
    return 0;
}
