#!/usr/bin/env bash
# Installs the Debian packages Delvorn needs (only those missing), then
# configures and builds everything: the game, its data, the video library,
# the tools and the tests. Usage: scripts/setup.sh [build dir]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

# Packages are installed without their recommendations, so clang's sanitizer
# and fuzzer runtimes (libclang-rt-14-dev) are named here themselves.
packages=(build-essential cmake git pkg-config xvfb xauth xdotool x11-apps x11-utils libx11-dev imagemagick
          liballegro4-dev libfreetype-dev libpng-dev
          libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
          libgtest-dev libgmock-dev libbenchmark-dev libebur128-dev
          fonts-dejavu-core fonts-dseg fonts-play freepats clang libclang-rt-14-dev valgrind time
          dpkg-dev fakeroot file desktop-file-utils appstream lintian)

"$here/scripts/install-missing.sh" "${packages[@]}"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
