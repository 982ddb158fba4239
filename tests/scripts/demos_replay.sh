#!/usr/bin/env bash
# The demos recorded from real play (tests/demos/, listed in demos.txt) replay headless with every
# checksum matching, and still show what they were recorded to show: the touch-down at its frame
# and the panel slid in, the take-off, the crash with its explosion and message, the long flight
# past several planets. A change to the simulation fails here first; if it is meant,
# scripts/rerecord-demos re-records them.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "demos_replay: $tool not built"; exit 1; }
exec python3 - "$tool" "$src/tests/demos" <<'PY'
import json, math, os, subprocess, sys

tool, folder = sys.argv[1], sys.argv[2]
failed = []

def state(demo, frames=None):
    args = [tool, "demo", demo, "--state", "-"] + (["--frames", str(frames)] if frames else [])
    out = subprocess.run(args, capture_output=True, text=True)
    if out.returncode != 0:
        raise AssertionError(f"status {out.returncode}: {out.stderr.strip()}")
    return json.loads(out.stdout)

def expect(condition, what):
    if not condition:
        raise AssertionError(what)

def planets_passed(s):
    """Planets whose pull the straight way from the start to the ship's place went through."""
    x, y = s["Player"]["X"], s["Player"]["Y"]
    length = math.hypot(x, y)
    ux, uy = x / length, y / length
    return [p["Name"] for p in s["Planets"]
            if 0 < p["X"] * ux + p["Y"] * uy < length and abs(p["X"] * uy - p["Y"] * ux) < 1500]

def check(demo, scenario, key):
    last = state(demo)
    player = last["Player"]
    if scenario in ("landing", "takeoff"):
        expect(not state(demo, key - 1)["Player"]["Landed"], f"already landed before frame {key}")
        down = state(demo, key + 150)
        expect(down["Player"]["Landed"] and down["Player"]["Hull"] > 0, f"not standing on a planet at frame {key + 150}")
        expect(down["Planets"][down["CurrentPlanet"]]["PanelSlide"] == 475, "the panel is not in")
    if scenario == "landing":
        expect(player["Landed"] and player["Hull"] > 0, "not landed at the end")
    elif scenario == "takeoff":
        expect(not player["Landed"] and player["Hull"] > 0 and last["CurrentPlanet"] == 255,
               "not flying away from the planet at the end")
    elif scenario == "crash":
        expect(state(demo, key - 1)["Player"]["Hull"] > 0, f"destroyed before frame {key}")
        hit = state(demo, key + 40)
        expect(hit["Player"]["Hull"] == 0 and hit["Explosions"][0]["Alpha"] != 0, "no explosion after the crash")
        expect(player["Hull"] == 0 and last["Messages"]["Lines"][0].startswith("You crashed on "),
               "the crash message is not on the ticker at the end")
    elif scenario == "longflight":
        expect(player["Hull"] == 100, "the ship was damaged")
        passed = planets_passed(last)
        expect(len(passed) >= 3, f"only {len(passed)} planets passed")
    else:
        raise AssertionError(f"unknown scenario {scenario}")
    return last["Frame"]

demos = 0
for line in open(os.path.join(folder, "demos.txt")):
    if not line.strip() or line.startswith("#"):
        continue
    name, scenario, key = line.split()
    demos += 1
    try:
        frames = check(os.path.join(folder, name), scenario, int(key))
        print(f"demos_replay: {name}: {scenario}, {frames} frames, every checksum matches")
    except AssertionError as e:
        failed.append(f"{name}: {e}")
if demos < 4:
    failed.append(f"only {demos} demos listed")
for f in failed:
    print(f"demos_replay: FAIL {f}")
sys.exit(1 if failed else 0)
PY
