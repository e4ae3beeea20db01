#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan+UBSan) and runs each for a while.
# Usage: scripts/fuzz.sh [build-dir] [seconds per target]
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBURROWBOP_FUZZ=ON -DBURROWBOP_WERROR=ON -DBURROWBOP_TESTS=OFF -DBURROWBOP_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" -- --no-print-directory >"$build/build.log" 2>&1 || { cat "$build/build.log"; exit 1; }
shopt -s nullglob
targets=("$build"/fuzz/*)
if [[ ${#targets[@]} -eq 0 ]]; then
    echo "fuzz: no targets built"
    exit 0
fi
for t in "${targets[@]}"; do
    corpus="$build/corpus/$(basename "$t")"
    mkdir -p "$corpus"
    echo "fuzz: $(basename "$t") for ${seconds}s"
    "$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 "$corpus" 2>&1 | tail -n 3
done
