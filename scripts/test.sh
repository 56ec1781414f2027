#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite:
#  1. every test of the normal build (unit and end-to-end), under a private
#     Xvfb display;
#  2. the Debian packages, built and checked by lintian, desktop-file-validate
#     and appstreamcli (scripts/package.sh);
#  3. the unit tests and a start-to-exit leak check again, built with clang's
#     AddressSanitizer and UndefinedBehaviorSanitizer;
#  4. each fuzz target for a bounded time (FUZZ_SECONDS, default 30; scripts/fuzz.sh
#     MINUTES makes long runs);
#  5. the Windows package, cross-built and checked under wine (scripts/windows.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build}"
sanitize_build="${SANITIZE_BUILD_DIR:-$here/build-sanitize}"
fuzz_seconds="${FUZZ_SECONDS:-30}"
jobs="$(nproc)"

"$here/scripts/setup.sh" "$build"

xvfb_pid=""
cleanup() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi; }
trap cleanup EXIT
# Xvfb picks a free display itself and writes its number once it holds it:
# two suites on one machine never share a screen. -noreset: tests come and go
# on it side by side, and a server that resets when its last client leaves
# refuses the next one meanwhile.
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
disown "$xvfb_pid"
for _ in $(seq 100); do
  [ "$(wc -l <"$display_file")" -ge 1 ] && break
  sleep 0.1
done
[ "$(wc -l <"$display_file")" -ge 1 ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$display_file")"
rm -f "$display_file"

failed=0
# Each stage's heading tells how long the one before it took, to keep the
# suite's time in view.
stage_start=$SECONDS
stage() {
  echo "   ($(( SECONDS - stage_start )) s)"
  stage_start=$SECONDS
  echo "== $1 =="
}
echo "== Tests =="
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 600) || failed=1

stage "Debian packages"
# Built from the tree just tested; a few seconds of packing and checking.
timeout 600 "$here/scripts/package.sh" "$build" || failed=1

stage "Sanitizer build"
cmake -S "$here" -B "$sanitize_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DDELVORN_SANITIZE=ON -DDELVORN_FUZZ=ON -DDELVORN_BENCH=OFF >/dev/null
cmake --build "$sanitize_build" -j "$jobs"

stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$sanitize_build" && ASAN_OPTIONS="detect_leaks=0" \
   ctest --output-on-failure -j "$jobs" --timeout 900 -L 'unit|leak') || failed=1

stage "Fuzzing, ${fuzz_seconds}s per target"
FUZZ_BUILD_DIR="$sanitize_build" FUZZ_SECONDS="$fuzz_seconds" FUZZ_JOBS="$jobs" \
  "$here/scripts/fuzz.sh" 0 || failed=1

stage "Windows build, checked under wine"
BUILD_DIR="$build" "$here/scripts/windows.sh" || failed=1

echo "   ($(( SECONDS - stage_start )) s; all stages with set-up: $SECONDS s)"
if [ "$failed" -ne 0 ]; then
  echo "Some checks FAILED"
  exit 1
fi
echo "All checks passed"
