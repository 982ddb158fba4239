#!/usr/bin/env bash
# Names beyond ASCII under Windows (UTF-8 inside the programs, UTF-16 to Windows): the Windows
# headless tool, under Wine, writes --state, --shot and --record into files and folders named in
# Greek, German and Japanese, reads a demo and a picture back from such names, and every file is
# byte for byte what the Linux tool writes under plain names.
# Usage: unicode_paths.sh WINDOWS_BUILD_DIR LINUX_TOOL
set -uo pipefail
[ $# -eq 2 ] || { echo "usage: unicode_paths.sh WINDOWS_BUILD_DIR LINUX_TOOL" >&2; exit 2; }
windows=$1/tools/headless/tarnyx-headless
linux=$2
[ -x "$windows" ] && [ -x "$linux" ] || { echo "unicode_paths: the tools are not built" >&2; exit 2; }
src=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/linux" "$tmp/Ωmega über 日本"
far="$tmp/Ωmega über 日本"

passed=0
failed=0
check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@" >"$tmp/check.out" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name: $(head -c 300 "$tmp/check.out")"
  fi
}

flight=(run --seed 45296789 --frames 300 --keys '1-120:Up;121-160:Left;161-300:Up+Shift')
"$linux" "${flight[@]}" --state "$tmp/linux/state.json" --shot "300:$tmp/linux/frame.png" \
  --record "$tmp/linux/flight.tnxdemo" >"$tmp/linux/out" 2>&1 || { echo "the Linux tool failed"; exit 1; }
"$windows" "${flight[@]}" --state "$far/Zustand ä.json" --shot "300:$far/Bild 画像.png" \
  --record "$far/Flug Ω.tnxdemo" >"$tmp/windows.out" 2>&1
check "the flight runs with names beyond ASCII" test $? -eq 0
check "--state writes the same JSON" cmp "$tmp/linux/state.json" "$far/Zustand ä.json"
check "--shot writes the same PNG" cmp "$tmp/linux/frame.png" "$far/Bild 画像.png"
check "--record writes the same demo" cmp "$tmp/linux/flight.tnxdemo" "$far/Flug Ω.tnxdemo"
check "no part file is left" test ! -e "$far/Flug Ω.tnxdemo.part"

# Read back from such names: the demo replays, and the picture reader reads a picture.
"$linux" demo "$tmp/linux/flight.tnxdemo" --state - >"$tmp/linux/replay" 2>&1
"$windows" demo "$far/Flug Ω.tnxdemo" --state - >"$tmp/replay" 2>&1
check "the demo replays from its name" cmp "$tmp/linux/replay" "$tmp/replay"
picture=$(ls "$src"/assets/images/*.bmp | head -n 1)
cp "$picture" "$far/Bild ü.bmp"
"$linux" dib "$picture" >"$tmp/linux/dib" 2>&1
"$windows" dib "$far/Bild ü.bmp" >"$tmp/dib" 2>&1
check "a picture is read from its name" cmp "$tmp/linux/dib" "$tmp/dib"
# A name's characters reach the messages unchanged.
"$windows" demo "$far/fehlt ø.tnxdemo" >"$tmp/missing" 2>&1
check "a missing file is named in its message" grep -q "fehlt ø.tnxdemo" "$tmp/missing"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
