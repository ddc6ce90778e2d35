#!/usr/bin/env bash
# Runs every benchmark and prints one "name ratio" line each. Each ratio compares the viewer's
# work with a reference measured in the same run (see each benchmark's source for which).
# Details go to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_TESTS=OFF >/dev/null
cmake --build build-bench --parallel "$(nproc)" --target kx480-tool kx480-media kx_bench_lookup kx_bench_telemetry kx_bench_card kx_bench_viewer_stall kx_language_tables kx_map_page >/dev/null

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

# Rebuilding card recordings, against copying the same file with cp (warm cache, best of 3).
best_seconds() {  # best_seconds COMMAND...: the shortest of five runs
  local best="" t0 t1 t
  for _ in 1 2 3 4 5; do
    t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N)
    t=$(( t1 - t0 ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best"
}
rebuild_ratio() {  # rebuild_ratio NAME RECORDING: each rebuild starts from an empty scratch folder
  local scratch="$data/scratch-$1" best="" t0 t1 t copy
  cat "$2" >/dev/null
  mkdir -p "$scratch"
  copy=$(best_seconds cp "$2" "$scratch/copy.avi")
  for _ in 1 2 3 4 5; do
    rm -rf "$scratch"; mkdir -p "$scratch"
    t0=$(date +%s%N); "$bin/kx480-tool" repair "$2" "$scratch" >/dev/null; t1=$(date +%s%N)
    t=$(( t1 - t0 ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  rm -rf "$scratch"
  echo "$1: repair $((best / 1000000)) ms, cp $((copy / 1000000)) ms" >&2
  awk -v a="$best" -v b="$copy" -v n="$1" 'BEGIN { printf "%s %.2f\n", n, a / b }'
}

# About 300 MB each: a two-channel recording cut off by a power loss, and a complete one
# without sound.
cutoff="$data/REC_20240307_100000_2.avi"
if [ ! -s "$cutoff" ]; then
  "$bin/kx480-tool" gen "$cutoff" --channels 2 --audio aac --seconds 160 --size 1920x1080 \
    --rear-size 1920x1080 --threads "$(nproc)" --cut 300000000 >/dev/null
fi
silent="$data/REC_20240307_110000_1.avi"
if [ ! -s "$silent" ]; then
  "$bin/kx480-tool" gen "$silent" --channels 1 --audio none --seconds 300 --size 1920x1080 \
    --threads "$(nproc)" >/dev/null
fi
rebuild_ratio repair_vs_copy "$cutoff"
rebuild_ratio addaudio_vs_copy "$silent"

# Loading a folder tree of 10,000 recordings, and copying a recording off a card image.
"$bin/kx_bench_card" "$data" "$cutoff"

# The viewer opening that cut-off recording from the card image (rebuild included): the longest
# time its UI thread does not run.
"$bin/kx_bench_viewer_stall" "$data/card-bench.img"

# Playing: decode, first frame, seek, CPU, sound drift and memory against FFmpeg.
bench/playback.sh

# Painting an hour of G-sensor samples.
cmake --build build-bench --parallel "$(nproc)" --target kx_bench_controls >/dev/null
"$bin/kx_bench_controls"
