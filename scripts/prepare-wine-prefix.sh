#!/bin/sh
# Prepares the Wine prefix for showing windows the way Windows does, and for tests.
#  - One virtual desktop for every program: it manages windows itself (minimising,
#    frames) and has a taskbar with a notification area.
#  - Wine's own TrueType fonts (Debian's fonts-wine) in the prefix's Fonts folder:
#    Tahoma for "MS Shell Dlg" and Marlett for the caption buttons.
# $1: the build's Wine wrapper. $2: desktop size (default 1024x768).
set -e
wine="$1"
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 ||
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${2:-1024x768}" /f >/dev/null
# A program that crashes ends with its exit code, with no crash dialog waiting for a click.
"$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
prefix=$(sed -n 's/^export WINEPREFIX="\${WINEPREFIX:-\(.*\)}"$/\1/p' "$wine")
fonts="${WINEPREFIX:-$prefix}/drive_c/windows/Fonts"
. "$(dirname "$0")/wine-root.conf"
for font in "$WINE_ROOT"/usr/share/wine/fonts/*.ttf; do
  [ -e "$font" ] && cp -u "$font" "$fonts/"
done
# The desktop mode is read when Wine's desktop process starts, and `reg` started it.
"$wine" --wineserver -k 2>/dev/null || true
