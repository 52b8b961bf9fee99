#!/usr/bin/env bash
# Start-up and opening figures of the real program, offscreen:
#   - time from starting the process to the first painted editor, idle again;
#   - the same with a 100 MB HTML file of Polish text given on the command
#     line (loaded, coloured and shown), and the resident memory afterwards:
#     the file in UTF-8, and the same page in Windows-1250.
# Usage: bash bench/startup_bench.sh [path/to/ostrel] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$top/build/app/ostrel}
runs=${2:-5}
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen HOME="$work" XDG_RUNTIME_DIR="$work/runtime" \
       XDG_CONFIG_HOME="$work/config" OSTREL_REPORT_FIRST_PAINT=1

big="$work/big.html"
# About 100 MB of ordinary markup with Polish text: tags, attributes,
# entities, comments.
awk 'BEGIN {
  line = "<tr class=\"row\"><td align=\"left\">Zażółć gęślą jaźń &amp; źródło</td><td><a href=\"index.html\">odnośnik</a></td></tr>";
  comment = "<!-- komentarz w wielu wierszach";
  n = 0;
  while (n < 100 * 1024 * 1024) {
    print line; n += length(line) + 1;
    if (n % 97 == 0) { print comment; print "ciąg dalszy -->"; }
  }
}' > "$big"

# Milliseconds from start to the first-paint line; leaves the pid in $pid.
run_once() {
  local start end
  start=$(date +%s%N)
  coproc OSTREL { exec "$program" "$@" 2>&1; }
  pid=$OSTREL_PID
  while IFS= read -r line <&"${OSTREL[0]}"; do
    if [[ $line == "ostrel: first paint" ]]; then break; fi
  done
  end=$(date +%s%N)
  elapsed=$(( (end - start) / 1000000 ))
}

stop() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

empty=()
for _ in $(seq "$runs"); do
  run_once
  empty+=("$elapsed")
  stop
done

# CPU seconds the process has used so far (user + system), in milliseconds;
# on a busy machine this is the steadier figure.
cpu_ms() {
  awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$1/stat"
}

# The same page in Windows-1250.
iconv -f UTF-8 -t WINDOWS-1250 "$big" > "$work/big-1250.html"

printf 'start to first paint (empty):      %s ms median of %s (%s)\n' \
  "$(printf '%s\n' "${empty[@]}" | median)" "$runs" "${empty[*]}"
for file in "$big" "$work/big-1250.html"; do
  opened=()
  cpu=()
  rss=()
  for _ in $(seq "$runs"); do
    run_once "$file"
    opened+=("$elapsed")
    rss+=("$(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$pid/status")")
    cpu+=("$(cpu_ms "$pid")")
    stop
  done
  name=$([ "$file" = "$big" ] && echo "UTF-8" || echo "Windows-1250")
  printf '%s file of %d MiB:\n' "$name" "$(( $(stat -c %s "$file") / 1048576 ))"
  printf '  start to first paint:            %s ms median of %s (%s)\n' \
    "$(printf '%s\n' "${opened[@]}" | median)" "$runs" "${opened[*]}"
  printf '  CPU time to that point:          %s ms median (%s)\n' \
    "$(printf '%s\n' "${cpu[@]}" | median)" "${cpu[*]}"
  printf '  resident memory after opening:   %s MiB median (%s)\n' \
    "$(printf '%s\n' "${rss[@]}" | median)" "${rss[*]}"
done
