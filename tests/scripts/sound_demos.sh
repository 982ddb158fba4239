#!/usr/bin/env bash
# The sound of every committed demo (tests/demos/, listed in demos.txt), written as a WAV file by
# the headless tool, has the SHA-256 kept in tests/demos/sounds.sha256: the same flight gives the
# same bytes, on every machine and target. A change to the sound that is meant is refreshed with
# scripts/rerecord-sounds. Each replay with sound also ends in the same state as without: the
# sound never changes the game.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "sound_demos: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sums=$src/tests/demos/sounds.sha256
[ -f "$sums" ] || { echo "sound_demos: FAIL: $sums is missing (scripts/rerecord-sounds makes it)"; exit 1; }

failed=0
demos=0
while IFS= read -r line; do
  case "$line" in '' | '#'*) continue ;; esac
  read -r name _ <<<"$line"
  demos=$((demos + 1))
  wav=${name%.tnxdemo}.wav
  if ! "$tool" demo "$src/tests/demos/$name" --audio "$work/$wav" --state "$work/with.json" \
    >/dev/null 2>"$work/err"; then
    echo "sound_demos: FAIL $name: $(cat "$work/err")"
    failed=1
    continue
  fi
  "$tool" demo "$src/tests/demos/$name" --state "$work/without.json" >/dev/null
  if ! cmp -s "$work/with.json" "$work/without.json"; then
    echo "sound_demos: FAIL $name: the game ends differently with sound"
    failed=1
  fi
  expected=$(awk -v f="$wav" '$2 == f { print $1 }' "$sums")
  actual=$(sha256sum "$work/$wav" | cut -d' ' -f1)
  if [ -z "$expected" ]; then
    echo "sound_demos: FAIL $name: no sum for $wav in sounds.sha256"
    failed=1
  elif [ "$expected" != "$actual" ]; then
    echo "sound_demos: FAIL $name: $wav has SHA-256 $actual, not $expected"
    failed=1
  else
    echo "sound_demos: $name: $wav matches ($(stat -c %s "$work/$wav") bytes)"
  fi
done <"$src/tests/demos/demos.txt"
if [ "$demos" -lt 4 ]; then
  echo "sound_demos: FAIL only $demos demos listed"
  failed=1
fi
exit $failed
