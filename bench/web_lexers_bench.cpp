// Lexing throughput of the PHP, CSS, JavaScript and XML lexers over large
// generated files of realistic lines: every token with its kind and
// attribute, lines fed as the editor feeds them (each from the state the line
// above left), no output formatting.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/LexerBench.h"
#include "highlighters/OstHighlighterCSS.h"
#include "highlighters/OstHighlighterJScript.h"
#include "highlighters/OstHighlighterPHP.h"
#include "highlighters/OstHighlighterXML.h"

namespace {

const std::vector<std::string> kPhpLines = {
    "<?php",
    "/* Ksi\xEAga go\x9C" "ci: zapis i odczyt wpis\xF3w",
    "   z pliku tekstowego, wersja 1.2 */",
    "function zapiszWpis($autor, $tresc, $maks = 25)",
    "{",
    "    global $PLIK_WPISOW;  # plik z danymi",
    "    $linia = date('Y-m-d H:i') . \"|$autor|\" . oczysc($tresc) . \"\\n\";",
    "    if (!$f = @fopen($PLIK_WPISOW, 'a')) die(\"Nie mog\xEA otworzy\xE6 {$_SERVER['DOCUMENT_ROOT']}/dane\");",
    "    for ($i = 0; $i < count($wpisy) && $i <= $maks; $i++) { $suma += $wpisy[$i]->cena * 1.22; }",
    "    echo \"<p>Wpis $wpisy[0] od $this->autor, razem $suma z\xB3</p>\";",
    "    $x <<= 2; $y = $x >> 1; $z = 0x1F + 10 % 3; // przesuni\xEA" "cia",
    "    return array('autor' => $autor, 'tresc' => strip_tags($tresc), 'ok' => TRUE);",
    "}",
    "",
    "$opis = 'Ten tekst ma \\'apostrofy\\' i uko\x9Cnik \\\\';",
};

const std::vector<std::string> kCssLines = {
    "/* Arkusz styl\xF3w sklepu, wersja 2.1 */",
    "body {",
    "\tfont-family: Tahoma, Verdana, Arial, Helvetica, sans-serif;",
    "\tfont-size: 8pt; margin: 0px; padding: 0px;",
    "\tbackground: #FFFFFF url(\"img/tlo.gif\") repeat-x;",
    "}",
    "H1, H2, H3 { font-family: Georgia, \"Times New Roman\", serif; color: #000099; }",
    "a:link, a:visited { color: #0033CC; text-decoration: none }",
    "#naglowek { height: 60px; border-bottom: 1px solid #999999; background-color: #E8EEF4; }",
    "#menu ul li { display: inline; list-style-type: none; padding: 0 10px 0 10px; }",
    ".cena { font-weight: bold; color: #990000; white-space: nowrap; made-up-property: 1 }",
    "table.produkty td { border-top: 1px dotted #CCCCCC; vertical-align: top; z-index: 2 }",
    "/* komentarz",
    "   w dw\xF3" "ch liniach */",
    "",
};

const std::vector<std::string> kJsLines = {
    "// Rozwijane menu i sprawdzanie formularza zam\xF3wienia",
    "function pokazMenu(id)",
    "{",
    "    if (zegar) { clearTimeout(zegar); zegar = 0; }",
    "    var m = isNS4 ? document.layers[id] : document.getElementById(id);",
    "    if (isNS4) m.visibility = \"show\"; else m.style.visibility = 'visible';",
    "    zegar = setTimeout(\"schowaj('\" + id + \"')\", opoznienie);",
    "    if (f.email.value.indexOf('@') == -1) bledy[bledy.length] = 'Niepoprawny adres e-mail';",
    "    f.suma.value = Math.round(ilosc * 12.5 * 100) / 100 + 0x1F;",
    "    return confirm('Wys\xB3" "a\xE6 zam\xF3wienie?');",
    "}",
    "window.onLoad = function () { pokazMenu(\"menu1\"); };",
    "/* Sprawdza pola formularza przed wys\xB3" "aniem.",
    "   Zwraca false, gdy czego\x9C brakuje. */",
    "",
};

const std::vector<std::string> kXmlLines = {
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>",
    "<katalog xmlns=\"http://example.com/katalog\" xmlns:cena='http://example.com/ceny' wersja=\"2\">",
    "  <produkt id=\"p1\" kategoria='zielona'>",
    "    <nazwa>Sencha &amp; Bancha, herbata zielona z Japonii</nazwa>",
    "    <cena:brutto waluta=\"PLN\">12,50</cena:brutto>",
    "    <opis><![CDATA[Herbata <b>zielona</b> z Japonii,",
    "      parzy\xE6 w 80&deg;C przez 2 minuty.]]></opis>",
    "    <dostawca nazwa=\"&firma;\" kraj='Polska &amp; Czechy'/>",
    "  </produkt>",
    "<!-- Katalog produkt\xF3w",
    "     eksport z bazy, 2003-12-05 -->",
    "    <nazwa>Assam &#x26; Darjeeling</nazwa><pusty/>",
    "    <?przetwarzanie instrukcja=\"tak\" ?>",
    "",
    "</katalog>",
};

// About 8 MB of lines picked from the templates. Multi-line constructs stay
// well formed often enough, and the lexers must cope when they do not.
std::vector<std::string> DocumentOf(const std::vector<std::string>& templates, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<size_t> pick(0, templates.size() - 1);
    std::vector<std::string> out;
    size_t bytes = 0;
    while (bytes < 8u << 20) {
        out.push_back(templates[pick(rng)]);
        bytes += out.back().size() + 1;
    }
    return out;
}

template <class Lexer>
void LexDocument(benchmark::State& state, const std::vector<std::string>& templates)
{
    const std::vector<std::string> lines = DocumentOf(templates, 42);
    Lexer hl;
    ostrel::bench::LexLines(state, hl, lines);
}

void BM_PhpLexing(benchmark::State& state) { LexDocument<ostrel::TOstPHPHighlighter>(state, kPhpLines); }
void BM_CssLexing(benchmark::State& state) { LexDocument<ostrel::TOstCssHighlighter>(state, kCssLines); }
void BM_JsLexing(benchmark::State& state) { LexDocument<ostrel::TOstJScriptHighlighter>(state, kJsLines); }
void BM_XmlLexing(benchmark::State& state) { LexDocument<ostrel::TOstXMLHighlighter>(state, kXmlLines); }

BENCHMARK(BM_PhpLexing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CssLexing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsLexing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlLexing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
