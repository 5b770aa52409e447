#!/usr/bin/env bash
# The release of one build: its program and checksums, the installer's page texts, and under
# Wine, in a fresh prefix that already holds a start date: the installed program, upgrades and
# uninstalls that close a running Tallyvane (and start it again after an upgrade), the start at
# sign-in as reinstalls keep, add and remove it, a reinstall into another folder, uninstalls
# that keep the date or remove it, and each refusal's exit code as winget's manifest declares.
# With a CA-FILE, the release is signed: the uninstaller that the install leaves verifies.
#   install_test.sh win32|win64 RELEASE-DIR WINE-WRAPPER LOOK-EXE CLICK-SETUP-EXE [CA-FILE]
set -uo pipefail
arch=$1 release=$(realpath "$2") wine=$3 look=$4 clicker=$5 ca=${6-}
source_dir=$(realpath "$(dirname "$0")/../..")
version=$("$source_dir/scripts/version.sh")
export WINEPREFIX="$(realpath "$(dirname "$wine")")/install-prefix" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
# Every Wine call is bounded, and this prefix's server ends with the test, whatever hangs.
w() { timeout -k 5 120 "$wine" "$@"; }
trap 'timeout 60 "$wine" --wineserver -k 2>/dev/null; chattr -i "${locked-}" "${program-}" "${blocker-}" 2>/dev/null' EXIT
failures=0 passes=0
check() {  # check "what" command...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
contains() { [[ $1 == *"$2"* ]]; }
# The exit codes that winget's manifest declares, "CODE RESPONSE" a line; refused RESPONSE[:CODE]
# command... runs the command and checks that it ends with a code declared for RESPONSE (that
# one, where a response serves two).
declared=$(awk '/^- InstallerReturnCode:/ {code = $3} /^  ReturnResponse:/ {print code, $2}' \
  "$release/manifests/winget/Quillmark.Tallyvane.installer.yaml")
refused() {
  local response=${1%:*} want=${1#*:}; shift; "$@"
  awk -v response="$response" -v code=$? -v want="$want" '$2 == response && $1 == code && (want == response || want == code) {found = 1} END {exit !found}' <<<"$declared"
}
reg_has() { w reg query "$1" /v "$2" >/dev/null 2>&1; }
# Whether reg looked and found no such key or value (reg query KEY [/v VALUE]): a reg that
# could not run, or timed out, finds nothing but proves no absence either.
reg_looked() { [ "$1" -eq 0 ] || { [ "$1" -eq 1 ] && [[ $2 == *"Unable to find the specified registry"* ]]; }; }
reg_lacks() { local out; out=$(w reg query "$@" 2>&1); [ $? -eq 1 ] && reg_looked 1 "$out"; }
wait_for() {  # wait_for SECONDS command...: polls until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -ge $deadline ] && return 1; sleep 0.5; done
}
# Other prefixes may share the display and the machine: a process is this prefix's when
# its environment names it. Wine shows a process by its Windows command line.
ours() { grep -qxzF "WINEPREFIX=$WINEPREFIX" "/proc/$1/environ" 2>/dev/null; }
runs() { local pid; for pid in $(pgrep -f -- "$1"); do ours "$pid" && return 0; done; return 1; }
counter_pid() {  # the process of this prefix's counter window, as Linux sees it
  local id pid
  for id in $(xwininfo -root -tree | awk '/"Tallyvane": \("tallyvane.exe"/ {print $1}'); do
    pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $3}')
    ours "$pid" && echo "$pid" && return 0
  done
  return 1
}
# A counter runs again after the upgrade, in a process that did not run before it.
counter_after() { local pid; pid=$(counter_pid) && [ "$pid" != "$1" ] && ! kill -0 "$1" 2>/dev/null; }
start_counter() {  # start_counter PROGRAM: runs it, and sets $counter to its process
  w "$1" & wait_for 60 eval 'counter=$(counter_pid)'
}

# --- The files.
exe="$release/Tallyvane-$version-$arch/Tallyvane.exe"
setup="$release/Tallyvane-$version-$arch-setup.exe"
case $arch in
  win32) pe="PE32 executable (GUI) Intel 80386" triple=i686-w64-mingw32 nsis_arch=x86 ;;
  win64) pe="PE32+ executable (GUI) x86-64" triple=x86_64-w64-mingw32 nsis_arch=amd64 ;;
