#!/usr/bin/env bash
# Start-up time and idle CPU of Korvane.exe under Wine, as ratios against a minimal
# one-window program built in the same run, measured side by side on a private display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build/win
"$root/scripts/win-configure"
cmake --build "$win" --target app minimal_window -j 2 >/dev/null
export WINEPREFIX=$root/build/wine-bench WINEDEBUG=-all
"$root/scripts/wine-prefix" "$WINEPREFIX" test
(unset DISPLAY; "$root/scripts/with-display" "$root/scripts/measure-start-idle" \
  "$root/build/app/Korvane.exe" "$win/bench/win/minimal_window.exe")
wineserver -k 2>/dev/null || true
