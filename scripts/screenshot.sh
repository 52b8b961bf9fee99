#!/usr/bin/env bash
# Takes docs/screenshot.png (the editor with an HTML page open),
# docs/screenshot-utf8.png (a UTF-8 page with Polish text), and the same page
# with the find bar open, at scale factors 1 (docs/screenshot-find.png) and 2
# (docs/screenshot-hidpi.png); the gutter and line numbers shown, in a real X
# server (Xvfb), cut to the window. Needs a build in build/ (or in the folder
# OSTREL_BUILD names).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
for p in xvfb imagemagick xdotool; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    { apt-get update -qq && apt-get install -y -qq "$p"; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
cp "$top/tests/data/html/article.html" "$work/strona.html"
# The settings the configuration window would store for a gutter with numbers.
mkdir -p "$work/config/ostrel"
cat > "$work/config/ostrel/registry.txt" <<'SETTINGS'
[HKEY_CURRENT_USER\SOFTWARE\Kalvenor\Ostrel]
"Gutter"=dword:00000001
"LineNmbrsOnLeft"=dword:00000001
SETTINGS
# take PAGE OUTPUT [SCALE [TEXT]]: the window with PAGE open at the scale
# factor, the find bar open on TEXT when given, cut to the window.
take() {
  local scale=${3:-1} find=${4:-}
  local width=$((1000 * scale)) height=$((700 * scale))
  cat > "$work/take.sh" <<INNER
#!/bin/bash
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR=$scale
"${OSTREL_BUILD:-$top/build}/app/ostrel" "$1" &
sleep 4
if [ -n "$find" ]; then
  eval \$(xdotool search --onlyvisible --name Ostrel getwindowgeometry --shell | head -5)
  xdotool mousemove \$((X + WIDTH / 2)) \$((Y + HEIGHT / 2)) click 1
  xdotool key ctrl+f
  sleep 0.5
  xdotool type --delay 60 "$find"
  sleep 1
fi
xdotool search --onlyvisible --name Ostrel getwindowgeometry --shell | head -5 > "$work/geometry"
import -window root "$work/screen.png"
kill \$!
INNER
  chmod +x "$work/take.sh"
  xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$work/take.sh"
  # Without a window manager the window sits where the program put it.
  # shellcheck disable=SC1091
  . "$work/geometry"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
take "$work/strona.html" "$top/docs/screenshot.png"
cp "$top/docs/przyklad-utf8.html" "$work/przyklad-utf8.html"
take "$work/przyklad-utf8.html" "$top/docs/screenshot-utf8.png"
take "$work/przyklad-utf8.html" "$top/docs/screenshot-find.png" 1 "li"
take "$work/przyklad-utf8.html" "$top/docs/screenshot-hidpi.png" 2 "ó"
