#!/usr/bin/env bash
# Builds Tallyvane for Windows and shows the live counter reading for the stored start
# date under Wine, once a second for ten seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tallyvane-reading >/dev/null
for _ in $(seq 10); do
  echo now
  sleep 1
done | build/win64/wine-run.sh build/win64/tools/reading/tallyvane-reading.exe
