// Throughput of the RTF export of a large highlighted HTML page (the
// exporter lexing every line itself, as the menu command does), and of the
// Polish recodings over 100 MB of text: on the string alone and on a
// document's lines, joined and split again.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "editor/OstEditTextBuffer.h"
#include "editor/OstPolishRecode.h"
#include "highlighters/OstHighlighterHtml.h"
#include "print/OstExportRTF.h"

namespace {

// A page of about `bytes` bytes: tags, attributes, entities, comments over
// lines, inline script with braces, and Polish text in Windows-1250.
std::string HtmlPage(size_t bytes)
{
    static const char* const kLines[] = {
        "<tr><td class=\"nazwa\">Zestaw \xBF\xF3\xB3tych herbat</td><td align=right>24,90&nbsp;z&#322;</td></tr>",
        "  <a href=\"sklep.php?kat=3&amp;str=2\" title='Dalej'>Nast\xEApna strona &raquo;</a>",
        "<p>Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 &mdash; pr\xF3" "bka polskich liter w akapicie.</p>",
        "<script>function licz(f) { var s = {a: 1, b: 2}; return f.ilosc.value * 2; }</script>",
        "<!-- pocz\xB9tek komentarza",
        "     ko\xF1" "czy si\xEA tutaj -->",
        "\t<input type=\"text\" name=\"ilosc\" size=3 value=\"1\" onchange=\"licz(this.form)\">",
        "<div id=\"tresc\" style=\"margin: 0 auto; width: 760px; color: #333333\">",
        "<table width=\"100%\" border=\"0\" cellpadding=\"4\" cellspacing=\"0\">",
        "",
        "</table></div>",
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, std::size(kLines) - 1);
    std::string page;
    page.reserve(bytes + 256);
    while (page.size() < bytes) {
        page += kLines[pick(rng)];
        page += "\r\n";
    }
    return page;
}

void BM_RtfExportHtml(benchmark::State& state)
{
    ostrel::TOstEditStringList lines;
    lines.LoadFromBytes(HtmlPage(32u << 20));
    const int64_t bytes = static_cast<int64_t>(lines.Text().size());
    ostrel::TOstHTMLHighlighter html;
    ostrel::TOstExporterRTF rtf;
    ostrel::ApplyMainWindowExportSettings(rtf);
    rtf.SetHighlighter(&html);
    for (auto _ : state) {
        if (!rtf.ExportLines(lines))
            state.SkipWithError("export refused");
        benchmark::DoNotOptimize(rtf.Output().data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rtf_bytes"] = static_cast<double>(rtf.Output().size());
}
BENCHMARK(BM_RtfExportHtml)->Unit(benchmark::kMillisecond);

constexpr size_t kRecodeBytes = 100u << 20;

void BM_RecodeText(benchmark::State& state)
{
    const auto recoding = static_cast<ostrel::TOstPolishRecoding>(state.range(0));
    std::string text = HtmlPage(kRecodeBytes);
    for (auto _ : state) {
        ostrel::RecodeText(text, recoding);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_RecodeText)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// Joining, recoding and splitting the lines of a 100 MB document, as the
// menu command and recode-before-save do.
void BM_RecodeLines(benchmark::State& state)
{
    ostrel::TOstEditStringList lines;
    lines.LoadFromBytes(HtmlPage(kRecodeBytes));
    const int64_t bytes = static_cast<int64_t>(lines.Text().size());
    for (auto _ : state)
        ostrel::RecodeLines(lines, ostrel::TOstPolishRecoding::ToIso);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_RecodeLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
