// Word wrap against document size: wrapping a whole document when wrapping
// is switched on, and the cost of one keystroke in a wrapped document of
// 10,000 and of 1,000,000 lines: typed characters that push words onto the
// next row, Enter and the Backspace that joins the lines again, through the
// editor (with wrapping off too, for comparison) and for the row map alone.
// The keystroke must not cost more in the larger document.
//
// Usage: word_wrap_bench [KEYSTROKES]   (default 20000)

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/OstEdit.h"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kColumns = 80;

// Two short lines, then a paragraph of words that wraps onto three rows.
std::string MakeDocument(int lines)
{
    std::string doc;
    doc.reserve(static_cast<size_t>(lines) * 100);
    for (int i = 0; i < lines; ++i) {
        if (i % 3 == 2) {
            for (int w = 0; w < 36; ++w)
                doc += "word" + std::to_string(w % 10) + " ";
        } else {
            doc += "Line of plain text number " + std::to_string(i);
        }
        doc += "\r\n";
    }
    return doc;
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double MicrosecondsPer(Clock::time_point start, int count)
{
    return Seconds(start) * 1e6 / count;
}

void SetUp(TOstEdit& ed, int lines)
{
    TOstEditorOptions options = TCustomOstEdit::DefaultOptions();
    options.exclude(eoGroupUndo);
    ed.SetOptions(options);
    ed.SetMaxUndo(0);  // the undo list is not what is measured
    ed.SetClientSize(2 + kColumns * ed.CharWidth(), 40 * ed.LineHeight());
    ed.Lines().LoadFromBytes(MakeDocument(lines));
}

// Keystrokes through the editor: the whole path a typed key takes.
void EditorKeystrokes(int lines, int keys, bool wrap)
{
    TOstEdit ed;
    SetUp(ed, lines);
    const auto wrapping = Clock::now();
    ed.SetWordWrap(wrap);
    const double wrapSeconds = Seconds(wrapping);

    // Typing at the start of a wrapped paragraph in the middle: every few
    // characters a word moves to the next row and the rows below move.
    const int middle = lines / 2 - (lines / 2) % 3 + 3;
    ed.SetCaretXY({1, middle});
    const auto typing = Clock::now();
    for (int i = 0; i < keys; ++i) {
        ed.CommandProcessor(ecChar, i % 6 == 5 ? ' ' : static_cast<char>('a' + i % 26));
        if (i % 200 == 199) {  // keep the line from growing without end
            ed.SetCaretXY({1, middle});
            for (int k = 0; k < 200; ++k)
                ed.CommandProcessor(ecDeleteChar, 0);
        }
    }
    const double perChar = MicrosecondsPer(typing, keys + keys / 200 * 200);

    // Line breaks move every line record of the buffer after them; fewer do.
    const int breaks = std::min(keys / 2, 200);
    const auto breaking = Clock::now();
    for (int i = 0; i < breaks; ++i) {
        ed.SetCaretXY({20, middle});
        ed.CommandProcessor(ecLineBreak, 0);
        ed.CommandProcessor(ecDeleteLastChar, 0);
    }
    const double perBreak = MicrosecondsPer(breaking, 2 * breaks);

    std::printf("%9d lines  %8d rows  wrap all %8.1f ms  typed char %6.2f us  Enter or Backspace %8.2f us%s\n",
                lines, ed.DisplayLineCount(), wrapSeconds * 1e3, perChar, perBreak, wrap ? "" : "  (no wrap)");
}

// The row map alone, its own instance beside an editor that does not wrap:
// a line re-wrapped to more and fewer rows, a line inserted and deleted,
// each followed by the question painting asks (the row of a line below).
// The buffer gets and loses its line at its end, so that moving a million
// line records does not flush the caches between the timed calls; the map
// still takes the line in the middle.
void MapAlone(int lines, int keys)
{
    TOstEdit ed;
    SetUp(ed, lines);
    TOstWordWrapPlugin map(&ed);
    const int middle = lines / 2;
    const std::string longLine(300, 'x');
    const std::string shortLine = "short";
    TOstEditStringList& buffer = ed.Lines();

    double changeSeconds = 0;
    long long sink = 0;
    for (int i = 0; i < keys; ++i) {
        buffer.SetLine(middle, i % 2 ? longLine : shortLine);
        const auto start = Clock::now();
        map.LinesChanged(middle, 1);
        sink += map.LineToRow(middle + 40);
        changeSeconds += Seconds(start);
    }
    double insertSeconds = 0;
    for (int i = 0; i < keys; ++i) {
        buffer.AddLine(longLine);
        auto start = Clock::now();
        map.LinesInserted(middle, 1);
        sink += map.LineToRow(middle + 40);
        insertSeconds += Seconds(start);
        buffer.RemoveLine(buffer.Count() - 1);
        start = Clock::now();
        map.LinesDeleted(middle, 1);
        sink += map.LineToRow(middle + 40);
        insertSeconds += Seconds(start);
    }
    std::printf("%9d lines  row map: re-wrapped line %6.3f us  line inserted+deleted %6.3f us  (%lld)\n", lines,
                changeSeconds * 1e6 / keys, insertSeconds * 1e6 / keys, sink % 10);
}

}  // namespace

int main(int argc, char** argv)
{
    const int keys = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    std::printf("word wrap at %d columns, %d keystrokes each\n", kColumns, keys);
    for (int lines : {10000, 1000000}) {
        EditorKeystrokes(lines, keys, true);
        EditorKeystrokes(lines, keys, false);
    }
    for (int lines : {10000, 1000000})
        MapAlone(lines, keys);
    return 0;
}
