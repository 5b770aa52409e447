#!/usr/bin/env bash
# A signed release: each program and installer verifies, offline, against the certificate
# authority that issued the signing certificate, and no longer does once one byte of it has
# changed. (The uninstaller that an install leaves is verified by the install test, and
# attaching the signatures to another build by the reproducibility test.)
#   signing_test.sh RELEASE-DIR CA-FILE
set -uo pipefail
release=$1 ca=$2 version=$("$(dirname "$0")/../../scripts/version.sh")
failures=0 changed=$(mktemp)
trap 'rm -f "$changed"' EXIT
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
verify() { osslsigncode verify -CAfile "$ca" -in "$1" >/dev/null 2>&1; }
for file in Tallyvane-$version-win{32,64}{-setup.exe,/Tallyvane.exe}; do
  verify "$release/$file" || fail "$file does not verify: $(osslsigncode verify -CAfile "$ca" -in "$release/$file" 2>&1 | grep -iE 'mismatch|no signature|error' | tr '\n' ' ')"
  # A byte of the program's code or the installer's data, far from the signature at the end.
  cp "$release/$file" "$changed"
  printf '\x5a' | dd of="$changed" bs=1 seek=4096 conv=notrunc status=none
  ! cmp -s "$release/$file" "$changed" || printf '\x3c' | dd of="$changed" bs=1 seek=4096 conv=notrunc status=none
  ! verify "$changed" || fail "$file still verifies with a byte changed"
done
[ "$failures" -eq 0 ] && echo "release signatures: both programs and both installers verify, and fail with a byte changed"
[ "$failures" -eq 0 ]
