#!/usr/bin/env bash
# Sets up, builds and starts Delvorn from its game folder.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" "$build"
if [ -z "${DISPLAY:-}" ]; then
  echo "Delvorn is built in $build/game, but there is no display to open its window on (DISPLAY is not set)."
  exit 1
fi
cd "$build/game"
exec ./Delvorn
