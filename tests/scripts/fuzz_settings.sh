#!/usr/bin/env bash
# A bounded run of the settings reader's fuzz target over its seed corpus (see scripts/fuzz-run).
# Inputs up to 1 KiB: a player's file is a few hundred bytes, and the reader's work is per line,
# so longer inputs only repeat its paths, more slowly (files past 64 KiB are refused unread, which
# the unit tests check).
set -euo pipefail
exec "$1/scripts/fuzz-run" "$1" "$2" SettingsReader 30 1024
