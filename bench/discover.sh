#!/usr/bin/env bash
# discover over a /24 on loopback: 200 virtual printers (one process), 20 silent addresses
# (an nft drop rule, in the private network namespace that bench/run makes) and the rest
# refusing; set side by side with one printer and one silent address. Prints ratios only.
# Usage: discover.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
printer=$build/src/app/blackmark-printer
blackmark=$build/src/app/blackmark
[ -x "$printer" ] && [ -x "$blackmark" ] || exit 0
# Only inside a namespace of our own, where loopback is all there is.
[ "$(ip -o link show | wc -l)" -eq 1 ] || { echo "discover: skipped (not in a private namespace)"; exit 0; }

command -v nft >/dev/null || { echo "discover: skipped (no nft for the silent addresses)"; exit 0; }
table=blackmark_bench_$$
fleet= one=
nft add table inet "$table"
trap 'nft delete table inet "$table" 2>/dev/null; kill $fleet $one 2>/dev/null; wait 2>/dev/null' EXIT
nft add chain inet "$table" in '{ type filter hook input priority 0; }'
nft add rule inet "$table" in ip daddr 127.0.1.201-127.0.1.220 tcp dport 9100 drop
nft add rule inet "$table" in ip daddr 127.0.2.2 tcp dport 9100 drop

"$printer" --listen 127.0.1.1-127.0.1.200:9100 >/dev/null &
fleet=$!
"$printer" --listen 127.0.2.1:9100 >/dev/null &
one=$!
for _ in $(seq 50); do
    [ "$(grep -c '^VmHWM' /proc/$fleet/status 2>/dev/null)" = 1 ] &&
        "$blackmark" discover 127.0.1.200 >/dev/null 2>&1 && "$blackmark" discover 127.0.2.1 >/dev/null 2>&1 && break
    sleep 0.2
done

ms() { local start end; start=$(date +%s%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s%N); echo $(((end - start) / 1000000)); }
all=$(ms "$blackmark" discover 127.0.1.0/24)
alone=$(ms "$blackmark" discover 127.0.2.1-127.0.2.2)
found=$("$blackmark" discover 127.0.1.0/24 2>/dev/null | grep -c ready || true)
# The connect bound, then the two answers a silent host would be waited for, and 20 %.
bound=$(((1000 + 2 * 1000) * 12 / 10))
fleet_kb=$(awk '/^VmHWM/ { print $2 }' /proc/$fleet/status)
echo "discover /24 (200 printers, 20 silent) found: $found printers"
echo "discover /24 time / (connect + answer bounds + 20%): $(awk -v a="$all" -v b="$bound" 'BEGIN { printf "%.2f", a / b }')"
echo "discover /24 time / one printer and one silent address: $(awk -v a="$all" -v b="$alone" 'BEGIN { printf "%.2f", a / b }')"
echo "virtual printer fleet of 200 peak memory: $((fleet_kb / 1024)) MB"
