#!/usr/bin/env bash
# The player's settings in a real window under Xvfb. Round trip: M, the volume keys, Alt+Enter and
# a resize change the settings, the game writes them into its file keeping the comment and the
# unknown line the test put there, and the next start finds them applied (a window of that size,
# the sound muted, then unmuted by M); `tarnyx --settings` says where each value came from, and the
# command line's values are not saved. A key rebound in the file steers (seen in a recording). Every
# file of a malformed corpus starts the game with one line per fault and the defaults, and is left
# as it was. A settings folder that cannot be made: the game plays and says so once.
# Usage: tarnyx_settings_window.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib/window.sh" tarnyx_settings_window "$@"
start_under_xvfb xdotool sox

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=disk
file=$work/config/tarnyx/settings.ini
mkdir -p "$work/config/tarnyx"

window=""
start_game() {  # start_game WHAT AUDIOFILE ARGS...: the game in the background, its window focused
  local what=$1 audio=$2
  shift 2
  SDL_DISKAUDIOFILE=$audio "$game" "$@" >"$work/out" 2>"$work/err" &
  pid=$!
  window=""
  local until=$((SECONDS + 120))
  while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
    kill -0 "$pid" 2>/dev/null || fail "$what: the game ended: $(head -c 2000 "$work/err")"
    sleep 0.2
    window=$(xdotool search --name '^Tarnyx$' 2>/dev/null | head -n 1 || true)
  done
  [ -n "$window" ] || fail "$what: no window"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 1
}
end_game() {  # end_game WHAT: Alt+F4 ends it within 60 s with status 0
  local status=0 until=$((SECONDS + 60))
  xdotool key alt+F4
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$until" ]; do sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "$1: status $status: $(head -c 2000 "$work/err")"
}
size() { xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }'; }
has() { grep -qxF "$1" "$file" || fail "$2: the file lacks '$1': $(cat "$file")"; }
# The loudest sample of the game's raw sound (48 kHz, 16-bit, mono), 0 when there is none.
loudest() {
  [ -s "$1" ] || { echo 0; return; }
  sox -t raw -r 48000 -e signed-integer -b 16 -c 1 -L "$1" -n stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }'
}
louder() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# --- Round trip ---
printf '# my own words about the settings\nfuture_setting = 12\nvolume = 80\n' >"$file"
start_game "first run" "$work/first.raw" --joystick first
[ "$(size)" = "1024x768" ] || fail "first run: full screen is $(size)"
xdotool key m
xdotool key minus
xdotool key minus
xdotool key alt+Return
sleep 1.5  # the window manager's own sizes after the switch are not the player's
xdotool windowsize --sync "$window" 800 600 2>/dev/null || xdotool windowsize "$window" 800 600
sleep 1
end_game "first run"
# The unknown line is named (a newer game's setting, or a typing mistake), and nothing else.
[ "$(cat "$work/err")" = "$file:2: unknown setting 'future_setting' (the line is kept as it is)" ] ||
  fail "first run: stderr: $(cat "$work/err")"
has "# my own words about the settings" "first run"
has "future_setting = 12" "first run"
has "volume = 60" "first run"
has "mute = yes" "first run"
has "fullscreen = no" "first run"
has "window_size = 800x600" "first run"
grep -q '^joystick' "$file" && fail "the command line's joystick was saved: $(cat "$file")"
[ "$(head -n 1 "$file")" = "# my own words about the settings" ] || fail "the lines' order changed: $(cat "$file")"

# What --settings says of them.
"$game" --settings --volume 30 >"$work/report" 2>"$work/err" || fail "--settings: status $?"
grep -q "^settings file: $file\$" "$work/report" || fail "--settings: $(cat "$work/report")"
grep -qE '^volume = 30 +\(command line\)$' "$work/report" || fail "--settings: $(cat "$work/report")"
grep -qE '^mute = yes +\(file\)$' "$work/report" || fail "--settings: $(cat "$work/report")"
grep -qE '^joystick = stored +\(default\)$' "$work/report" || fail "--settings: $(cat "$work/report")"

# The next start: a window of the player's size, muted (no audio device opened), and M unmutes.
start_game "second run" "$work/second.raw"
[ "$(size)" = "800x600" ] || fail "second run: the window is $(size), not 800x600"
xdotool keydown Up
sleep 1
xdotool keyup Up
[ "$(loudest "$work/second.raw")" = "0" ] || [ "$(loudest "$work/second.raw")" = "0.000000" ] ||
  fail "second run: sound though muted"
