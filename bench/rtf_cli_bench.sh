#!/usr/bin/env bash
# Whole-process figures of ostrel-cli rtf on a generated 10 MB HTML page with
# Polish text, the same page in UTF-8 and in Windows-1250 in the same run,
# and a UTF-8 page that also holds Greek, Cyrillic, CJK and emoji (written
# as \uN?); cp of the page as the yardstick. Best of the runs, MB/s of input.
# Usage: bash bench/rtf_cli_bench.sh [build-dir] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-5}
cli=$build/cli/ostrel-cli
[ -x "$cli" ] || { echo "no ostrel-cli at $cli (build it first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk 'BEGIN {
  l[0] = "<tr><td class=\"nazwa\">Zestaw żółtych herbat</td><td align=right>24,90&nbsp;zł</td></tr>";
  l[1] = "  <a href=\"sklep.php?kat=3&amp;str=2\" title=\"Dalej\">Następna strona &raquo;</a>";
  l[2] = "<p>Zażółć gęślą jaźń &mdash; próbka polskich liter w akapicie, ĄĆĘŁŃÓŚŹŻ.</p>";
  l[3] = "<script>function licz(f) { var s = {a: 1, b: 2}; return f.ilość.value * 2; }</script>";
  l[4] = "<!-- początek komentarza";
  l[5] = "     kończy się tutaj -->";
  l[6] = "\t<input type=\"text\" name=\"ilosc\" size=3 value=\"1\" onchange=\"licz(this.form)\">";
  l[7] = "<div id=\"tresc\" style=\"margin: 0 auto; width: 760px; color: #333333\">";
  srand(7); n = 0;
  while (n < 10 * 1024 * 1024) { s = l[int(rand() * 8)]; print s; n += length(s) + 1 }
}' > "$work/pl.utf8.html"
iconv -f UTF-8 -t WINDOWS-1250 "$work/pl.utf8.html" > "$work/pl.cp1250.html"
sed 's/herbat/herbat Ωμέγα привет 日本語 😀/' "$work/pl.utf8.html" > "$work/mixed.utf8.html"

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
report() {  # report LABEL FILE COMMAND...
  local label=$1 file=$2
  shift 2
  best_of "$@"
  printf '%-34s %9d bytes  %6.3f s  %7.1f MB/s\n' "$label" "$(wc -c < "$file")" "$best" \
    "$(calc "$(wc -c < "$file") / $best / 1000000")"
}

report "rtf, UTF-8 Polish page" "$work/pl.utf8.html" "$cli" rtf --lang html "$work/pl.utf8.html" "$work/a.rtf"
report "rtf, Windows-1250 Polish page" "$work/pl.cp1250.html" "$cli" rtf --lang html "$work/pl.cp1250.html" "$work/b.rtf"
report "rtf, UTF-8 page of many scripts" "$work/mixed.utf8.html" "$cli" rtf --lang html "$work/mixed.utf8.html" "$work/c.rtf"
report "cp of the UTF-8 page" "$work/pl.utf8.html" cp "$work/pl.utf8.html" "$work/copy.html"
cmp -s "$work/a.rtf" "$work/b.rtf" && echo "the UTF-8 and Windows-1250 pages give the same RTF"
