#!/usr/bin/env bash
# The Debian package as a player gets it: built by scripts/build-deb, named and versioned as Debian
# expects, with its files where Debian's games keep theirs and Depends worked out from the game's
# libraries; lintian finds no error; it installs with dpkg, the installed game answers --version,
# and removing it leaves none of its files behind.
# Needs root and a usable dpkg: without them it says so and skips (status 77), except in CI.
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() {
  [ -z "${CI:-}" ] || fail "$* (CI must run this test)"
  echo "deb_package: skipped: $*"
  exit 77
}

command -v dpkg >/dev/null 2>&1 || skip "no dpkg here"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if dpkg-query -W -f='${Status}' tarnyx 2>/dev/null | grep -q 'ok installed'; then
  skip "a tarnyx package is installed already, and this test would remove it"
fi
command -v lintian >/dev/null 2>&1 || fail "lintian is missing: run scripts/install-deps test"

work=$(mktemp -d)
installed=false
cleanup() {
  if $installed; then dpkg -r tarnyx >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# dpkg waits for no one: another install on the machine makes it fail at once, so try again.
dpkg_retry() {
  local i
  for i in $(seq 1 60); do
    if dpkg "$@" >"$work/dpkg.log" 2>&1; then return 0; fi
    grep -q 'lock' "$work/dpkg.log" || break
    sleep 2
  done
  cat "$work/dpkg.log" >&2
  return 1
}

deb=$("$src/scripts/build-deb" "$src" "$build/deb-package" | tail -n 1)
[ -f "$deb" ] || fail "build-deb made no package: $deb"

# Name, version and fields.
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "tarnyx_${version}_${arch}.deb" ] || fail "package named $(basename "$deb")"
[ "$(field Package)" = tarnyx ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
# The game calls itself "0.06 Beta (8 bit edition)" (the build's TarnyxVersion.h, from the project's
# version): the package version is 0.06~beta, which sorts after 0.05 and before the final 0.06.
header="$build/deb-package/version/TarnyxVersion.h"
version_text=$(sed -n 's/.*GameVersionText = "\(.*\)";.*/\1/p' "$header")
[ -n "$version_text" ] || fail "no GameVersionText in $header"
game_version=$(echo "$version_text" | sed -n 's/^Tarnyx \([0-9.]*\) \([A-Za-z]*\).*/\1~\2/p' | tr 'A-Z' 'a-z')
[ "$version" = "$game_version" ] || fail "Version: $version, the game says $game_version"
release=${version%%~*}
dpkg --compare-versions "$version" lt "$release" || fail "$version does not sort before $release"
dpkg --compare-versions "$version" gt "0.05" || fail "$version does not sort after 0.05"
depends=$(field Depends)
echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' >"$work/depends"
for lib in libc6 libsdl2-2.0-0 libfreetype6 libpng16-16 libstdc++6; do
  grep -qxF "$lib" "$work/depends" || fail "Depends lacks $lib: $depends"
done
if grep -E -- '-dev$|gtest|gmock|benchmark|gfx|xvfb|clang' "$work/depends"; then
  fail "Depends names a build or test package: $depends"
fi

# Where the files are.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for f in /usr/games/tarnyx /usr/share/man/man6/tarnyx.6.gz \
  /usr/share/applications/tarnyx.desktop /usr/share/icons/hicolor/64x64/apps/tarnyx.png \
  /usr/share/doc/tarnyx/copyright /usr/share/doc/tarnyx/changelog.gz; do
  grep -qx "$f" "$work/contents" || fail "the package has no $f"
done
if grep -Ev '^/usr/(games|share)(/|$)|^/usr/$' "$work/contents"; then
  fail "the package has files outside /usr/games and /usr/share (above)"
fi

# lintian: an error (or lintian failing to run) fails the test; warnings are shown.
status=0
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || status=$?
cat "$work/lintian"
[ "$status" -eq 0 ] && ! grep -q '^E: ' "$work/lintian" || fail "lintian: status $status, errors above"

# Install, run, remove.
dpkg_retry -i "$deb" || fail "dpkg -i failed"
installed=true
dpkg -L tarnyx | while read -r f; do [ -d "$f" ] || echo "$f"; done >"$work/files"
[ -s "$work/files" ] || fail "dpkg -L lists no files"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/games/tarnyx --version) || fail "/usr/games/tarnyx --version failed"
[ "$(echo "$out" | head -n 1)" = "$version_text" ] || fail "--version says: $out"
dpkg_retry -r tarnyx || fail "dpkg -r failed"
installed=false
if dpkg-query -W -f='${Status}' tarnyx 2>/dev/null | grep -q 'ok installed'; then
  fail "dpkg still lists tarnyx as installed"
fi
left=0
while read -r f; do
  if [ -e "$f" ]; then echo "left behind: $f" >&2; left=1; fi
done <"$work/files"
[ ! -e /usr/share/doc/tarnyx ] || { echo "left behind: /usr/share/doc/tarnyx" >&2; left=1; }
[ "$left" -eq 0 ] || fail "files of the package are left after dpkg -r"
echo "deb_package: $(basename "$deb") ok ($(wc -l <"$work/files") files installed and removed)"
