#!/usr/bin/env bash
# Builds Ostrel (installing what is missing) and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build"
if [ -x "$top/build/app/ostrel" ]; then
  exec "$top/build/app/ostrel" "$@"
fi
exec "$top/build/cli/ostrel-cli" --help
