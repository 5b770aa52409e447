#!/usr/bin/env bash
# Builds the release a second time, in a fresh clone of HEAD in another folder, and
# compares it byte for byte with build/release; names every file that differs.
set -euo pipefail
cd "$(dirname "$0")/../.."
first=$PWD/build/release
[ -f "$first/SHA256SUMS" ] || { echo "no release in $first: run scripts/release.sh first"; exit 1; }
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "note: uncommitted changes are in build/release but not in the clone of HEAD"
clone=$(mktemp -d /tmp/tallyvane-rebuild.XXXXXX)
trap 'rm -rf "$clone"' EXIT
git clone -q --no-local . "$clone/elsewhere"
"$clone/elsewhere/scripts/release.sh" >/dev/null
second=$clone/elsewhere/build/release

differ=0
while read -r file; do
  cmp -s "$first/$file" "$second/$file" || { echo "differs: $file"; differ=$((differ + 1)); }
done < <(cd "$first" && find . -type f -printf '%P\n' | sort)
[ "$(cd "$first" && find . -type f | wc -l)" = "$(cd "$second" && find . -type f | wc -l)" ] ||
  { echo "the two releases hold different files"; differ=$((differ + 1)); }
cat "$first/SHA256SUMS"
echo "release rebuilt in $clone/elsewhere: $differ files differ"
[ "$differ" -eq 0 ]
