#!/usr/bin/env bash
# The game's window under Xvfb, read back from the X server while the game flies: the window
# presents only what changed from frame to frame, and what the X server holds must be exactly the
# last frame, as the game's own screenshot of it has it. The game is stopped (SIGSTOP) while the
# window is read, then the screenshot key is pressed and the game let go, so that the screenshot
# is of the frame read; a capture that lands in the middle of a frame is taken again once.
# Usage: window_changed_areas.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib/window.sh" window_changed_areas "$@"
start_under_xvfb xdotool xwd python3

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill -CONT "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data

# same WINDOW.xwd SCREENSHOT.png: whether the window's pixels are the screenshot's, exactly.
same() {
  python3 - "$1" "$2" <<'EOF'
import struct, sys, zlib

def read_xwd(path):
    data = open(path, "rb").read()
    h = struct.unpack(">25I", data[:100])
    size, fmt, depth, width, height = h[0], h[2], h[3], h[4], h[5]
    byte_order, bpp, line, ncolors = h[7], h[11], h[12], h[19]
    masks = h[14:17]
    assert fmt == 2 and bpp == 32, "a 32-bit ZPixmap"
    pixels = data[size + 12 * ncolors:]
    order = "<" if byte_order == 0 else ">"
    shift = lambda m: (m & -m).bit_length() - 1
    rows = []
    for y in range(height):
        words = struct.unpack_from(order + "%dI" % width, pixels, y * line)
        rows.append([tuple((w & m) >> shift(m) for m in masks) for w in words])
    return width, height, rows

def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "8-bit RGB or RGBA"
            n = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * n, [], bytearray(width * n)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - n] if i >= n else 0
            b = prev[i]
            c = prev[i - n] if i >= n else 0
            if kind == 1: line[i] = (line[i] + a) & 255
            elif kind == 2: line[i] = (line[i] + b) & 255
            elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * n:x * n + 3]) for x in range(width)])
        prev = line
    return width, height, rows

w1, h1, window = read_xwd(sys.argv[1])
w2, h2, shot = read_png(sys.argv[2])
if (w1, h1) != (w2, h2):
    sys.exit("window %dx%d, screenshot %dx%d" % (w1, h1, w2, h2))
bad = [(x, y) for y in range(h1) for x in range(w1) if window[y][x] != shot[y][x]]
if bad:
    x, y = bad[0]
    sys.exit("%d pixels differ, the first at %d,%d: window %s, screenshot %s" %
             (len(bad), x, y, window[y][x], shot[y][x]))
EOF
}

"$game" >"$work/out" 2>"$work/err" &
pid=$!
window=""
until=$((SECONDS + 120))
while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(head -c 2000 "$work/err")"
  sleep 0.2
  window=$(xdotool search --name '^Tarnyx$' 2>/dev/null | head -n 1 || true)
done
[ -n "$window" ] || fail "no window"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 1

# Flying and turning: stars, the ship, its flame and the readouts change in every frame.
xdotool keydown Up Left
for capture in 1 2 3; do
  sleep 0.7
  for attempt in 1 2; do
    kill -STOP "$pid"
    xwd -silent -id "$window" >"$work/window.xwd"
    xdotool key F12
    kill -CONT "$pid"
    until=$((SECONDS + 30))
    shot=""
    while [ -z "$shot" ] && [ "$SECONDS" -lt "$until" ]; do
      sleep 0.1
      shot=$(find "$work/data/tarnyx" -name '*.png' 2>/dev/null | head -n 1)
    done
    [ -n "$shot" ] || fail "capture $capture: no screenshot: $(cat "$work/out" "$work/err")"
    sleep 0.2  # written whole
    why=""
    same "$work/window.xwd" "$shot" >"$work/why" 2>&1 || why=$(cat "$work/why")
    rm -f "$work/data/tarnyx"/*.png
    [ -z "$why" ] && break
    [ "$attempt" -eq 2 ] && fail "capture $capture: the window is not the frame: $why"
  done
done
xdotool keyup Up Left
xdotool key alt+F4
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the game exited with $status: $(head -c 2000 "$work/err")"
echo "window_changed_areas: ok (3 captures)"
