#!/usr/bin/env bash
# The run command end to end: the real form and display on the headless backend. Checks whole
# frames pixel by pixel: every star of the final state is a white pixel (palette index 255) where
# it stands, nothing else is lit outside the text areas, the readouts and the ticker are there;
# and that bad arguments are refused with one line and status 2.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_run: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" run --seed 45296789 --frames 120 --shot 1:"$work/first.png" --shot 120:"$work/last.png" \
  --state "$work/state.json"
"$tool" run --seed 45296789 --frames 2 --ship 0,0,1,0,64 --state "$work/moving.json"

# The fastest ship a float holds, at the far edge of what a double holds, stays a number. (The
# state goes to a pipe by its name, which is written in place rather than replaced.)
"$tool" run --seed 45296789 --frames 1 --ship -1e300,1e300,3.4e38,-3.4e38,0 --state /dev/stdout | cat >"$work/far.json"
grep -q '"Frame":1' "$work/far.json" || { echo "headless_run: no state through the pipe"; exit 1; }
if grep -q null "$work/far.json"; then echo "headless_run: the far ship's state holds null"; exit 1; fi
python3 "$src/tests/scripts/check_frame.py" "$work/state.json" "$work/first.png" "$work/last.png" "$work/moving.json"

# Bad arguments: one line on stderr, exit status 2.
for bad in "--frames 5" "--seed 1" "--seed 1 --frames x" "--seed 1 --frames 3 --shot 4:a.png" \
           "--seed 1 --frames 3 --ship 1,2,3" "--seed 1 --frames 3 --bogus" \
           "--seed 1 --frames 3 --ship 0,0,1e300,-1e300,0" "--seed 1 --frames 3 --ship 0,0,0,-3.5e38,0" \
           "--seed 1 --frames 3 --ship 1e309,0,0,0,0" "--seed 1 --frames 3 --ship 0,nan,0,0,0" \
           "--seed 1 --frames 3 --ship 0,0,inf,0,0"; do
  set +e
  # shellcheck disable=SC2086
  "$tool" run $bad >"$work/out" 2>"$work/err"
  status=$?
  set -e
  if [ "$status" -ne 2 ] || [ "$(wc -l <"$work/err")" -ne 1 ] || [ -s "$work/out" ]; then
    echo "headless_run: 'run $bad' gave status $status and:"; cat "$work/err"; exit 1
  fi
done
echo "headless_run: ok"
