#!/usr/bin/env bash
# The game built for the browser computes what the native game computes: the headless tool built
# for node (tarnyx-headless.js) against the native tarnyx-headless, case for case as every other
# build is checked (tests/cross/same_bits.sh: worlds, flights, landings, crashes, pictures, demos).
# Arguments: the native tarnyx-headless and tarnyx-headless.js.
set -uo pipefail
[ $# -eq 2 ] && [ -x "$1" ] && [ -f "$2" ] || { echo "usage: node_equality.sh NATIVE_TOOL TOOL.js" >&2; exit 2; }
exec bash "$(dirname "$0")/../cross/same_bits.sh" "$1" node "$2"
