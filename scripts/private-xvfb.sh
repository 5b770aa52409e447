# Sourced by the scripts that need a display of their own.
# start_private_xvfb PREFIX...: starts Xvfb on a free display, exports DISPLAY, waits
# for it, and at exit ends the Wine servers of the PREFIXes and the X server.
private_xvfb_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/in-wine-root.sh
start_private_xvfb() {
  local number=90
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  private_xvfb=$!
  private_xvfb_prefixes=("$@")
  trap 'for prefix in "${private_xvfb_prefixes[@]}"; do
          WINEPREFIX="$prefix" "$private_xvfb_wine_root" /usr/lib/wine/wineserver -k 2>/dev/null || true
        done
        kill "$private_xvfb" 2>/dev/null || true' EXIT
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$number" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$number" >&2
  return 1
}
