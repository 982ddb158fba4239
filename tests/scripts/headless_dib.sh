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
[ "$(cat "$work/err")" = "EInvalidGraphic: DIB is invalid" ] || fail "bad data says: $(cat "$work/err")"
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
[ "$(cat "$work/err")" = "EInvalidGraphicOperation: Bitcount in invalid (7)" ] || fail "bad depth says: $(cat "$work/err")"
echo "headless_dib: ok"
