#!/usr/bin/env bash
# Peak resident memory of the record window after its first paint against that of
# `faultscope-cli info`, both on the large synthetic record (32 analog and 32 discrete channels)
# of SAMPLES samples, and the first paint's time against info's. Target: memory at most 1.25
# times info's, first paint at most 1.2 times.
# Usage: bench/measure_window_memory.sh [SAMPLES]   (default 10000000: 2.8 GB of text)
set -euo pipefail
cd "$(dirname "$0")/.."
samples=${1:-10000000}
bin=build/release
cmake --build --preset release --target faultscope-cli make_large_record bench_gui >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$bin/tools/make_large_record" "$dir/big" "$samples" >/dev/null
cat "$dir/big.dat" >/dev/null  # both read from the page cache
measure() {  # prints "peak_kb seconds"
    /usr/bin/time -f "%M %e" "$@" 2>&1 >/dev/null | tail -1
}
read -r info_kb info_s < <(measure "$bin/src/cli/faultscope-cli" info "$dir/big.cfg")
read -r window_kb window_s < <(FAULTSCOPE_BENCH_RECORD="$dir/big.cfg" QT_QPA_PLATFORM=offscreen \
    measure "$bin/bench/bench_gui" --benchmark_filter=BM_FirstPaintOfGivenRecord)
echo "samples: $samples"
echo "info:   peak $info_kb KB, $info_s s"
echo "window: peak $window_kb KB, $window_s s (the process, first paint included)"
awk -v w="$window_kb" -v i="$info_kb" -v ws="$window_s" -v is="$info_s" \
    'BEGIN { printf "window / info: memory %.2f, time %.2f\n", w / i, ws / is }'
