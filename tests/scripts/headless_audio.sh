#!/usr/bin/env bash
# The headless tool's sound options: run --audio writes one frame of samples per frame run into a
# WAV file, the same bytes each time; --volume scales it and 0 is silence; the run's state is the
# same with sound as without; bad values are one line and status 2; a file that cannot be
# written is status 1 with the file named, and leaves nothing behind.
set -euo pipefail
src=$1
build=$2
tool=$build/tools/headless/tarnyx-headless
[ -x "$tool" ] || { echo "headless_audio: $tool not built"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "headless_audio: FAIL: $*" >&2; exit 1; }

flight=(run --seed 45296789 --frames 120 --keys '10-60:Up;61-90:Up+Shift')
"$tool" "${flight[@]}" --audio "$work/a.wav" --state "$work/a.json" || fail "run --audio"
"$tool" "${flight[@]}" --audio "$work/b.wav" || fail "run --audio again"
"$tool" "${flight[@]}" --state "$work/silent.json" || fail "run without sound"
cmp -s "$work/a.wav" "$work/b.wav" || fail "the same run wrote different sound"
cmp -s "$work/a.json" "$work/silent.json" || fail "the run ends differently with sound"
[ "$(stat -c %s "$work/a.wav")" -eq $((44 + 120 * 960 * 2)) ] || fail "size $(stat -c %s "$work/a.wav")"

"$tool" "${flight[@]}" --audio "$work/full.wav" --volume 100 || fail "--volume 100"
"$tool" "${flight[@]}" --audio "$work/zero.wav" --volume 0 || fail "--volume 0"
python3 - "$work/a.wav" "$work/full.wav" "$work/zero.wav" <<'PY' || fail "the samples are not as expected"
import struct, sys, wave

def samples(path):
    with wave.open(path, "rb") as w:
        assert (w.getnchannels(), w.getsampwidth(), w.getframerate()) == (1, 2, 48000), path
        data = w.readframes(w.getnframes())
    return struct.unpack(f"<{len(data) // 2}h", data)

default, full, zero = (samples(p) for p in sys.argv[1:])
assert not any(zero), "volume 0 is not silence"
assert not any(full[:9 * 960]), "sound before the first thrust"
loud = max(abs(s) for s in full[12 * 960:60 * 960])
assert loud > 1000, f"the engine is quiet: {loud}"
assert not any(full[100 * 960:]), "sound after the engine stopped"
# The default volume is 80 of 100: each sample 80 % of full volume's, rounded down.
assert all(d == (f * 52428) >> 16 for d, f in zip(default, full)), "the default volume is not 80"
PY

# Bad values: one line, status 2.
for bad in "--volume 101" "--volume x" "--volume 50" "--audio"; do
  set +e
  # shellcheck disable=SC2086
  "$tool" run --seed 1 --frames 5 $bad >"$work/out" 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "$bad: status $status"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$bad: $(cat "$work/err")"
done
# A file that cannot be written.
set +e
"$tool" run --seed 1 --frames 5 --audio "$work/no/such/folder/x.wav" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "unwritable --audio: status $status"
grep -q "no/such/folder/x.wav" "$work/err" || fail "unwritable --audio: $(cat "$work/err")"
# A run refused before it starts leaves an older file as it was.
echo old >"$work/old.wav"
set +e
"$tool" run --seed 1 --frames 5 --audio "$work/old.wav" --shot 9:"$work/f.png" 2>/dev/null
set -e
[ "$(cat "$work/old.wav")" = old ] || fail "a refused run touched the older file"
# demo takes --audio too.
"$tool" run --seed 1 --frames 60 --keys '5-40:Up' --record "$work/d.tnxdemo" --audio "$work/run.wav" >/dev/null
"$tool" demo "$work/d.tnxdemo" --audio "$work/demo.wav" >/dev/null || fail "demo --audio"
cmp -s "$work/run.wav" "$work/demo.wav" || fail "a demo sounds different from its run"
"$tool" --help | grep -q -- "--audio FILE.wav" || fail "the usage does not name --audio"
echo "headless_audio: ok"
