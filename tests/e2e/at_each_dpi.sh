#!/usr/bin/env bash
# The end-to-end scaling check at 100, 150 and 200 percent: the prefix's LogPixels is set to
# each DPI in turn, and its Wine server restarted, so that the test and the program both start
# at that DPI (each Wine program reads it as it starts); at the end it is removed again (96).
# The run at 96 DPI writes the windows' sizes that the others are checked against.
#   at_each_dpi.sh WINE-WRAPPER E2E-TESTS-EXE PROGRAM
set -uo pipefail
wine=$1 tests=$2 program=$3 reference=$(dirname "$2")/sizes-at-96-dpi.txt
desktop='HKCU\Control Panel\Desktop'
w() { timeout -k 5 300 "$wine" "$@"; }
trap 'w reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1; w --wineserver -k' EXIT
rm -f "$reference"
failed=0
for dpi in 96 144 192; do
  w reg add "$desktop" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null && w --wineserver -k &&
    w "$tests" --gtest_filter=EndToEnd.Scaling "$program" "--scaling=$reference" || failed=1
done
exit $failed
