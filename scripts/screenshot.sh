#!/usr/bin/env bash
# Takes docs/screenshot.png (the editor with an HTML page open) and
# docs/screenshot-utf8.png (a UTF-8 page with Polish text), the gutter and
# line numbers shown, in a real X server (Xvfb), cut to the window. Needs a
# build in build/ (or in the folder OSTREL_BUILD names).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
for p in xvfb imagemagick; do
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
# take PAGE OUTPUT: the window with PAGE open, cut to the window.
take() {
  cat > "$work/take.sh" <<INNER
#!/bin/bash
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
"${OSTREL_BUILD:-$top/build}/app/ostrel" "$1" &
sleep 4
import -window root "$work/screen.png"
kill \$!
INNER
  chmod +x "$work/take.sh"
  xvfb-run -a -s "-screen 0 1000x700x24" "$work/take.sh"
  # Without a window manager the window sits at its default place and size.
  convert "$work/screen.png" -crop 568x403+200+112 +repage "$2"
}
take "$work/strona.html" "$top/docs/screenshot.png"
cp "$top/docs/przyklad-utf8.html" "$work/przyklad-utf8.html"
take "$work/przyklad-utf8.html" "$top/docs/screenshot-utf8.png"
