#!/usr/bin/env bash
# Installs every Debian package that building, running and testing KX480 Viewer needs.
# Idempotent: packages already present are skipped, and apt is not touched when nothing is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git clang libclang-rt-14-dev
  # Qt 6: widgets, multimedia (sound output), web engine (map), svg, print support
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-webengine-dev qt6-webengine-dev-tools
  qt6-svg-dev libqt6svg6-dev libgl-dev
  qt6-qpa-plugins qml6-module-qtquick
  # FFmpeg libraries (libavcodec is built with libx264)
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev libavfilter-dev
  libx264-dev ffmpeg
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fonts with every script the texts use
  fonts-noto-cjk fonts-noto-core fonts-dejavu-core
  # headless display, screenshots, report checks
  xvfb xauth x11-utils imagemagick poppler-utils
  # card images
  dosfstools mtools fdisk
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The map page takes Leaflet from the npm registry. Some machines carry a nodejs build that
# bundles npm and conflicts with Debian's npm package, so ask for npm only when it is absent.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: missing packages (${missing[*]}) and not root; install them or run as root" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${#missing[@]} package(s): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
