#!/usr/bin/env bash
# Where a recording may go, and what bad names, bad files and failing disks do to the demo tools:
# a device, a FIFO, a socket or a folder is refused before the flight (one line, status 2) and
# stays what it was; --state and --shot write straight into a device or a FIFO and refuse a folder;
# a name too long for a ".part" beside it still records; a recording that cannot start leaves no
# part file, and one whose disk fills says so once, naming the frame; file names reach the
# terminal escaped; a huge file is refused before it is read; a truncated demo is status 2 however
# many of its frames are played. The device cases need root (mknod), and are skipped without.
set -euo pipefail
build=$2
game=$build/app/tarnyx
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "demo_record_targets: $tool not built"; exit 1; }
work=$(mktemp -d)
# The player's settings are the test's own: none read from the home folder, none written there.
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"' EXIT
fail() { echo "demo_record_targets: FAIL: $*" >&2; exit 1; }

call() {  # call PROGRAM ARGS...: sets status, and out and err in files; never a display
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" >"$work/out" 2>"$work/err"
  status=$?
  set -e
}
one_line() { [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$1: stderr is not one line: $(cat "$work/err")"; }
# The kind of a file as stat names it, or "none".
kind() { stat -c %F "$1" 2>/dev/null || echo none; }

# --- Targets that are no regular file: refused before the flight, left as they were. ---------
mkdir "$work/folder"
mkfifo "$work/fifo"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/socket"
targets=("$work/folder" "$work/folder/" "$work/fifo" "$work/socket" "$work/nowhere/")
if mknod "$work/null" c 1 3 2>/dev/null; then
  targets+=("$work/null")
  ln -s "$work/null" "$work/link-to-null"
  targets+=("$work/link-to-null")
else
  echo "demo_record_targets: not root: no device node to try"
fi
src_demo=$work/flight.tnxdemo
"$tool" run --seed 45296789 --frames 60 --keys '1-30:Up' --record "$src_demo" >/dev/null
for target in "${targets[@]}"; do
  before=$(kind "$target")
  commands=("$tool run --seed 1 --frames 5 --record" "$tool demo $src_demo --record")
  [ -x "$game" ] && commands+=("$game --record")
  for command in "${commands[@]}"; do
    # shellcheck disable=SC2086
    call $command "$target"
    [ "$status" -eq 2 ] || fail "'$command $target': status $status, expected 2: $(cat "$work/err")"
    one_line "'$command $target'"
    grep -q "$target" "$work/err" || fail "'$command $target' does not name it: $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "'$command $target' wrote to stdout: $(cat "$work/out")"
    [ "$(kind "$target")" = "$before" ] || fail "'$command $target' made a $(kind "$target") of a $before"
  done
done
[ -z "$(ls -A "$work/folder")" ] || fail "a refused recording left $(ls -A "$work/folder") in the folder"
ls "$work" | grep -q '\.part$' && fail "a refused recording left a part file: $(ls "$work")"

# --state and --shot into the same kinds: written straight into a device or a FIFO (a reader
# waits at the FIFO), refused for a folder; the device and the FIFO stay what they were.
if [ -e "$work/null" ]; then
  call "$tool" run --seed 1 --frames 2 --state "$work/null" --shot "2:$work/null"
  [ "$status" -eq 0 ] || fail "--state and --shot into a device: status $status: $(cat "$work/err")"
  [ "$(kind "$work/null")" = "character special file" ] || fail "--state replaced the device"
fi
cat "$work/fifo" >"$work/from-fifo" &
reader=$!
call "$tool" run --seed 1 --frames 2 --state "$work/fifo"
wait "$reader"
[ "$status" -eq 0 ] || fail "--state into a FIFO: status $status: $(cat "$work/err")"
grep -q '"Frame":2' "$work/from-fifo" || fail "--state into a FIFO: the reader got $(head -c 200 "$work/from-fifo")"
[ "$(kind "$work/fifo")" = fifo ] || fail "--state replaced the FIFO"
call "$tool" run --seed 1 --frames 2 --state "$work/folder" --shot "2:$work/folder"
[ "$status" -eq 1 ] && [ -d "$work/folder" ] || fail "--state into a folder: status $status"

# --- A name as long as a name may be: the part file beside it must fit too. -------------------
long=$work/$(printf 'f%.0s' $(seq 243)).tnxdemo  # 251 bytes
call "$tool" run --seed 1 --frames 60 --record "$long"
[ "$status" -eq 0 ] || fail "a 251-byte name: status $status: $(cat "$work/err")"
call "$tool" demo "$long"
[ "$status" -eq 0 ] || fail "the 251-byte recording does not replay: $(cat "$work/err")"
[ -z "$(ls -A "$work" | grep -v -e '^f*\.tnxdemo$' -e '^flight\.tnxdemo$' -e '^folder$' -e '^fifo$' \
      -e '^socket$' -e '^null$' -e '^link-to-null$' -e '^from-fifo$' -e '^out$' -e '^err$')" ] \
  || fail "the long name left: $(ls -A "$work")"

# --- A recording that cannot start leaves nothing behind; the next one then records. -----------
for command in "$tool run --seed 1 --frames 5 --record" "$game --record"; do
  [ "${command%% *}" = "$game" ] && [ ! -x "$game" ] && continue
  # shellcheck disable=SC2086
  # The messages reach their file through a pipe, outside the limit.
  call bash -c '(trap "" XFSZ; ulimit -f 0; exec "$@") 2>&1 | cat >&2; exit "${PIPESTATUS[0]}"' limited \
    $command "$work/full.tnxdemo"
  [ "$status" -eq 1 ] || fail "'$command' on a full disk: status $status: $(cat "$work/err")"
  one_line "'$command' on a full disk"
  [ ! -e "$work/full.tnxdemo.part" ] || fail "'$command' on a full disk left an empty part file"
done
call "$tool" run --seed 1 --frames 5 --record "$work/full.tnxdemo"
[ "$status" -eq 0 ] || fail "recording after a full disk: status $status: $(cat "$work/err")"

# --- The disk fills during a recording: said once, with the frame where it stopped. ------------
limit_kib=2  # the header and some 140 checkpoints
call bash -c '(trap "" XFSZ; ulimit -f "$1"; shift; exec "$@") 2>&1 | cat >&2; exit "${PIPESTATUS[0]}"' limited \
  $limit_kib "$tool" run --seed 1 --frames 9000 --record "$work/filling.tnxdemo"
[ "$status" -eq 1 ] || fail "a disk filling up: status $status"
[ "$(grep -c 'recording stopped at frame [0-9]' "$work/err")" -eq 1 ] \
  || fail "a disk filling up is not said once with its frame: $(cat "$work/err")"
frames_kept=$(grep -o 'recording stopped at frame [0-9]*' "$work/err" | grep -o '[0-9]*$')
[ "$frames_kept" -gt 100 ] && [ "$frames_kept" -lt 9000 ] || fail "stopped at frame $frames_kept"

# --- File names reach the terminal escaped. ----------------------------------------------------
odd=$work/$'\e[31mred\a\xff'.tnxdemo
for command in "$tool demo" "$game --playdemo" "$game --record"; do
  [ "${command%% *}" = "$game" ] && [ ! -x "$game" ] && continue
  # shellcheck disable=SC2086
  call $command "$work/no-such-folder/${odd##*/}"
  [ "$status" -ne 0 ] || fail "'$command' of a missing odd name: status 0"
  LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f\x80-\xff]' "$work/err" && fail "'$command' printed raw bytes: $(cat -v "$work/err")"
  grep -qF '\x1b[31mred\x07\xff' "$work/err" || fail "'$command' did not escape the name: $(cat -v "$work/err")"
done
cp "$src_demo" "$odd"
printf 'x' >>"$odd"  # bytes after the end: damaged
call "$tool" demo "$odd"
[ "$status" -eq 2 ] || fail "a damaged demo with an odd name: status $status"
LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f\x80-\xff]' "$work/err" && fail "demo printed raw bytes: $(cat -v "$work/err")"
rm -f "$odd"

