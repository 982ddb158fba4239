#!/usr/bin/env bash
# Two builds of the headless tool compute the same: for the same seeds and scripted flights they
# write byte for byte the same JSON and the same pixels: worlds, long flights with every key and a
# joystick, a landing, a crash among the planets; and the committed demos replay to the same
# checksums, final states and sound (WAV files), and a flight recorded as a demo is the same file.
# Any two builds: the native one against the browser's (run under node), the Windows one (under
# Wine), another machine's (arm64 under an emulator).
# Prints one line per case, then "N passed, N failed"; exits non-zero on any failure. Every case
# but those named for a refusal or a cut file must also succeed with the first tool.
# Usage: same_outputs.sh TOOL_A TOOL_B
#   Each TOOL is an executable, or a .js file that node runs. TOOL_A is the reference (the native
#   Linux tool). Not a test of its own in ctest: the scripts that name the two tools run it.
set -uo pipefail
demos=$(cd "$(dirname "$0")/../demos" && pwd)
[ $# -eq 2 ] || { echo "usage: same_outputs.sh TOOL_A TOOL_B" >&2; exit 2; }
for t in "$1" "$2"; do
  [ -x "$t" ] || [[ $t == *.js && -f $t ]] || { echo "same_outputs.sh: $t is no tool" >&2; exit 2; }
done
tool_a=$1
tool_b=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# run_tool TOOL ARGS...
run_tool() {
  local tool=$1
  shift
  if [[ $tool == *.js ]]; then node "$tool" "$@"; else "$tool" "$@"; fi
}
tool_a_run() { run_tool "$tool_a" "$@"; }
tool_b_run() { run_tool "$tool_b" "$@"; }

# Whether two PNG files hold the same pixels (the native tool compresses, the other does not).
same_pixels() {
  python3 - "$1" "$2" <<'PY'
import struct, sys, zlib
def rows(path):
    data = open(path, "rb").read()
    pos, idat, head = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IHDR": head = data[pos + 8:pos + 18]
        if kind == b"IDAT": idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    width, height, depth, colour = struct.unpack(">IIBB", head)
    assert depth == 8 and colour == 2
    raw, stride, out, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], (prev[i - 3] if i >= 3 else 0)
            p = a + b - c
            pred = [0, a, b, (a + b) // 2,
                    a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c][kind]
            line[i] = (line[i] + pred) & 255
        out.append(bytes(line))
        prev = line
    return (width, height, out)
sys.exit(0 if rows(sys.argv[1]) == rows(sys.argv[2]) else 1)
PY
}

passed=0
failed=0
# same NAME ARGS...: both tools with ARGS, the output of each (stdout, and the file OUTFILE stands for
# in the arguments) compared byte for byte.
# A NAME ending in "picture" compares the pixels of the PNG files written where their bytes differ
# (the browser's tool writes PNG without compression).
same() {
  local name=$1 picture=no
  shift
  [[ $name == *picture ]] && picture=yes
  local a=("${@//OUTFILE/$tmp/a.out}") b=("${@//OUTFILE/$tmp/b.out}")
  rm -f "$tmp/a.out" "$tmp/b.out"
  tool_a_run "${a[@]}" >"$tmp/a.txt" 2>&1
  local sa=$?
  tool_b_run "${b[@]}" >"$tmp/b.txt" 2>&1
  local sb=$?
  local why=""
  # Only the cases named for a refusal or a cut file may fail: the others must run, lest both
  # tools refusing alike pass for a flight.
  if [ $sa -ne 0 ] && [[ $name != *refused* && $name != *cut* ]]; then
    why="exit status $sa with the first tool: $(head -c 200 "$tmp/a.txt")"
  elif [ $sa -ne $sb ]; then
    why="exit status $sa with the first tool, $sb with the second: $(head -c 200 "$tmp/b.txt")"
  elif ! cmp -s "$tmp/a.txt" "$tmp/b.txt"; then
    why="the output differs: $(cmp "$tmp/a.txt" "$tmp/b.txt" 2>&1 | head -1)"
  elif [ -e "$tmp/a.out" ] && [ "$picture" = yes ]; then
    cmp -s "$tmp/a.out" "$tmp/b.out" || same_pixels "$tmp/a.out" "$tmp/b.out" || why="the pictures differ"
  elif [ -e "$tmp/a.out" ] && ! cmp -s "$tmp/a.out" "$tmp/b.out"; then
    why="the written file differs: $(cmp "$tmp/a.out" "$tmp/b.out" 2>&1 | head -1)"
  fi
  if [ -z "$why" ]; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name: $why"
  fi
}

