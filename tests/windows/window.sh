#!/usr/bin/env bash
# The Windows build's game in a real window, under Wine and Xvfb: the window opens with SDL's
# windows driver, frames are drawn into it (a screenshot of the screen shows the frame, not a
# blank window), F12 saves the frame as a PNG in the player's Pictures\Tarnyx folder and prints
# its path, a flight recorded with --record into a file whose name goes beyond ASCII replays with
# the Linux tool without drift, and Alt+F4 ends the game with status 0.
# Usage: window.sh WINDOWS_BUILD_DIR LINUX_TOOL [SHOTS_DIR]
#   SHOTS_DIR keeps the screen's picture (screen.png) and the game's own (game.png) to look at.
set -euo pipefail
fail() { echo "window: FAIL: $*" >&2; exit 1; }
[ $# -ge 2 ] || { echo "usage: window.sh WINDOWS_BUILD_DIR LINUX_TOOL [SHOTS_DIR]" >&2; exit 2; }
build=$(cd "$1" && pwd)
tool=$2
game=$build/tarnyx.exe
wine=/usr/lib/wine/wine64
[ -f "$game" ] || fail "$game not built (make windows)"
[ -x "$tool" ] || fail "$tool is no Linux headless tool"
[ -x "$wine" ] || fail "no $wine (scripts/install-deps windows)"

if [ "${4:-}" != "--inside" ]; then
  for t in xvfb-run xdotool import; do
    command -v "$t" >/dev/null || fail "needs $t (scripts/install-deps windows)"
  done
  shots=${3:-}
  [ -z "$shots" ] || { mkdir -p "$shots" && shots=$(cd "$shots" && pwd); }
  exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$build" "$tool" "${shots:-.}" --inside
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

# A Wine server of this prefix left by programs run without a display (the headless tool's
# checks) keeps a desktop that has no display driver, on which no window can be made: it is ended
# first. Then the prefix is made ready, so that its set-up is not counted as the game's start.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
"$wine" cmd /c exit >/dev/null 2>&1 || true
# The player's Pictures folder, as Linux sees it.
pictures=$("$wine" winepath.exe -u "$("$wine" cmd /c 'echo %USERPROFILE%' | tr -d '\r')\\Pictures" 2>/dev/null | tr -d '\r')
[ -n "$pictures" ] || fail "Wine names no Pictures folder"
# Wine may link that folder to the user's own Pictures: nothing there is removed, the new picture
# is told from those before it.
find "$pictures/Tarnyx" -name 'tarnyx-*.png' 2>/dev/null | sort >"$work/pictures-before"

demo="$work/Flug über Ωmega 日本.tnxdemo"
"$wine" "$game" --record "$demo" >"$work/out" 2>"$work/err" &
pid=$!
window=""
until=$((SECONDS + 120))
while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(head -c 2000 "$work/err")"
  sleep 0.5
  window=$(xdotool search --name '^Tarnyx$' 2>/dev/null | head -n 1 || true)
done
[ -n "$window" ] || fail "no window"
echo "window: window $window: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 3  # the first frames, and the welcome lines sliding in

import -window root "$work/screen.png"
[ "$shots" = . ] || cp "$work/screen.png" "$shots/screen.png"
# A drawn frame has the starfield, readouts and radar: far more than a handful of colours.
colours=$(identify -format '%k' "$work/screen.png")
echo "window: the screen shows $colours colours"
[ "$colours" -gt 8 ] || fail "the screen is blank ($colours colours)"

# Something to record: thrust and a turn.
xdotool keydown Up; sleep 1; xdotool keydown Left; sleep 0.5; xdotool keyup Left; xdotool keyup Up

xdotool key F12
until=$((SECONDS + 20))
while ! grep -q '\.png' "$work/out" && [ "$SECONDS" -lt "$until" ]; do sleep 0.2; done
printed=$(tr -d '\r' <"$work/out" | grep '\.png$' | head -n 1 || true)
[ -n "$printed" ] || fail "F12 printed no path: $(head -c 500 "$work/out") $(head -c 500 "$work/err")"
echo "window: F12 saved $printed"
saved=$(find "$pictures/Tarnyx" -name 'tarnyx-*.png' 2>/dev/null | sort |
  comm -13 "$work/pictures-before" - | head -n 1)
[ -n "$saved" ] || fail "no screenshot in $pictures/Tarnyx"
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
# On a machine without a sound card, Wine's own sound driver lets the host's ALSA library complain
# on the program's stderr ("ALSA lib ..."): those lines are Wine's, not the game's.
grep -v '^ALSA lib ' "$work/err" >"$work/game-err" || true
[ ! -s "$work/game-err" ] || fail "stderr: $(head -c 2000 "$work/game-err")"

# The recording, complete under its own name, replays on Linux to its checksums.
[ -f "$demo" ] && [ ! -e "$demo.part" ] || fail "the recording was not completed: $(ls "$work")"
grep -q "^recorded [0-9]* frames into $demo" <(tr -d '\r' <"$work/out") || fail "--record said: $(head -c 500 "$work/out")"
"$tool" demo "$demo" >"$work/replay" 2>&1 || fail "the recording does not replay on Linux: $(cat "$work/replay")"
frames=$(sed -E 's/ frames.*//' "$work/replay")
[ "$frames" -ge 100 ] || fail "only $frames frames recorded"
echo "window: the recording replays on Linux: $(cat "$work/replay")"
echo "window: ok"
