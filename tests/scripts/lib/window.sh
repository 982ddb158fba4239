# What the game's window tests share, sourced as
#   . "$(dirname "$0")/lib/window.sh" NAME "$@"
# by a test that takes SOURCE_DIR BUILD_DIR. It then has
#   src, build         its two arguments as full paths, and game, the game built there;
#   fail MESSAGE       says what failed under the test's name and ends the test;
#   inside             true once the test runs under its own Xvfb;
#   start_under_xvfb TOOL...
#                      outside: checks that xvfb-run and the tools are here, then starts the test
#                      again under an X server of its own (1024x768) and does not return; inside:
#                      returns at once.
# LSAN_OPTIONS keeps the sanitizer build from blaming the game for leaks inside system libraries
# (other builds do not read it).
window_test=$1
[ $# -ge 3 ] || { echo "usage: $window_test.sh SOURCE_DIR BUILD_DIR" >&2; exit 2; }
src=$(cd "$2" && pwd)
build=$(cd "$3" && pwd)
game=$build/app/tarnyx
fail() { echo "$window_test: FAIL: $*" >&2; exit 1; }
[ -x "$game" ] || { echo "$window_test: $game not built"; exit 1; }
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$src/tests/lsan.supp:print_suppressions=0}
inside=false
[ "${4:-}" != --inside ] || inside=true
window_test_script=$0
window_test_args=("$2" "$3")

start_under_xvfb() {
  ! $inside || return 0
  local tool
  for tool in xvfb-run "$@"; do
    command -v "$tool" >/dev/null || fail "needs $tool (scripts/install-deps test)"
  done
  # A display number from a random start: two tests starting Xvfb at once from the same number
  # can pick the same free one.
  exec xvfb-run -a -n $((100 + RANDOM % 900)) -s '-screen 0 1024x768x24' \
    bash "$window_test_script" "${window_test_args[@]}" --inside
}
