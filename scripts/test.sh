#!/usr/bin/env bash
# Builds everything and runs every test tier: native unit tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, the 32-bit
# Windows build with its static checks, the release, and the 64-bit Windows build's tests
# under Wine (unit, differential, in-process, end-to-end and installer tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export WINEDEBUG=-all
step() { printf '\n==== %s\n' "$*"; }

step "format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

step "native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

step "fuzzing the counter arithmetic and the probe's parser (30 s)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
build/fuzz/tests/fuzz/fuzz_reading -max_total_time=30 -print_final_stats=1 \
  build/fuzz/corpus 2>&1 | tail -n 3

step "32-bit Windows build (the shipped target; built and checked, not run)"
cmake --preset win32 >/dev/null
cmake --build --preset win32

step "release: stripped programs, portable zips and installers"
scripts/release.sh

step "64-bit Windows build, tests under Wine (end-to-end on a private Xvfb)"
source scripts/private-xvfb.sh
start_private_xvfb "$PWD/build/win64/wineprefix"
cmake --preset win64 -DTALLYVANE_NATIVE_PROBE="$PWD/build/native/tools/reading/tallyvane-reading" \
  -DTALLYVANE_RELEASE_DIR="$PWD/build/release" >/dev/null
cmake --build --preset win64
ctest --preset win64
