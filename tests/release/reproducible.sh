#!/usr/bin/env bash
# Builds the release again from a copy of this tree on a machine made to differ in every
# way reprotest can vary: another path and folder name, folders listed in shuffled order
# (disorderfs), umask 002, the et_EE.UTF-8 locale (whose order differs from byte order),
# another time zone, HOME, PATH, kernel name, clock (faketime) and host name, on one CPU
# (reprotest would only ever add CPUs to the first build's), and compares it with
# build/release byte for byte; diffoscope shows any difference. Not varied: the user and
# group, which need a second account and sudo; no release file records an owner.
# The second build's manifests link where build/release's do (BUILDINFO's Release-Url).
# Where build/release is signed, the second build is unsigned and gets the published
# signatures attached (scripts/attach-signatures.sh, checked against CA-FILE, or without it
# the system's certificate authorities): it is then byte for byte the signed release, so the
# unsigned build was the same too.
#   reproducible.sh [CA-FILE]
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
build="RELEASE_URL='$(sed -n 's/^Release-Url: //p' "$first/BUILDINFO")' taskset -c 0 scripts/release.sh"
signatures=$work/control/source-root/build/release/signatures
[ ! -d "$signatures" ] || build+=" && scripts/attach-signatures.sh '$signatures' ${1:+'$(realpath "$1")'}"
# reprotest warns that without sudo it varies the host and domain name in a user namespace
# of its own (unshare -r --uts), which a Debian kernel may not allow unprivileged users.
# Where it cannot, the build fails, and so does this test: the warnings add nothing. Nor does
# its warning that the control build runs on one CPU: that build is build/release, made
# beforehand on every core, and this one runs on one (taskset), so the two differ anyway.
reprotest --verbosity 1 --vary=-user_group,-num_cpus \
  --source-pattern "$sources" --control-build "$work/control" -c "$build" . build/release 2>&1 |
  grep -vE '^(\[[0-9]*/[0-9]*\]|INFO:reprotest:|WARNING:reprotest[.a-z]*:(Not using sudo for domain_host|Be sure to .echo 1|The control build runs on 1 CPU))'