xdotool key m
sleep 0.5
xdotool keydown Up
sleep 1.5
xdotool keyup Up
sleep 0.3
end_game "second run"
heard=$(loudest "$work/second.raw")
louder "$heard" 0.02 || fail "second run: after M thrust is not heard ($heard)"
has "mute = no" "second run"
has "volume = 60" "second run"

# --- A key rebound in the file steers: with thrust = W, W thrusts and Up does not. Seen in the
# recordings of the two flights, replayed by the headless tool: the ship's speed at their end. ---
printf 'thrust = W\nmute = no\nfullscreen = yes\n' >"$file"
headless=$build/tools/headless/tarnyx-headless
speed() {  # speed DEMO: the ship's speed at the demo's end
  "$headless" demo "$1" --state - 2>/dev/null |
    sed -E 's/.*"Player":\{[^}]*"VX":([^,]*),"VY":([^,]*),.*/\1 \2/' | awk '{ print sqrt($1 * $1 + $2 * $2) }'
}
for key in Up w; do
  start_game "rebound, $key" "$work/$key.raw" --record "$work/$key.tnxdemo"
  xdotool keydown "$key"
  sleep 1.5
  xdotool keyup "$key"
  end_game "rebound, $key"
done
up=$(speed "$work/Up.tnxdemo")
w=$(speed "$work/w.tnxdemo")
louder "$w" 3 || fail "thrust = W: W does not thrust (speed $w)"
louder 1 "$up" || fail "thrust = W: Up still thrusts (speed $up)"
# Demos hold input states, not keys: the flight recorded with W replays in the window with the
# stored keys (no settings file) to its checksums.
rm -f "$file"
timeout 300 "$game" --timedemo "$work/w.tnxdemo" >"$work/out" 2>"$work/err" ||
  fail "the rebound demo in the window: status $?: $(cat "$work/err")"

# --- A malformed corpus: the game starts, one line per fault, the defaults, the file untouched ---
corpus=$work/corpus
mkdir -p "$corpus"
printf 'volume = 200\nmute = maybe\nwindow_size = 10x10\njoystick = 99\n' >"$corpus/out-of-range"
printf 'volume = 30\nvolume = 40\nvolume = 50\n' >"$corpus/duplicated"  # the last counts; two notes
printf 'volume\nthrust = \nmute = ye' >"$corpus/truncated"              # no '=', no key, cut short
printf 'volume = 80\n\x00\x01\xff\xfe binary\n' >"$corpus/binary"
head -c 70000 /dev/zero | tr '\0' '#' >"$corpus/huge"
declare -A faults=([out-of-range]=4 [duplicated]=2 [truncated]=3 [binary]=1 [huge]=1)
for name in out-of-range duplicated truncated binary huge; do
  cp "$corpus/$name" "$file"
  "$game" --settings >"$work/report" 2>"$work/err" || fail "$name: --settings: status $?"
  lines=$(wc -l <"$work/err")
  [ "$lines" -eq "${faults[$name]}" ] || fail "$name: $lines lines, not ${faults[$name]}: $(cat "$work/err")"
  grep -vq "^$file" "$work/err" && fail "$name: a line that does not name the file: $(cat "$work/err")"
  if [ "$name" = duplicated ]; then
    grep -qE '^volume = 50 +\(file\)$' "$work/report" || fail "$name: $(cat "$work/report")"
  else
    [ "$(grep -c '(default)$' "$work/report")" -eq 9 ] || fail "$name: not the defaults: $(cat "$work/report")"
  fi
  start_game "$name" "$work/$name.raw"
  [ "$(size)" = "1024x768" ] || fail "$name: not full screen: $(size)"
  end_game "$name"
  [ "$(wc -l <"$work/err")" -eq "${faults[$name]}" ] || fail "$name: the game said: $(cat "$work/err")"
  cmp -s "$corpus/$name" "$file" || fail "$name: the file was written"
done

# --- A settings folder that cannot be made: plays, says so once, keeps the values for the run.
# Nobody, root neither, makes a folder in /proc. ---
XDG_CONFIG_HOME=/proc start_game "no folder" "$work/nofolder.raw"
xdotool key m
xdotool key m
xdotool key minus
sleep 0.5
kill -0 "$pid" || fail "no folder: the game ended"
end_game "no folder"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "no folder: $(cat "$work/err")"
grep -q "not saved" "$work/err" || fail "no folder: $(cat "$work/err")"
echo "tarnyx_settings_window: ok (round trip, a rebound key: speed $w with W, $up with Up, 5 malformed files, an unwritable folder)"
