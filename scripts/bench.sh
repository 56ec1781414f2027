#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all:
#  1. blend_bench, text_bench, play_bench, video_bench (Google Benchmark;
#     results also saved as JSON under <build>/bench-results);
#  2. the start-up probe: the game's own start-up to its first menu frame,
#     fixed waits and title fades left out, under a private Xvfb, 5 runs;
#  3. the game's peak memory while a level is played, with /usr/bin/time -v,
#     under the same private Xvfb, keys sent with xdotool.
# BENCH_BUILD_DIR picks the build folder (default build-bench); extra
# arguments go to the Google Benchmark programs (e.g. --benchmark_filter=Blend).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$here/build-bench}"
jobs="$(nproc)"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDELVORN_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target Delvorn datafile levels \
      blend_bench text_bench play_bench video_bench startup_probe >/dev/null

results="$build/bench-results"
mkdir -p "$results"

echo "== Machine =="
lscpu | grep -E '^(Model name|CPU\(s\)|Thread|CPU max MHz|BogoMIPS)' || true
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

for b in blend_bench text_bench play_bench video_bench; do
  echo "== $b =="
  "$build/bench/$b" --benchmark_out="$results/$b.json" --benchmark_out_format=json "$@"
done

# --- a private display for the runs of the real game ----------------------
scratch="$(mktemp -d /tmp/delvorn-bench-XXXXXX)"
xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
display=""
for n in $(seq 400 460); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY="$display"

# A fresh copy of the game folder per run, so that runs do not share a log or scores.
fresh_game() {
  rm -rf "$scratch/game"
  cp -r "$build/game" "$scratch/game"
  rm -f "$scratch/game/Logs/"* "$scratch/game/HiScore/"*
}

echo "== Start-up to the first menu frame (fixed waits and fades left out) =="
runs=()
for i in 1 2 3 4 5; do
  fresh_game
  line="$(cd "$scratch/game" && "$build/bench/startup_probe" 2>/dev/null | grep '^startup_ms' || true)"
  echo "run $i: ${line:-failed}"
  [ -n "$line" ] && runs+=("$(echo "$line" | awk '{print $2}')")
done
if [ "${#runs[@]}" -gt 0 ]; then
  printf '%s\n' "${runs[@]}" | sort -n | awk '{v[NR]=$1} END {printf "median start-up: %.1f ms (target: under 300 ms)\n", v[int((NR+1)/2)]}'
fi

echo "== Peak memory while playing level 1 =="
fresh_game
key() { xdotool key --delay 0 "$1" >/dev/null 2>&1 || true; }
hold() { xdotool keydown "$1" >/dev/null 2>&1 || true; sleep "$2"; xdotool keyup "$1" >/dev/null 2>&1 || true; }
wait_log() {
  for _ in $(seq 300); do grep -q "$1" "$scratch/game/Logs/LogFile.log" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
(cd "$scratch/game" && exec /usr/bin/time -v -o "$scratch/time.txt" ./Delvorn >/dev/null 2>&1) &
game_pid=$!
played=0
if wait_log "Entering Game Loop"; then
  sleep 2                          # the menu's own loading pause
  xdotool search --sync --name '^Delvorn$' windowfocus >/dev/null 2>&1 || true
  key Return                       # NEW GAME: the progress map of level 1
  sleep 3
  key space                        # leave the progress map
  if wait_log "Creating Map"; then
    sleep 1
    # About 20 seconds of play: digging in every direction, dropping bombs.
    for _ in 1 2 3; do
      hold Left 1.5; key space; hold Up 1.5; hold Right 3; key space; hold Down 1.5
    done
    played=1
    hwm="$(grep VmHWM /proc/"$(pgrep -P "$game_pid" -x Delvorn || echo none)"/status 2>/dev/null || true)"
    echo "during play: ${hwm:-VmHWM not readable}"
  fi
  key Escape                       # back to the menu
  sleep 2
  key Escape                       # EXIT GAME
fi
for _ in $(seq 150); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$game_pid" 2>/dev/null; then
  pkid="$(pgrep -P "$game_pid" -x Delvorn || true)"
  [ -n "$pkid" ] && kill "$pkid" 2>/dev/null || true
fi
wait "$game_pid" 2>/dev/null || true
game_pid=""
[ "$played" = 1 ] || echo "the level was not reached; the figure below is for the menu only"
if [ -f "$scratch/time.txt" ]; then
  grep -E 'Maximum resident set size|Exit status|Elapsed' "$scratch/time.txt"
  awk '/Maximum resident set size/ {printf "peak memory: %.1f MiB (target: under 64 MiB)\n", $NF/1024}' "$scratch/time.txt"
fi
grep -E "sound|music|Sound" "$scratch/game/Logs/LogFile.log" | head -5 || true
