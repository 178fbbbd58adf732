#!/usr/bin/env bash
# Start-up time of Korvane.exe at 192 DPI as a ratio against 96 DPI, in one run on a
# private display large enough for the 192-DPI window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$root/build/win
"$root/scripts/win-configure"
cmake --build "$win" --target app -j 2 >/dev/null
export WINEPREFIX=$root/build/wine-bench-dpi WINEDEBUG=-all
"$root/scripts/wine-prefix" "$WINEPREFIX" test
for n in $(seq 181 220); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 2600x1500x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$root/scripts/measure-start-dpi" "$root/build/app/Korvane.exe"
