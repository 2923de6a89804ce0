#!/usr/bin/env bash
# Starts the tool's window as shipped and a bare window of the same widgets in turn, as whole
# processes (library loading included), 31 times each, and prints the median wall-clock times,
# their ratio and the peak memory of each.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=offscreen
tool=() bare=()
# "microseconds KiB" of one whole run of the program.
run() {
    local start end kb
    start=$(date +%s%N)
    kb=$("$1" 2>/dev/null)
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $kb"
}
for _ in $(seq 31); do
    tool+=("$(run "$build/bench/bench_window_startup")")
    bare+=("$(run "$build/bench/bench_window_startup_bare")")
done
median() { printf '%s\n' "$@" | awk '{print $1}' | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
peak() { printf '%s\n' "$@" | awk '{print $2}' | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
t=$(median "${tool[@]}") b=$(median "${bare[@]}")
tool_kb=$(peak "${tool[@]}") bare_kb=$(peak "${bare[@]}")
echo "window start-up, tool window (median of 31): $((t / 1000)) ms"
echo "window start-up, bare window of the same widgets (median of 31): $((b / 1000)) ms"
awk -v t="$t" -v b="$b" 'BEGIN { printf "window start-up, tool / bare: %.2f ratio\n", t / b }'
echo "window start-up, tool window peak memory: $tool_kb KiB"
echo "window start-up, bare window peak memory: $bare_kb KiB"
awk -v t="$tool_kb" -v b="$bare_kb" 'BEGIN { printf "window start-up, peak memory tool / bare: %.2f ratio\n", t / b }'
