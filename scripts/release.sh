#!/usr/bin/env bash
# Builds a release under build/release: the stripped 32-bit (shipped) and 64-bit
# Tallyvane.exe with LICENSE.txt and THIRD-PARTY-NOTICES.txt beside each, a portable zip
# of each folder, a per-user installer of each, BUILDINFO (the versions of the tools that
# made them), the winget and Scoop manifests, and SHA256SUMS of every other file.
# Two builds of one commit give the same bytes, wherever the clone is, whenever and by
# whom it is built: every time stamp a format needs is the commit's time
# (SOURCE_DATE_EPOCH), every stored mode is set here, and every list of files is given
# in a fixed order rather than the order in which the file system lists a folder.
#
# Signed with the maintainer's key (PEM files; SIGN_TIMESTAMP_URL, an RFC 3161 time-stamp
# server, is optional):
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem scripts/release.sh
# builds the unsigned release first (its SHA256SUMS is kept as SHA256SUMS.unsigned), then
# signs both programs, the uninstaller that each installer writes, and both installers,
# and writes each detached signature to build/release/signatures/. Anyone can then attach
# those signatures to their own unsigned build of the same commit
# (scripts/attach-signatures.sh), which takes the same steps here with the signatures in
# place of the key, and get the signed files byte for byte.
# RELEASE_URL: the folder the files will be published in, for the manifests' links.
set -euo pipefail
for key in SIGN_CERT SIGN_KEY; do  # named from where the script was started
  [ -z "${!key:-}" ] || export "$key=$(realpath "${!key}")"
done
cd "$(dirname "$0")/.."
scripts/setup.sh
version=$(scripts/version.sh)
out=build/release
placeholder=https://release-url.invalid/tallyvane/$version
url=${RELEASE_URL:-$placeholder}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C  # zip keeps local times; the tools' texts and orders are the same
umask 022
# How scripts/sign-file.sh signs: not at all, with the key, or with published signatures
# (ATTACH_SIGNATURES, the folder that scripts/attach-signatures.sh is given).
if [ -n "${ATTACH_SIGNATURES:-}" ]; then export SIGNING=attach
elif [ -n "${SIGN_CERT:-}" ]; then export SIGNING=sign
else SIGNING=none; fi
signatures=$PWD/$out/signatures

# The stripped program, and the licence and the notices of the runtime linked into it,
# which travel with it, with Windows line ends.
build_folder() {
  local arch=$1 triple folder="$out/Tallyvane-$version-$1"
  triple=$([ "$arch" = win32 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" --target Tallyvane >/dev/null
  mkdir -p "$folder"
  # strip writes the PE time stamp (and so the checksum) anew, from SOURCE_DATE_EPOCH.
  "$triple-strip" -o "$folder/Tallyvane.exe" "build/$arch/app/Tallyvane.exe"
  sed 's/$/\r/' LICENSE >"$folder/LICENSE.txt"
  sed 's/$/\r/' THIRD-PARTY-NOTICES >"$folder/THIRD-PARTY-NOTICES.txt"
}

# The portable zip and the installer of a folder, its modes and times set first; "signed"
# signs the uninstaller as makensis writes it into the installer's compressed data.
package() {
  local arch=$1 stage=$2 name="Tallyvane-$version-$1" nsis_arch signing=()
  nsis_arch=$([ "$arch" = win32 ] && echo x86 || echo amd64)
  chmod 755 "$out/$name"
  chmod 644 "$out/$name"/*
  touch -d "@$SOURCE_DATE_EPOCH" "$out/$name"/* "$out/$name"
  # The folder, then its files in this order, whatever order the file system lists.
  rm -f "$out/$name-portable.zip"
  (cd "$out" && zip -q -X "$name-portable.zip" "$name/" "$name"/{Tallyvane.exe,LICENSE.txt,THIRD-PARTY-NOTICES.txt})
  [ "$stage" = unsigned ] ||
    signing=(-DSIGN_FILE="$PWD/scripts/sign-file.sh" -DUNINSTALLER_SIGNATURE="$signatures/$name-Uninstall.exe.pem")
  (cd installer && makensis -V2 -DARCH="$nsis_arch" -DSOURCE_DIR="../$out/$name" "${signing[@]}" \
     -DOUTFILE="../$out/$name-setup.exe" tallyvane.nsi)
}

# BUILDINFO, the manifests and the checksums of everything else, in byte order.
describe() {
  [ -f "$out/BUILDINFO" ] || scripts/write-buildinfo.sh "$out/BUILDINFO" "$url"
  scripts/write-manifests.sh "$out" "$version" "$url"
  (cd "$out" && find . -type f ! -name SHA256SUMS -printf '%P\n' | sort | xargs -d '\n' sha256sum -- >SHA256SUMS)
}

if [ "$SIGNING" != attach ]; then
  rm -rf "$out"
  mkdir -p "$out"
  for arch in win32 win64; do
    build_folder "$arch"
    package "$arch" unsigned
  done
  describe
fi
if [ "$SIGNING" != none ]; then
  [ -f "$out/SHA256SUMS" ] && [ ! -e "$out/SHA256SUMS.unsigned" ] ||
    { echo "release: $out must hold an unsigned release (scripts/release.sh without SIGN_CERT)" >&2; exit 1; }
  mv "$out/SHA256SUMS" "$out/SHA256SUMS.unsigned"
  mkdir -p "$signatures"
  [ "$SIGNING" = sign ] || [ "$ATTACH_SIGNATURES" -ef "$signatures" ] || cp -- "$ATTACH_SIGNATURES"/*.pem "$signatures/"
  for arch in win32 win64; do
    name="Tallyvane-$version-$arch"
    scripts/sign-file.sh "$out/$name/Tallyvane.exe" "$signatures/$name-Tallyvane.exe.pem"
    package "$arch" signed
    scripts/sign-file.sh "$out/$name-setup.exe" "$signatures/$name-setup.exe.pem"
  done
  describe
fi
echo "release $version in $out ($([ "$SIGNING" = none ] && echo unsigned || echo signed)):"
(cd "$out" && find . -type f -printf '%s\t%P\n' | sort -k2)
[ "$url" != "$placeholder" ] ||
  echo "The manifests link to $placeholder, a placeholder: set RELEASE_URL to the folder the files will be published in."
