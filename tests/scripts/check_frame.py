#!/usr/bin/env python3
"""Checks frames written by `tarnyx-headless run` against the state it wrote (see headless_run.sh)."""
import json
import struct
import sys
import zlib


def read_png(path):
    """Decodes an 8-bit RGB PNG (the tool's output) into rows of (r, g, b) tuples."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 2, "RGB, 8 bits"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = previous[i]
            c = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * 3:x * 3 + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def fail(message):
    print("check_frame: " + message)
    sys.exit(1)


def lit(rows, x0, y0, x1, y1):
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if rows[y][x] != (0, 0, 0))


def in_text(x, y):
    return (x < 260 and y < 80) or y >= 748


RADAR_SCALE = 20  # world units per radar pixel
DOT = 11          # the radar dot "FlashYellow" is 11 x 11


def radar_dots(state):
    """Top-left corners of every planet's radar dot (halves round to even, as Python does)."""
    px, py = state["Player"]["X"], state["Player"]["Y"]
    return [(round((p["X"] - px) / RADAR_SCALE + 512), round((p["Y"] - py) / RADAR_SCALE + 384))
            for p in state["Planets"]]


def dot_cover(dots):
    return {(x, y) for (dx, dy) in dots for y in range(max(dy, 0), min(dy + DOT, 768))
            for x in range(max(dx, 0), min(dx + DOT, 1024))}


state_path, first_path, last_path, moving_path = sys.argv[1:5]
state = json.load(open(state_path))
if state["Frame"] != 120 or state["FramesPerSecond"] != 50:
    fail("Frame/FramesPerSecond are %s/%s" % (state["Frame"], state["FramesPerSecond"]))

width, height, rows = read_png(last_path)
if (width, height) != (1024, 768):
    fail("frame is %dx%d" % (width, height))
# Radar dots may cover anything, and so may the ship at the centre (its 31 x 31 picture turned
# about its middle covers x 497..526, y 369..398); everywhere else the frame is black and white.
if state["CurrentPlanet"] != 255:
    fail("a planet is near the ship, which this check does not expect")
SHIP = {(x, y) for y in range(369, 399) for x in range(497, 527)}
dots = radar_dots(state)
covered = dot_cover(dots) | SHIP
if lit(rows, 497, 369, 527, 399) < 100:
    fail("no ship at the centre")
colours = {c for y, row in enumerate(rows) for x, c in enumerate(row) if (x, y) not in covered}
if not colours <= {(0, 0, 0), (255, 255, 255)}:
    fail("colours other than black and white: %s" % sorted(colours)[:5])
on_screen = [(x, y) for (x, y) in dots if 0 <= x and x + DOT <= 1024 and 0 <= y and y + DOT <= 768]
if not on_screen:
    fail("no radar dot on screen")
for (x, y) in on_screen:
    if lit(rows, x, y, x + DOT, y + DOT) < 20:
        fail("no radar dot at %d,%d" % (x, y))

# At rest every star is one white pixel where it stands (halves round to even, as Python does).
stars = set()
for s in state["Stars"]:
    x, y = round(s["X"]), round(s["Y"])
    if 0 <= x < 1024 and 0 <= y < 768 and (x, y) not in covered:
        stars.add((x, y))
        if rows[y][x] != (255, 255, 255):
            fail("star at %d,%d is not white" % (x, y))
outside = {(x, y) for y in range(768) for x in range(1024)
           if rows[y][x] != (0, 0, 0) and not in_text(x, y) and (x, y) not in covered}
if outside != {s for s in stars if not in_text(*s)}:
    fail("lit pixels outside the text areas are not exactly the stars")

# The readouts at (0,0), (0,40) and (0,60), the ticker at y 748 sliding in (x 1024 - 4*69 = 748).
if lit(rows, 0, 0, 60, 18) < 20 or lit(rows, 0, 40, 200, 58) < 60 or lit(rows, 0, 60, 200, 78) < 60:
    fail("a readout is missing")
if lit(rows, 748, 748, 1024, 768) < 60 or sum(
        1 for y in range(748, 768) for x in range(740) if rows[y][x] != (0, 0, 0) and (x, y) not in covered) != sum(
        1 for (x, y) in stars if y >= 748 and x < 740):
    fail("the ticker is not where it should be")

# Frame 1: the frame rate reads "0FPS", one character narrower than "50FPS".
_, _, first = read_png(first_path)
if lit(first, 0, 0, 40, 18) < 20 or lit(first, 40, 0, 50, 18) != sum(1 for (x, y) in stars if x in range(40, 50) and y < 18):
    fail("frame 1 does not read 0FPS")

moving = json.load(open(moving_path))
if moving["Player"]["X"] != 2 or moving["Player"]["Heading"] != 64:
    fail("--ship did not set the ship: %s" % moving["Player"])
print("check_frame: ok")
