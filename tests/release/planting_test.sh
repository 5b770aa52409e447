#!/usr/bin/env bash
# DLLs planted beside the program, as a web page can leave them in a downloads folder: a
# copy of the release's program in a folder that also holds a fake of every DLL that the
# program or the system DLLs it uses load by name and that is not one of Windows' known
# DLLs (whose copies Windows takes from the system folder whatever lies beside a program).
# Wine is told to prefer a DLL beside the program, as Windows does for those names. The
# program starts, opens its options dialog and about box, and ends; a fake that the
# program's code loaded, directly or through the system DLLs, fails the test.
#   planting_test.sh win32|win64 RELEASE-DIR WINE-WRAPPER FAKE-DLL ENDURANCE-EXE LOOK-EXE
set -uo pipefail
arch=$1 release=$(realpath "$2") wine=$3 fake=$4 endurance=$5 look=$6
w() { timeout -k 5 120 "$wine" "$@"; }
# A program that a fake crashed leaves Wine's debugger behind; it goes with the server.
trap 'timeout 60 "$wine" --wineserver -k 2>/dev/null' EXIT

# Seen loaded by name in Wine's +loaddll trace of such a run (comctl32, uxtheme, msimg32);
# named in the system DLLs that the program uses, by Wine's and by Windows' (the rest).
# Not planted: what is loaded before any of the program's code runs and is mapped from
# Windows' known DLLs there too (ntdll, kernelbase, ucrtbase, win32u), and Wine's own zlib1.
names="comctl32 uxtheme msimg32 winmm msvfw32 version oleacc atl100 shdocvw opengl32 winspool.drv
  dwmapi cryptbase propsys profapi windows.storage kernel.appcore ntmarta sspicli wldp
  textinputframework textshaping coremessaging coreuicomponents wintypes"
folder=$(dirname "$wine")/planted-$arch
rm -rf "$folder" && mkdir -p "$folder"
cp "$release/Tallyvane-$("$(dirname "$0")/../../scripts/version.sh")-$arch/Tallyvane.exe" "$folder/"
for name in $names; do [[ $name == *.drv ]] || name+=.dll; cp "$fake" "$folder/$name"; done
# Two more ways to have a program load a DLL beside it: a manifest file that makes the
# common controls one of the program's own files, and a .local folder (DotLocal redirection).
# The program's embedded manifest, and its common controls from the side-by-side store, hold.
cat >"$folder/Tallyvane.exe.manifest" <<'END'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Planted" version="1.0.0.0"/>
  <file name="comctl32.dll"/>
</assembly>
END
mkdir "$folder/Tallyvane.exe.local" && cp "$fake" "$folder/Tallyvane.exe.local/comctl32.dll"
failed=0
WINEDLLOVERRIDES="$(echo $names | tr ' ' ,)=n,b" w "$folder/Tallyvane.exe" &
# The tool opens and closes the tray menu, the options dialog and the about box once the
# window is there.
deadline=$((SECONDS + 60))
until w "$endurance" 1 1 >/dev/null 2>&1 || [ $? -eq 2 ]; do
  [ $SECONDS -lt $deadline ] || { echo "FAILED: the tray menu and the dialogs did not open"; failed=1; break; }
  sleep 0.5
done
controls=$(w "$look" 0 | tr -d '\r') || { echo "FAILED: the program did not end through its menu"; failed=1; }
wait
grep -qiE '^common controls: C:\\windows\\winsxs\\[^\\]*common-controls_6595b64144ccf1df_6\.' <<<"$controls" ||
  { echo "FAILED: not the common controls 6 of the side-by-side store: $controls"; failed=1; }
# A load marked "start-up" is Wine's user32 loading uxtheme as it starts, before the
# program runs, which Windows' does not; any other load fails, whatever DLL made it.
loaded=$(cd "$folder" && grep -l program -- *.loaded */*.loaded 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
[ -z "$loaded" ] || { echo "FAILED: planted DLLs were loaded: ${loaded//.loaded/}"; failed=1; }
# The last command's status is the test's: 1 when anything failed.
[ "$failed" -eq 0 ] && echo "none of the $(wc -w <<<"$names") planted DLLs was loaded by the program"
