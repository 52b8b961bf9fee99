#!/usr/bin/env bash
# Start-up and opening figures of the real program, offscreen:
#   - time from starting the process to the first painted editor, idle again;
#   - the same with a 100 MB HTML file given on the command line (loaded,
#     coloured and shown), and the resident memory afterwards.
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
# About 100 MB of ordinary markup: tags, attributes, entities, comments.
awk 'BEGIN {
  line = "<tr class=\"row\"><td align=\"left\">Za&oacute;&lstrok; g&eogon;&sacute;l&aogon; ja&zacute;&nacute;</td><td><a href=\"index.html\">odno&sacute;nik</a></td></tr>";
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

opened=()
cpu=()
rss=()
for _ in $(seq "$runs"); do
  run_once "$big"
  opened+=("$elapsed")
  rss+=("$(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$pid/status")")
  cpu+=("$(cpu_ms "$pid")")
  stop
done

printf 'file size:                         %d MiB\n' "$(( $(stat -c %s "$big") / 1048576 ))"
printf 'start to first paint (empty):      %s ms median of %s (%s)\n' \
  "$(printf '%s\n' "${empty[@]}" | median)" "$runs" "${empty[*]}"
printf 'start to first paint (100 MB HTML): %s ms median of %s (%s)\n' \
  "$(printf '%s\n' "${opened[@]}" | median)" "$runs" "${opened[*]}"
printf 'CPU time to that point (100 MB):    %s ms median (%s)\n' \
  "$(printf '%s\n' "${cpu[@]}" | median)" "${cpu[*]}"
printf 'resident memory after opening:     %s MiB median (%s)\n' \
  "$(printf '%s\n' "${rss[@]}" | median)" "${rss[*]}"
