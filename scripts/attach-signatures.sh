#!/usr/bin/env bash
# Attaches a signed release's published signatures (its signatures/ folder) to the unsigned
# build of the same commit in build/release, made by scripts/release.sh without SIGN_CERT on
# any machine. Every file then equals the signed release's byte for byte, and the signed
# release's SHA256SUMS checks there (sha256sum -c). The manifests are written again with the
# links that build/release/BUILDINFO records (Release-Url), so RELEASE_URL need not be set
# again. Each signature is verified as it is attached, against the system's certificate
# authorities or those in CA-FILE (PEM).
#   scripts/attach-signatures.sh SIGNATURES-DIR [CA-FILE]
set -euo pipefail
[ $# -ge 1 ] && [ -d "$1" ] || { echo "usage: scripts/attach-signatures.sh SIGNATURES-DIR [CA-FILE]" >&2; exit 2; }
signatures=$(realpath "$1") ca_file=${2:+$(realpath "$2")}
buildinfo=$(dirname "$0")/../build/release/BUILDINFO
url=$(sed -n 's/^Release-Url: //p' "$buildinfo" 2>/dev/null) && [ -n "$url" ] ||
  { echo "attach-signatures: no Release-Url in $buildinfo: run scripts/release.sh first" >&2; exit 1; }
RELEASE_URL=$url SIGNATURES_CA_FILE=$ca_file ATTACH_SIGNATURES=$signatures exec "$(dirname "$0")/release.sh"