esac
check "program and installer are $pe" test "$(file -b "$exe" "$setup" | grep -c "^$pe")" = 2
imports=$("$triple-objdump" -p "$exe" | awk '/DLL Name:/ {print toupper($3)}' | LC_ALL=C sort | tr '\n' ' ')
# Exactly these, all of them Windows' known DLLs, which Windows takes from the system folder
# only: the program's imports are resolved before any of its code can restrict the search.
check "imports are known system DLLs only ($imports)" \
  test "$imports" = "ADVAPI32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL "

# --- The page texts, read from a test build of the same installer.
plain=$(dirname "$WINEPREFIX")/test-setup.exe
rm -f "$plain"  # never the texts of an earlier build
make_plain() { (cd "$source_dir/installer" && makensis -V1 -DTEST_BUILD -DARCH=$nsis_arch \
   -DSOURCE_DIR="$(dirname "$exe")" -DOUTFILE="$plain" tallyvane.nsi); }
check "a test build of the installer" make_plain
texts=$(strings -el "$plain") texts_whole=$(strings -el -w "$plain" | tr -d '\r')
# The page keeps its text in UTF-16; the 8-bit copy is the file it installs.
licence=$(cat "$source_dir/LICENSE")
check "the licence page shows LICENSE, whole" eval '[[ $licence == "MIT License"*"SOFTWARE." ]] &&
  contains "$texts_whole" "$licence"'
check "no build tool's name on the pages" absent grep -q "Nullsoft Install System v" <<<"$texts"

# --- Under Wine, in a fresh prefix that already holds a start date.
date_key='HKCU\Software\Quillmark'
store_date() { for v in Year=2008 Month=6 Day=30; do
  w reg add "$date_key" /v "${v%=*}" /t REG_DWORD /d "${v#*=}" /f >/dev/null 2>&1; done; }
store_date
"$source_dir/scripts/prepare-wine-prefix.sh" "$wine"
user_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData | sed 's|/AppData$||')
windows_dir() { local folder=$1; echo "C:\\users\\$(basename "$user_dir")\\AppData\\Local\\Programs\\${folder//\//\\}"; }
installed_in() {  # the folder that the checks below look at
  install_dir="$user_dir/AppData/Local/Programs/$1"
  program="$install_dir/Tallyvane.exe" uninstaller="$install_dir/Uninstall.exe"
}
installed_in Tallyvane
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallyvane.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Windows' own start-up switch, as Windows writes it: 2 and zeros for on; 3 and the time it
# was switched off for off.
approved_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
switch() { w reg add "$approved_key" /v Tallyvane /t REG_BINARY /d "$1" /f >/dev/null; }
off=0300000070d2ce5d0a67db01
# The key that winget's manifest names as the product code, by which winget finds the install.
uninstall_key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(sed -n 's/^ProductCode: //p' \
  "$release/manifests/winget/Quillmark.Tallyvane.installer.yaml")"
installed() { test -f "$program" && test -f "$uninstaller" && test -f "$install_dir/LICENSE.txt" &&
  test -f "$install_dir/THIRD-PARTY-NOTICES.txt" && test -f "$shortcut" && reg_has "$uninstall_key" UninstallString; }
nothing_installed() { ! test -e "$install_dir" && ! test -e "$shortcut" && reg_lacks "$uninstall_key" /v UninstallString; }
date_values() { local out; out=$(w reg query "$date_key" 2>&1)
  reg_looked $? "$out" && test "$(grep -cE '^ +(Year|Month|Day) +REG_DWORD' <<<"$out")" = "$1"; }
signs_in() { w reg query "$run_key" /v Tallyvane 2>/dev/null | grep -qF "$1\\Tallyvane.exe"; }
# Runs the installer (Setup) or the uninstaller (Uninstall) and clicks through its pages as
# a person does, clicking the boxes named (and unticking the finish page's Run box); sets
# $shown to what the pages showed. Its output goes through a file: a Wine server that a
# Wine program started would hold a pipe open after the program ends.
click_through() {
  local kind=$1 status; shift
  if [ "$kind" = Setup ]; then w "$setup" & set -- "$@" "&Run Tallyvane"; else w "$uninstaller" & fi
  w "$clicker" "Tallyvane $kind" "$@" >"$WINEPREFIX.shown"; status=$?
  [ $status -eq 0 ] || kill $! 2>/dev/null  # a driver that stopped left a page open
  shown=$(tr -d '\r' <"$WINEPREFIX.shown") && echo "$shown" >&2  # in the log of a failed run
  wait $! && wait_for 30 absent runs '~nsu' && [ $status -eq 0 ]
}

