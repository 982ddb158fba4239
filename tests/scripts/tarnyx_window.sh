#!/usr/bin/env bash
# The game in a real window under Xvfb, ended in the ways a player or the desktop ends it: Alt+F4
# after screenshots whose printed paths go into a pipe that has closed, another program destroying
# the window or closing the game's display connection; each must end with status 0 and nothing
# but the game's own lines on stderr (in the sanitizer build, no leak report either). Without any
# display, one line says so.
# Usage: tarnyx_window.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib/window.sh" tarnyx_window "$@"

if ! $inside; then
  # Without a display of any kind: the game's line only, not a library's.
  err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER \
    "$game" 2>&1 >/dev/null) && fail "started without a display"
  [ "$err" = "cannot open a window: no display found" ] || fail "without a display: $err"
fi
start_under_xvfb xdotool

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# The player's settings are the test's own: none read from the home folder, none written there.
export XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data

window=""
pid=""
start_game() {  # start_game WHAT STDOUT: the game in the background (pid), its window (window)
  "$game" >"$2" 2>"$work/err" &
  pid=$!
  pids+=("$pid")
  window=""
  # The sanitizer build on a busy machine can take a while to open its window.
  local until=$((SECONDS + 120))
  while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
    kill -0 "$pid" 2>/dev/null || fail "$1: the game ended: $(head -c 2000 "$work/err")"
    sleep 0.2
    window=$(xdotool search --name '^Tarnyx$' 2>/dev/null | head -n 1 || true)
  done
  [ -n "$window" ] || fail "$1: no window"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 1  # the first frames
}
expect_end() {  # expect_end WHAT [STDERR]: the game ends within 60 s, status 0, stderr as given
  local status=0 until=$((SECONDS + 60))
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$until" ]; do sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "$1: status $status: $(head -c 2000 "$work/err")"
  [ "$(cat "$work/err")" = "${2:-}" ] || fail "$1: stderr: $(head -c 2000 "$work/err")"
}

# Screenshots printed into a pipe whose reader has gone (tarnyx | head -n 1), then Alt+F4.
mkfifo "$work/pipe"
head -n 1 <"$work/pipe" >"$work/first" &
reader=$!
start_game "closed pipe" "$work/pipe"
xdotool key F12
wait "$reader" || fail "the pipe's reader failed"
grep -q "/tarnyx/tarnyx-.*\.png$" "$work/first" || fail "first screenshot: $(cat "$work/first")"
xdotool key F12
sleep 1
kill -0 "$pid" 2>/dev/null || { wait "$pid" || fail "closed pipe: the game died with status $?"; }
[ "$(find "$work/data/tarnyx" -name '*.png' | wc -l)" -eq 2 ] || fail "closed pipe: not two screenshots"
xdotool key alt+F4
expect_end "Alt+F4"

# Another program destroys the window.
start_game "destroyed window" /dev/null
xdotool windowclose "$window"
expect_end "destroyed window"

# Another program closes the game's connection to the display (as xkill does).
start_game "killed connection" /dev/null
xdotool windowkill "$window"
expect_end "killed connection" "tarnyx: the display closed the connection"
echo "tarnyx_window: ok"
