#!/usr/bin/env bash
# A picture or state file that cannot be written whole is reported with its name and the system's
# reason, and leaves nothing behind: no empty or cut file, no temporary file, an older file kept.
# The writes fail by a file size limit (any user) and by a full disk (a small file system mounted in
# a private mount namespace, skipped where that is not allowed).
set -euo pipefail
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_failed_writes: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "headless_failed_writes: $*" >&2; exit 1; }

# failed_run DIR REASON [PREFIX...]: runs one frame with a picture and the state written into DIR
# (through PREFIX, a command that sets up the failure), which must fail for REASON and leave DIR
# as it was, with the state file of an earlier run ("old") kept.
failed_run() {
  local dir=$1 reason=$2
  shift 2
  local before
  before=$(ls -A "$dir")
  set +e
  "$@" "$tool" run --seed 1 --frames 1 --shot "1:$dir/shot.png" --state "$dir/state.json" \
    > "$work/out" 2> "$work/err"
  local status=$?
  set -e
  [ $status -eq 1 ] || fail "$reason: status $status: $(cat "$work/err")"
  printf 'tarnyx-headless run: frame 1: cannot write %s: %s\ntarnyx-headless run: cannot write %s: %s\n' \
    "$dir/shot.png" "$reason" "$dir/state.json" "$reason" > "$work/expected"
  diff "$work/expected" "$work/err" >&2 || fail "$reason: not the expected messages"
  [ "$(cat "$dir/state.json")" = old ] || fail "$reason: the old state file was changed"
  [ "$(ls -A "$dir")" = "$before" ] || fail "$reason: left behind: $(ls -A "$dir")"
}

# A size limit of 0 blocks refuses every byte to a file (the signal it raises is ignored, so the
# writes fail); the messages reach their file through a pipe, outside the limit.
limited() { (trap '' XFSZ; ulimit -f 0; exec "$@" 2>&1 >/dev/null) | cat >&2; }
mkdir "$work/limited"
echo old > "$work/limited/state.json"
failed_run "$work/limited" "File too large" limited

# A full disk: a 64 KiB file system filled to the last block before the run.
mkdir "$work/full"
export -f failed_run fail
export tool work
if unshare --mount --map-root-user true 2>/dev/null &&
   unshare --mount --map-root-user mount -t tmpfs -o size=64k tmpfs "$work/full" 2>/dev/null; then
  unshare --mount --map-root-user bash -c '
    set -euo pipefail
    mount -t tmpfs -o size=64k tmpfs "$work/full"
    echo old > "$work/full/state.json"
    cat /dev/zero > "$work/full/filler" 2>/dev/null || true
    failed_run "$work/full" "No space left on device"'
else
  echo "headless_failed_writes: cannot mount a small file system here; the full-disk case is skipped"
fi
echo "headless_failed_writes: ok"