# A portable copy holds no file of the install: it runs on, and nothing else is started.
start_counter "$exe"
check "silent install ends well" w "$setup" /S
check "program, licence, notices, uninstaller, shortcut and registration installed" installed
check "and the portable copy runs on" eval '[ -n "$counter" ] && [ "$(counter_pid)" = "$counter" ]'
w "$look" 1 >/dev/null  # ends it through its menu
verifies() { local out; out=$(osslsigncode verify -CAfile "$ca" -in "$1" 2>&1) || { grep -iE 'mismatch|no signature|error' <<<"$out"; false; }; }
[ -z "$ca" ] || check "the uninstaller it left is signed, and verifies" verifies "$uninstaller"
for file in LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  check "installed $file is the release's" cmp "$install_dir/$file" "$(dirname "$exe")/$file"
done
# The sign-in box, clicked: it shows whether Tallyvane starts at sign-in, and decides it; a
# silent install without a switch keeps what the box would show.
check "box unticked without the entry; ticked, it adds the entry" eval 'click_through Setup "Start at sign-in" &&
  contains "$shown" "box Start at sign-in: unticked" && signs_in "$(windows_dir Tallyvane)"'
check "box ticked with the entry; unticked, it removes the entry" eval 'click_through Setup "Start at sign-in" &&
  contains "$shown" "box Start at sign-in: ticked" && reg_lacks "$run_key" /v Tallyvane'

