#!/usr/bin/env bash
# Installs the Debian packages Delvorn needs (only those missing), then
# configures and builds everything: the game, its data, the video library,
# the tools and the tests. Usage: scripts/setup.sh [build dir]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

packages=(build-essential cmake git pkg-config xvfb xauth xdotool x11-apps x11-utils libx11-dev imagemagick
          liballegro4-dev libfreetype-dev libpng-dev
          libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core fonts-dseg fonts-ferrite-core freepats clang valgrind time)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
