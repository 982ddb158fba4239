#!/usr/bin/env bash
# The package sets of scripts/install-deps: `run` (what `make run` installs) holds the game's
# build and run-time packages and nothing of the tests, benchmarks, fuzzing or Xvfb; each larger
# set holds the smaller ones; the script installs only what is missing, and --list installs
# nothing. apt-get, dpkg-query and sudo are stand-ins here, so nothing on the machine changes.
set -euo pipefail
src=$(cd "$1" && pwd)
script=$src/scripts/install-deps
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Stand-ins: dpkg-query reports as installed the packages named in $work/installed (NAME:arm64
# for the arm64 twin, which a plain NAME also finds, as dpkg-query does); dpkg is an amd64 one
# that knows the architectures in $work/foreign; apt-get, dpkg and sudo write what they were asked
# to $work/calls.
mkdir "$work/bin"
# A package named in $work/installed twice is installed for two architectures, and its status
# comes twice, as the real one's -f format gives it (without a line break unless asked for).
cat >"$work/bin/dpkg-query" <<EOF
#!/usr/bin/env bash
p=\${!#}
found=1
if grep -qx "\$p" "$work/installed"; then
  [[ \$p == *:arm64 ]] && echo 'arm64 install ok installed' || echo 'all install ok installed'
  found=0
fi
if [[ \$p != *:* ]] && grep -qx "\$p:arm64" "$work/installed"; then echo 'arm64 install ok installed'; found=0; fi
[ \$found -eq 0 ] || echo "dpkg-query: no packages found matching \$p" >&2
exit \$found
EOF
cat >"$work/bin/dpkg" <<EOF
#!/usr/bin/env bash
case \$1 in
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) cat "$work/foreign" ;;
  *) echo "dpkg \$*" >>"$work/calls"; [ "\$1" = --add-architecture ] && echo "\$2" >>"$work/foreign" ;;
