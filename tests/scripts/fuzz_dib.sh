#!/usr/bin/env bash
# A short bounded run of the bitmap reader's fuzz target over its seed corpus. The target needs
# clang's libFuzzer, so it is built in a clang build directory of its own inside the build dir;
# without clang there is nothing to run and the test passes.
set -euo pipefail
src=$1
build=$2
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz_dib: clang++ not found, nothing to run"
  exit 0
fi
fuzzdir=$build/fuzz-clang
if [ ! -f "$fuzzdir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$src" -B "$fuzzdir" -DTARNYX_FUZZ=ON -DTARNYX_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$fuzzdir" --target fuzz_DIB -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$src"/fuzz/corpus/DIB/* "$work"/
# New inputs go to the scratch copy, so the committed corpus stays small and unchanged.
"$fuzzdir"/fuzz/fuzz_DIB "$work" -max_total_time=20 -max_len=4096 -rss_limit_mb=1024 \
  -print_final_stats=1 2>&1 | tail -n 15
