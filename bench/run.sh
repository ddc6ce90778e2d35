#!/usr/bin/env bash
# Runs every benchmark and prints one "name ratio" line each. Each ratio compares the viewer's
# work with a reference measured in the same run (see each benchmark's source for which).
# Details go to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_TESTS=OFF >/dev/null
cmake --build build-bench --parallel "$(nproc)" --target kx480-tool kx_bench_lookup kx_bench_telemetry >/dev/null

bin=build-bench/bin
data=build-bench/bench-data
mkdir -p "$data"

build-bench/bin/kx_bench_lookup

# A minute of two-channel full-HD recording with sound, made once and kept.
recording="$data/REC_20240307_090500_2.avi"
if [ ! -s "$recording" ]; then
  "$bin/kx480-tool" gen "$recording" --channels 2 --audio aac --seconds 60 --fps 30 \
    --size 1920x1080 --rear-size 1920x1080 --threads "$(nproc)" >/dev/null
fi
"$bin/kx_bench_telemetry" "$recording"
