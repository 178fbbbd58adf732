#!/usr/bin/env bash
# The skin loading ratio program as a Windows executable under Wine (build/win tree):
# the main window's layout pass and the lighting panel with and without the image cache.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build/win
"$root/scripts/win-configure"
cmake --build "$win" --target skin_load_bench -j 2 >/dev/null
"$root/scripts/with-display" "$root/scripts/wine-exec" "$win/bench/win/skin_load_bench.exe" "Z:$root/data" | tr -d '\r'
