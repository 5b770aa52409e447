#!/usr/bin/env bash
# Installs what building and testing Tallyvane needs on Debian 12, and prepares the Wine
# that runs the Windows builds (scripts/setup-wine.sh); does nothing when everything is
# already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  debootstrap bubblewrap xvfb xauth x11-apps x11-utils imagemagick
  tzdata file zip unzip nsis git osslsigncode openssl ca-certificates
  reprotest disorderfs diffoscope-minimal faketime locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
# reprotest builds the release again in this locale, whose order is not byte order.
locale -a | grep -qx et_EE.utf8 || "${sudo_cmd[@]}" localedef -i et_EE -c -f UTF-8 et_EE.UTF-8
"${sudo_cmd[@]}" "$(dirname "$0")/setup-wine.sh"
