#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. Tests that need a window get
# a private Xvfb display.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" "$build"

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
display=":$(( 90 + RANDOM % 400 ))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
sleep 1

cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
