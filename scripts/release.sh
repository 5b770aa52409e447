#!/usr/bin/env bash
# Builds a release under build/release: the stripped 32-bit (shipped) and 64-bit
# Tallyvane.exe with LICENSE.txt and THIRD-PARTY-NOTICES.txt beside each, a portable zip
# of each folder, a per-user installer of each, and SHA256SUMS.
# Two builds of one commit give the same bytes, wherever the clone is, whenever and by
# whom it is built: every time stamp a format needs is the commit's time
# (SOURCE_DATE_EPOCH), every stored mode is set here, and every list of files is given
# in a fixed order rather than the order in which the file system lists a folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
version=$(scripts/version.sh)
out=build/release
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C  # zip keeps local times; the tools' texts and orders are the same
umask 022
rm -rf "$out"
mkdir -p "$out"

for arch in win32 win64; do
  case $arch in
    win32) triple=i686-w64-mingw32 nsis_arch=x86 ;;
    win64) triple=x86_64-w64-mingw32 nsis_arch=amd64 ;;
  esac
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" --target Tallyvane >/dev/null
  name=Tallyvane-$version-$arch
  folder="$out/$name"
  mkdir -p "$folder"
  # strip writes the PE time stamp (and so the checksum) anew, from SOURCE_DATE_EPOCH.
  "$triple-strip" -o "$folder/Tallyvane.exe" "build/$arch/app/Tallyvane.exe"
  # The licence and the notices of the runtime linked into the program travel with it,
  # with Windows line ends.
  sed 's/$/\r/' LICENSE >"$folder/LICENSE.txt"
  sed 's/$/\r/' THIRD-PARTY-NOTICES >"$folder/THIRD-PARTY-NOTICES.txt"
  chmod 755 "$folder"
  chmod 644 "$folder"/*
  touch -d "@$SOURCE_DATE_EPOCH" "$folder"/* "$folder"
  # The folder, then its files in this order, whatever order the file system lists.
  (cd "$out" && zip -q -X "$name-portable.zip" "$name/" "$name"/{Tallyvane.exe,LICENSE.txt,THIRD-PARTY-NOTICES.txt})
  (cd installer && makensis -V2 -DARCH="$nsis_arch" -DSOURCE_DIR="../$folder" \
     -DOUTFILE="../$out/Tallyvane-$version-$arch-setup.exe" tallyvane.nsi)
done

(cd "$out" && sha256sum -- *.exe *.zip Tallyvane-*/Tallyvane.exe >SHA256SUMS)
echo "release $version in $out:"
(cd "$out" && find . -type f -printf '%s\t%P\n' | sort -k2)
