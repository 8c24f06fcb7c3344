#!/usr/bin/env bash
# Peak resident memory of `faultscope-cli info` on a record of 32 analog and 32 digital channels
# with 1 000 000 samples, against the budget of 4 bytes per analog sample-channel + 200 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/release
cmake --build --preset release --target faultscope-cli make_large_record >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$bin/tools/make_large_record" "$dir/big" 1000000
peak_kb=$(/usr/bin/time -f %M "$bin/src/cli/faultscope-cli" info "$dir/big.cfg" 2>&1 >/dev/null | tail -1)
budget=$((4 * 32 * 1000000 + 200 * 1000 * 1000))
peak=$((peak_kb * 1024))
echo "peak resident: $peak bytes; budget: $budget bytes"
echo "per analog sample-channel (all of it): $((peak / 32000000)) bytes"
[ "$peak" -le "$budget" ]
