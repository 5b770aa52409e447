#!/usr/bin/env bash
# Installs the 64-bit release silently into a fresh Wine prefix and checks what the
# installer and uninstaller leave behind; checks the 32-bit artefacts statically.
#   install_test.sh RELEASE-DIR WINE-WRAPPER LOOK-EXE RESOURCES-EXE
set -uo pipefail
release=$1 wine=$2 look=$3 resources=$4
version=1.0.0.1
export WINEPREFIX="$(realpath "$(dirname "$wine")")/install-prefix" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
failures=0 passes=0
check() {  # check "what" command...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
reg_has() { "$wine" reg query "$1" /v "$2" >/dev/null 2>&1; }
wait_for() {  # wait_for SECONDS command...: polls until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -ge $deadline ] && return 1; sleep 0.5; done
}

# --- The 32-bit artefacts, statically.
exe32="$release/Tallyvane-$version-win32/Tallyvane.exe"
check "32-bit program is PE32" grep -q "PE32 executable (GUI) Intel 80386" <(file -b "$exe32")
check "32-bit installer is PE32" grep -q "PE32 executable" <(file -b "$release/Tallyvane-$version-win32-setup.exe")
imports=$(i686-w64-mingw32-objdump -p "$exe32" | awk '/DLL Name:/ {print toupper($3)}' | sort | tr '\n' ' ')
check "32-bit imports are system DLLs only ($imports)" \
  test "$imports" = "ADVAPI32.DLL COMCTL32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL "
check "32-bit zip holds the program" grep -q "Tallyvane-$version-win32/Tallyvane.exe" \
  <(unzip -l "$release/Tallyvane-$version-win32-portable.zip")
check "32-bit resources" "$wine" "$resources" "Z:$(realpath "$exe32" | tr / '\\\\')"

# --- Install the 64-bit build into the fresh prefix, which already holds a start date.
"$wine" reg add 'HKCU\Software\Quillmark' /v Year /t REG_DWORD /d 2008 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Quillmark' /v Month /t REG_DWORD /d 6 /f >/dev/null
"$wine" reg add 'HKCU\Software\Quillmark' /v Day /t REG_DWORD /d 30 /f >/dev/null
"$(dirname "$0")/../e2e/prepare-prefix.sh" "$wine"
user_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData | sed 's|/AppData$||')
program="$user_dir/AppData/Local/Programs/Tallyvane/Tallyvane.exe"
uninstaller="$user_dir/AppData/Local/Programs/Tallyvane/Uninstall.exe"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallyvane.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvane'
setup64="$release/Tallyvane-$version-win64-setup.exe"

check "silent install ends well" "$wine" "$setup64" /S
check "program installed" test -f "$program"
check "uninstaller installed" test -f "$uninstaller"
check "Start-menu shortcut" test -f "$shortcut"
check "uninstaller registered" reg_has "$uninstall_key" UninstallString
check "no sign-in entry unless chosen" absent reg_has "$run_key" Tallyvane

# The installed program starts, shows its window and the stored date, and ends.
"$wine" "$program" &
look_output=$("$wine" "$look" 2 | tr -d '\r')
check "installed program shows the stored date" grep -q "^Monday, June 30, 2008" <<<"$look_output"
check "installed program ended through its menu" grep -q "^ended" <<<"$look_output"

# Silent uninstall: the uninstaller reruns itself from a temporary copy, so poll.
"$wine" "$uninstaller" /S
check "program removed" wait_for 30 absent test -e "$program"
check "uninstaller removed" wait_for 30 absent test -e "$uninstaller"
check "shortcut removed" absent test -e "$shortcut"
check "registration removed" wait_for 30 absent reg_has "$uninstall_key" UninstallString
check "start date kept" reg_has 'HKCU\Software\Quillmark' Year

# Chosen start at sign-in: the Run entry, removed again by the uninstaller.
check "silent install with /AUTOSTART" "$wine" "$setup64" /S /AUTOSTART
check "sign-in entry when chosen" reg_has "$run_key" Tallyvane
"$wine" "$uninstaller" /S
check "sign-in entry removed" wait_for 30 absent reg_has "$run_key" Tallyvane
check "start date still kept" reg_has 'HKCU\Software\Quillmark' Day

/usr/lib/wine/wineserver -k 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