# --- Huge files are refused before they are read: the memory stays that of a small demo. --------
truncate -s 1G "$work/sparse.tnxdemo"
printf 'TNXDEMO\032' | dd of="$work/sparse.tnxdemo" conv=notrunc status=none
head -c $((64 << 20)) /dev/zero >"$work/zeros.tnxdemo"
peak() {  # peak ARGS...: runs the tool; prints its status and its peak memory in KiB
  python3 - "$@" <<'PY'
import resource, subprocess, sys
status = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
print(status, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
PY
}
read -r _ small < <(peak "$tool" demo "$src_demo")
for big in sparse zeros; do
  read -r status kib < <(peak "$tool" demo "$work/$big.tnxdemo")
  [ "$status" -eq 2 ] || fail "$big: status $status"
  [ "$kib" -lt $((small + 8192)) ] || fail "$big: $kib KiB at the peak, a small demo $small KiB"
done
call "$tool" demo "$work/sparse.tnxdemo"
[ "$(cat "$work/err")" = "tarnyx-headless demo: $work/sparse.tnxdemo: larger than 64 MiB: not a demo" ] \
  || fail "sparse: $(cat "$work/err")"
rm -f "$work/sparse.tnxdemo" "$work/zeros.tnxdemo"

# --- A truncated demo is status 2, however many of its frames are played. ----------------------
size=$(stat -c %s "$src_demo")
head -c $((size - 20)) "$src_demo" >"$work/cut.tnxdemo"
call "$tool" demo "$work/cut.tnxdemo" --frames 10
[ "$status" -eq 2 ] || fail "a truncated demo played for 10 frames: status $status"
grep -q "truncated at frame" "$work/err" || fail "cut: $(cat "$work/err")"
echo "demo_record_targets: ok"
