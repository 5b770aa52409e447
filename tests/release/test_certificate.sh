#!/usr/bin/env bash
# A throwaway certificate authority and a code-signing certificate that it issued, to sign
# a release with and to verify it against, offline: FOLDER/ca.pem, signer.pem, signer.key.
#   test_certificate.sh FOLDER
set -euo pipefail
rm -rf "$1" && mkdir -p "$1" && cd "$1"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -subj "/CN=Tallyvane test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Tallyvane test signer" 2>/dev/null
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -out signer.pem 2>/dev/null \
  -extfile <(printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n')
