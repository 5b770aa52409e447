#!/usr/bin/env bash
# Builds the release again from a copy of this tree on a machine made to differ in every
# way reprotest can vary: another path and folder name, folders listed in shuffled order
# (disorderfs), umask 002, the et_EE.UTF-8 locale (whose order differs from byte order),
# another time zone, HOME, PATH, kernel name, clock (faketime) and host name, on one CPU
# (reprotest would only ever add CPUs to the first build's), and compares it with
# build/release byte for byte; diffoscope shows any difference. Not varied: the user and
# group, which need a second account and sudo; no release file records an owner.
set -euo pipefail
cd "$(dirname "$0")/../.."
first=$PWD/build/release
[ -f "$first/SHA256SUMS" ] || { echo "no release in $first: run scripts/release.sh first"; exit 1; }
work=$(mktemp -d /tmp/tallyvane-reprotest.XXXXXX)
trap 'rm -rf "$work"' EXIT
# reprotest compares its own build with this one, laid out as it lays out its builds.
mkdir -p "$work/control/source-root/build"
cp -a "$first" "$work/control/source-root/build/"
sources=$(find . -mindepth 1 -maxdepth 1 ! -name build -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
reprotest --verbosity 1 --vary=-user_group,-num_cpus \
  --source-pattern "$sources" --control-build "$work/control" \
  -c "taskset -c 0 scripts/release.sh" . build/release 2>&1 | grep -v -e "^\[[0-9]*/[0-9]*\]" -e "^INFO:reprotest:"
