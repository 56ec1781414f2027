#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all:
#  1. blend_bench, text_bench, play_bench, video_bench (Google Benchmark;
#     results also saved as JSON under <build>/bench-results), with a private
#     Xvfb for the video player's clock;
#  2. the start-up probe: the game's own start-up to its first menu frame,
#     fixed waits and title fades left out, under a private Xvfb, 5 runs;
#  3. the game's peak memory while a level is played, with /usr/bin/time -v,
#     under the same private Xvfb, keys sent with xdotool.
# BENCH_BUILD_DIR picks the build folder (default build-bench), BENCH_BUILD_TYPE
# the build type (default Release); extra arguments go to the Google Benchmark
# programs (e.g. --benchmark_filter=Blend); BENCH_GAME=0 leaves out the runs
# of the real game (steps 2 and 3).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$here/build-bench}"
jobs="$(nproc)"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE="${BENCH_BUILD_TYPE:-Release}" -DDELVORN_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target Delvorn datafile levels \
      blend_bench text_bench play_bench video_bench startup_probe >/dev/null

results="$build/bench-results"
mkdir -p "$results"

echo "== Machine =="
lscpu | grep -E '^(Model name|CPU\(s\)|Thread|CPU max MHz|BogoMIPS)' || true
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# --- a private display: for the video player's clock (an Allegro timer) and
# for the runs of the real game ------------------------------------------
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

for b in blend_bench text_bench play_bench video_bench; do
  echo "== $b =="
  "$build/bench/$b" --benchmark_out="$results/$b.json" --benchmark_out_format=json "$@"
done

[ "${BENCH_GAME:-1}" = 0 ] && exit 0

# A fresh copy of the game folder per run, so that runs do not share a log or scores.
fresh_game() {
  rm -rf "$scratch/game"
  cp -r "$build/game" "$scratch/game"
  rm -f "$scratch/game/Logs/"* "$scratch/game/HiScore/"*
}
# Machines without a sound card get ALSA's null device, so that the game
# starts its sound and music (mixer, instrument patches) as it would on one
# with a card; "silent" leaves ALSA alone and the game runs without sound.
mkdir -p "$scratch/home"
printf 'pcm.!default {\n  type null\n}\n' >"$scratch/home/.asoundrc"
sound_env() { if [ "$1" = sound ] && [ ! -e /dev/snd ]; then echo "HOME=$scratch/home"; else echo "HOME=$HOME"; fi; }

echo "== Start-up to the first menu frame (fixed waits and fades left out) =="
for mode in sound silent; do
  runs=()
  for i in 1 2 3 4 5; do
    fresh_game
    # The game finds its data beside its program, so the probe runs from the
    # game folder; a failed start would wait on its message box.
    cp "$build/bench/startup_probe" "$scratch/game/"
    line="$(cd "$scratch/game" && env "$(sound_env $mode)" timeout 60 ./startup_probe 2>/dev/null | grep '^startup_ms' || true)"
    echo "$mode run $i: ${line:-failed}"
    if [ -n "$line" ]; then runs+=("$line"); fi
  done
  if [ "${#runs[@]}" -gt 0 ]; then
    wall="$(printf '%s\n' "${runs[@]}" | awk '{print $2}' | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')"
    cpu="$(printf '%s\n' "${runs[@]}" | awk '{print $4}' | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')"
    echo "median start-up ($mode): $wall ms wall clock, $cpu ms processor time (target: under 150 ms)"
  fi
done

# Keys are held for a while: the game reads the key array once a frame.
press() { xdotool keydown "$1" >/dev/null 2>&1 || true; sleep 0.2; xdotool keyup "$1" >/dev/null 2>&1 || true; sleep 0.2; }
hold() { xdotool keydown "$1" >/dev/null 2>&1 || true; sleep "$2"; xdotool keyup "$1" >/dev/null 2>&1 || true; }
wait_log() {
  for _ in $(seq 300); do grep -q "$1" "$scratch/game/Logs/LogFile.log" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# Starts a new game, plays level 1 for about 20 seconds (digging in every
# direction, dropping bombs), leaves through the menu; peak memory from
# /usr/bin/time -v.
play_level() {
  local mode="$1"
  fresh_game
  (cd "$scratch/game" && exec env "$(sound_env "$mode")" /usr/bin/time -v -o "$scratch/time.txt" ./Delvorn \
     >/dev/null 2>&1) &
  game_pid=$!
  local played=0
  if wait_log "Entering Game Loop"; then
    sleep 2                        # the menu's own loading pause
    xdotool search --sync --name '^Delvorn$' windowfocus >/dev/null 2>&1 || true
    press Return                   # START NEW GAME: the progress map of level 1
    sleep 3
    press space                    # leave the progress map
    if wait_log "Creating Map"; then
      sleep 1
      for _ in 1 2 3; do
        hold Left 1.5; press space; hold Up 1.5; hold Right 3; press space; hold Down 1.5
      done
      played=1
    fi
    press Escape                   # back to the menu
    sleep 2
    press Escape                   # EXIT GAME
  fi
  for _ in $(seq 150); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game_pid" 2>/dev/null; then
    local child
    child="$(pgrep -P "$game_pid" -x Delvorn || true)"
    if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; fi
  fi
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
  [ "$played" = 1 ] || echo "($mode: the level was not reached; the figure is for the menu only)"
  if [ -f "$scratch/time.txt" ]; then
    awk -v m="$mode" '/Maximum resident set size/ {printf "peak memory (%s): %.1f MiB (target: under 64 MiB)\n", m, $NF/1024}
                      /Exit status/ {printf "  exit status %s\n", $NF}' "$scratch/time.txt"
  fi
}

echo "== Peak memory while playing level 1 =="
play_level sound
play_level silent
