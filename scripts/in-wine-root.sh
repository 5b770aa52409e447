#!/usr/bin/env bash
# Runs a command inside the Wine root that scripts/setup-wine.sh prepares, e.g.
#   scripts/in-wine-root.sh /usr/lib/wine/wine64 PROGRAM.exe
# The clone and /tmp are bound at the same paths inside as outside, so paths, the X
# server's socket and the Wine server's socket need no translation; no mount outlives
# the command.
set -euo pipefail
source "$(dirname "$0")/wine-root.conf"
top=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$WINE_ROOT/.ready" ]; then
  echo "in-wine-root: Wine $WINE_VERSION is not prepared; run scripts/setup.sh" >&2
  exit 1
fi
runtime_dir=/tmp/tallyvane-runtime-$(id -u)
mkdir -p "$runtime_dir" && chmod 700 "$runtime_dir"
# A fresh / with the root's (merged) /usr, /etc and /var read-only: the root stays as it was
# set up, and any folder can be bound in.
exec bwrap --tmpfs / --ro-bind "$WINE_ROOT/usr" /usr --ro-bind "$WINE_ROOT/etc" /etc --ro-bind "$WINE_ROOT/var" /var \
  --symlink usr/bin /bin --symlink usr/sbin /sbin --symlink usr/lib /lib --symlink usr/lib64 /lib64 \
  --dev-bind /dev /dev --proc /proc --dir /root \
  --bind /tmp /tmp --bind "$top" "$top" \
  --setenv HOME /root --setenv XDG_RUNTIME_DIR "$runtime_dir" \
  --setenv FONTCONFIG_FILE "$top/scripts/wine-fonts.conf" --setenv XDG_CACHE_HOME "$runtime_dir/cache" \
  --setenv WINELOADER /usr/lib/wine/wine64 \
  "$@"
