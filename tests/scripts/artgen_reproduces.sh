#!/usr/bin/env bash
# The committed pictures and palette are exactly what the art generator paints: a painter changed
# without regenerating (or a generator that stopped being deterministic) shows up here. The PNG
# files are left out, since their compressed bytes depend on the zlib at hand.
set -euo pipefail
src=$1
build=$2
gen=$build/tools/artgen/tarnyx-artgen
[ -x "$gen" ] || { echo "artgen_reproduces: $gen not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/assets/images" "$work/assets/icons"
"$gen" "$work"
status=0
for f in "$src"/assets/palette.hex "$src"/assets/images/*.bmp; do
  rel=${f#"$src"/}
  if ! cmp -s "$f" "$work/$rel"; then
    echo "artgen_reproduces: $rel differs from the generator's output"
    status=1
  fi
done
count=$(ls "$work"/assets/images/*.bmp | wc -l)
[ "$count" -eq 47 ] || { echo "artgen_reproduces: generator wrote $count pictures, not 47"; status=1; }
exit $status
