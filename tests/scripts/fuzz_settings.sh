#!/usr/bin/env bash
# A bounded run of the settings reader's fuzz target over its seed corpus (see scripts/fuzz-run).
set -euo pipefail
exec "$1/scripts/fuzz-run" "$1" "$2" SettingsReader 30
