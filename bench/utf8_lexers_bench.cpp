// Lexing throughput of all eleven lexers over the same Polish text in
// Windows-1250 and in UTF-8, in one run: about 8 MB per language of realistic
// lines with Polish identifiers, strings and comments, every token with its
// kind and attribute, lines fed as the editor feeds them (each from the
// state the line above left). The figures are bytes of each form per second.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/LexerBench.h"
#include "highlighters/OstHighlighterFactory.h"
#include "platform/CodePage.h"

namespace {

using namespace ostrel;

struct Language {
    const char* name;
    std::vector<std::string> lines;  // UTF-8
};

// Per language a few lines in its own syntax; most carry Polish letters.
const std::vector<Language>& SampleLanguages()
{
    static const std::vector<Language> all = {
        {"cpp",
         {"// Zażółć gęślą jaźń: liczenie wpisów", "int łączna_suma = 0, ilość_wpisów = 0;",
          "for (int i = 0; i < ilość_wpisów; ++i) { łączna_suma += wpisy[i].wartość * 2; }",
          "const char* komunikat = \"Błąd: nie można otworzyć pliku\";", "#define MAKS_DŁUGOŚĆ 255",
          "/* komentarz na wiele wierszy, źródło: dział sprzedaży */ return łączna_suma;"}},
        {"pas",
         {"{ Moduł liczący zamówienia }", "procedure TFormGłówny.PrzyciskKliknięty(Sender: TObject);",
          "var Łącznie: Integer; Źródło: string;", "begin Łącznie := Łącznie + Pozycja.Ilość; end;",
          "  Komunikat := 'Zamówienie przyjęte: ' + IntToStr(Łącznie); // gotowe"}},
        {"java",
         {"/** Kolejka zamówień czekających na magazyn. */", "public final class KolejkaZamówień {",
          "    private long łącznyCzas = 0L; // milisekundy", "    String opis = \"Zażółć gęślą jaźń\";",
          "    int wartość(int ilość) { return ilość * CENA_ZŁ + 0x1F; }"}},
        {"sql",
         {"-- Miesięczny raport zamówień", "select z.id, k.nazwisko, z.kwota * 1.23 as brutto_zł",
          "  from zamówienia z, klienci k where k.miasto = 'Łódź' and z.stan <> 'anulowane'",
          "insert into towary values (7, 'Herbata żółta', 12.50); /* źródło: cennik */"}},
        {"vbs",
         {"' Skrypt kopii zapasowej", "Dim źródło, ścieżkaCelu, łącznie", "Set fso = CreateObject(\"Scripting.FileSystemObject\")",
          "If łącznie > 10 Then MsgBox \"Skopiowano pliki: \" & łącznie", "For Each plik In folder.Files: łącznie = łącznie + 1: Next"}},
        {"perl",
         {"# Liczenie słów w pliku", "my %ilość = (); my $łącznie = 0;", "while (my $wiersz = <WEJŚCIE>) { $łącznie++; }",
          "print \"Słów: $łącznie, źródło: $ARGV[0]\\n\" if $łącznie > 0;", "sub wartość { return $_[0] * 2; }"}},
        {"php",
         {"<?php", "/* Księga gości: zapis i odczyt wpisów */", "function zapiszWpis($autor, $treść, $maks = 25)",
          "    $linia = date('Y-m-d') . \"|$autor|\" . oczyść($treść) . \"\\n\"; // zapis",
          "    echo \"<p>Wpis od $autor, razem $suma zł</p>\";", "?>"}},
        {"js",
         {"// Pokaz slajdów na stronie głównej", "function następnySlajd(numer) { var źródło = obrazy[numer];",
          "  document.getElementById('opis').innerHTML = \"Zdjęcie \" + numer + \" z \" + łącznie; }",
          "/* czas przejścia w milisekundach */ var opóźnienie = 3000;"}},
        {"html",
         {"<tr><td class=\"nazwa\">Zestaw żółtych herbat</td><td align=right>24,90&nbsp;zł</td></tr>",
          "  <a href=\"sklep.php?kat=3&amp;str=2\" title='Dalej'>Następna strona &raquo;</a>",
          "<p>Zażółć gęślą jaźń &mdash; próbka polskich liter w akapicie.</p>", "<!-- początek komentarza",
          "     kończy się tutaj -->", "<div id=\"treść\" style=\"margin: 0 auto; color: #333333\">"}},
        {"css",
         {"/* Układ strony: nagłówek i stopka */", "#nagłówek, .menu-główne { font-family: Tahoma; color: #336699 }",
          "div.treść p { margin: 0 0 1em 0; line-height: 1.4; content: \"źródło\" }", "td.cena { text-align: right; width: 80px; }"}},
        {"xml",
         {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<katalog wydawca=\"Księgarnia Żak\">",
          "  <książka id=\"k1\" język=\"pl\"><tytuł>Pan Tadeusz</tytuł><cena waluta=\"zł\">39,90</cena></książka>",
          "  <!-- pozycje zamówione w tym miesiącu -->", "  <opis><![CDATA[Zażółć gęślą jaźń & inne]]></opis>", "</katalog>"}},
    };
    return all;
}

// About 8 MB of the language's lines in random order.
std::vector<std::string> DocumentOf(const std::vector<std::string>& lines, bool utf8)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<size_t> pick(0, lines.size() - 1);
    std::vector<std::string> out;
    size_t bytes = 0;
    while (bytes < 8u << 20) {
        const std::string& line = lines[pick(rng)];
        out.push_back(utf8 ? line : codepage::FromUtf8(line));
        bytes += out.back().size() + 1;
    }
    return out;
}

void LexAll(benchmark::State& state, TOstCustomHighlighter& hl, const std::vector<std::string>& lines, bool utf8)
{
    hl.SetUtf8Text(utf8);
    bench::LexLines(state, hl, lines);
}

}  // namespace

int main(int argc, char** argv)
{
    for (const Language& language : SampleLanguages()) {
        for (const bool utf8 : {false, true}) {
            const auto lines = std::make_shared<const std::vector<std::string>>(DocumentOf(language.lines, utf8));
            const std::string name = std::string("BM_Lexing/") + language.name + (utf8 ? "/utf-8" : "/windows-1250");
            const std::string lang = language.name;
            benchmark::RegisterBenchmark(name.c_str(), [lines, lang, utf8](benchmark::State& state) {
                const auto hl = CreateHighlighter(lang);
                LexAll(state, *hl, *lines, utf8);
            })->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
