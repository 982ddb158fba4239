#!/usr/bin/env bash
# The soak run: the whole game on the headless backend for 200 000 frames with random held keys
# (a fixed seed for the key script), run in the sanitizer build. It must end cleanly, with every
# frame run and no sanitizer report, and its peak memory must not grow with the number of frames:
# a run ten times shorter, with the same start of the same script, is the yardstick, and the long
# run may use at most 2 MiB more. Frame counts can be lowered for a quick try:
#   SOAK_FRAMES=20000 SOAK_SHORT_FRAMES=2000 bash tests/scripts/soak.sh SRC BUILD
set -euo pipefail
build=$2
tool=$build/tools/headless/tarnyx-headless
long=${SOAK_FRAMES:-200000}
short=${SOAK_SHORT_FRAMES:-20000}
seed=45296789
[ -x "$tool" ] || { echo "soak: $tool not built"; exit 1; }
[ -x /usr/bin/time ] || { echo "soak: /usr/bin/time missing (scripts/install-deps installs it)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The key script: spans of 1 to 200 frames, each holding a random set of the flight keys (or
# none), one after another up to the last frame. Python's generator with a fixed seed gives the
# same script on every machine.
keys() {
  python3 - "$1" <<'PY'
import random, sys
frames = int(sys.argv[1])
rng = random.Random(20261209)
names = ["Up", "Left", "Right", "Shift", "Down"]
items, first = [], 1
while first <= frames:
    last = min(frames, first + rng.randint(0, 199))
    held = [n for n in names if rng.random() < 0.35]
    if held:
        items.append("%d-%d:%s" % (first, last, "+".join(held)))
    first = last + 1
print(";".join(items))
PY
}

# A leak check at exit is part of ending cleanly. The allocator's quarantine of freed blocks is
# turned off here, or its fill (up to 256 MiB, kept by design) would be measured as the game's.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1:quarantine_size_mb=0:abort_on_error=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}print_stacktrace=1:halt_on_error=1"

run() {  # run NAME FRAMES: the tool under /usr/bin/time -v, in the background
  local name=$1 frames=$2
  /usr/bin/time -v -o "$work/$name.time" "$tool" run --seed $seed --frames "$frames" \
    --keys "$(keys "$frames")" --state "$work/$name.json" >"$work/$name.out" 2>"$work/$name.err" &
}

start=$(date +%s)
# The two runs are independent processes; side by side they take the time of the longer one.
run short "$short"; short_pid=$!
run long "$long"; long_pid=$!
status=0
wait $short_pid || status=$?
wait $long_pid || status=$((status + $?))
end=$(date +%s)

for name in short long; do
  if [ -s "$work/$name.err" ]; then
    echo "soak: the $name run reported:"; head -n 40 "$work/$name.err"
  fi
done
[ "$status" -eq 0 ] || { echo "soak: FAILED, a run did not end cleanly"; exit 1; }

peak() { sed -n 's/^.*Maximum resident set size (kbytes): *//p' "$work/$1.time"; }
frames_run() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["Frame"])' "$work/$1.json"; }
[ "$(frames_run short)" -eq "$short" ] || { echo "soak: FAILED, the short run stopped early"; exit 1; }
[ "$(frames_run long)" -eq "$long" ] || { echo "soak: FAILED, the long run stopped early"; exit 1; }
short_kib=$(peak short)
long_kib=$(peak long)
echo "soak: $short frames peak ${short_kib} KiB, $long frames peak ${long_kib} KiB, $((end - start)) s"
if [ "$long_kib" -gt $((short_kib + 2048)) ]; then
  echo "soak: FAILED, peak memory grew by $((long_kib - short_kib)) KiB with the number of frames"
  exit 1
fi
echo "soak: ok"
