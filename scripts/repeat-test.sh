#!/usr/bin/env bash
# Runs one test of a build many times in a row, until it fails, on a private Xvfb: a test
# that fails by chance shows itself here. After scripts/test.sh, which builds everything and
# the release that the release tests take:
#   scripts/repeat-test.sh win64 release_install 20
#   scripts/repeat-test.sh win32 e2e_tests 20
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1 test=$2 times=${3:-20}
export WINEDEBUG=-all
source scripts/private-xvfb.sh
start_private_xvfb "$PWD/build/$preset/wineprefix"
ctest --preset "$preset" -R "^($test)\$" --repeat until-fail:"$times"
