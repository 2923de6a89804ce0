#!/usr/bin/env bash
# Whole-process time of one "blackmark ... mark-width 300" against printf piped into netcat
# sending the same nine bytes to the same loopback listener, in turn, 50 rounds each.
set -euo pipefail
build=${1:-build-bench}
command -v nc >/dev/null || { echo "cli vs netcat: skipped (no nc)"; exit 0; }
port=49733
"$build/src/app/blackmark-printer" --listen "127.0.0.1:$port" >/dev/null &
printer=$!
trap 'kill $printer 2>/dev/null || true' EXIT
sleep 0.5

elapsed_ns() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $((end - start))
}
send_with_netcat() { printf '\x1f\x1b\x1f\x81\x04\x05\x06\x60\x09' | nc -N 127.0.0.1 "$port"; }

cli=() nc=()
for _ in $(seq 50); do
    cli+=("$(elapsed_ns "$build/src/app/blackmark" --port ETHERNET --ip "127.0.0.1:$port" mark-width 300)")
    nc+=("$(elapsed_ns send_with_netcat)")
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
c=$(median "${cli[@]}")
n=$(median "${nc[@]}")
awk -v c="$c" 'BEGIN { printf "cli mark-width 300 over loopback (median of 50): %.2f ms\n", c / 1e6 }'
awk -v n="$n" 'BEGIN { printf "printf | nc -N, same 9 bytes (median of 50): %.2f ms\n", n / 1e6 }'
awk -v c="$c" -v n="$n" 'BEGIN { printf "cli / netcat: %.2f ratio\n", c / n }'
