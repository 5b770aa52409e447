#!/usr/bin/env bash
# The release of one build: its program and checksums, the installer's page texts, and under
# Wine a silent install into a fresh prefix that already holds a start date, refused while
# Tallyvane runs, the installed program, and a silent uninstall that keeps the date.
#   install_test.sh win32|win64 RELEASE-DIR WINE-WRAPPER LOOK-EXE RESOURCES-EXE
set -uo pipefail
arch=$1 release=$(realpath "$2") wine=$3 look=$4 resources=$5
version=1.0.0.1 source_dir=$(realpath "$(dirname "$0")/../..")
export WINEPREFIX="$(realpath "$(dirname "$wine")")/install-prefix" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
failures=0 passes=0
check() {  # check "what" command...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
contains() { [[ $1 == *"$2"* ]]; }
exits_with() { local code=$1; shift; "$@"; [ $? -eq "$code" ]; }
reg_has() { "$wine" reg query "$1" /v "$2" >/dev/null 2>&1; }
wait_for() {  # wait_for SECONDS command...: polls until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -ge $deadline ] && return 1; sleep 0.5; done
}
counter_window() { xwininfo -root -tree | grep -q '"Tallyvane": ("tallyvane.exe"'; }

# --- The files.
exe="$release/Tallyvane-$version-$arch/Tallyvane.exe"
setup="$release/Tallyvane-$version-$arch-setup.exe"
case $arch in
  win32) pe="PE32 executable (GUI) Intel 80386" triple=i686-w64-mingw32 nsis_arch=x86 ;;
  win64) pe="PE32+ executable (GUI) x86-64" triple=x86_64-w64-mingw32 nsis_arch=amd64 ;;
esac
check "program and installer are $pe" test "$(file -b "$exe" "$setup" | grep -c "^$pe")" = 2
imports=$("$triple-objdump" -p "$exe" | awk '/DLL Name:/ {print toupper($3)}' | LC_ALL=C sort | tr '\n' ' ')
check "imports are system DLLs only ($imports)" \
  test "$imports" = "ADVAPI32.DLL COMCTL32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL "
check "SHA256SUMS matches the files" bash -c "cd '$release' && sha256sum --quiet -c SHA256SUMS"
check "resources" "$wine" "$resources" "Z:$(realpath "$exe" | tr / '\\\\')"

# --- The page texts, read from an uncompressed build of the same installer.
plain=$(dirname "$WINEPREFIX")/plain-setup.exe
rm -f "$plain"  # never the texts of an earlier build
make_plain() { (cd "$source_dir/installer" && makensis -V1 -DUNCOMPRESSED -DARCH=$nsis_arch \
   -DSOURCE_DIR="$(dirname "$exe")" -DOUTFILE="$plain" tallyvane.nsi); }
check "an uncompressed build of the installer" make_plain
texts=$(strings -el "$plain") texts_whole=$(strings -el -w "$plain" | tr -d '\r')
for text in "Tallyvane Setup" "Tallyvane Uninstall" "Tallyvane $version" "Start at sign-in" \
  "The counter, a Start-menu shortcut and an uninstaller." \
  "Start Tallyvane in the notification area each time you sign in to Windows." \
  "Tallyvane is running. Choose Exit Tallyvane in its notification-area menu, then choose Retry." \
  "Tallyvane is free to use, copy and pass on under this licence. Choose Next to continue."; do
  check "page text \"$text\"" grep -qxF "$text" <<<"$texts"
done
# The page keeps its text in UTF-16; the 8-bit copy is the file it installs.
check "the licence page shows LICENSE, whole" contains "$texts_whole" "$(cat "$source_dir/LICENSE")"
check "no build tool's name on the pages" absent grep -q "Nullsoft Install System v" <<<"$texts"

# --- Under Wine, in a fresh prefix that already holds a start date.
"$wine" reg add 'HKCU\Software\Quillmark' /v Year /t REG_DWORD /d 2008 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Quillmark' /v Month /t REG_DWORD /d 6 /f >/dev/null
"$wine" reg add 'HKCU\Software\Quillmark' /v Day /t REG_DWORD /d 30 /f >/dev/null
"$source_dir/scripts/prepare-wine-prefix.sh" "$wine"
user_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData | sed 's|/AppData$||')
install_dir="$user_dir/AppData/Local/Programs/Tallyvane"
program="$install_dir/Tallyvane.exe" uninstaller="$install_dir/Uninstall.exe"
install_dir_windows="C:\\users\\$(basename "$user_dir")\\AppData\\Local\\Programs\\Tallyvane"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallyvane.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvane'
installed() { test -f "$program" && test -f "$uninstaller" && test -f "$install_dir/LICENSE.txt" &&
  test -f "$install_dir/THIRD-PARTY-NOTICES.txt" && test -f "$shortcut" && reg_has "$uninstall_key" UninstallString; }
nothing_installed() { ! test -e "$install_dir" && ! test -e "$shortcut" && ! reg_has "$uninstall_key" UninstallString; }

# While the portable program runs, a silent install changes nothing and fails.
"$wine" "$exe" &
check "portable program runs" wait_for 60 counter_window
check "silent install refused while Tallyvane runs (exit 2)" exits_with 2 "$wine" "$setup" /S
check "nothing installed while it runs" nothing_installed
"$wine" "$look" 1 >/dev/null  # ends it through its menu

check "silent install ends well" "$wine" "$setup" /S
check "program, licence, notices, uninstaller, shortcut and registration installed" installed
for file in LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  check "installed $file is the release's" cmp "$install_dir/$file" "$(dirname "$exe")/$file"
done
check "no sign-in entry unless chosen" absent reg_has "$run_key" Tallyvane

# While the installed program runs, a silent uninstall changes nothing; run in place
# (_?=) it waits and reports the refusal (the plain one hands over to a copy and returns).
"$wine" "$program" &
check "installed program runs" wait_for 60 counter_window
"$wine" "$uninstaller" /S
check "silent uninstall in place refused while Tallyvane runs (exit 2)" \
  exits_with 2 "$wine" "$uninstaller" /S "_?=$install_dir_windows"
check "everything still installed while it runs" installed
look_output=$("$wine" "$look" 2 | tr -d '\r')
check "installed program shows the stored date" grep -q "^Monday, June 30, 2008" <<<"$look_output"
check "installed program ended through its menu" grep -q "^ended" <<<"$look_output"

# Silent uninstall: the uninstaller reruns itself from a temporary copy, so poll.
"$wine" "$uninstaller" /S
check "uninstall removes everything" wait_for 30 nothing_installed
check "start date kept" reg_has 'HKCU\Software\Quillmark' Year

# Chosen start at sign-in: the Run entry, removed again by the uninstaller.
check "silent install with /AUTOSTART" "$wine" "$setup" /S /AUTOSTART
check "sign-in entry when chosen" reg_has "$run_key" Tallyvane
"$wine" "$uninstaller" /S
check "sign-in entry removed" wait_for 30 absent reg_has "$run_key" Tallyvane
check "start date still kept" reg_has 'HKCU\Software\Quillmark' Day

"$wine" --wineserver -k 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
