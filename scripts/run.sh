#!/usr/bin/env bash
# Builds Tallyvane for Windows and runs it under Wine.
# On your display it runs until you end it from its notification-area menu. Without a
# display it runs for about ten seconds on a private Xvfb, prints the eight texts its
# window shows once a second, saves a screenshot to build/screenshot.png and ends the
# program cleanly through its notification-area menu.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tallyvane tallyvane-look >/dev/null
wine=build/win64/wine-run.sh
program=build/win64/app/Tallyvane.exe

if [ -n "${DISPLAY:-}" ]; then
  # A prefix of its own: the tests' prefix runs everything in a virtual desktop.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build/win64/user-prefix}"
  exec "$wine" "$program"
fi

# No display: a private X server, and Wine's virtual desktop for window frames and a
# notification area.
export WINEPREFIX="$PWD/build/win64/run-prefix"
source scripts/private-xvfb.sh
start_private_xvfb "$WINEPREFIX"
tests/e2e/prepare-prefix.sh "$wine" 1024x768

"$wine" "$program" &
look_output=$(mktemp)
"$wine" build/win64/tools/look/tallyvane-look.exe 10 | tr -d '\r' >"$look_output" &
look=$!
sleep 5
xwd -root -silent > build/screen.xwd
wait "$look"
grep -v '^window' "$look_output"
read -r _ left top right bottom < <(grep '^window' "$look_output")
convert xwd:build/screen.xwd -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage \
  build/screenshot.png
rm -f build/screen.xwd "$look_output"
echo "screenshot: build/screenshot.png"
