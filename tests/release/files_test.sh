#!/usr/bin/env bash
# What the release publishes: SHA256SUMS with the checksum of every other file; each
# portable zip with the program, the licence and the notices of the runtime linked into it,
# each exactly as in the source, and a notice for every runtime part that the program's
# strings show, and show as they must; the marks of hardening on every program and
# installer; and the package managers' manifests with the release's hashes and version.
#   files_test.sh RELEASE-DIR
set -uo pipefail
release=$1 source_dir=$(realpath "$(dirname "$0")/../..")
version=$("$source_dir/scripts/version.sh")
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A string that only a part of the runtime puts into a program, the builds that must show
# it, and the heading of that part's notice. A build without a marker it must show fails
# too: the runtime linked into it changed, and the notices want another look.
runtime_parts=(
  "mingw-w64-libraries/winpthreads|win32 win64|winpthreads"
  "Mingw-w64 runtime failure|win32 win64|MinGW-w64 runtime"
  "__gnu_cxx|win32 win64|GCC runtime libraries (libgcc, libstdc++)"
  "__register_frame_info|win32|GCC runtime libraries (libgcc, libstdc++)"
)

# Every file but SHA256SUMS, in byte order (as LC_ALL=C sorts), the downloads among them.
summed=$(sed 's/^[0-9a-f]*  //' "$release/SHA256SUMS" | tr '\n' ' ')
files=$(cd "$release" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$summed" = "$files" ] || fail "SHA256SUMS lists $summed, not every other file: $files"
for file in Tallyvane-$version-win{32,64}{-portable.zip,-setup.exe,/Tallyvane.exe} BUILDINFO; do
  [[ " $summed" == *" $file "* ]] || fail "no $file in the release"
done
(cd "$release" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match the files"

for arch in win32 win64; do
  zip="$release/Tallyvane-$version-$arch-portable.zip" folder="Tallyvane-$version-$arch"
  listed=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')
  # In byte order, as LC_ALL=C sorts: capitals before small letters.
  expected="$folder/LICENSE.txt $folder/THIRD-PARTY-NOTICES.txt $folder/Tallyvane.exe "
  [ "$listed" = "$expected" ] || fail "$arch zip holds $listed, not $expected"
  for file in LICENSE THIRD-PARTY-NOTICES; do
    cmp -s <(unzip -p "$zip" "$folder/$file.txt") <(sed 's/$/\r/' "$source_dir/$file") ||
      fail "$arch zip's $file.txt is not the source's $file"
  done
  program=$(unzip -p "$zip" "$folder/Tallyvane.exe" | strings -a)
  notices=$(unzip -p "$zip" "$folder/THIRD-PARTY-NOTICES.txt" | tr -d '\r')
  for part in "${runtime_parts[@]}"; do
    IFS='|' read -r marker builds heading <<<"$part"
    if ! grep -qF "$marker" <<<"$program"; then
      [[ " $builds " != *" $arch "* ]] || fail "$arch program no longer contains \"$marker\""
    elif ! grep -qxF "$heading" <<<"$notices"; then
      fail "$arch program contains \"$marker\" but the notices have no \"$heading\""
    fi
  done
done
# The marks that objdump reads in a PE header: ASLR, no code run from data, terminal-server
# aware and, on 64-bit, high-entropy ASLR on every program and installer; the programs also
# carry the relocations that ASLR needs to move them, and subsystem version 6.0 or later.
# The installers are NSIS's stubs as Debian links them, without relocations: Windows loads
# them at their fixed base, whatever they are marked.
marks() {
  x86_64-w64-mingw32-objdump -p "$1" | awk '/relocations stripped/ {stripped = 1}
    /^Entry 5 / && $4 != "00000000" {relocations = 1}
    /^MajorSubsystemVersion/ && $2 >= 6 {print "SUBSYSTEM_6"}
    $1 ~ /^(DYNAMIC_BASE|NX_COMPAT|HIGH_ENTROPY_VA|TERMINAL_SERVICE_AWARE)$/ {print $1}
    END {if (relocations && !stripped) print "RELOCATIONS"}' | tr '\n' ' '
}
for file in Tallyvane-$version-win{32,64}{-setup.exe,/Tallyvane.exe}; do
  want="DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE"
  [[ $file != *win64* ]] || want+=" HIGH_ENTROPY_VA"
  [[ $file != */Tallyvane.exe ]] || want+=" RELOCATIONS SUBSYSTEM_6"
  have=" $(marks "$release/$file")"
  for mark in $want; do [[ $have == *" $mark "* ]] || fail "$file is not marked $mark (it is:$have)"; done
done

# Each manifest's download and hash pairs, as SHA256SUMS writes them, both builds in each;
# its version, the version resource's of the program.
manifest_sums() {
  grep -oE '(InstallerUrl: |"url": ")[^"]*|(InstallerSha256: |"hash": ")[0-9A-Fa-f]{64}' "$1" |
    sed -E 's|.*/||; s|^[^ ]* "?||' | paste - - | awk '{print tolower($2) "  " $1}'
}
program_version=$(strings -el "$release/Tallyvane-$version-win32/Tallyvane.exe" | grep -x -A1 ProductVersion | tail -1)
for manifest in winget/Quillmark.Tallyvane.installer.yaml scoop/tallyvane.json; do
  sums=$(manifest_sums "$release/manifests/$manifest")
  [ "$(grep -cxFf <(echo "$sums") "$release/SHA256SUMS")" = 2 ] ||
    fail "$manifest's downloads and hashes are not two lines of SHA256SUMS: $sums"
done
for manifest in "$release"/manifests/*/*; do
  [ "$(grep -ohE '^PackageVersion: .*|"version": "[^"]*"' "$manifest" | grep -oE '[0-9.]+$|[0-9.]+"$' | tr -d '"')" = "$program_version" ] ||
    fail "$manifest is not of the program's version $program_version"
done
[ "$failures" -eq 0 ] && echo "release files: SHA256SUMS lists every other file; both zips hold the program, its licence and its notices; every program and installer is marked; the manifests give the release's hashes and version"
[ "$failures" -eq 0 ]
