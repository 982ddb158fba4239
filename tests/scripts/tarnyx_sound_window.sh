#!/usr/bin/env bash
# The game's sound in a real window under Xvfb, through SDL's disk audio driver, which writes what
# the game plays to a file: holding Up is heard, after M nothing is, Alt+F4 still ends the game with
# status 0 and nothing on stderr but the game's own lines. Started with --mute the game opens no
# audio device at all; --playdemo is heard and --timedemo is not; a driver that does not exist
# leaves the game silent and running, and TARNYX_VERBOSE says why.
# Usage: tarnyx_sound_window.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib/window.sh" tarnyx_sound_window "$@"
start_under_xvfb xdotool sox

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# The player's settings are the test's own: none read from the home folder, none written there.
export XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=disk

# The loudest sample of a raw file of the game's samples (48 kHz, 16-bit, mono), 0..1, from sample
# FROM on (0: all); 0 for a file that is missing or holds nothing there.
loudest() {
  local file=$1 from=${2:-0}
  [ -s "$file" ] && [ "$(stat -c %s "$file")" -gt $((from * 2)) ] || { echo 0; return; }
  sox -t raw -r 48000 -e signed-integer -b 16 -c 1 -L "$file" -n trim "${from}s" stat 2>&1 |
    awk '/^Maximum amplitude/ { print $3 }'
}
louder() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

start_game() {  # start_game WHAT AUDIOFILE ARGS...: the game in the background, its window focused
  local what=$1 file=$2
  shift 2
  SDL_DISKAUDIOFILE=$file "$game" "$@" >"$work/out" 2>"$work/err" &
  pid=$!
  local window="" until=$((SECONDS + 120))
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
thrust() {  # thrust SECONDS
  xdotool keydown Up
  sleep "$1"
  xdotool keyup Up
}

# Thrust is heard; after M, thrust is not.
start_game "thrust and mute" "$work/play.raw"
thrust 1.5
sleep 0.3
heard=$(loudest "$work/play.raw")
louder "$heard" 0.03 || fail "holding Up: the loudest sample is $heard"
xdotool key m
sleep 0.3  # the queue's 60 ms and the 5 ms glide, with room
muted_from=$(($(stat -c %s "$work/play.raw") / 2))
thrust 1.5
sleep 0.3
end_game "thrust and mute"
[ ! -s "$work/err" ] || fail "thrust and mute: stderr: $(head -c 2000 "$work/err")"
after=$(loudest "$work/play.raw" "$muted_from")
[ "$(($(stat -c %s "$work/play.raw") / 2 - muted_from))" -gt 48000 ] || fail "after M: less than a second written"
[ "$after" = "0.000000" ] || fail "after M: the loudest sample is $after"
# M is the player's setting from now on: kept in the settings file, which the runs below do
# without, so that each starts from the defaults.
grep -qx "mute = yes" "$XDG_CONFIG_HOME/tarnyx/settings.ini" || fail "after M: mute not kept in the settings"
rm -f "$XDG_CONFIG_HOME/tarnyx/settings.ini"

# Started muted, the game opens no audio device: the driver writes no file. TARNYX_VERBOSE adds
# only the game's own lines.
TARNYX_VERBOSE=1 start_game "--mute" "$work/muted.raw" --mute
thrust 1
end_game "--mute"
[ ! -e "$work/muted.raw" ] || [ "$(loudest "$work/muted.raw")" = "0.000000" ] || fail "--mute: sound was played"
grep -v '^tarnyx: ' "$work/err" && fail "--mute: stderr has lines not the game's"
grep -q 'sound: opened' "$work/err" && fail "--mute: a device was opened"

# A driver that is not there: silent, running, and the verbose log says why.
SDL_AUDIODRIVER=nosuch TARNYX_VERBOSE=1 start_game "no driver" "$work/none.raw"
thrust 1
end_game "no driver"
grep -q '^tarnyx: sound: ' "$work/err" || fail "no driver: not said: $(cat "$work/err")"
[ ! -e "$work/none.raw" ] || fail "no driver: a file was written"

# A demo played is heard, with the device named in the verbose log; one timed is not.
TARNYX_VERBOSE=1 SDL_DISKAUDIOFILE=$work/demo.raw timeout 300 "$game" --playdemo "$src/tests/demos/crash.tnxdemo" \
  >"$work/out" 2>"$work/err" || fail "--playdemo: status $?: $(head -c 2000 "$work/err")"
grep -q '^tarnyx: sound: opened .* disk driver' "$work/err" || fail "--playdemo: no device named: $(cat "$work/err")"
demo=$(loudest "$work/demo.raw")
louder "$demo" 0.1 || fail "--playdemo: the loudest sample is $demo"
SDL_DISKAUDIOFILE=$work/timed.raw timeout 300 "$game" --timedemo "$src/tests/demos/crash.tnxdemo" \
  >"$work/out" 2>"$work/err" || fail "--timedemo: status $?: $(head -c 2000 "$work/err")"
[ ! -e "$work/timed.raw" ] || fail "--timedemo: sound was played"
echo "tarnyx_sound_window: ok (thrust $heard, after M $after, crash demo $demo)"
