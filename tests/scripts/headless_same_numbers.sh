#!/usr/bin/env bash
# The same worlds and flights from two builds of the headless tool must give the same bytes: this
# build's, and the one named by TARNYX_REFERENCE_HEADLESS (the build with the hardware extended
# type, when this one computes it in software). Worlds of several seeds, then flights that touch
# every extended computation: landings on every side of a planet and on its axes, a slanted touch
# and fast crashes, a swing past a planet, and long flights with every key, coarse and fine; two
# of the flights' sound (WAV files) too.
# Arguments: the source directory and the build directory. Skipped (77) without a reference.
set -euo pipefail
build=$2
tool="$build/tools/headless/tarnyx-headless"
reference=${TARNYX_REFERENCE_HEADLESS:-}
if [ -z "$reference" ]; then
  echo "headless_same_numbers: no reference tool named (TARNYX_REFERENCE_HEADLESS); skipped"
  exit 77
fi
[ -x "$reference" ] || { echo "headless_same_numbers: reference $reference is not built" >&2; exit 1; }
[ -x "$tool" ] || { echo "headless_same_numbers: $tool not built" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

seed=45296789
"$reference" world --seed $seed >"$tmp/world.json"
# Ship placements around planets 0 and 1 of the seed, one per line: name, then X,Y,VX,VY,HEADING.
python3 - "$tmp/world.json" >"$tmp/placements" <<'PY'
import json, math, sys
planets = json.load(open(sys.argv[1]))["Planets"]
def around(n, i, angle, gap, speed, heading):
    # `angle` in 256ths of a turn, 0 above the planet, clockwise; the ship `gap` beyond the rim
    # and falling towards the centre at `speed`.
    p = planets[i]
    a = angle * 2 * math.pi / 256
    dx, dy = math.sin(a), -math.cos(a)
    r = p["Radius"] + gap
    print(n, f'{p["X"] + r * dx!r},{p["Y"] + r * dy!r},{-speed * dx!r},{-speed * dy!r},{heading}')
for angle in (0, 64, 128, 192):            # on the axes: exact directions, exact zeros
    around(f"axis{angle}", 0, angle, 30, 0, angle)
for angle in (17, 45, 100, 150, 211, 250):  # and between them, upright on the rim
    around(f"rim{angle}", 1, angle, 30, 0.2, angle)
around("slanted", 0, 32, 30, 0.5, 60)       # touching down at a slant crashes
around("fast", 1, 96, 100, 12, 96)          # too fast
around("swing", 0, 40, 600, -2.0, 0)        # moving away past the planet, pulled on the way
print("centre", f'{planets[0]["X"]!r},{planets[0]["Y"]!r},0,0,0')  # at the very centre: no pull
PY

run_all() {
  local t=$1 out=$2
  mkdir -p "$out"
  for s in 0 1 $seed 86399999 1234567 77777777; do "$t" world --seed "$s" >"$out/world-$s.json"; done
  while read -r name ship; do
    "$t" run --seed $seed --frames 160 --ship "$ship" --state "$out/$name.json"
  done <"$tmp/placements"
  # Taking off from a landing, turning on the rim, then away.
  read -r _ ship < <(grep '^axis0 ' "$tmp/placements")
  "$t" run --seed $seed --frames 400 --ship "$ship" --keys '161-200:Up;201-230:Left;231-330:Up+Right;331-400:Up+Shift' \
    --state "$out/takeoff.json" --shot "400:$out/takeoff.png" --audio "$out/takeoff.wav"
  # Long flights from the start, with every key, coarse and fine, and the pictures they end on.
  "$t" run --seed $seed --frames 3000 \
    --keys '1-400:Up;401-430:Left;431-900:Up;901-960:Right+Shift;961-1500:Up+Shift;1501-1530:Right;1531-2200:Up;2201-2300:Left+Right+Up;2301-3000:Up+Left+Shift' \
    --state "$out/long.json" --shot "3000:$out/long.png" --audio "$out/long.wav"
  "$t" run --seed 1 --frames 2000 --keys '1-150:Up+Right;151-1200:Up;1201-1260:Left;1261-2000:Up' \
    --state "$out/long-seed1.json"
}

run_all "$reference" "$tmp/reference"
run_all "$tool" "$tmp/this"

status=0
for f in "$tmp/reference"/*; do
  n=$(basename "$f")
  if ! cmp -s "$f" "$tmp/this/$n"; then
    echo "headless_same_numbers: $n differs from the reference build's" >&2
    status=1
  fi
done
# The flights must have done what they are for, or the comparison proves little.
python3 - "$tmp/reference" <<'PY' || status=1
import json, sys
d = sys.argv[1]
def load(n): return json.load(open(f"{d}/{n}.json"))
def check(cond, what):
    if not cond:
        print("headless_same_numbers: flight did not", what, file=sys.stderr); sys.exit(1)
for n in ("axis0", "axis64", "axis128", "axis192", "rim17", "rim150", "rim250"):
    check(load(n)["Player"]["Landed"] and load(n)["Player"]["Hull"] == 100, f"land ({n})")
check(load("slanted")["Player"]["Hull"] == 0, "crash at a slant")
check(load("fast")["Player"]["Hull"] == 0, "crash when too fast")
check(not load("swing")["Player"]["Landed"], "swing past the planet")
check(not load("takeoff")["Player"]["Landed"], "take off")
check(load("long")["Frame"] == 3000, "fly 3000 frames")
PY
exit $status
