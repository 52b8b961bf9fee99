// Painting one full screen of highlighted HTML, 120 columns by 50 rows, with
// a selection across part of it: on a canvas that draws nothing (the
// painter's own cost) and on the recording canvas (plus keeping every call).

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/RecordingCanvas.h"

namespace {

using namespace ostrel;

constexpr int kColumns = 120;
constexpr int kRows = 50;

std::string PageText()
{
    const char* templates[] = {
        "<tr><td class=\"name\">Herbata zielona Sencha</td><td align=right>12,50&nbsp;z&#322;</td></tr>",
        "  <a href=\"katalog.php?id=12&amp;sort=cena\" title='Katalog'>Zobacz wi&#281;cej &raquo;</a>",
        "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit &mdash; sed do eiusmod tempor incididunt ut labore.</p>",
        "<!-- ============ sekcja stopki ============ -->",
        "\t<input type=\"text\" name=\"qty\" size=3 value=\"1\" onchange=\"recalc(this.form)\">",
        "<div id=\"content\" style=\"margin: 0 auto; width: 760px\">",
        "<img src=\"img/logo.gif\" width=120 height=60 alt=\"Logo sklepu\" border=0>",
        "<h2>Nowo&#347;ci</h2><ul><li>Yunnan &amp; Assam</li><li>Earl Grey &copy; 2003</li></ul>",
        "<table width=\"100%\" border=\"0\" cellpadding=\"4\" cellspacing=\"0\" bgcolor=\"#FFFFFF\">",
        "<!-- komentarz",
        "     w dw\xF3" "ch liniach -->",
        "",
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, std::size(templates) - 1);
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += templates[pick(rng)];
        text += "\r\n";
    }
    return text;
}

struct Screen {
    TOstHTMLHighlighter html;
    TOstEdit editor;

    explicit Screen(bool specialChars)
    {
        editor.SetText(PageText());
        editor.SetHighlighter(&html);
        editor.SetClientSize(editor.GutterWidth() + 2 + kColumns * editor.CharWidth(), kRows * editor.LineHeight());
        editor.SetOption(eoShowSpecialChars, specialChars);
        editor.SetRightEdge(80);
        editor.SetTopLine(100);
        editor.SetBlockBegin({10, 110});
        editor.SetBlockEnd({30, 120});
    }
    ~Screen() { editor.SetHighlighter(nullptr); }
    TRect Client() const { return {0, 0, editor.ClientWidth(), editor.ClientHeight()}; }
};

void BM_PaintScreenNullCanvas(benchmark::State& state)
{
    Screen screen(state.range(0) != 0);
    FixedMetricsCanvas canvas;
    for (auto _ : state)
        screen.editor.Paint(canvas, screen.Client());
    state.SetLabel(state.range(0) ? "special characters shown" : "plain");
    state.counters["cells"] = screen.editor.CharsInWindow() * screen.editor.LinesInWindow();
}
BENCHMARK(BM_PaintScreenNullCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PaintScreenRecording(benchmark::State& state)
{
    Screen screen(false);
    RecordingCanvas canvas;
    size_t calls = 0;
    for (auto _ : state) {
        canvas.Clear();
        screen.editor.Paint(canvas, screen.Client());
        calls = canvas.Ops().size();
    }
    state.counters["canvas_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_PaintScreenRecording)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
