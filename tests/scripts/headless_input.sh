#!/usr/bin/env bash
# The run command's input options: scripted keys and joysticks run on both input paths, and bad
# specs are refused with one line on stderr and status 2.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_input: $tool not built"; exit 1; }
"$tool" --help | grep -q '^  tarnyx-headless run' || { echo "headless_input: no run command yet"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Held keys and sticks on the DirectInput path and on the fall-backs.
for path in "" "--no-directinput"; do
  # shellcheck disable=SC2086
  "$tool" run --seed 1000 --frames 12 --keys '1-10:Left+Shift;5-6:A+7;11-12:KP8+Apostrophe+F2' \
    --joysticks 2 --joy '1@1-10:-32768,0;0@3-4:0,32767,1,32' $path --state "$work/state.json"
  grep -q '"Frame":12' "$work/state.json" || { echo "headless_input: 12 frames did not run"; exit 1; }
done

bad_specs=(
  "--keys 1-3:Foo"
  "--keys 1-3:up"
  "--keys 3-1:Up"
  "--keys 0-1:Up"
  "--keys 1-3"
  "--keys 1-3:Up+"
  "--keys 1-3:Up;"
  "--joysticks 17"
  "--joysticks -1"
  "--joysticks 1 --joy 1@1-2:0,0"
  "--joysticks 1 --joy 0@1-2:40000,0"
  "--joysticks 1 --joy 0@1-2:0,0,33"
  "--joysticks 1 --joy 0@1-2:0,0,0"
  "--joysticks 1 --joy 0@1-2:0"
  "--joysticks 1 --joy 0-1-2:0,0"
)
for bad in "${bad_specs[@]}"; do
  set +e
  # shellcheck disable=SC2086
  "$tool" run --seed 1 --frames 3 $bad >"$work/out" 2>"$work/err"
  status=$?
  set -e
  if [ "$status" -ne 2 ] || [ "$(wc -l <"$work/err")" -ne 1 ] || [ -s "$work/out" ]; then
    echo "headless_input: 'run $bad' gave status $status and:"; cat "$work/err"; exit 1
  fi
done
echo "headless_input: ok"
