#!/usr/bin/env bash
# Builds the engine's tests and the viewer's end-to-end tests with sanitizers and runs them
# (ctest -L 'engine|e2e').
#   scripts/sanitize-tests.sh          AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan
#   scripts/sanitize-tests.sh thread   ThreadSanitizer, in build-tsan
# Only the programs the engine tests run are built, so a run takes minutes, not the whole tree.
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-address}
case "$kind" in
  address) dir=build-asan; sanitize="address;undefined" ;;
  thread)  dir=build-tsan; sanitize="thread" ;;
  *) echo "usage: $0 [address|thread]" >&2; exit 1 ;;
esac
targets=(kx_playback_tests kx_playback_tool_tests kx_simulator_tests kx_viewer_tests)

# Programs built in the tree (the skin generator) run under the sanitizer during the build.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DKX_SANITIZE=$sanitize" -DKX_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"

# The web engine (the map) frees some of its own objects through a base class of another size,
# which AddressSanitizer reports inside libQt6WebEngineCore; that check is left to Chromium.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:new_delete_type_mismatch=0"
# Leaks inside the system's libraries (fontconfig, the web engine) are theirs, not ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp"
cd "$dir"
ctest -L 'engine|e2e' --output-on-failure --parallel "$(nproc)" --timeout 600
