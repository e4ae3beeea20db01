#!/usr/bin/env bash
# `make run` builds only what it runs (the game and the phone tool); `make test-fast`
# still builds everything. Checked on make's dry run, so nothing is built.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
touch "$build/CMakeCache.txt" # configured already: only the build steps remain
run=$(make -n --no-print-directory run BUILD="$build" | grep -- '--build' || true)
all=$(make -n --no-print-directory test-fast BUILD="$build" | grep -- '--build' || true)
fail=0
[[ -n "$run" ]] || { echo "make run: no build step"; fail=1; }
if grep -v -- '--target burrowbop phone' <<<"$run" | grep -q .; then
    echo "make run builds more than the game and the phone tool:"
    echo "$run"
    fail=1
fi
if [[ -z "$all" ]] || grep -q -- '--target' <<<"$all"; then
    echo "make test-fast must build every target:"
    echo "$all"
    fail=1
fi
exit $fail
