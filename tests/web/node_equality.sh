#!/usr/bin/env bash
# The game built for the browser computes what the native game computes: the headless tool built
# for node (tarnyx-headless.js) writes byte for byte the JSON of the native tarnyx-headless, and the
# same pixels, for the cases of tests/scripts/same_outputs.sh (worlds, flights on keys and a
# joystick, a landing, a crash, the committed demos with their sound, recordings, refusals).
# Prints one line per case, then "N passed, N failed"; exits non-zero on any failure.
# Arguments: the native tarnyx-headless and tarnyx-headless.js.
set -uo pipefail
[ $# -eq 2 ] && [ -x "$1" ] && [ -f "$2" ] || { echo "usage: node_equality.sh NATIVE_TOOL TOOL.js" >&2; exit 2; }
exec "$(dirname "$0")/../scripts/same_outputs.sh" "$1" "$2"
