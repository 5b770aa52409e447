# Sourced by the scripts that need a display of their own.
# start_private_xvfb PREFIX...: starts Xvfb on a display that it chooses itself (so two
# jobs on one machine never share one), exports DISPLAY, and at exit ends the Wine
# servers of the PREFIXes and the X server.
private_xvfb_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/in-wine-root.sh
start_private_xvfb() {
  local number_file
  number_file=$(mktemp)
  # Xvfb writes the number of the display it could claim once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  private_xvfb=$!
  private_xvfb_prefixes=("$@")
  trap 'for prefix in "${private_xvfb_prefixes[@]}"; do
          WINEPREFIX="$prefix" timeout 60 "$private_xvfb_wine_root" /usr/lib/wine/wineserver -k 2>/dev/null || true
        done
        kill "$private_xvfb" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    if [ -s "$number_file" ] && kill -0 "$private_xvfb" 2>/dev/null; then
      export DISPLAY=":$(cat "$number_file")"
      rm -f "$number_file"
      return 0
    fi
    kill -0 "$private_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  echo "Xvfb did not start" >&2
  return 1
}
