#!/usr/bin/env bash
# The write ratio program as a Windows executable under Wine (build/win tree).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build/win
"$root/scripts/win-configure"
cmake --build "$win" --target hid_write_bench -j 2 >/dev/null
"$root/scripts/wine-exec" "$win/bench/win/hid_write_bench.exe" hid_write_wine | tr -d '\r'
