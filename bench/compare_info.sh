#!/usr/bin/env bash
# Whole-process time of `faultscope-cli info` against the bare parse of the same sample file
# (bench/parse_floor), run alternately; prints the medians and their ratio.
# Usage: bench/compare_info.sh [SAMPLES] [RUNS]   (defaults: 200000 samples, 7 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
samples=${1:-200000}
runs=${2:-7}
bin=build/release
cmake --build --preset release --target faultscope-cli make_large_record parse_floor >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$bin/tools/make_large_record" "$dir/big" "$samples" >/dev/null
cli="$bin/src/cli/faultscope-cli"
floor="$bin/bench/parse_floor"
# Trace files, if any, go to a scratch folder: the record has no traced channel anyway.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000 ))"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
cat "$dir/big.dat" >/dev/null  # both sides read from the page cache
: >"$dir/info.us"
: >"$dir/floor.us"
for _ in $(seq "$runs"); do
    seconds "$floor" "$dir/big.dat" >>"$dir/floor.us"
    seconds "$cli" info "$dir/big.cfg" >>"$dir/info.us"
done
info=$(median <"$dir/info.us")
floor_us=$(median <"$dir/floor.us")
echo "samples: $samples; runs: $runs"
echo "parse_floor median: $floor_us us"
echo "info median:        $info us"
awk -v a="$info" -v b="$floor_us" 'BEGIN { printf "info / parse_floor: %.2f\n", a / b }'
