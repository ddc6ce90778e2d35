#!/usr/bin/env bash
# Builds KX480 Viewer, generates a demo folder of recordings as the camera writes them (every
# kind, one and two channels, with and without sound, one cut off by a power loss) and prints
# what the viewer reads from each.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target kx480-tool kx_language_tables

tool=build/bin/kx480-tool
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/NORMAL" "$demo/EVENT" "$demo/PARKING" "$demo/INFINITE"

gen() { "$tool" gen "$@" --size 640x360 --seconds 6 >/dev/null; }
gen "$demo/NORMAL"   --kind REC --channels 2 --audio aac --start "2024-03-07 09:05:00" --seed 1
gen "$demo/NORMAL"   --kind REC --channels 1 --audio pcm --start "2024-03-07 09:06:00" --seed 2
gen "$demo/INFINITE" --kind REC --channels 2 --audio none --start "2024-03-07 09:07:00" --seed 3
gen "$demo/EVENT"    --kind EVT --channels 2 --audio aac --start "2024-03-07 09:08:00" --seed 4
gen "$demo/EVENT"    --kind EVT --channels 1 --audio none --start "2024-03-07 09:09:00" --seed 5
gen "$demo/PARKING"  --kind PRK --channels 2 --audio none --start "2024-03-07 22:10:00" --seed 6 --no-gps
gen "$demo/PARKING"  --kind MDI --channels 1 --audio aac --start "2024-03-07 22:11:00" --seed 7
gen "$demo/PARKING"  --kind MOT --channels 1 --audio none --start "2024-03-07 22:12:00" --seed 8
# A recording cut off by a power loss: no index, sizes 0, the last chunk cut short.
gen "$demo/NORMAL"   --kind REC --channels 2 --audio aac --start "2024-03-07 09:13:00" --seed 9 --cut 700000

echo "Demo recordings in $demo:"
for f in "$demo"/*/*.avi; do
  "$tool" info "$f"
done
