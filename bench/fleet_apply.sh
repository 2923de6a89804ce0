#!/usr/bin/env bash
# `blackmark apply` to 200 virtual printers on loopback addresses, each answering every
# connection after 250 ms, at --jobs 32, against the same profile applied to one of them; and
# the command line's peak memory for the 200. Runs in the private namespace of bench/run.
set -euo pipefail
build=${1:-build-bench}
blackmark=$build/src/app/blackmark
work=$(mktemp -d)
"$build/src/app/blackmark-printer" --listen 127.0.0.2-127.0.0.201:9100 --delay 250 \
    >/dev/null 2>&1 &
printer=$!
trap 'kill $printer 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    (exec 3<>/dev/tcp/127.0.0.201/9100) 2>/dev/null && break
    sleep 0.1
done
printf '[black-mark]\nfunction = "on"\n[paper-layout]\npaper = "black-mark"\npitch = 100\n' \
    >"$work/profile.toml"
echo "ETHERNET 127.0.0.2" >"$work/one.txt"
for i in $(seq 2 201); do echo "ETHERNET 127.0.0.$i"; done >"$work/all.txt"

elapsed_ns() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $((end - start))
}
one=()
for _ in 1 2 3; do
    one+=("$(elapsed_ns "$blackmark" apply "$work/profile.toml" --printers "$work/one.txt")")
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
single=$(median "${one[@]}")
code=0
start=$(date +%s%N)
/usr/bin/time -f '%M' -o "$work/peak" "$blackmark" apply "$work/profile.toml" \
    --printers "$work/all.txt" --jobs 32 >"$work/report" 2>/dev/null || code=$?
fleet=$(($(date +%s%N) - start))
awk -v s="$single" 'BEGIN { printf "apply, one printer answering after 250 ms (median of 3): %.0f ms\n", s / 1e6 }'
awk -v f="$fleet" 'BEGIN { printf "apply, 200 printers at --jobs 32: %.0f ms\n", f / 1e6 }'
awk -v s="$single" -v f="$fleet" \
    'BEGIN { printf "apply 200 / (ceil(200/32) x one printer): %.2f ratio (at most 1.5)\n", f / (7 * s) }'
echo "apply, 200 printers: peak memory $(( $(cat "$work/peak") / 1024 )) MB (under 32)"
echo "apply, 200 printers: $(tail -n 1 "$work/report") (exit $code)"