esac
EOF
: >"$work/foreign"
cat >"$work/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >>"$work/calls"
EOF
cat >"$work/bin/sudo" <<'EOF'
#!/usr/bin/env bash
exec "$@"
EOF
chmod +x "$work/bin"/*
: >"$work/installed"
deps() { PATH="$work/bin:$PATH" "$script" "$@"; }

list() { deps --list "$1" | sort >"$work/$1"; }
for s in run deb test bench web arm64 windows; do list "$s"; done
has() { grep -qx "$2" "$work/$1" || fail "set $1 lacks $2"; }
lacks() {
  local bad
  bad=$(grep -E "$2" "$work/$1" || true)
  [ -z "$bad" ] || fail "set $1 holds $(echo "$bad" | tr '\n' ' ')"
}

# What building and running the game needs, and nothing else.
for p in g++ make cmake pkg-config libsdl2-dev libfreetype-dev libpng-dev fonts-terminus-otb; do
  has run "$p"
done
lacks run 'gtest|gmock|googletest|benchmark|gfx|clang|xvfb|xauth|xdotool|x11-apps|lintian|python|^time$|dpkg-dev|emscripten|nodejs|chromium'
# The larger sets hold the smaller ones, and what their own use needs.
comm -23 "$work/run" "$work/deb" | grep . && fail "set deb lacks packages of run (above)"
comm -23 "$work/deb" "$work/test" | grep . && fail "set test lacks packages of deb (above)"
comm -23 "$work/run" "$work/bench" | grep . && fail "set bench lacks packages of run (above)"
comm -23 "$work/run" "$work/web" | grep . && fail "set web lacks packages of run (above)"
comm -23 "$work/web" "$work/test" | grep . && fail "set test lacks packages of web (above)"
for p in dpkg-dev file; do has deb "$p"; done
for p in libgtest-dev libgmock-dev clang libclang-rt-dev xvfb xauth xdotool x11-apps python3 lintian; do
  has test "$p"
done
for p in libbenchmark-dev libsdl2-gfx-dev python3 linux-perf; do has bench "$p"; done
for p in emscripten nodejs; do has web "$p"; done
has test chromium
lacks web 'gtest|gmock|xvfb|lintian|chromium|benchmark'
# The Windows cross-build: its compiler, zlib, Wine and the packaging tools, and the font it
# embeds; make test checks it, so the test set holds it.
for p in g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine64 xvfb xdotool imagemagick nsis zip \
  fonts-terminus-otb cmake pkg-config googletest python3; do
  has windows "$p"
done
comm -23 "$work/windows" "$work/test" | grep . && fail "set test lacks packages of windows (above)"
lacks windows 'libsdl2-dev|libfreetype-dev|libpng-dev|gtest|emscripten'
lacks bench 'gtest|gmock|xvfb|lintian'
# The cross build: the game's libraries and the tests' for arm64, the cross compiler and qemu, and
# the native build's (whose tool the arm64 one is compared with); make test runs it, so the test
# set holds it.
comm -23 "$work/run" "$work/arm64" | grep . && fail "set arm64 lacks packages of run (above)"
for p in g++-aarch64-linux-gnu qemu-user libsdl2-dev:arm64 libfreetype-dev:arm64 libpng-dev:arm64 \
  libgtest-dev:arm64 libgmock-dev:arm64; do
  has arm64 "$p"
done
comm -23 "$work/arm64" "$work/test" | grep . && fail "set test lacks packages of arm64 (above)"
# The Windows cross-build: its compiler, zlib, Wine and the packaging tools, and the font it
# embeds; make test checks it, so the test set holds it.
for p in g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine64 xvfb xdotool imagemagick nsis zip \
  fonts-terminus-otb cmake pkg-config googletest python3; do
  has windows "$p"
done
comm -23 "$work/windows" "$work/test" | grep . && fail "set test lacks packages of windows (above)"
lacks windows 'libsdl2-dev|libfreetype-dev|libpng-dev|gtest|emscripten'
lacks arm64 'xvfb|lintian|chromium|benchmark|emscripten'
# Sets given together are installed together, each package once.
deps --list run bench >"$work/both"
[ "$(sort -u "$work/both")" = "$(sort "$work/bench")" ] || fail "run bench is not the bench set"
[ "$(sort "$work/both" | uniq -d)" = "" ] || fail "run bench lists a package twice"

# --list never installs.
[ ! -e "$work/calls" ] || fail "--list called apt-get: $(cat "$work/calls")"

# Only the missing packages are installed; with nothing missing, apt-get is not called at all.
grep -v -x -e libsdl2-dev -e cmake "$work/run" >"$work/installed"
deps run >/dev/null
[ "$(grep -c 'install' "$work/calls")" -eq 1 ] || fail "apt-get calls: $(cat "$work/calls")"
grep -q -- ' libsdl2-dev cmake$\| cmake libsdl2-dev$' "$work/calls" ||
  fail "not just the two missing packages installed: $(cat "$work/calls")"
rm "$work/calls"
cp "$work/run" "$work/installed"
deps run >/dev/null
[ ! -e "$work/calls" ] || fail "apt-get called with nothing missing: $(cat "$work/calls")"
# A package installed for two architectures is installed.
cat "$work/run" "$work/run" >"$work/installed"
deps run >/dev/null
[ ! -e "$work/calls" ] || fail "apt-get called for packages of two architectures: $(cat "$work/calls")"

# An arm64 package installed only for amd64 is missing; the arm64 architecture is added to dpkg
# before the lists are read, and only once.
cp "$work/run" "$work/installed"
sed 's/:arm64$//' "$work/arm64" >>"$work/installed"
deps arm64 >/dev/null
[ "$(head -1 "$work/calls")" = "dpkg --add-architecture arm64" ] || fail "arm64 not added first: $(cat "$work/calls")"
grep -q "^apt-get install .* libsdl2-dev:arm64" "$work/calls" || fail "libsdl2-dev:arm64 not installed: $(cat "$work/calls")"
rm "$work/calls"
deps arm64 >/dev/null
grep -q "add-architecture" "$work/calls" && fail "arm64 added twice: $(cat "$work/calls")"
rm "$work/calls"
# An amd64 package whose arm64 twin alone is installed is missing too.
grep -v -x -e libpng-dev "$work/arm64" >"$work/installed"
deps arm64 >/dev/null
grep -q "^apt-get install .* libpng-dev$" "$work/calls" || fail "libpng-dev not installed: $(cat "$work/calls")"
rm "$work/calls"
cp "$work/arm64" "$work/installed"
deps arm64 >/dev/null
[ ! -e "$work/calls" ] || fail "apt-get called with nothing missing: $(cat "$work/calls")"

# A set it does not know, or none: one line on stderr, status 2, nothing installed.
for args in "" "runn" "--list" "run --all"; do
  set +e
  # shellcheck disable=SC2086
  deps $args >"$work/out" 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "'$args': status $status, expected 2"
  [ ! -s "$work/out" ] || fail "'$args': wrote to stdout: $(cat "$work/out")"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q 'usage: install-deps' "$work/err" ||
    fail "'$args': not one usage line: $(cat "$work/err")"
  [ ! -e "$work/calls" ] || fail "'$args' called apt-get"
done
echo "install_deps_sets: ok"
