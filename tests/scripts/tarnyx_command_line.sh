#!/usr/bin/env bash
# The game's own command line: --version and --help answer without a window (no display is
# given, so any attempt to open one would fail), anything else is one line on stderr and status 2.
set -euo pipefail
build=$2
game=$build/app/tarnyx
[ -x "$game" ] || { echo "tarnyx_command_line: $game not built"; exit 1; }
work=$(mktemp -d)
# The player's settings are the test's own: none read from the home folder, none written there.
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

call() {  # call ARGS...: runs the game without any display; sets status, out, err
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" "$@" >"$work/out" 2>"$work/err"
  status=$?
  set -e
}

call --version
[ "$status" -eq 0 ] || fail "--version: status $status: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "--version wrote to stderr: $(cat "$work/err")"
[ "$(sed -n 1p "$work/out")" = "Tarnyx 0.06 Beta (8 bit edition)" ] || fail "--version: $(cat "$work/out")"
sed -n 2p "$work/out" | grep -Eq '^SDL [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version: no SDL version: $(cat "$work/out")"
[ "$(wc -l <"$work/out")" -eq 2 ] || fail "--version: $(cat "$work/out")"

call --help
[ "$status" -eq 0 ] || fail "--help: status $status: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "--help wrote to stderr: $(cat "$work/err")"
for mention in "Alt+Enter" "PrintScreen" "Alt+F4" "Up arrow" "--mute" "--volume N" "sound off or on"; do
  grep -qe "$mention" "$work/out" || fail "--help does not mention $mention"
done

for args in "--verbose" "-h" "--version --help" "--help extra" "savegame" "" "--volume 150" "--volume x" \
  "--volume" "--mute --volume -1" "--volume 1.5 --playdemo x.tnxdemo"; do
  # shellcheck disable=SC2086
  if [ -z "$args" ]; then call ""; else call $args; fi
  [ "$status" -eq 2 ] || fail "'$args': status $status, expected 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$args': stderr is not one line: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "'$args': wrote to stdout"
done
# Demo options without a display: a demo that cannot be read is one line and status 2 before any
# window; a recording whose window cannot open leaves no file behind.
printf 'not a demo' >"$work/text.tnxdemo"
for args in "--playdemo $work/missing.tnxdemo" "--timedemo $work/text.tnxdemo" "--playdemo" "--record"; do
  # shellcheck disable=SC2086
  call $args
  [ "$status" -eq 2 ] || fail "'$args': status $status, expected 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$args': stderr is not one line: $(cat "$work/err")"
done
call --record "$work/flight.tnxdemo"
[ "$status" -eq 1 ] || fail "--record without a display: status $status, expected 1"
[ ! -e "$work/flight.tnxdemo" ] && [ ! -e "$work/flight.tnxdemo.part" ] || fail "--record without a display left a file"
# The sound options stand beside the others: with --version, the version; with a window to open,
# the same one line as without them.
call --mute --volume 30 --version
[ "$status" -eq 0 ] && [ "$(sed -n 1p "$work/out")" = "Tarnyx 0.06 Beta (8 bit edition)" ] || fail "--mute --volume 30 --version"
call --volume 0 --mute
[ "$status" -eq 1 ] && [ "$(cat "$work/err")" = "cannot open a window: no display found" ] ||
  fail "--volume 0 --mute without a display: status $status: $(cat "$work/err")"
echo "tarnyx_command_line: ok"
