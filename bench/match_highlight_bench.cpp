// What one keystroke in the find bar costs on a document of 1,000,000 lines:
// finding the next match from the caret, painting a 120 x 50 screen with
// every match in view highlighted (against the same screen without), and,
// apart from the keystroke, counting every match of the document, which the
// bar does in slices from the event loop.

#include <benchmark/benchmark.h>

#include <string>

#include "editor/OstEdit.h"
#include "editor/OstEditSearch.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/RecordingCanvas.h"

namespace {

using namespace ostrel;

constexpr int kLines = 1'000'000;

struct Document {
    TOstHTMLHighlighter html;
    TOstEdit editor;
    TOstEditSearch search;
    TOstEditSearch highlight;

    Document()
    {
        std::string text;
        text.reserve(static_cast<size_t>(kLines) * 64);
        for (int i = 0; i < kLines; ++i)
            text += "<tr><td>wiersz " + std::to_string(i) + "</td><td>żółw i kot, kot</td></tr>\r\n";
        editor.Lines().LoadFromBytes(text);
        editor.SetHighlighter(&html);
        editor.SetSearchEngine(&search);
        editor.SetClientSize(editor.GutterWidth() + 2 + 120 * editor.CharWidth(), 50 * editor.LineHeight());
        editor.SetTopLine(kLines / 2);
        editor.SetCaretXY({1, kLines / 2});
        highlight.SetPattern("kot");
        highlight.SetOptions(0);
    }
    ~Document() { editor.SetHighlighter(nullptr); }
    TRect Client() const { return {0, 0, editor.ClientWidth(), editor.ClientHeight()}; }
};

Document& Doc()
{
    static Document document;
    return document;
}

void BM_FindNextFromTheCaret(benchmark::State& state)
{
    Document& d = Doc();
    for (auto _ : state) {
        d.editor.SetCaretXY({1, kLines / 2});
        benchmark::DoNotOptimize(d.editor.SearchReplace("kot", "", 0));
    }
}
BENCHMARK(BM_FindNextFromTheCaret)->Unit(benchmark::kMicrosecond);

void BM_PaintScreen(benchmark::State& state)
{
    Document& d = Doc();
    d.editor.SetMatchHighlight(state.range(0) ? &d.highlight : nullptr);
    FixedMetricsCanvas canvas;
    for (auto _ : state)
        d.editor.Paint(canvas, d.Client());
    d.editor.SetMatchHighlight(nullptr);
    state.SetLabel(state.range(0) ? "every match highlighted" : "no highlighting");
}
BENCHMARK(BM_PaintScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CountEveryMatch(benchmark::State& state)
{
    Document& d = Doc();
    TOstEditSearch counter;
    counter.SetPattern("kot");
    counter.SetOptions(0);
    for (auto _ : state) {
        long count = 0;
        for (int i = 0; i < d.editor.Lines().Count(); ++i)
            count += counter.FindAll(d.editor.Lines().Get(i));
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_CountEveryMatch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
