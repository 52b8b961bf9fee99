// Lexing throughput of the HTML lexer over a large generated page: every
// token with its kind and attribute, lines fed as the editor feeds them (each
// from the state the line above left), no output formatting.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/LexerBench.h"
#include "highlighters/OstHighlighterHtml.h"

namespace {

// About 8 MB of varied, realistic HTML lines.
const std::vector<std::string>& PageLines()
{
    static const std::vector<std::string> lines = [] {
        const std::vector<std::string> templates = {
            "<tr><td class=\"name\">Herbata zielona Sencha</td><td align=right>12,50&nbsp;z&#322;</td></tr>",
            "  <a href=\"katalog.php?id=12&amp;sort=cena\" title='Katalog'>Zobacz wi&#281;cej &raquo;</a>",
            "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit &mdash; sed do eiusmod tempor.</p>",
            "<!-- ============ sekcja stopki ============ -->",
            "\t<input type=\"text\" name=\"qty\" size=3 value=\"1\" onchange=\"recalc(this.form)\">",
            "<div id=\"content\" style=\"margin: 0 auto; width: 760px\">",
            "    function check(f) { if (f.qty.value < 1) return false; return true; }",
            "<img src=\"img/logo.gif\" width=120 height=60 alt=\"Logo sklepu\" border=0>",
            "<h2>Nowo&#347;ci</h2><ul><li>Yunnan &amp; Assam</li><li>Earl Grey &copy; 2003</li></ul>",
            "<table width=\"100%\" border=\"0\" cellpadding=\"4\" cellspacing=\"0\" bgcolor=\"#FFFFFF\">",
            "<!-- komentarz",
            "     w dw\xF3" "ch liniach -->",
            "<select name=\"wysylka\"><option value=\"poczta\" selected>Poczta</option></select>",
            "",
            "</table></div></body></html>",
        };
        std::mt19937 rng(42);
        std::uniform_int_distribution<size_t> pick(0, templates.size() - 1);
        std::vector<std::string> out;
        size_t bytes = 0;
        while (bytes < 8u << 20) {
            out.push_back(templates[pick(rng)]);
            bytes += out.back().size() + 1;
        }
        return out;
    }();
    return lines;
}

void BM_HtmlLexing(benchmark::State& state)
{
    const auto& lines = PageLines();
    ostrel::TOstHTMLHighlighter hl;
    ostrel::bench::LexLines(state, hl, lines);
}
BENCHMARK(BM_HtmlLexing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
