#!/usr/bin/env bash
# Writes BUILDINFO, which a release publishes: the commit, its time (the release's time
# stamps) and the exact Debian version of every package that makes release bytes, so that
# a rebuild later, after Debian's packages have moved on, can install those versions first
# (from snapshot.debian.org) and get the same bytes. The manifests' links are part of the
# release's bytes too: the folder they point to is recorded, for a rebuild to give again.
#   write-buildinfo.sh FILE RELEASE-URL
set -euo pipefail
cd "$(dirname "$0")/.."
# The compilers, their runtime and the Windows headers and libraries; the linker, strip
# and windres; the build's drivers; the installers' compiler, stubs and plug-ins; zip; and
# the signing tool with its library.
packages=(
  cmake ninja-build gcc-mingw-w64-base mingw-w64-common
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix gcc-mingw-w64-i686-posix-runtime
  mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime
  mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  nsis nsis-common zip osslsigncode libssl3
)
{
  echo "Format: 1.0"
  echo "Source: Tallyvane"
  echo "Version: $(scripts/version.sh)"
  echo "Commit: $(git rev-parse HEAD)"
  echo "Source-Date-Epoch: $SOURCE_DATE_EPOCH"
  echo "Release-Url: $2"
  echo "Build-Architecture: $(dpkg --print-architecture)"
  echo "Build-Origin: Debian $(cut -d. -f1 /etc/debian_version)"
  echo "Installed-Build-Depends:"
  dpkg-query -W -f=' ${Package}:${Architecture} (= ${Version}),\n' "${packages[@]}" | sed '$ s/,$//'
} >"$1"
