#!/usr/bin/env bash
# Peak resident memory of a record of 32 analog and 32 digital channels with SAMPLES samples
# (default 1 000 000) loaded with the harmonics of every analog channel, beside the peak of
# `faultscope-cli info` on the same record, which analyses none.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/release
samples=${1:-1000000}
cmake --build --preset release --target faultscope-cli make_large_record harmonic_memory >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$bin/tools/make_large_record" "$dir/big" "$samples"
info_kb=$(/usr/bin/time -f %M "$bin/src/cli/faultscope-cli" info "$dir/big.cfg" 2>&1 >/dev/null | tail -1)
echo "info: peak resident $((info_kb * 1024)) bytes"
echo -n "all harmonics: "
"$bin/bench/harmonic_memory" "$dir/big.cfg"
