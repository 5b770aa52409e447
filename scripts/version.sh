#!/usr/bin/env bash
# Prints the release's version: the one in CMakeLists.txt's project(), which the program's
# version resource and manifest, the installer, the release and its tests all take.
set -euo pipefail
sed -n 's/^project(Tallyvane VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$0")/../CMakeLists.txt" | grep .
