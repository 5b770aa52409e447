#!/usr/bin/env bash
# Builds everything and runs every test tier: native unit tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, the release
# (built again in a varied environment and compared), and the tests of the 32-bit
# (shipped) and 64-bit Windows builds under Wine 10 (unit, differential, in-process,
# end-to-end and installer tests).
# On a machine that runs no 32-bit x86 code at all, Wine cannot start the 32-bit build:
# its tests are then skipped, and the summary at the end says so.
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

step "release, signed with a throwaway certificate: programs, uninstallers, installers, BUILDINFO, manifests, SHA256SUMS"
tests/release/test_certificate.sh build/test-signing
SIGN_CERT=build/test-signing/signer.pem SIGN_KEY=build/test-signing/signer.key scripts/release.sh

step "release files: SHA256SUMS, licence and notices in both zips, hardening marks, manifests"
tests/release/files_test.sh build/release

step "release signatures: each verifies offline, and fails with a byte changed"
tests/release/signing_test.sh build/release build/test-signing/ca.pem

step "release rebuilt unsigned by reprotest in another folder, locale, umask, file order, zone..., with the signatures attached, gives the same bytes"
tests/release/reproducible.sh build/test-signing/ca.pem

source scripts/private-xvfb.sh
source scripts/x86-32.sh
skipped=() tiers=()
for preset in win32 win64; do
  step "$preset Windows build"
  cmake --preset "$preset" -DTALLYVANE_NATIVE_PROBE="$PWD/build/native/tools/reading/tallyvane-reading" \
    -DTALLYVANE_RELEASE_DIR="$PWD/build/release" -DTALLYVANE_SIGNING_CA="$PWD/build/test-signing/ca.pem" >/dev/null
  cmake --build --preset "$preset"
  if [ "$preset" = win32 ] && ! machine_runs_32bit_code; then
    echo "SKIPPED: the 32-bit build's tests: $X86_32_LIMIT. It was built, and its release files checked above."
    skipped+=("the 32-bit build's tests under Wine ($X86_32_LIMIT)")
    continue
  fi
  tiers+=("$preset")
done

# The tiers' tests at the same time, each on an Xvfb of its own (real key presses go to the
# focus of their display) and in prefixes of its own; each tier's output is shown once both
# have ended.
step "tests under Wine (unit, in-process, end-to-end, installer): ${tiers[*]}, at the same time"
pids=()
for preset in "${tiers[@]}"; do
  (start_private_xvfb "$PWD/build/$preset/wineprefix" && ctest --preset "$preset") \
    >"build/$preset/tests.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!tiers[@]}"; do
  wait "${pids[$i]}" || failed=1
  printf '\n---- %s\n' "${tiers[$i]}"
  cat "build/${tiers[$i]}/tests.log"
done
[ "$failed" -eq 0 ] || exit 1

step "done"
if [ ${#skipped[@]} -gt 0 ]; then
  printf 'Every test passed, but these did not run on this machine:\n'
  printf '  - %s\n' "${skipped[@]}"
else
  echo "Every test passed."
fi
