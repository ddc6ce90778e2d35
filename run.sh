#!/usr/bin/env bash
# Builds KX480 Viewer, makes a demo camera card (an SD card image with the camera's card file
# system and recordings of every kind: two-channel recordings with sound and GPS first, one and
# two channels, cut off by a power loss, silent) and starts the viewer on it.
#
# Without a display the viewer runs under xvfb-run, plays for a few seconds and saves a
# screenshot, whose path is printed.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target kx480-viewer kx480-tool kx_language_tables kx_map_page

tool=build/bin/kx480-tool
demo=build/demo
mkdir -p "$demo"
card="$demo/card.img"
if [ ! -s "$card" ]; then
  "$tool" gen-card "$card" --size 1G --recordings 8 --seconds 8 >/dev/null
fi
echo "Demo card: $card"
"$tool" card ls "$card" || true

viewer=build/bin/kx480-viewer
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$viewer" --card "$card" "$@"
fi
shot="$demo/screenshot.png"
rm -f "$shot"
# The start-up notice stays 5 s and the loading notice 3 s; then row 0 plays.
KX480_ONLINE="${KX480_ONLINE:-0}" xvfb-run -a -s "-screen 0 1280x800x24" \
  "$viewer" --card "$card" --screenshot "$shot" --quit-after "${KX480_DEMO_SECONDS:-14}" "$@"
[ -s "$shot" ] && echo "Screenshot of the viewer: $(realpath "$shot")"
