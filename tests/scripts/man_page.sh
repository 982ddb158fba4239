#!/usr/bin/env bash
# The manual page keeps up with the game: every option that tarnyx --help lists is described in
# dist/tarnyx.6 (options added later are held to it too), and its FILES section names the demos.
set -euo pipefail
src=$1
build=$2
game=$build/app/tarnyx
[ -x "$game" ] || { echo "man_page: $game not built"; exit 1; }
fail() { echo "man_page: FAIL: $*" >&2; exit 1; }
page=$src/dist/tarnyx.6
# The page's text as man shows it: roff's escaped minus signs are plain ones there.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
options=$(env -u DISPLAY "$game" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "tarnyx --help lists no options"
count=0
for option in $options; do
  count=$((count + 1))
  # Described: the option opens a paragraph (.TP, then .B OPTION ...) of the OPTIONS section.
  awk -v option="$option" '
    /^\.SH/ { section = $2 }
    section == "OPTIONS" && previous ~ /^\.TP/ && $1 == ".B" && $2 == option { found = 1 }
    { previous = $0 }
    END { exit found ? 0 : 1 }' <(printf '%s\n' "$text") || fail "$option is not described in the OPTIONS of $page"
done
files=$(printf '%s\n' "$text" | awk '/^\.SH/ { on = ($2 == "FILES") } on')
grep -q "reads no files" <<<"$files" && fail "FILES says the game reads no files, yet it reads demos"
grep -q "tnxdemo" <<<"$files" || fail "FILES does not name the demo files"
echo "man_page: ok ($count options)"
