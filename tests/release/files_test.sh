#!/usr/bin/env bash
# What the release publishes: SHA256SUMS with the checksum of every published file and of
# nothing else; each portable zip with the program, the licence and the notices of the
# runtime linked into it, each exactly as in the source, and a notice for every runtime
# part that the program's strings show, and show as they must.
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

# In byte order, as LC_ALL=C sorts: capitals before small letters, '-' before '/'.
published=$(printf '%s ' Tallyvane-$version-win{32,64}{-portable.zip,-setup.exe,/Tallyvane.exe})
summed=$(sed 's/^[0-9a-f]*  //' "$release/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
[ "$summed" = "$published" ] || fail "SHA256SUMS lists $summed, not $published"
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
[ "$failures" -eq 0 ] && echo "release files: SHA256SUMS lists every published file; both zips hold the program, its licence and its notices"
[ "$failures" -eq 0 ]
