#!/usr/bin/env bash
# The Windows build's unit tests under Wine, each in a console of its own (a pseudo-terminal, which
# Wine makes a Windows console of), so that the stop requests' test can press Ctrl+C in it.
# Prints one line per test program, then "N passed, N failed" over their tests; exits non-zero on
# any failure.
# Usage: unit_tests.sh WINDOWS_BUILD_DIR TEST.exe...   (the programs relative to WINDOWS_BUILD_DIR)
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: unit_tests.sh WINDOWS_BUILD_DIR TEST.exe..." >&2; exit 2; }
build=$(cd "$1" && pwd)
shift
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=-all
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
passed=0
failed=0
status=0
for program in "$@"; do
  name=$(basename "$program" .exe)
  xml="$tmp/$name.xml"
  # script gives the program a terminal and returns its status; the console's drawing is dropped.
  # GoogleTest takes the results' path as a Windows one: Wine's Z: drive is the root.
  timeout 600 script -qec "/usr/lib/wine/wine64 '$build/$program' --gtest_output='xml:Z:${xml//\//\\}'" \
    /dev/null >"$tmp/$name.out" 2>&1
  result=$?
  if [ ! -f "$xml" ]; then
    echo "FAIL $name: no results (status $result)"
    failed=$((failed + 1))
    status=1
    continue
  fi
  read -r tests failures skipped < <(python3 - "$xml" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
cases = root.iter("testcase")
tests = failures = skipped = 0
for c in cases:
    tests += 1
    if c.find("failure") is not None: failures += 1
    elif c.get("result") == "skipped" or c.find("skipped") is not None: skipped += 1
print(tests, failures, skipped)
PY
)
  passed=$((passed + tests - failures - skipped))
  failed=$((failed + failures))
  if [ "$result" -ne 0 ] || [ "$failures" -ne 0 ]; then
    status=1
    echo "FAIL $name: $failures of $tests failed (status $result)"
    python3 - "$xml" <<'PY'
import sys, xml.etree.ElementTree as ET
for c in ET.parse(sys.argv[1]).getroot().iter("testcase"):
    f = c.find("failure")
    if f is not None: print("  ", c.get("classname") + "." + c.get("name") + ":", f.get("message", "")[:300])
PY
  else
    echo "ok   $name: $tests tests, $skipped skipped"
  fi
done
echo "$passed passed, $failed failed"
exit $status
