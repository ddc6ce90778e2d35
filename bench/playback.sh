#!/usr/bin/env bash
# The playback benchmarks: one "name value" line each on stdout (details on stderr). Each
# compares the player with FFmpeg doing the same work in the same process, on a minute of a
# two-channel recording (front 1920x1080, rear 1280x720, sound), made once and kept.
#   bench/playback.sh [decode first seek cpu drift rss]   (all when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_TESTS=OFF >/dev/null
cmake --build build-bench --parallel "$(nproc)" --target kx480-tool kx_bench_playback >/dev/null

data=build-bench/bench-data
mkdir -p "$data"
recording="$data/REC_20240307_091000_2.avi"
if [ ! -s "$recording" ]; then
  build-bench/bin/kx480-tool gen "$recording" --channels 2 --audio aac --seconds 60 --fps 30 \
    --size 1920x1080 --rear-size 1280x720 --threads "$(nproc)" >/dev/null
fi

benchmarks=("$@")
[ ${#benchmarks[@]} -gt 0 ] || benchmarks=(decode first seek cpu drift rss)
# Each runs in a process of its own, so that one's memory and threads do not weigh on the next.
for b in "${benchmarks[@]}"; do
  build-bench/bin/kx_bench_playback "$b" "$recording"
done
