#!/usr/bin/env bash
# The headless tool's world command: exit codes, one-line errors, and a whole world as JSON.
# Arguments: the source directory and the build directory.
set -euo pipefail
build=$2
tool="$build/tools/headless/tarnyx-headless"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Bad arguments: exit status 2, one line on stderr, nothing on stdout.
for args in "" "--seed" "--seed x12" "--seed -1" "--seed 86400000" "--seed 4294967296" \
            "--seed 1.5" "--seed 12 --seed 13" "--seed 12 extra"; do
  set +e
  # shellcheck disable=SC2086
  "$tool" world $args >"$tmp/out" 2>"$tmp/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "world $args: exit status $status, expected 2"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "world $args: stderr is not one line: $(cat "$tmp/err")"
  [ ! -s "$tmp/out" ] || fail "world $args: wrote to stdout"
done

# Good seeds, including both ends of the day; the same seed twice gives the same bytes.
"$tool" world --seed 0 >"$tmp/first"
"$tool" world --seed 86399999 >"$tmp/last"
"$tool" world --seed 45296789 >"$tmp/a"
"$tool" world --seed 45296789 >"$tmp/b"
cmp -s "$tmp/a" "$tmp/b" || fail "one seed gave two different worlds"
! cmp -s "$tmp/a" "$tmp/first" || fail "two seeds gave the same world"

python3 - "$tmp/first" "$tmp/last" "$tmp/a" <<'PY'
import json, struct, sys

def single(x):
    return struct.unpack('f', struct.pack('f', x))[0]

for path in sys.argv[1:]:
    with open(path) as f:
        text = f.read()
    assert text.count('\n') == 1, "one line of output"
    w = json.loads(text)
    assert list(w) == ["RandomState", "CurrentPlanet", "Player", "Planets", "Stars",
                       "Explosions", "Messages"], list(w)
    assert 0 <= w["RandomState"] < 2**32
    assert w["CurrentPlanet"] == 255
    p = w["Player"]
    assert list(p) == ["Heading", "X", "Y", "VX", "VY", "Hull", "Landed", "Ship"], list(p)
    assert (p["Heading"], p["X"], p["Y"], p["VX"], p["VY"], p["Hull"], p["Landed"]) == \
        (0, 0, 0, 0, 0, 100, False)
    # The single-precision thrust is written as the exact value of the single nearest 0.2.
    assert p["Ship"] == {"TurnStep": 3, "Thrust": single(0.2), "Image": "Ship2"}, p["Ship"]
    assert p["Ship"]["Thrust"] != 0.2

    planets = w["Planets"]
    assert len(planets) == 100
    for q in planets:
        assert list(q) == ["X", "Y", "PanelSlide", "ImageName", "Radius", "Name", "Owner",
                           "Population", "Things"], list(q)
        assert q["X"] == int(q["X"]) and -20000 <= q["X"] <= 19999
        assert q["Y"] == int(q["Y"]) and -20000 <= q["Y"] <= 19999
        assert q["ImageName"] == "Planet%d" % q["Radius"]
        assert 4 <= len(q["Name"]) <= 15 and q["Name"][0].isupper() and q["Name"][1:].islower()
        assert 1 <= q["Population"] <= 747
        assert 1 <= len(q["Things"]) <= 31
        assert q["Things"][-1]["ImageName"].startswith("Flag")
        for t in q["Things"]:
            assert list(t) == ["Angle", "ImageName", "Glow", "GlowStep"]
    for i in range(100):
        for j in range(i + 1, 100):
            dx = planets[i]["X"] - planets[j]["X"]
            dy = planets[i]["Y"] - planets[j]["Y"]
            assert dx * dx + dy * dy >= 2000 * 2000, (i, j)

    stars = w["Stars"]
    assert len(stars) == 101
    for s in stars:
        assert list(s) == ["PrevX", "PrevY", "X", "Y", "Parallax"]
        assert s["PrevX"] == 0 and s["PrevY"] == 0
        assert s["X"] in range(1024) and s["Y"] in range(768)
        k = round(-s["Parallax"] * 10000)
        assert 0 <= k <= 1999 and s["Parallax"] == -k / 10000, s["Parallax"]

    assert w["Explosions"] == [{"X": 0, "Y": 0, "VX": 0, "VY": 0, "Alpha": 0}] * 4
    m = w["Messages"]
    assert m["ShowTime"] == 50 and m["TextX"] == 0
    assert len(m["Lines"]) == 3 and m["Lines"][0] == ""
    assert m["Lines"][1] == "Welcome to Tarnyx version 0.06 Beta (8 bit edition)."
PY
echo "headless_world: ok"
