#!/usr/bin/env bash
# End-to-end run of the editor on a virtual display, driven like a user with xdotool:
#  1. the Standalone app: click the INPUT read-out, type 1e3 (refused: "Error" box, fresh
#     dialog), type 6 and press Return; closing the app saves its state, which must now hold
#     dbInput = (20 + 6) / 40 = 0.65;
#  2. the Standalone app in Japanese: the logo opens the about box;
#  3. the editor in a window of its own whose update check a local server answers with 202:
#     the badge opens the update dialog.
# Screenshots of the entry dialog, the Japanese about box and the update dialog go to the
# screenshot folder.
#   tools/e2e-standalone.sh [build folder] [screenshot folder]
# Defaults: build/ and docs/. Needs Xvfb, xdotool, ImageMagick and perl (tools/install-deps.sh),
# and the targets Brisca_Standalone, brisca_close_window and brisca_editor_window; a build that is
# not Release names its app in BRISCA_STANDALONE.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$root/docs}
app=${BRISCA_STANDALONE:-$build/plugin/Brisca_artefacts/Release/Standalone/Brisca}
close_window="$build/tests/editor/brisca_close_window"
editor_window="$build/tests/editor/brisca_editor_window"
for program in "$app" "$close_window" "$editor_window"; do
  [ -x "$program" ] || { echo "e2e: missing $program (build it first)" >&2; exit 1; }
done
mkdir -p "$shots"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "e2e: $*" >&2
  [ -f "$work/app.log" ] && sed 's/^/e2e: app: /' "$work/app.log" >&2
  exit 1
}

# -noreset: the window-manager atoms made below must outlive their client.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
"$close_window" --prepare

# Waits for a visible window whose name matches; prints its id. (A search can fail outright
# when a window vanishes while xdotool walks the tree, so it is simply repeated.)
window_named() {
  local id=""
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1) || true
    [ -n "$id" ] && break
    sleep 0.05
  done
  [ -n "$id" ] || fail "no window named $1"
  echo "$id"
}
# Waits until no visible window has this name.
window_gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "window $1 stayed open"
}
# Clicks at x y of a window.
click_in() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove "$((X + $2))" "$((Y + $3))" click 1
}
# Clicks at x y of the 1045 x 410 editor, which fills the bottom of its window.
click_editor() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local border=$(((WIDTH - 1045) / 2))
  xdotool mousemove "$((X + border + $2))" "$((Y + HEIGHT - border - 410 + $3))" click 1
}
# Saves the screen area of a window (with whatever dialog lies over it).
shoot() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  echo "e2e: screenshot $2"
}
# Types text into the entry dialog's field: a click gives the field the keyboard (there is no
# window manager to do it), Ctrl+A replaces the preloaded value.
type_into_entry() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  click_in "$1" "$((WIDTH / 2))" 103
  sleep 0.2
  xdotool key ctrl+a
  xdotool type --delay 20 "$2"
}
start_app() {
  HOME="$work" LANGUAGE="$1" "$app" >"$work/app.log" 2>&1 &
  app_pid=$!
  main=$(window_named '^Brisca$')
  sleep 1 # the first ticks bring the panel to the parameters
}

# 1. A typed value reaches the parameter.
start_app en_US
click_editor "$main" 53 391                  # the INPUT read-out box
entry=$(window_named '^INPUT$')
type_into_entry "$entry" 1e3
xdotool key Return
error=$(window_named '^Error$')
click_in "$error" 100 60 >/dev/null          # the pointer gives the box the keyboard
xdotool key Return
entry=$(window_named '^INPUT$')
type_into_entry "$entry" 6
sleep 0.3
shoot "$main" "$shots/entry-dialog.png"
xdotool key Return
window_gone '^INPUT$'

# Closing the window saves the state into the app's settings, then the app ends.
"$close_window" "$main"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the app did not quit"
app_pid=""
settings="$work/.config/Brisca.settings"
[ -f "$settings" ] || fail "no saved settings at $settings"
# The state is the framework's base64 ("<size>.<6 bits per character, lowest first>") of an
# 8-byte header and the XML.
input=$(perl -e '
  local $/; my $x = <STDIN>;
  $x =~ /name="filterState" val="(\d+)\.([^"]*)"/ or exit 1;
  my ($size, $code) = ($1, $2);
  my $table = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+";
  my ($bits, $count, $bytes) = (0, 0, "");
  for my $c (split //, $code) {
    $bits |= index($table, $c) << $count; $count += 6;
    while ($count >= 8) { $bytes .= chr($bits & 255); $bits >>= 8; $count -= 8; }
  }
  substr($bytes, 0, $size) =~ /dbInput="([^"]*)"/ or exit 1;
  print $1;' <"$settings") || fail "no dbInput in the saved state"
perl -e 'exit(abs($ARGV[0] - 0.65) < 1e-6 ? 0 : 1)' "$input" \
  || fail "dbInput is $input after typing 6 dB, expected 0.65"
echo "e2e: typed 6 dB -> dbInput $input"

# 2. The about box in Japanese.
start_app ja_JP.UTF-8
count=$(xdotool search --onlyvisible --name 'Brisca' | wc -l)
click_editor "$main" 941 36                  # the logo
for _ in $(seq 100); do
  [ "$(xdotool search --onlyvisible --name 'Brisca' | wc -l)" -gt "$count" ] && break
  sleep 0.05
done
[ "$(xdotool search --onlyvisible --name 'Brisca' | wc -l)" -gt "$count" ] || fail "no about box"
sleep 0.3
shoot "$main" "$shots/about-ja.png"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""

# 3. The update dialog, from the badge that a 202 answer brings.
LANGUAGE=en_US "$editor_window" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window_named '^Brisca update$')
# The badge (a red disc at 1015..1039 x 6..30 of the editor) shows a tick after the answer.
badge=""
for _ in $(seq 100); do
  badge=$(import -window "$main" -crop 1x1+1020+18 -depth 8 txt:- 2>/dev/null | tail -n1) || true
  case "$badge" in *"#FF0000"*) break ;; esac
  sleep 0.1
done
case "$badge" in *"#FF0000"*) ;; *) fail "no update badge" ;; esac
click_editor "$main" 1027 18                 # the badge
window_named '^New Brisca is released$' >/dev/null
sleep 0.3
shoot "$main" "$shots/update-dialog.png"
echo "e2e: passed"
