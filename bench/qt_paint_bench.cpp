// One screen of highlighted HTML, 120 columns by 50 rows, painted through the
// real Qt canvas into an image: the page in UTF-8 with Polish letters (and a
// few characters of other scripts), beside the same page in Windows-1250.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <string>

#include "app/qt/QtCanvas.h"
#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterHtml.h"

namespace {

using namespace ostrel;

constexpr int kColumns = 120;
constexpr int kRows = 50;

std::string PageText(bool otherScripts)
{
    const char* templates[] = {
        "<tr><td class=\"name\">Herbata zielona — żółta łąka</td><td align=right>12,50&nbsp;zł</td></tr>",
        "  <a href=\"katalog.php?id=12&amp;sort=cena\" title='Katalog'>Zobacz więcej &raquo;</a>",
        "<p>Zażółć gęślą jaźń, źródło świętości — pchnąć w tę łódź jeża lub ośm skrzyń fig.</p>",
        "<!-- ============ sekcja stopki ============ -->",
        "\t<input type=\"text\" name=\"ilość\" size=3 value=\"1\" onchange=\"przelicz(this.form)\">",
        "<div id=\"treść\" style=\"margin: 0 auto; width: 760px\">",
        "<h2>Nowości</h2><ul><li>Yunnan &amp; Assam</li><li>Earl Grey &copy; 2003</li></ul>",
        "<!-- komentarz",
        "     w dwóch liniach -->",
        "",
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, std::size(templates) - 1);
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += templates[pick(rng)];
        if (otherScripts && i % 7 == 0)
            text += " <span lang=\"ru\">Здравствуйте</span> <span lang=\"ja\">日本語</span> e\xCC\x81";
        text += "\r\n";
    }
    return text;
}

QGuiApplication& App()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_paint_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* const app = new QGuiApplication(argc, argv);
    return *app;
}

void PaintScreen(benchmark::State& state, TOstEncoding encoding, bool otherScripts)
{
    App();
    std::string text = PageText(otherScripts);
    if (encoding != TOstEncoding::Utf8) {
        std::string converted;
        FromUtf8(text, encoding, converted);
        text = std::move(converted);
    }
    TOstHTMLHighlighter html;
    TOstEdit editor;
    QtCanvas measuring;
    editor.SetMeasuringCanvas(&measuring);
    TOstFont font = editor.Font();
    font.Name = "Liberation Mono";
    editor.SetFont(font);
    editor.Lines().LoadFromBytes(text, TOstEncodingChoice{encoding});
    editor.SetHighlighter(&html);
    editor.SetClientSize(editor.GutterWidth() + 2 + kColumns * editor.CharWidth(), kRows * editor.LineHeight());
    editor.SetTopLine(100);
    editor.SetBlockBegin({10, 110});
    editor.SetBlockEnd({30, 120});
    QImage image(editor.ClientWidth(), editor.ClientHeight(), QImage::Format_RGB32);
    const TRect client{0, 0, editor.ClientWidth(), editor.ClientHeight()};
    for (auto _ : state) {
        QPainter painter(&image);
        QtCanvas canvas(&painter, &image);
        editor.Paint(canvas, client);
    }
    editor.SetHighlighter(nullptr);
    editor.SetMeasuringCanvas(nullptr);
    state.counters["cells"] = editor.CharsInWindow() * editor.LinesInWindow();
}

void BM_QtPaintUtf8Polish(benchmark::State& state) { PaintScreen(state, TOstEncoding::Utf8, false); }
void BM_QtPaintUtf8OtherScripts(benchmark::State& state) { PaintScreen(state, TOstEncoding::Utf8, true); }
void BM_QtPaintWindows1250(benchmark::State& state) { PaintScreen(state, TOstEncoding::Windows1250, false); }
BENCHMARK(BM_QtPaintUtf8Polish)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPaintUtf8OtherScripts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPaintWindows1250)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
