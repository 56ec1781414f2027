#!/usr/bin/env bash
# Runs every fuzz target (fuzz/*_fuzz.cpp) for MINUTES minutes each, one after
# another, in a clang build with AddressSanitizer and UndefinedBehaviorSanitizer
# (made first when missing). For long runs; scripts/test.sh runs the same
# targets briefly. Findings and logs stay in the build folder.
# Usage: scripts/fuzz.sh MINUTES
#   FUZZ_BUILD_DIR  build folder (default build-fuzz)
#   FUZZ_SECONDS    seconds per target instead of MINUTES
#   FUZZ_RUNS       also stop a target after this many runs
#   FUZZ_JOBS       targets run side by side (default 1)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 1 ] || { echo "usage: scripts/fuzz.sh MINUTES" >&2; exit 2; }
build="${FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${FUZZ_SECONDS:-$(( $1 * 60 ))}"
jobs="${FUZZ_JOBS:-1}"
runs=()
[ -z "${FUZZ_RUNS:-}" ] || runs=(-runs="$FUZZ_RUNS")

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$here/scripts/install-missing.sh" clang libclang-rt-14-dev
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DDELVORN_SANITIZE=ON -DDELVORN_FUZZ=ON -DDELVORN_BENCH=OFF -DDELVORN_TESTS=OFF >/dev/null
fi
targets=()
for src in "$here"/fuzz/*_fuzz.cpp; do
  name="$(basename "$src" _fuzz.cpp)"
  targets+=("delvorn-fuzz-$name")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# The targets write their input to a file each run: in memory, when possible.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for target in "${targets[@]}"; do
  name="${target#delvorn-fuzz-}"
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds="$here/fuzz/corpus/$name"
  log="$build/fuzz-$name.log"
  # A run that hangs on one input is a finding too (-timeout); the outer
  # timeout keeps a wedged fuzzer from holding up the rest.
  (timeout $((seconds + 120)) "$build/fuzz/$target" -max_total_time="$seconds" "${runs[@]}" \
       -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/fuzz-$name-" \
       "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$log" 2>&1 \
   && echo "fuzz $name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -1), no finding") \
   || { echo "fuzz $name: FINDING (log: $log)"; tail -40 "$log"; exit 1; } &
  if [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; then wait -n || status=1; fi
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || status=1; done
exit "$status"
