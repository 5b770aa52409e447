#!/usr/bin/env bash
# Signs one file of the release in place, or attaches the signature published for it; run
# by scripts/release.sh on the programs and installers, and by makensis on the uninstaller
# that it writes into an installer.
#   sign-file.sh FILE SIGNATURE
# SIGNING=sign: Authenticode with SHA-256 and the maintainer's SIGN_CERT and SIGN_KEY (PEM),
# time-stamped by SIGN_TIMESTAMP_URL (RFC 3161) where that is set; the detached signature is
# then written to SIGNATURE. SIGNING=attach: SIGNATURE is attached, which gives the signed
# file byte for byte, and checked against the system's certificate authorities, or those
# in SIGNATURES_CA_FILE.
set -euo pipefail
file=$1 signature=$2
signed="$file.signed"
trap 'rm -f "$signed"' EXIT
case ${SIGNING-} in
  sign)
    osslsigncode sign -certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 -n Tallyvane \
      ${SIGN_TIMESTAMP_URL:+-ts "$SIGN_TIMESTAMP_URL"} -in "$file" -out "$signed" >/dev/null
    osslsigncode extract-signature -pem -in "$signed" -out "$signature" >/dev/null ;;
  attach)
    osslsigncode attach-signature ${SIGNATURES_CA_FILE:+-CAfile "$SIGNATURES_CA_FILE"} \
      -sigin "$signature" -in "$file" -out "$signed" >/dev/null ;;
  *)
    echo "sign-file.sh: SIGNING must be sign or attach" >&2
    exit 2 ;;
esac
cat "$signed" >"$file"  # in place: the file keeps its mode
