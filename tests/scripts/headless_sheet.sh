#!/usr/bin/env bash
# tarnyx-headless sheet: every picture of the real image list on one frame, keys honoured.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_sheet: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" sheet "$work/sheet.png"
python3 - "$src/tests/scripts/check_frame.py" "$work/sheet.png" <<'PY'
import sys, types
source = open(sys.argv[1]).read()
helpers = types.ModuleType("helpers")
exec(source[:source.index("state_path, first_path")], helpers.__dict__)
width, height, rows = helpers.read_png(sys.argv[2])
assert (width, height) == (1024, 768), (width, height)
colours = {}
for row in rows:
    for c in row:
        colours[c] = colours.get(c, 0) + 1
# Fuchsia is every keyed picture's transparent colour: a sheet that shows it ignored a key.
assert (255, 0, 255) not in colours, "fuchsia on the sheet: a colour key was not honoured"
background = max(colours, key=colours.get)
drawn = sum(n for c, n in colours.items() if c != background)
assert len(colours) > 100 and drawn > 100000, (len(colours), drawn)
print("headless_sheet: ok (%d colours, %d pixels drawn)" % (len(colours), drawn))
PY
