#!/usr/bin/env bash
# Opens the Standalone Brisca on a virtual display and saves a picture of its editor, as shown
# in the README.
#   tools/screenshot-standalone.sh [build folder] [output.png]
# Defaults: build/ and docs/editor.png. Needs Xvfb, xdotool and ImageMagick (tools/install-deps.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/docs/editor.png}
app="$build/plugin/Brisca_artefacts/Release/Standalone/Brisca"
if [ ! -x "$app" ]; then
  echo "screenshot: no Standalone app at $app (build the Brisca_Standalone target)" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "screenshot: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# A fresh HOME: no saved Standalone settings, nothing written to the user's.
HOME="$work" "$app" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brisca$' | head -n1)
if [ -z "$window" ]; then
  echo "screenshot: the Brisca window did not appear" >&2
  cat "$work/app.log" >&2
  exit 1
fi
# Let the first refresh ticks render the panel with the current parameter values.
sleep 2

import -window "$window" "$work/window.png"
# The editor fills the bottom 1045 x 410 of the window; above it the Standalone may show its
# notice about the muted audio input.
convert "$work/window.png" -gravity south -crop 1045x410+0+0 +repage "$out"
echo "screenshot: $out"