for seed in 0 1 45296789 86399999 31415926 2718281; do
  same "world --seed $seed" world --seed $seed
done
same "a bad seed is refused alike" world --seed 86400000
same "a picture that cannot be written is refused alike" run --seed 1 --frames 2 --shot 2:/nonexistent/frame.png

# Flights: thrust and turns with and without Shift, then a joystick steering.
same "a flight of 1500 frames on the arrow keys" run --seed 45296789 --frames 1500 \
  --keys '1-200:Up;201-260:Left;261-500:Up+Right;501-700:Up+Shift;701-900:Left+Shift;901-1100:Up;1101-1500:Right' \
  --state -
same "a flight of 1000 frames on a joystick" run --seed 2718281 --frames 1000 --joysticks 2 \
  --joy '1@1-300:0,-32768;1@301-600:32767,-20000,32;1@601-1000:-32768,0' --state -
same "a flight without DirectInput" run --seed 31415926 --frames 400 --no-directinput \
  --keys '1-150:Up;151-400:Left+Up' --state -

# Among the planets: a gentle landing and a fast crash on planet 0, pictures of both.
tool_a_run world --seed 45296789 >"$tmp/world.json"
read -r x top < <(python3 -c '
import json, sys
p = json.load(open(sys.argv[1]))["Planets"][0]
print(p["X"], p["Y"] - p["Radius"])' "$tmp/world.json")
same "a landing, its state" run --seed 45296789 --frames 150 --ship "$x,$(python3 -c "print($top - 30)"),0,0,0" --state -
same "a landing, its picture" run --seed 45296789 --frames 150 --ship "$x,$(python3 -c "print($top - 30)"),0,0,0" \
  --shot "150:OUTFILE"
same "a crash, its state" run --seed 45296789 --frames 60 --ship "$x,$(python3 -c "print($top - 100)"),0,12,0" --state -
same "a long flight through the planets" run --seed 45296789 --frames 3000 \
  --ship "$x,$(python3 -c "print($top - 1400)"),0,0,128" --keys '1-400:Up;401-430:Left;431-3000:Up+Shift' --state -

# Demos: each committed one replayed whole (its summary and checksums, then its final state), one
# cut short, one replayed while recording it again, a new flight recorded, and a damaged one.
while read -r file _; do
  [[ -z $file || $file == \#* ]] && continue
  same "demo $file" demo "$demos/$file"
  same "demo $file, its final state" demo "$demos/$file" --state -
  same "demo $file, its sound" demo "$demos/$file" --audio OUTFILE
done <"$demos/demos.txt"
same "demo landing.tnxdemo to frame 2500" demo "$demos/landing.tnxdemo" --frames 2500 --state -
same "demo crash.tnxdemo recorded again" demo "$demos/crash.tnxdemo" --record OUTFILE
same "a flight recorded as a demo" run --seed 45296789 --frames 700 \
  --keys '1-200:Up;201-260:Left;261-500:Up+Right;501-700:Up+Shift' --record OUTFILE
head -c 3000 "$demos/takeoff.tnxdemo" >"$tmp/cut.tnxdemo"
same "a cut demo is reported alike" demo "$tmp/cut.tnxdemo" --state -
# A checkpoint's checksum damaged: both tools say where the demo drifted, naming its file.
python3 - "$demos/crash.tnxdemo" "$tmp/drifted.tnxdemo" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at = data.index(b"C" + (100).to_bytes(4, "little"))
data[at + 5] ^= 1
open(sys.argv[2], "wb").write(data)
PY
same "a drifted demo is refused alike" demo "$tmp/drifted.tnxdemo"
if grep -qx "tarnyx-headless demo: $tmp/drifted.tnxdemo: demo desynchronised at frame 100" "$tmp/b.txt"; then
  passed=$((passed + 1))
  echo "ok   the drift is told with the demo's name"
else
  failed=$((failed + 1))
  echo "FAIL the drift is told with the demo's name: $(head -c 300 "$tmp/b.txt")"
fi

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
