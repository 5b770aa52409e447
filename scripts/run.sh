#!/usr/bin/env bash
# Builds the shipped 32-bit Tallyvane and runs it under Wine 10 (the 64-bit build on a
# machine that runs no 32-bit code).
# On your display it runs until you end it from its notification-area menu. Without a
# display it runs for about ten seconds on a private Xvfb, prints the eight texts its
# window shows once a second, saves a screenshot to build/screenshot.png once the window
# is painted, and ends the program cleanly through its notification-area menu.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/x86-32.sh
arch=$(windows_build_to_run run)
cmake --preset $arch >/dev/null
cmake --build --preset $arch --target Tallyvane tallyvane-look >/dev/null
wine=build/$arch/wine-run.sh
program=build/$arch/app/Tallyvane.exe

if [ -n "${DISPLAY:-}" ]; then
  # A prefix of its own: the tests' prefix runs everything in a virtual desktop.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build/$arch/user-prefix}"
  exec "$wine" "$program"
fi

# No display: a private X server, and Wine's virtual desktop for window frames and a
# notification area.
export WINEPREFIX="$PWD/build/$arch/run-prefix"
source scripts/private-xvfb.sh
start_private_xvfb "$WINEPREFIX"
scripts/prepare-wine-prefix.sh "$wine" 1024x768

"$wine" "$program" &
look_output=$(mktemp)
"$wine" build/$arch/tools/look/tallyvane-look.exe 10 | tr -d '\r' >"$look_output" &
look=$!
# The picture is of the window itself, the way Wine maps it to an X window. A new prefix
# is slow to paint the first time: it is taken once the caption holds more than one colour.
# Until then a capture may fail (the window not yet mapped): its messages are kept, and
# shown only if no capture succeeds.
deadline=$((SECONDS + 60))
capture_errors=$(mktemp)
painted() {
  local window colours
  window=$(xwininfo -root -tree | awk '/"Tallyvane": \("tallyvane.exe"/ {print $1; exit}')
  [ -n "$window" ] && xwd -id "$window" -silent >build/window.xwd 2>"$capture_errors" &&
    colours=$(convert xwd:build/window.xwd -crop 400x14+4+4 +repage -format %k info: 2>>"$capture_errors") &&
    [ "$colours" -gt 1 ] 2>/dev/null
}
until painted; do
  if [ $SECONDS -ge $deadline ]; then
    cat "$capture_errors" >&2
    echo "run: the window was not painted within 60 s" >&2
    exit 1
  fi
  sleep 0.5
done
rm -f "$capture_errors"
convert xwd:build/window.xwd build/screenshot.png
wait "$look"
cat "$look_output"
rm -f build/window.xwd "$look_output"
echo "screenshot: build/screenshot.png"
