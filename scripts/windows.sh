#!/usr/bin/env bash
# Cross-builds the Windows package (build-windows/Delvorn-windows.zip) and
# checks it under wine: see windows/README.md.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/windows/build.sh"
"$here/windows/test.sh"
