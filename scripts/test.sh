#!/usr/bin/env bash
# Builds everything and runs every test tier: native unit tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, the release
# (built twice and compared), and the tests of the 32-bit (shipped) and 64-bit Windows
# builds under Wine 10 (unit, differential, in-process, end-to-end and installer tests).
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

step "release: stripped programs, portable zips, installers and SHA256SUMS"
scripts/release.sh

step "release rebuilt in another folder gives the same bytes"
tests/release/reproducible.sh

source scripts/private-xvfb.sh
start_private_xvfb "$PWD/build/win32/wineprefix" "$PWD/build/win64/wineprefix"
for preset in win32 win64; do
  step "$preset Windows build, tests under Wine (end-to-end on a private Xvfb)"
  cmake --preset "$preset" -DTALLYVANE_NATIVE_PROBE="$PWD/build/native/tools/reading/tallyvane-reading" \
    -DTALLYVANE_RELEASE_DIR="$PWD/build/release" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
