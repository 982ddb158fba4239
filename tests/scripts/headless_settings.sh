#!/usr/bin/env bash
# A settings file steers the headless tool's ship as it steers the game's: rebound keys (by the
# names the file gives them) do what the stored keys did and the stored keys then do nothing; the
# joystick setting picks the stick, and a stick the game does not read gets one hint naming the
# setting. A malformed file gets one line per fault and the defaults. A demo recorded with other
# keys replays the same with any keys, or none (demos hold input states, not keys), natively and,
# where the page's build is there, under node.
# Usage: headless_settings.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_settings: $tool not built"; exit 1; }
fail() { echo "headless_settings: FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

state() {  # state NAME ARGS...: the final state of a 60-frame run into $work/NAME.json
  local name=$1
  shift
  "$tool" run --seed 43210 --frames 60 --state "$work/$name.json" "$@" 2>"$work/$name.err" ||
    fail "$name: status $?: $(head -c 1000 "$work/$name.err")"
}
same() { cmp -s "$work/$1.json" "$work/$2.json" || fail "$1 and $2 differ"; }
differ() { cmp -s "$work/$1.json" "$work/$2.json" && fail "$1 and $2 are the same" || true; }

# --- Rebound keys ---
cat >"$work/keys.ini" <<'EOF'
# the player's keys
thrust = W, Keypad 8
turn_left = Space
turn_right = D
fine_control = Left Control
EOF
state idle
state up --keys '1-40:Up;20-60:Left;30-45:Shift'
state w --settings "$work/keys.ini" --keys '1-40:W;20-60:Space;30-45:Control'
state kp8 --settings "$work/keys.ini" --keys '1-40:Keypad8;20-60:Space;30-45:Control'
state stored --settings "$work/keys.ini" --keys '1-40:Up;20-60:Left;30-45:Shift'
differ idle up
same up w
same up kp8
same idle stored  # Up, Left and Shift no longer steer
for name in w kp8 stored; do [ ! -s "$work/$name.err" ] || fail "$name: stderr: $(cat "$work/$name.err")"; done

# --- The joystick ---
stick=(--joysticks 1 --joy '0@1-40:0,-32768;0@20-60:-32768,0')
printf 'joystick = first\n' >"$work/first.ini"
printf 'joystick = stored\n' >"$work/stored.ini"
printf 'joystick = 2\n' >"$work/second.ini"
state stick-none "${stick[@]}"
state stick-first --settings "$work/first.ini" "${stick[@]}"
state stick-stored --settings "$work/stored.ini" "${stick[@]}"
state stick-two --settings "$work/second.ini" --joysticks 2 --joy '1@1-40:0,-32768;1@20-60:-32768,0'
state stick-two-first --settings "$work/second.ini" --joysticks 2 --joy '0@1-40:0,-32768;0@20-60:-32768,0'
same stick-none idle  # the stored position is the second joystick: one attached does nothing
differ stick-first idle
same stick-two stick-first
same stick-two-first idle
# One hint, naming the setting and the option, for the stick the game does not read.
[ "$(wc -l <"$work/stick-stored.err")" -eq 1 ] || fail "the hint: $(cat "$work/stick-stored.err")"
grep -q "joystick = first" "$work/stick-stored.err" && grep -q -- "--joystick first" "$work/stick-stored.err" ||
  fail "the hint names no setting: $(cat "$work/stick-stored.err")"
[ ! -s "$work/stick-first.err" ] || fail "a hint though the stick is read: $(cat "$work/stick-first.err")"
[ ! -s "$work/stick-two.err" ] || fail "a hint though the stick is read: $(cat "$work/stick-two.err")"

# --- A malformed file: one line per fault, naming the file and the line; the defaults ---
printf 'volume = loud\nthrust = Up, Nosuchkey\nnot a setting line\nturn_left = Minus\n' >"$work/bad.ini"
state bad --settings "$work/bad.ini" --keys '1-40:Up;20-60:Left;30-45:Shift'
same bad up
[ "$(wc -l <"$work/bad.err")" -eq 4 ] || fail "bad.ini: $(cat "$work/bad.err")"
for line in 1 2 3 4; do grep -q "^$work/bad.ini:$line: " "$work/bad.err" || fail "bad.ini: line $line not named"; done
"$tool" run --seed 1 --frames 1 --settings "$work/none.ini" >/dev/null 2>"$work/none.err" || fail "a missing file stops the run"
[ ! -s "$work/none.err" ] || fail "a missing file: $(cat "$work/none.err")"

# --- A demo recorded with other keys replays the same, whatever keys the replay has ---
"$tool" run --seed 43210 --frames 60 --settings "$work/keys.ini" --keys '1-40:W;20-60:Space;30-45:Control' \
  --record "$work/rebound.tnxdemo" >/dev/null 2>"$work/rec.err" || fail "recording: $(cat "$work/rec.err")"
"$tool" demo "$work/rebound.tnxdemo" --state "$work/replay.json" >/dev/null || fail "replay: status $?"
"$tool" demo "$work/rebound.tnxdemo" --settings "$work/keys.ini" --state "$work/replay-keys.json" >/dev/null ||
  fail "replay with the keys: status $?"
# The demo's state as the run had it, but for the frame counter the replay writes as well.
same replay replay-keys
cmp -s <(sed 's/,"Frame":.*//' "$work/w.json") <(sed 's/,"Frame":.*//' "$work/replay.json") ||
  fail "the replay's state is not the recorded run's"
if [ -f "$build/../build-web/tarnyx-headless.js" ] && command -v node >/dev/null; then
  node "$build/../build-web/tarnyx-headless.js" demo "$work/rebound.tnxdemo" --state "$work/replay-node.json" \
    >/dev/null || fail "replay under node: status $?"
  same replay replay-node
  where="natively and under node"
else
  where="natively (no page build for node)"
fi
echo "headless_settings: ok (rebound keys, joysticks, a malformed file, a rebound demo replayed $where)"
