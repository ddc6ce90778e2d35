#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer under AddressSanitizer and UBSan.
#   scripts/fuzz.sh NAME SECONDS      (NAME: options, language_table, telemetry_packet,
#                                       avi_headers, text_packets)
# New interesting inputs go to build-fuzz/corpus/NAME; a crash input is written to
# build-fuzz/crashes/. Keep crash inputs as seeds in fuzz/seeds/NAME once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh NAME SECONDS}
seconds=${2:-60}
[ -d "fuzz/seeds/$name" ] || { echo "fuzz.sh: no fuzz target named $name" >&2; exit 1; }

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build-fuzz "fuzz_$name" >/dev/null
mkdir -p "build-fuzz/corpus/$name" build-fuzz/crashes
exec "build-fuzz/bin/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
  -artifact_prefix=build-fuzz/crashes/"$name"- "build-fuzz/corpus/$name" "fuzz/seeds/$name"
