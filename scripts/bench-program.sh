#!/usr/bin/env bash
# Measures what the running program costs (a benchmark, not a test): CPU time per
# second of running and peak resident memory of Tallyvane.exe under Wine and Xvfb,
# beside the floor, a minimal dialog that does each 100 ms tick's unavoidable work (the
# stored date read afresh, the clock, local time, a formatted date, eight texts) after
# the start-up that the program cannot avoid either (common controls, OLE, a tray icon).
# Also the wineserver's CPU time, which serves the timer and window messages; and the
# start-up time, from launch to a visible counter window (the median of 11 launches, the
# program's and the floor's in turn), beside the floor showing the program's own counter
# template after the same start-up.
#   scripts/bench-program.sh [SECONDS]     (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/setup.sh
source scripts/x86-32.sh
arch=$(windows_build_to_run bench)
cmake --preset $arch >/dev/null
cmake --build --preset $arch --target Tallyvane floor_dialog startup_timing >/dev/null
wine=build/$arch/wine-run.sh

export WINEPREFIX="$PWD/build/$arch/bench-prefix" WINEDEBUG=-all
source scripts/private-xvfb.sh
start_private_xvfb "$WINEPREFIX"
scripts/prepare-wine-prefix.sh "$wine"
for value in Year:2008 Month:6 Day:30; do  # both read a stored date on every tick
  "$wine" reg add 'HKCU\Software\Quillmark' /v "${value%:*}" /t REG_DWORD /d "${value#*:}" /f >/dev/null
done
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Other prefixes may run the same programs on this machine at the same time (another
# clone's tests): a process is this run's when its environment names this prefix.
newest_of_ours() {
  local pid
  for pid in $(pgrep -f "$1" | sort -rn); do
    grep -qxzF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && { echo "$pid"; return 0; }
  done
  return 1
}

measure() {
  local name=$1 exe=$2
  "$wine" "$exe" &
  sleep 5  # start-up is not what is measured
  local pid server
  pid=$(newest_of_ours "^[^ ]*$(basename "$exe")")  # the Windows process, not its bwrap
  server=$(newest_of_ours wineserver)
  local start_cpu start_server
  start_cpu=$(cpu_ticks "$pid")
  start_server=$(cpu_ticks "$server")
  sleep "$seconds"
  local cpu server_cpu peak
  cpu=$(( $(cpu_ticks "$pid") - start_cpu ))
  server_cpu=$(( $(cpu_ticks "$server") - start_server ))
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  awk -v n="$name" -v c="$cpu" -v s="$server_cpu" -v t="$ticks_per_second" -v d="$seconds" -v p="$peak" \
    'BEGIN { printf "%-10s CPU %.2f ms/s (wineserver %.2f ms/s), peak memory %d KiB\n", n, 1000*c/t/d, 1000*s/t/d, p }'
  kill "$pid" 2>/dev/null || true
  "$wine" --wineserver -w 2>/dev/null || true
}

echo "over $seconds s:"
measure floor build/$arch/bench/floor_dialog.exe
measure Tallyvane build/$arch/app/Tallyvane.exe

windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
echo "start-up, from launch to a visible counter window:"
"$wine" "$(windows_path build/$arch/bench/startup_timing.exe)" 11 Tallyvane \
  "$(windows_path build/$arch/bench/floor_dialog.exe)|/counter" "$(windows_path build/$arch/app/Tallyvane.exe)"
"$wine" --wineserver -k 2>/dev/null || true
