#!/usr/bin/env bash
# Builds Ostrel with its tests (installing what is missing) and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$top/build" --output-on-failure -j "$(nproc)"
