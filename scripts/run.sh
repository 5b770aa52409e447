#!/usr/bin/env bash
# Builds the shipped 32-bit Tallyvane and runs it under Wine 10.
# On your display it runs until you end it from its notification-area menu. Without a
# display it runs for about ten seconds on a private Xvfb, prints the eight texts its
# window shows once a second, saves a screenshot to build/screenshot.png once the window
# is painted, and ends the program cleanly through its notification-area menu.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Tallyvane tallyvane-look >/dev/null
wine=build/win32/wine-run.sh
program=build/win32/app/Tallyvane.exe

if [ -n "${DISPLAY:-}" ]; then
  # A prefix of its own: the tests' prefix runs everything in a virtual desktop.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build/win32/user-prefix}"
  exec "$wine" "$program"
fi

# No display: a private X server, and Wine's virtual desktop for window frames and a
# notification area.
export WINEPREFIX="$PWD/build/win32/run-prefix"
source scripts/private-xvfb.sh
start_private_xvfb "$WINEPREFIX"
scripts/prepare-wine-prefix.sh "$wine" 1024x768

"$wine" "$program" &
look_output=$(mktemp)
"$wine" build/win32/tools/look/tallyvane-look.exe 10 | tr -d '\r' >"$look_output" &
look=$!
# The picture is of the window itself, the way Wine maps it to an X window. A new prefix
# is slow to paint the first time: it is taken once the caption holds more than one colour.
deadline=$((SECONDS + 60))
until window=$(xwininfo -root -tree | awk '/"Tallyvane": \("tallyvane.exe"/ {print $1; exit}') &&
  [ -n "$window" ] && xwd -id "$window" -silent >build/window.xwd &&
  [ "$(convert xwd:build/window.xwd -crop 400x14+4+4 +repage -format %k info:)" -gt 1 ]; do
  [ $SECONDS -lt $deadline ] || { echo "run: the window was not painted within 60 s" >&2; exit 1; }
  sleep 0.5
done
convert xwd:build/window.xwd build/screenshot.png
wait "$look"
cat "$look_output"
rm -f build/window.xwd "$look_output"
echo "screenshot: build/screenshot.png"
