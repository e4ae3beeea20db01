#!/usr/bin/env bash
# Figures of the running game on a virtual X display:
#   cold start to the first presented title frame (median of RUNS starts),
#   idle CPU on the title screen over IDLE_SECONDS, peak memory (VmHWM), and, with
#   xdotool, one game clicked through: the wall time of the logo and game-over slides,
#   the lateness of the mole timer and the CPU used while playing.
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
    export XDG_CONFIG_HOME="$work/config" # the user's own window file stays untouched
    export CE_TRACE="$work/trace"
    export SDL_AUDIODRIVER=dummy
    local starts=()
    for ((i = 0; i < runs; i++)); do
        rm -rf "$CE_DEVICE_ROOT" "$CE_TRACE"
        local t0 t1 pid
        t0=$(date +%s%N)
        "$exe" & pid=$!
        # The title frame is the first one presented after start-up armed the idle timer.
        until awk '/timer-set 11 / { armed = 1 } armed && / present$/ { found = 1; exit }
                   END { exit !found }' "$CE_TRACE" 2>/dev/null; do sleep 0.002; done
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

    command -v xdotool >/dev/null || { echo "(no xdotool: no game figures)"; return; }
    rm -rf "$CE_DEVICE_ROOT" "$CE_TRACE"
    "$exe" & pid=$!
    local win=""
    for ((i = 0; i < 200; i++)); do
        win=$(xdotool search --name '^Burrowbop$' 2>/dev/null | head -1 || true)
        [[ -n "$win" ]] && break
        sleep 0.05
    done
    [[ -n "$win" ]] || { echo "no game window found"; kill "$pid"; return; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$win")"
    # The phone screen is scaled into the window with its aspect kept.
    click() {
        awk -v W="$WIDTH" -v H="$HEIGHT" -v x="$1" -v y="$2" 'BEGIN {
            s = W / 720 < H / 480 ? W / 720 : H / 480
            printf "%d %d\n", (W - 720 * s) / 2 + x * s, (H - 480 * s) / 2 + y * s }' |
            { read -r cx cy; xdotool mousemove --window "$win" "$cx" "$cy" click 1; }
    }
    ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    click 364 251 # start
    sleep 9       # six moles and the game over
    ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    click 355 240 # back to the menu
    sleep 2
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "CPU while playing one game: $(awk -v d=$((ticks1 - ticks0)) -v hz="$hz"         'BEGIN { printf "%.1f", 100 * d / hz / 9 }') % over 9 s"
    awk '
        $2 == "move" && $3 == 0 && $4 == 192 && $5 == 54 && ls == "" { ls = $1 }
        $2 == "move" && $3 == 0 && $4 == 192 && $5 == -344 && le == "" { le = $1 }
        $2 == "move" && $3 == 261 && $5 == -110 { gs = $1 }
        $2 == "move" && $3 == 261 && $5 == 184 { ge = $1 }
        $2 == "timer-set" && $3 == 10 {
            if (prev != "") { late = ($1 - prev) * 1000 - interval; if (late > worst) worst = late; sum += late; n++ }
            prev = $1; interval = $4 }
        END {
            printf "logo slide: %.0f ms, game-over slide: %.0f ms\n", (le - ls) * 1000, (ge - gs) * 1000
            if (n) printf "mole timer lateness: mean %.1f ms, worst %.1f ms over %d steps\n", sum / n, worst, n
        }' "$CE_TRACE"
}

if [[ -n "${MEASURE_INSIDE:-}" || (-n "${DISPLAY:-}" && -n "${MEASURE_ON_DISPLAY:-}") ]]; then
    measure
else
    MEASURE_INSIDE=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi
