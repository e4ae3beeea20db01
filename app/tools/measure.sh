#!/usr/bin/env bash
# Figures of the running game on a virtual X display:
#   cold start to the first presented title frame (median of RUNS starts),
#   idle CPU on the title screen over IDLE_SECONDS, and peak memory (VmHWM).
# Usage: app/tools/measure.sh [build dir]   (needs xvfb-run; the build must exist)
set -euo pipefail

build=${1:-build}
exe="$build/app/burrowbop"
runs=${RUNS:-7}
idle_seconds=${IDLE_SECONDS:-60}
[[ -x "$exe" ]] || { echo "no executable at $exe" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measure() {
    export CE_DEVICE_ROOT="$work/device"
    export CE_TRACE="$work/trace"
    export SDL_AUDIODRIVER=dummy
    local starts=()
    for ((i = 0; i < runs; i++)); do
        rm -rf "$CE_DEVICE_ROOT" "$CE_TRACE"
        local t0 t1 pid
        t0=$(date +%s%N)
        "$exe" & pid=$!
        until grep -q '^.*present' "$CE_TRACE" 2>/dev/null; do sleep 0.002; done
        t1=$(date +%s%N)
        starts+=($(((t1 - t0) / 1000000)))
        kill "$pid"; wait "$pid" 2>/dev/null || true
    done
    local median
    median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    echo "cold start to first title frame: median ${median} ms (runs: ${starts[*]})"

    rm -rf "$CE_DEVICE_ROOT" "$CE_TRACE"
    "$exe" & pid=$!
    sleep 2
    local hz ticks0 ticks1
    hz=$(getconf CLK_TCK)
    ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$idle_seconds"
    ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    echo "idle CPU on the title screen: $(awk -v d=$((ticks1 - ticks0)) -v hz="$hz" \
        -v s="$idle_seconds" 'BEGIN { printf "%.2f", 100 * d / hz / s }') % over ${idle_seconds} s"
    echo "peak memory: $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"
    kill "$pid"; wait "$pid" 2>/dev/null || true
}

if [[ -n "${DISPLAY:-}" && -n "${MEASURE_ON_DISPLAY:-}" ]]; then
    measure
else
    export -f measure
    export exe runs idle_seconds work
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c measure
fi
