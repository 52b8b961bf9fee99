#!/usr/bin/env bash
# Takes docs/screenshot.png: the editor with an HTML page open, in a real X
# server (Xvfb), cut to the window. Needs a build in build/.
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
cat > "$work/take.sh" <<INNER
#!/bin/bash
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
"$top/build/app/ostrel" "$work/strona.html" &
sleep 4
import -window root "$work/screen.png"
kill \$!
INNER
chmod +x "$work/take.sh"
xvfb-run -s "-screen 0 1000x700x24" "$work/take.sh"
# Without a window manager the window sits at its default place and size.
convert "$work/screen.png" -crop 568x403+200+112 +repage "$top/docs/screenshot.png"
