#!/usr/bin/env bash
# Runs every benchmark executable of a build (targets named *_bench).
# Usage: scripts/bench.sh [build-dir]
set -euo pipefail
build=${1:-build}
found=0
while IFS= read -r b; do
    found=1
    echo "== $(basename "$b")"
    "$b"
done < <(find "$build" -type f -name '*_bench' -perm -u+x | sort)
[[ $found -eq 1 ]] || echo "bench: no benchmarks built in $build"
