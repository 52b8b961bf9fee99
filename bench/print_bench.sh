#!/usr/bin/env bash
# Printing figures for a generated 10,000-line PHP file with HTML in it:
#   - ostrel-cli print (highlighted, line numbers, wrapping) into a PDF file,
#     pages per second, best of the runs;
#   - enscript -E into PostScript and ps2pdf into PDF on the same file, in
#     the same run, for comparison;
#   - laying the pages out without drawing (print_layout_bench), when built.
# Usage: bash bench/print_bench.sh [build-dir] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-3}
cli=$build/cli/ostrel-cli
layout=$build/bench/print_layout_bench
[ -x "$cli" ] || { echo "no ostrel-cli at $cli (build it first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
file="$work/strona.php"
awk 'BEGIN {
  for (i = 0; i < 10000; i++) {
    k = i % 10;
    if (k == 0) print "<?php";
    else if (k == 1) print "// licznik " i ": komentarz do wiersza";
    else if (k == 2) print "$wynik[" i "] = oblicz($dane, \"klucz_" i "\", " i " * 2);";
    else if (k == 3) print "if ($wynik[" i "] > 100) { echo \"<b>Duzo: $wynik</b>\"; } else { $licznik++; }";
    else if (k == 4) print "?>";
    else if (k == 5) print "<tr class=\"wiersz\"><td align=\"left\">Komorka " i "</td><td><a href=\"index.php?id=" i "\">odnosnik</a></td></tr>";
    else if (k == 6) print "<p>Bardzo dlugi akapit tekstu, ktory na pewno nie zmiesci sie w jednym wierszu wydruku i musi zostac zawiniety w miejscu odstepu, numer " i ".</p>";
    else if (k == 7) print "<!-- komentarz HTML " i " -->";
    else if (k == 8) print "\t<input type=\"text\" name=\"pole" i "\" value=\"&nbsp;\">";
    else print "";
  }
}' > "$file"

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
best_of() {  # best_of COMMAND... ; sets $best to the fastest run in seconds
  best=""
  for _ in $(seq "$runs"); do
    local start end took
    start=$(now); "$@" >/dev/null 2>&1; end=$(now)
    took=$(calc "$end - $start")
    if [ -z "$best" ] || [ "$(calc "$took < $best")" = 1 ]; then best=$took; fi
  done
}

echo "file: $(wc -l < "$file") lines, $(wc -c < "$file") bytes"

pages=$("$cli" print --lang php --line-numbers --wrap "$file" "$work/ostrel.pdf" 2>/dev/null)
best_of "$cli" print --lang php --line-numbers --wrap "$file" "$work/ostrel.pdf"
printf 'ostrel-cli print:      %5d pages in %6.2f s  %8.1f pages/s\n' "$pages" "$best" "$(calc "$pages / $best")"

if command -v enscript >/dev/null && command -v ps2pdf >/dev/null; then
  enscript_pdf() { enscript -E -o - "$file" 2>/dev/null | ps2pdf - "$work/enscript.pdf"; }
  enscript_pdf
  epages=$(pdfinfo "$work/enscript.pdf" | awk '/^Pages:/ { print $2 }')
  best_of enscript_pdf
  printf 'enscript -E | ps2pdf: %5d pages in %6.2f s  %8.1f pages/s\n' "$epages" "$best" "$(calc "$epages / $best")"
else
  echo "enscript or ps2pdf missing: no comparison"
fi

if [ -x "$layout" ]; then
  "$layout" "$file" php 5
else
  echo "no $layout (configure with -DOSTREL_BUILD_BENCH=ON): no layout figures"
fi
