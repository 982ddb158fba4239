#!/usr/bin/env bash
# Whole flights through the headless tool with a fixed seed and scripted keys: a gentle landing
# that slides the panel in, a take-off, and a fast crash with its explosion and crash message.
# Arguments: the source directory and the build directory.
set -euo pipefail
build=$2
tool="$build/tools/headless/tarnyx-headless"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

seed=45296789
"$tool" world --seed $seed >"$tmp/world.json"
# The ship starts 30 above the top of planet 0, at rest and nose up.
read -r x y high top < <(python3 -c '
import json, sys
p = json.load(open(sys.argv[1]))["Planets"][0]
top = p["Y"] - p["Radius"]
print(p["X"], top - 30, top - 100, top)' "$tmp/world.json")

# Landing: 150 frames are enough to fall 30 and slide the panel fully in.
"$tool" run --seed $seed --frames 150 --ship "$x,$y,0,0,0" --state "$tmp/landed.json" \
  --shot "150:$tmp/landed.png"
# Take-off: the same, then Up held for 100 frames.
"$tool" run --seed $seed --frames 250 --ship "$x,$y,0,0,0" --keys "151-250:Up" \
  --state "$tmp/takeoff.json"
# Crash: falling fast from 100 above.
"$tool" run --seed $seed --frames 40 --ship "$x,$high,0,12,0" --state "$tmp/crash.json"
[ -s "$tmp/landed.png" ] || fail "no picture of the landing"

python3 - "$tmp" "$top" <<'PY'
import json, sys
tmp, top = sys.argv[1], float(sys.argv[2])
def load(n): return json.load(open(f"{tmp}/{n}.json"))
def check(cond, what):
    if not cond:
        print("FAIL:", what, file=sys.stderr); sys.exit(1)

s = load("landed")
p, pl = s["Planets"][0], s["Player"]
check(s["Frame"] == 150, "landing: 150 frames ran")
check(pl["Landed"] and pl["Hull"] == 100, f"landing: landed with a whole hull ({pl})")
check(pl["Heading"] == 0 and pl["VX"] == 0 and pl["VY"] == 0, "landing: upright and at rest")
check(s["CurrentPlanet"] == 0 and p["PanelSlide"] == 475, "landing: the panel of planet 0 is in")
check(s["Explosions"][0]["Alpha"] == 0, "landing: no explosion")

s = load("takeoff")
p, pl = s["Planets"][0], s["Player"]
check(not pl["Landed"] and pl["Hull"] == 100, f"take-off: flying, hull whole ({pl})")
check(pl["Y"] < top - 12.1 and pl["VY"] < 0, "take-off: above the contact margin, climbing")
check(p["PanelSlide"] < 475, "take-off: the panel slides out")

s = load("crash")
p, pl = s["Planets"][0], s["Player"]
check(pl["Hull"] == 0 and pl["Landed"], f"crash: destroyed on the planet ({pl})")
check(0 < s["Explosions"][0]["Alpha"] < 254, "crash: the explosion runs")
msg = f"You crashed on {p['Name']}. Press ALT+F4 to quit..."
check(msg in s["Messages"]["Lines"], "crash: the crash message is queued for the ticker")
PY