# A second build of the release, whose program differs by a line at its end, which Windows
# does not load: an upgrade over a running counter, silent (as winget runs it) and clicked,
# closes it, installs, and starts the new program, on the same date and start at sign-in.
second=$(dirname "$WINEPREFIX")/second-build
rm -rf "$second" && mkdir -p "$second"
cp "$(dirname "$exe")"/*.txt "$second/" && { cat "$exe"; echo "second build"; } >"$second/Tallyvane.exe"
(cd "$source_dir/installer" && makensis -V1 -DARCH=$nsis_arch -DSOURCE_DIR="$second" \
  -DOUTFILE="$second/setup.exe" tallyvane.nsi) || echo "FAILED: the second build"
shows_date_and_ends() { local out; w "$look" 2 >"$WINEPREFIX.shown"; out=$(tr -d '\r' <"$WINEPREFIX.shown")
  grep -q "^Monday, June 30, 2008" <<<"$out" && grep -qx ended <<<"$out"; }
upgraded() {  # from the process $counter to the program $1 of folder Tallyvane, as it was
  wait_for 30 counter_after "$counter" && cmp -s "$program" "$1" && date_values 3 &&
    signs_in "$(windows_dir Tallyvane)"
}
w "$setup" /S /AUTOSTART >/dev/null
start_counter "$program"
check "a silent upgrade over the running counter ends well; the new program runs in its place, on the same date and start at sign-in" eval 'w "$second/setup.exe" /S && upgraded "$second/Tallyvane.exe" && shows_date_and_ends'
start_counter "$program"
message="message: Tallyvane is running. Setup will close it, and start it again once it is installed."
check "a clicked setup says it will close it; Cancel there changes nothing" eval 'refused cancelledByUser click_through Setup answer:Cancel &&
  contains "$shown" "$message" && [ "$(counter_pid)" = "$counter" ] &&
  cmp -s "$program" "$second/Tallyvane.exe"'
check "a clicked upgrade through its pages, on OK, closes it and starts the new one" eval 'click_through Setup answer:OK &&
  contains "$shown" "$message" && upgraded "$exe"'
# One that does not answer (stopped: it handles no message and does not end when asked) is
# refused, by the setup and the uninstaller, with nothing changed; it runs on once let go. It is
# stopped once ready: stopped while the shell still asks it something as it opens, it would hold
# the shell. And it stays stopped only where a Wine program still starts: stopped inside a lock
# of Wine's own that every program takes as it starts, it would hold them all.
hold() { for _ in 1 2 3 4 5; do
  kill -STOP "$counter" && timeout -k 5 20 "$wine" reg query "$date_key" >/dev/null 2>&1 && return 0
  kill -CONT "$counter"; sleep 1; done; return 1; }
check "the counter held once ready" eval 'counter=$(counter_pid) && w "$look" --ready && hold'
check "a counter that does not answer: the upgrade is refused" refused packageInUse w "$second/setup.exe" /S
check "the uninstall in place too" refused packageInUse w "$uninstaller" /S "_?=$(windows_dir Tallyvane)"
check "and nothing changed" eval 'installed && cmp -s "$program" "$exe" && [ "$(counter_pid)" = "$counter" ]'
check "and let go" kill -CONT "$counter"
check "it runs on once let go" shows_date_and_ends

# Start at sign-in as Windows' own switch holds it.
w "$setup" /S /AUTOSTART >/dev/null
# The first byte's low bit tells on from off: 2 and 6 are on, 3, 7 and 0x63 off. The test build
# ends with 11 where the box would show ticked, 10 where unticked.
for first in 02:11 06:11 03:10 07:10 63:10; do
  switch "${first%:*}0000000000000000000000"
  check "box ticked (11) or not (10) with the switch's first byte $first" eval 'w "$plain"; [ $? -eq "${first#*:}" ]'
done
switch $off
check "/AUTOSTART switches it back on" eval 'w "$setup" /S /AUTOSTART &&
  signs_in "$(windows_dir Tallyvane)" && reg_lacks "$approved_key" /v Tallyvane'
switch $off
check "box unticked with the entry switched off; left so, the entry and the switch go" eval 'click_through Setup &&
  contains "$shown" "box Start at sign-in: unticked" && reg_lacks "$run_key" /v Tallyvane &&
  reg_lacks "$approved_key" /v Tallyvane'
w "$setup" /S /AUTOSTART >/dev/null

# A folder that cannot be written (its parent made immutable, which holds even for root),
# or a file in its place: nothing changes, the earlier copy least of all.
locked="${install_dir%/*}/Locked" in_the_way="${install_dir%/*}/InTheWay"
mkdir -p "$locked" && touch "$in_the_way"
if chattr +i "$locked"; then
  check "an install into a folder that cannot be made stops" \
    refused custom w "$setup" /S "/D=$(windows_dir Locked)\\Tallyvane"
  chattr -i "$locked"
else echo "SKIPPED: the folder that cannot be made (no chattr +i on this file system)"; fi
check "an install where a file stands stops" refused custom w "$setup" /S "/D=$(windows_dir InTheWay)"
check "and changes nothing" eval 'installed && signs_in "$(windows_dir Tallyvane)" &&
  test -f "$in_the_way" && ! test -e "$locked/Tallyvane"'
rm -rf "$locked" "$in_the_way"
# A /D= that is no folder below a root: the current drive's root, relative to where the
# setup was started, a drive alone or its root. Refused at once; nothing written anywhere.
# The relative folder exists here and can be written: only its form can refuse it.
mkdir -p relative/Tally
for folder in '\' 'relative\Tally' 'C:' 'C:\'; do
  check "/D=$folder refused at once, nothing written" eval 'refused invalidParameter w "$setup" /S "/D=$folder" &&
    installed && [ -z "$(ls -A relative/Tally)" ] && ! test -e "$WINEPREFIX/drive_c/Tallyvane.exe"'; done
rm -r relative

# Into another folder: the earlier copy is removed first, unless its program cannot be deleted
# (immutable here, which holds even for root): then the earlier copy stays whole, its shortcut,
# entry under Apps and start at sign-in too. Its name has a space, so Wine quotes the /D=
# switch, as many tools do.
elsewhere="Elsewhere Too"
if chattr +i "$program"; then
  start_counter "$program"
  check "an upgrade that cannot write over the program stops, and starts the counter it closed again" \
    eval 'refused fileInUse:7 w "$setup" /S && wait_for 30 counter_after "$counter" && counter=$(counter_pid)'
  check "a reinstall elsewhere stops when the earlier program cannot be deleted" \
    refused fileInUse:6 w "$setup" /S "/D=$(windows_dir "$elsewhere")"
  chattr -i "$program"
  # A move onto a program that cannot be written over stops before the earlier copy goes.
  blocker="${install_dir%/*}/$elsewhere/Tallyvane.exe" && mkdir "${blocker%/*}" && : >"$blocker" && chattr +i "$blocker"
  check "a move onto a program that cannot be written stops" eval 'wait_for 30 counter_after "$counter" &&
    counter=$(counter_pid) && refused fileInUse:7 w "$setup" /S "/D=$(windows_dir "$elsewhere")"'
  chattr -i "$blocker" && rm -r "${blocker%/*}"
  check "and leaves the earlier copy whole, its counter running again, nothing installed elsewhere" eval 'installed &&
    signs_in "$(windows_dir Tallyvane)" && ! test -e "${install_dir%/*}/$elsewhere" && wait_for 30 counter_after "$counter" &&
    shows_date_and_ends'
else echo "SKIPPED: the program that cannot be deleted (no chattr +i on this file system)"; fi
check "a reinstall elsewhere ends well, leaves no earlier file, points registration, shortcut and sign-in entry elsewhere, and keeps the date" eval 'w "$setup" /S "/D=$(windows_dir "$elsewhere")" && absent test -e "$install_dir" &&
  w reg query "$uninstall_key" /v InstallLocation | grep -qF "$(windows_dir "$elsewhere")" &&
  grep -qaF Elsewhere "$shortcut" && signs_in "$(windows_dir "$elsewhere")" && date_values 3'
# An earlier copy whose uninstaller is gone: the files it installed go, nothing else there.
installed_in "$elsewhere"
check "everything in the folder named as winget names it, quoted here (/S \"/D=FOLDER\")" installed
rm "$uninstaller" && echo mine >"$install_dir/notes.txt"
check "a reinstall from a copy without its uninstaller ends well" w "$setup" /S "/D=$(windows_dir Tallyvane)\\"
check "and leaves only what was not installed" eval '[ "$(ls "$install_dir")" = notes.txt ]'
rm -r "$install_dir"
installed_in Tallyvane

# Uninstalls: everything goes, the sign-in entry and its switch too; the start date stays
# unless asked. The first is clicked through from a folder whose name needs three lines.
long="Recovery & Wellbeing/Daily Companions for the Long Road Home/Tallyvane, Counting Every Single Day"
installed_in "$long"  # where a copy runs, which the setup says, as that page is left, it will close
mkdir -p "$install_dir" && cp "$exe" "$program" && start_counter "$program"
check "a clicked install into a folder typed in, where a copy runs" eval 'click_through Setup "folder:$(windows_dir "$long")" then:OK &&
  contains "$shown" "$message" && wait_for 30 counter_after "$counter" && counter=$(counter_pid)'
switch $off
check "the uninstall page shows all the folder's name, & and all, that the date stays, and that it closes the counter" eval 'click_through Uninstall &&
  contains "$shown" "label fits: Tallyvane is running. Uninstall will close it first." &&
  contains "$shown" "label fits: Tallyvane will be removed from $(windows_dir "$long"). Choose" &&
  contains "$shown" "label fits: Your start date stays on this computer, so that Tallyvane counts on from it if you install it again. It is kept in the registry under HKEY_CURRENT_USER\\Software\\Quillmark." &&
  contains "$shown" "box &Remove my start date too: unticked"'
gone() { wait_for 10 absent kill -0 "$counter" 2>/dev/null; }
check "uninstall ends the counter and removes everything" eval 'gone && wait_for 30 nothing_installed'
check "sign-in entry and switch removed" eval 'reg_lacks "$run_key" /v Tallyvane &&
  reg_lacks "$approved_key" /v Tallyvane'
check "start date kept" date_values 3
installed_in Tallyvane
w reg add "$date_key" /v Other /d kept /f >/dev/null
w "$setup" /S /AUTOSTART >/dev/null
check "/NOAUTOSTART removes the sign-in entry" eval 'w "$setup" /S /NOAUTOSTART &&
  reg_lacks "$run_key" /v Tallyvane'
check "the uninstall page's box, ticked, removes the three values" eval 'click_through Uninstall "&Remove my start date too" &&
  date_values 0'
check "and keeps the key with what else it holds" reg_has "$date_key" Other
w reg delete "$date_key" /v Other /f >/dev/null
store_date
w "$setup" /S >/dev/null
start_counter "$program"
w "$uninstaller" /S /REMOVEDATE && wait_for 30 absent runs '~nsu'  # the copy that it hands over to
check "/REMOVEDATE ends the counter and removes the emptied key" eval 'gone && wait_for 30 nothing_installed && reg_lacks "$date_key"'
w "$setup" /S >/dev/null && store_date
start_counter "$program"
check "in place, it ends the counter too, keeping the date" eval 'w "$uninstaller" /S "_?=$(windows_dir Tallyvane)" &&
  gone && ! test -f "$program" && date_values 3'
rm -r "$install_dir"  # run in place, the uninstaller stays


# At 150 percent (the prefix's DPI, which each program reads as it starts), every page of a
# clicked install and uninstall shows all its labels.
w reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
check "at 144 DPI, a clicked install and uninstall show every label whole" eval 'click_through Setup \
  "folder:$(windows_dir "$long")" && pages=$shown && installed_in "$long" && click_through Uninstall &&
  contains "$pages$shown" "label fits: Tallyvane will be removed" && absent grep -qE "^label (cut|hides)" <<<"$pages$shown"'
w reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null


echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
