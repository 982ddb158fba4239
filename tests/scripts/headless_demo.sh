#!/usr/bin/env bash
# The headless tool's demos: run --record then demo gives the same final state, for keys and for
# a joystick, on both input paths; demo --record re-records byte for byte; --frames stops early;
# a damaged input byte is a desynchronisation at the next checkpoint (status 3); bad files and
# bad arguments are one line and status 2; a truncated demo plays its whole frames (status 2).
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_demo: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "headless_demo: FAIL: $*" >&2; exit 1; }
# The state without the two members that describe the run rather than the game.
game_state() { sed -E 's/,"Frame":[0-9]+,"FramesPerSecond":[0-9]+\}$/}/' "$1"; }

inputs=(
  "--keys 1-40:Up;30-90:Left+Shift;100-160:Right;150-170:Up+Shift"
  "--joysticks 2 --joy 1@1-40:0,-32768;1@41-90:-32768,0,32;1@100-170:32767,-32768"
)
n=0
for input in "${inputs[@]}"; do
  for path in "" "--no-directinput"; do
    n=$((n + 1))
    demo=$work/$n.tnxdemo
    # shellcheck disable=SC2086
    "$tool" run --seed 45296789 --frames 230 $input $path --record "$demo" --state "$work/$n.run.json" \
      || fail "run $input $path --record"
    # Replayed on the other input path, too: the recorded states are what counts.
    for replay_path in "" "--no-directinput"; do
      # shellcheck disable=SC2086
      "$tool" demo "$demo" $replay_path --state "$work/$n.demo.json" >"$work/out" \
        || fail "demo of run $input $path: $(cat "$work/out")"
      [ "$(game_state "$work/$n.run.json")" = "$(game_state "$work/$n.demo.json")" ] \
        || fail "run $input $path and its demo end apart"
    done
    grep -Eq '^230 frames, hull [0-9]+%, (not )?landed, checksum [0-9a-f]{16}$' "$work/out" || fail "summary: $(cat "$work/out")"
  done
done
# The flight did something: the ship is not where it started.
grep -Eq '"Player":\{"Heading":[0-9]+,"X":0,"Y":0,' "$work/1.run.json" && fail "the keys did not move the ship"

# Re-recorded from its own input: the same bytes.
"$tool" demo "$work/1.tnxdemo" --record "$work/again.tnxdemo" >/dev/null
cmp -s "$work/1.tnxdemo" "$work/again.tnxdemo" || fail "a re-recording differs"

# The first 100 frames only.
"$tool" demo "$work/1.tnxdemo" --frames 100 --state - 2>/dev/null | grep -q '"Frame":100,' || fail "--frames 100"

# Left pressed one frame later than recorded: Left begins at frame 30 (the first byte changes
# there), and the drift shows at the checkpoint of frame 50.
python3 - "$work/1.tnxdemo" "$work/flipped.tnxdemo" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at, frames = 19 + data[18], 0
while True:
    tag = data[at]
    if tag <= 0x1F:
        frames += 1
        if frames == 30:
            assert tag & 1, "frame 30 changes the first byte"
            data[at + 1] ^= 0x04  # Left
            break
        at += 1 + bin(tag).count("1")
    elif 0x80 <= tag < 0xB2:
        frames += tag - 0x7F
        at += 1
    else:
        at += 13
open(sys.argv[2], "wb").write(data)
PY
set +e
"$tool" demo "$work/flipped.tnxdemo" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 3 ] || fail "a flipped input byte: status $status"
grep -qx "tarnyx-headless demo: $work/flipped.tnxdemo: demo desynchronised at frame 50" "$work/err" || fail "flipped: $(cat "$work/err")"
grep -q '^230 frames' "$work/out" || fail "a desynchronised demo did not play to its end"

# Cut inside frame 101's records: 100 whole frames, played, status 2.
size=$(stat -c %s "$work/1.tnxdemo")
head -c $((size - 20)) "$work/1.tnxdemo" >"$work/cut.tnxdemo"
set +e
"$tool" demo "$work/cut.tnxdemo" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "cut: status $status"
grep -q "truncated at frame" "$work/err" || fail "cut: $(cat "$work/err")"
grep -Eq '^[0-9]+ frames' "$work/out" || fail "cut: not played"

# Refusals: one line on stderr, nothing on stdout, status 2.
printf 'TNXDEMO\032\002\000' >"$work/newer.tnxdemo"
printf 'hello' >"$work/text.tnxdemo"
for bad in "demo" "demo --state -" "demo $work/missing.tnxdemo" "demo $work/text.tnxdemo" \
           "demo $work/newer.tnxdemo" "demo $work/1.tnxdemo --seed 5" "demo $work/1.tnxdemo --keys 1-2:Up" \
           "demo $work/1.tnxdemo --frames 231" "demo $work/1.tnxdemo --frames 0" \
           "demo $work/1.tnxdemo --shot 300:x.png" \
           "run --seed 1 --frames 5 --ship 0,0,0,0,0 --record $work/ship.tnxdemo"; do
  set +e
  # shellcheck disable=SC2086
  "$tool" $bad >"$work/out" 2>"$work/err"
  status=$?
  set -e
  if [ "$status" -ne 2 ] || [ "$(wc -l <"$work/err")" -ne 1 ] || [ -s "$work/out" ]; then
    fail "'$bad' gave status $status and: $(cat "$work/err")"
  fi
done
[ ! -e "$work/ship.tnxdemo" ] && [ ! -e "$work/ship.tnxdemo.part" ] || fail "--record with --ship left a file"
grep -q "made by a newer version" <("$tool" demo "$work/newer.tnxdemo" 2>&1) || fail "newer"
echo "headless_demo: ok"
