#!/usr/bin/env bash
# Builds KX480 Viewer and runs every test. On a fresh Debian 12 machine it first installs what
# the build and the tests need.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
cd ..
# The playback engine's and the viewer's end-to-end tests again, under AddressSanitizer and
# UndefinedBehaviorSanitizer.
scripts/sanitize-tests.sh
