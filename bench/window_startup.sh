#!/usr/bin/env bash
# Starts the tool's window as shipped and a bare window of the same widgets in turn, 31 times each,
# and prints the medians, their ratio and the peak memory of each.
set -euo pipefail
build=${1:-build-bench}
program="$build/bench/bench_window_startup"
export QT_QPA_PLATFORM=offscreen
tool=() bare=() tool_kb=0 bare_kb=0
for _ in $(seq 31); do
    read -r us kb < <("$program" tool 2>/dev/null); tool+=("$us"); tool_kb=$kb
    read -r us kb < <("$program" bare 2>/dev/null); bare+=("$us"); bare_kb=$kb
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
t=$(median "${tool[@]}")
b=$(median "${bare[@]}")
echo "window start-up, tool window (median of 31): $((t / 1000)) ms"
echo "window start-up, bare window of the same widgets (median of 31): $((b / 1000)) ms"
awk -v t="$t" -v b="$b" 'BEGIN { printf "window start-up, tool / bare: %.2f ratio\n", t / b }'
echo "window start-up, tool window peak memory: $tool_kb KiB"
echo "window start-up, bare window peak memory: $bare_kb KiB"
awk -v t="$tool_kb" -v b="$bare_kb" 'BEGIN { printf "window start-up, peak memory tool / bare: %.2f ratio\n", t / b }'
