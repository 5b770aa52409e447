#!/usr/bin/env bash
# Prepares the Wine that runs both Windows builds: Debian 13's Wine 10 in a small Debian
# 13 root, entered with bubblewrap (scripts/in-wine-root.sh). Its WoW64 mode runs 32-bit
# Windows programs inside a 64-bit process, so the shipped 32-bit build runs here too,
# on a kernel that cannot start 32-bit Linux programs.
#
# The root is kept outside the clone, keyed by the Wine version, and reused by every
# clone; once it is ready this does nothing. Needs root and Debian's mirror.
set -euo pipefail
source "$(dirname "$0")/wine-root.conf"

[ -f "$WINE_ROOT/.ready" ] && exit 0

fail() {
  echo "setup-wine: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "preparing Wine $WINE_VERSION needs root (debootstrap, apt-get); run as root or with sudo"
command -v debootstrap >/dev/null && command -v bwrap >/dev/null ||
  fail "debootstrap and bubblewrap are missing (scripts/setup.sh installs them)"

echo "setup-wine: preparing Wine $WINE_VERSION in $WINE_ROOT (a few minutes, once)"
work="$WINE_ROOT.partial"
rm -rf "$work"
mkdir -p "$(dirname "$WINE_ROOT")"
debootstrap --variant=minbase trixie "$work" "$WINE_MIRROR" >"$work.log" 2>&1 ||
  fail "debootstrap of Debian 13 failed (is $WINE_MIRROR reachable?); see $work.log"

# apt inside the root: the host's name resolution, no privilege dropping (no user
# namespace to drop into).
in_root() {
  bwrap --bind "$work" / --dev /dev --proc /proc --tmpfs /tmp \
    --ro-bind /etc/resolv.conf /etc/resolv.conf \
    --setenv DEBIAN_FRONTEND noninteractive --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin \
    "$@"
}
apt_get() { in_root apt-get -o APT::Sandbox::User=root -q -y "$@"; }

in_root dpkg --add-architecture i386
apt_get update >>"$work.log" 2>&1 || fail "apt-get update in the root failed; see $work.log"
apt_get install --no-install-recommends \
  "wine=$WINE_VERSION" "wine64=$WINE_VERSION" "libwine=$WINE_VERSION" "fonts-wine=$WINE_VERSION" \
  libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1 \
  >>"$work.log" 2>&1 || fail "installing Wine $WINE_VERSION in the root failed; see $work.log"

# The 32-bit Windows DLLs come from the i386 libwine of the same version, unpacked only.
in_root sh -c "cd /tmp && apt-get -o APT::Sandbox::User=root -q download libwine:i386=$WINE_VERSION &&
  dpkg-deb -x libwine_*_i386.deb /tmp/i386 &&
  cp -a /tmp/i386/usr/lib/i386-linux-gnu/wine/i386-windows/. /usr/lib/x86_64-linux-gnu/wine/i386-windows/" \
  >>"$work.log" 2>&1 || fail "adding the 32-bit Windows DLLs failed; see $work.log"
in_root apt-get clean

# Debian ships the DLLs with debug information; every prefix copies them.
for arch in x86_64:x86_64 i386:i686; do
  find "$work/usr/lib/x86_64-linux-gnu/wine/${arch%:*}-windows" -type f \( -name '*.dll' -o -name '*.exe' \
    -o -name '*.sys' -o -name '*.drv' \) -exec "${arch#*:}-w64-mingw32-strip" --strip-debug {} + 2>/dev/null || true
done

[ -x "$work/usr/lib/wine/wine64" ] && [ -f "$work/usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll" ] ||
  fail "the root lacks wine64 or the 32-bit DLLs; see $work.log"
touch "$work/.ready"
rm -rf "$WINE_ROOT"
mv "$work" "$WINE_ROOT"
mv "$work.log" "$WINE_ROOT.log"
echo "setup-wine: Wine $WINE_VERSION ready ($(du -sh "$WINE_ROOT" | cut -f1))"
