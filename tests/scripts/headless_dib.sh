#!/usr/bin/env bash
# tarnyx-headless dib: describes a picture read by the game's reader, or reports the reader's error.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "headless_dib: $*" >&2; exit 1; }

out=$("$tool" dib "$src/fuzz/corpus/DIB/4bit")
[ "$out" = '{"Width":11,"Height":2,"BitCount":4,"ColorCount":16}' ] || fail "stored 4-bit picture: $out"

# The same data as a .bmp file: the 14-byte file header in front of it.
{ printf 'BM'; head -c 12 /dev/zero; tail -c +6 "$src/fuzz/corpus/DIB/8bit"; } > "$work/p.bmp"
out=$("$tool" dib "$work/p.bmp")
[ "$out" = '{"Width":3,"Height":2,"BitCount":8,"ColorCount":256}' ] || fail ".bmp file: $out"

# A header size the reader does not know.
printf '\004TDIB\051\000\000\000' > "$work/bad"
set +e
"$tool" dib "$work/bad" > "$work/out" 2> "$work/err"
status=$?
set -e
[ $status -eq 1 ] || fail "bad data exits $status"
[ "$(cat "$work/err")" = "tarnyx-headless dib: $work/bad: EInvalidGraphic: DIB is invalid" ] ||
  fail "bad data says: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "bad data printed: $(cat "$work/out")"

# An unknown depth is the other error class.
# (40-byte header: 1 x 1, 7 bits per pixel, one colour used, then that colour.)
printf '\004TDIB\050\0\0\0\001\0\0\0\001\0\0\0\001\0\007\0' > "$work/depth"
head -c 16 /dev/zero >> "$work/depth"
printf '\001\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >> "$work/depth"
set +e
"$tool" dib "$work/depth" 2> "$work/err" > /dev/null
status=$?
set -e
[ $status -eq 1 ] || fail "bad depth exits $status"
[ "$(cat "$work/err")" = "tarnyx-headless dib: $work/depth: EInvalidGraphicOperation: Bitcount in invalid (7)" ] ||
  fail "bad depth says: $(cat "$work/err")"

refused() {  # refused FILE EXPECTED: dib FILE fails with status 1 and exactly the line EXPECTED
  set +e
  "$tool" dib "$1" > "$work/out" 2> "$work/err"
  status=$?
  set -e
  [ $status -eq 1 ] && [ ! -s "$work/out" ] || fail "dib $1 exits $status: $(cat "$work/out" "$work/err")"
  [ "$(cat "$work/err")" = "$2" ] || fail "dib $1 says: $(cat "$work/err")"
}

# Outside bytes in a message are escaped: the class name read from the file, and the file's name.
printf '\011a\nb\033[31mr' > "$work/$(printf 'esc\033[0m')"
refused "$work/$(printf 'esc\033[0m')" \
  "tarnyx-headless dib: $work/esc\\x1b[0m: EInvalidGraphic: Unknown picture format 'a\\x0ab\\x1b[31mr'"
refused "$work/none" "tarnyx-headless dib: $work/none: cannot open: No such file or directory"

# Nothing longer than the largest picture the reader takes is read, from a file of known size
# (a sparse 70 MB file) or from an endless stream; both would be an empty picture read whole.
truncate -s 70M "$work/big"
too_long="longer than the largest picture the reader takes (67109954 bytes)"
refused "$work/big" "tarnyx-headless dib: $work/big: $too_long"
refused /dev/zero "tarnyx-headless dib: /dev/zero: $too_long"

# A stream whose first bytes refuse it is read no further than those: the writer of 50 MB behind
# them finds the pipe closed after little more than the pipe's own buffer.
written=$(python3 - "$tool" <<'EOF'
import subprocess, sys
dib = subprocess.Popen([sys.argv[1], "dib", "/dev/stdin"], stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
n = 0
try:
    dib.stdin.write(b"\x29\0\0\0")
    n = 4
    for _ in range(800):
        dib.stdin.write(bytes(65536))
        dib.stdin.flush()
        n += 65536
except BrokenPipeError:
    pass
print(n if dib.wait() == 1 else "status %d" % dib.returncode)
EOF
)
[[ "$written" =~ ^[0-9]+$ ]] && [ "$written" -lt 2000000 ] || fail "a refused stream was read on: $written bytes written"
echo "headless_dib: ok"
