#!/usr/bin/env bash
# The Windows build's game in a real window, under Wine and Xvfb: the window opens with SDL's
# windows driver, frames are drawn into it (a screenshot of the screen shows the frame, not a
# blank window), F12 saves the frame as a PNG in the player's folder under %LOCALAPPDATA% and
# prints its path, and Alt+F4 ends the game with status 0.
# Usage: windows_window.sh SOURCE_DIR WINDOWS_BUILD_DIR [SHOTS_DIR]
#   SHOTS_DIR keeps the screen's picture (screen.png) and the game's own (game.png) to look at.
set -euo pipefail
build=$(cd "$2" && pwd)
game=$build/app/tarnyx.exe
wine=/usr/lib/wine/wine64
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$game" ] || fail "$game not built (make windows)"
[ -x "$wine" ] || fail "no $wine (scripts/install-deps windows)"

if [ "${4:-}" != "--inside" ]; then
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || fail "needs $tool (scripts/install-deps windows)"
  done
  shots=${3:-}
  [ -z "$shots" ] || { mkdir -p "$shots" && shots=$(cd "$shots" && pwd); }
  exec xvfb-run -a -n $((100 + RANDOM % 900)) -s '-screen 0 1024x768x24' \
    bash "$0" "$1" "$2" "${shots:-.}" --inside
fi
shots=$3

work=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=-all
pid=""
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  # Wine's server for this prefix outlives the program by a few seconds; it must not outlive us.
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The prefix made beforehand, so that the first start's set-up is not counted as the game's.
"$wine" cmd /c exit >/dev/null 2>&1 || true
folder=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tarnyx
rm -rf "$folder"

"$wine" "$game" >"$work/out" 2>"$work/err" &
pid=$!
window=""
until=$((SECONDS + 120))
while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(head -c 2000 "$work/err")"
  sleep 0.5
  window=$(xdotool search --name '^Tarnyx$' 2>/dev/null | head -n 1 || true)
done
[ -n "$window" ] || fail "no window"
echo "windows_window: window $window: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 3  # the first frames, and the welcome lines sliding in

import -window root "$work/screen.png"
[ "$shots" = . ] || cp "$work/screen.png" "$shots/screen.png"
# A drawn frame has the starfield, readouts and radar: far more than a handful of colours.
colours=$(identify -format '%k' "$work/screen.png")
echo "windows_window: the screen shows $colours colours"
[ "$colours" -gt 8 ] || fail "the screen is blank ($colours colours)"

xdotool key F12
until=$((SECONDS + 20))
while ! grep -q '\.png' "$work/out" && [ "$SECONDS" -lt "$until" ]; do sleep 0.2; done
printed=$(tr -d '\r' <"$work/out" | grep '\.png$' | head -n 1 || true)
[ -n "$printed" ] || fail "F12 printed no path: $(head -c 500 "$work/out") $(head -c 500 "$work/err")"
echo "windows_window: F12 saved $printed"
saved=$(find "$folder" -name 'tarnyx-*.png' 2>/dev/null | head -n 1)
[ -n "$saved" ] || fail "no screenshot in $folder"
[ "$shots" = . ] || cp "$saved" "$shots/game.png"
identify "$saved" | grep -q ' 1024x768 ' || fail "the saved frame is not 1024x768: $(identify "$saved")"

xdotool key --window "$window" alt+F4 2>/dev/null || xdotool key alt+F4
status=0
until=$((SECONDS + 60))
while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$until" ]; do sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "Alt+F4 did not end the game"
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "Alt+F4: status $status: $(head -c 2000 "$work/err")"
[ ! -s "$work/err" ] || fail "stderr: $(head -c 2000 "$work/err")"
echo "windows_window: ok"
