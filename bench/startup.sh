#!/usr/bin/env bash
# Start-up and idle cost of Plumora beside a bare Qt tray program, in one run:
# time from start to the icon docked, resident memory after 10 s idle, CPU time over a
# minute idle. Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
idle_cpu_seconds=${IDLE_CPU_SECONDS:-60}
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_start_desktop

program=$(e2e_program_folder "$build/bin/plumora" "$build/bin/data.src")
cp "$build/bench/bare_tray" "$program/"
# Not a first run: the first start opens the help once, which is not what is measured.
"$program/plumora" >/dev/null 2>&1 &
warmup=$!
wait_for 15 test -f "$program/data.plm"
sleep 1
kill "$warmup"
wait "$warmup" 2>/dev/null || true

docked() { xwininfo -tree -id "$(tray_panel)" | grep -q "(\"$1\" "; }

# Milliseconds from exec to the icon docked in the tray.
time_to_icon() {
    local name=$1 start end pid
    start=$(date +%s%N)
    "$program/$name" >/dev/null 2>&1 &
    pid=$!
    until docked "$name"; do sleep 0.002; done
    end=$(date +%s%N)
    echo "$pid $(((end - start) / 1000000))"
}

measure() {
    local name=$1 total=0 best=999999 pid ms i
    for i in $(seq "$runs"); do
        read -r pid ms < <(time_to_icon "$name")
        total=$((total + ms))
        [ "$ms" -lt "$best" ] && best=$ms
        kill "$pid"; wait "$pid" 2>/dev/null || true
        sleep 0.3
    done
    read -r pid ms < <(time_to_icon "$name")
    sleep 10
    local rss
    rss=$(awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
    local t0 t1
    t0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep "$idle_cpu_seconds"
    t1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    local tick
    tick=$(getconf CLK_TCK)
    printf '%-10s %8d %8d %10s %14s\n' "$name" "$((total / runs))" "$best" "$rss" \
        "$(awk -v a="$t0" -v b="$t1" -v t="$tick" 'BEGIN { printf "%.0f", (b - a) * 1000 / t }')"
}

printf '%-10s %8s %8s %10s %14s\n' program "icon ms" "best ms" "RSS MiB" "idle CPU ms/${idle_cpu_seconds}s"
measure bare_tray
measure plumora
