#!/usr/bin/env bash
# The arm64 Debian package beside the native one, both made by scripts/build-deb: the same files
# in the same places with the same modes, the same version, Depends on the same libraries worked
# out from the arm64 ones, an arm64 executable inside that answers --version under qemu, and no
# lintian error or warning.
# Usage: deb_package.sh SOURCE_DIR WORK_DIR (the packages are built in WORK_DIR/deb-arm64 and
# WORK_DIR/deb-native, again only where something changed).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: deb_package.sh SOURCE_DIR WORK_DIR" >&2; exit 2; }
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in lintian qemu-aarch64 dpkg-deb; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing: run scripts/install-deps deb arm64 test"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

arm=$("$src/scripts/build-deb" --arch arm64 "$src" "$out/deb-arm64" | tail -n 1)
native=$("$src/scripts/build-deb" "$src" "$out/deb-native" | tail -n 1)
[ -f "$arm" ] && [ -f "$native" ] || fail "build-deb made no package: $arm, $native"

field() { dpkg-deb -f "$1" "$2"; }
version=$(field "$native" Version)
[ "$(basename "$arm")" = "tarnyx_${version}_arm64.deb" ] || fail "package named $(basename "$arm")"
[ "$(field "$arm" Architecture)" = arm64 ] || fail "Architecture: $(field "$arm" Architecture)"
for f in Package Version Section Priority Maintainer Description; do
  [ "$(field "$arm" $f)" = "$(field "$native" $f)" ] || fail "$f: $(field "$arm" $f), natively $(field "$native" $f)"
done
# Depends on the same libraries (their least versions may differ with the architecture's symbols).
libraries() { field "$1" Depends | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' | sort -u; }
diff <(libraries "$native") <(libraries "$arm") >"$work/depends" ||
  fail "Depends differ from the native package's: $(cat "$work/depends")"
grep -qx libsdl2-2.0-0 <(libraries "$arm") || fail "Depends lacks libsdl2-2.0-0: $(field "$arm" Depends)"

# File for file: paths, modes and owners (not sizes or dates).
list() { dpkg-deb -c "$1" | awk '{print $1, $2, $6}'; }
diff <(list "$native") <(list "$arm") >"$work/files" || { cat "$work/files" >&2; fail "the file lists differ (above)"; }
echo "deb_package: $(list "$arm" | grep -vc '/$') files, as in $(basename "$native")"

# The game inside is built for arm64, stripped, and runs.
dpkg-deb -x "$arm" "$work/root"
game=$work/root/usr/games/tarnyx
file -b "$game" | grep -q 'ARM aarch64' || fail "the game is not an arm64 program: $(file -b "$game")"
file -b "$game" | grep -q 'not stripped' && fail "the game is not stripped"
version_text=$(sed -n 's/.*GameVersionText = "\(.*\)";.*/\1/p' "$src/app/CommandLine.h")
said=$(env -u DISPLAY -u WAYLAND_DISPLAY qemu-aarch64 -L / "$game" --version | head -n 1) ||
  fail "the packaged game's --version failed under qemu"
[ "$said" = "$version_text" ] || fail "--version says: $said"

# lintian: neither an error nor a warning.
status=0
lintian --tag-display-limit 0 "$arm" >"$work/lintian" 2>&1 || status=$?
cat "$work/lintian"
[ "$status" -eq 0 ] && ! grep -q '^[EW]: ' "$work/lintian" || fail "lintian: status $status, errors or warnings above"
echo "deb_package: $(basename "$arm") ok, $(stat -c %s "$arm") bytes"
