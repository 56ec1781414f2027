#!/usr/bin/env bash
# Soak test, not part of every CI run: plays the built game under a private
# Xvfb display with random keys for the given number of minutes, restarting
# it whenever it ends. Fails on a crash, a hang (no frame and no waiting pass
# for 5 seconds), an "::EXCEPT" line in the log or a damaged score table.
# Usage: scripts/soak.sh [minutes, default 10] [build dir, default build]
# A sanitizer build works too: ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0
set -uo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
minutes="${1:-10}"
build="${2:-$here/build}"
[ -x "$build/game/Delvorn" ] || { echo "no game in $build/game; run scripts/setup.sh first"; exit 2; }

work="$(mktemp -d /tmp/delvorn-soak.XXXXXX)"
cp -r "$build/game" "$work/game"
rm -f "$work/game/HiScore/"* "$work/game/Logs/"*
cc -shared -fPIC -O2 -o "$work/soak_counter.so" "$here/scripts/soak_counter.c" -ldl || exit 2
cc -O2 -I"$here" -o "$work/close_window" "$here/tools/xclose/xclose.c" -lX11 || exit 2

for n in $(seq 141 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  xdotool keyup Left Right Up Down space Return Escape >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
export DISPLAY="$display"
sleep 1

counts="$work/counts"
levels=0 runs=0 crashes=0 hangs=0 excepts=0 damaged=0 frames=0 waits=0 keys=0 clean_exits=0

# Mostly play keys; Escape is rare, since two of them leave the game.
keyset=()
for k in Left Right Up Down; do keyset+=("$k" "$k" "$k" "$k" "$k" "$k" "$k" "$k"); done
keyset+=(space space space space space space Return Return Return Return p p F1 F2 y n s x a)
keyset+=(Escape)

check_scores() {
  local file="$work/game/HiScore/HiScore.sco"
  [ -e "$file" ] || return 0
  python3 - "$file" <<'PY' || { damaged=$((damaged + 1)); cp "$file" "$work/damaged-$runs.sco"; echo "damaged score table (run $runs)"; }
import struct, sys
data = open(sys.argv[1], 'rb').read()
if len(data) != 84: sys.exit(1)
scores = [struct.unpack_from('<i', data, 8 * i + 4)[0] for i in range(10)]
total = struct.unpack_from('<i', data, 80)[0]
sys.exit(0 if (sum(scores) & 0xffffffff) == (total & 0xffffffff) else 1)
PY
}

end_run() {  # $1: how it ended
  local log="$work/game/Logs/LogFile.log"
  local e
  e=$(grep -c "::EXCEPT" "$log" 2>/dev/null); e=${e:-0}
  if [ "$e" -gt 0 ]; then
    excepts=$((excepts + e)); cp "$log" "$work/except-$runs.log"; echo "EXCEPT lines in run $runs"
  fi
  if [ -s "$counts" ]; then
    read -r f w < "$counts"; frames=$((frames + f)); waits=$((waits + w))
  fi
  e=$(grep -c "^Creating Map" "$log" 2>/dev/null); levels=$((levels + ${e:-0}))
  cp "$log" "$work/last-$1.log" 2>/dev/null
  check_scores
}

start=$(date +%s)
deadline=$((start + minutes * 60))
while [ "$(date +%s)" -lt "$deadline" ]; do
  runs=$((runs + 1))
  rm -f "$counts"
  (cd "$work/game" && SOAK_COUNTS="$counts" LD_PRELOAD="$work/soak_counter.so" exec ./Delvorn \
     >"$work/stdout.txt" 2>&1) &
  game_pid=$!
  last_counts="" last_change=$(date +%s) killed=0
  # Let the title sequence pass before the keys start.
  sleep 8
  while kill -0 "$game_pid" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do
    now=$(date +%s)
    current="$(cat "$counts" 2>/dev/null)"
    if [ "$current" != "$last_counts" ]; then
      last_counts="$current"; last_change=$now
    elif [ $((now - last_change)) -ge 5 ]; then
      hangs=$((hangs + 1)); echo "hang in run $runs: no frame or pass for 5 s"
      xwd -root -silent | convert xwd:- "$work/hang-$runs.png" 2>/dev/null
      kill -9 "$game_pid"; killed=1
      break
    fi
    k=${keyset[RANDOM % ${#keyset[@]}]}
    # Escape at the menu ends the run: keep it rarer still, and let Enter
    # start the next game instead.
    if [ "$k" = Escape ] && [ $((RANDOM % 4)) -ne 0 ]; then k=Return; fi
    xdotool search --name '^Delvorn$' windowfocus >/dev/null 2>&1
    xdotool keydown "$k"; sleep "0.$((RANDOM % 3 + 1))"; xdotool keyup "$k"
    keys=$((keys + 1))
    sleep "0.0$((RANDOM % 9 + 1))"
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    # Time is up: leave through the window's close button, as a player would.
    "$work/close_window" Delvorn
    for _ in $(seq 1 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$game_pid" 2>/dev/null; then
      # Close ends the loop only at the end of a pass; press on to get there.
      for _ in $(seq 1 20); do xdotool key space Return; sleep 0.3; kill -0 "$game_pid" 2>/dev/null || break; done
    fi
    kill -0 "$game_pid" 2>/dev/null && { hangs=$((hangs + 1)); echo "no exit after close in run $runs"; kill -9 "$game_pid"; killed=1; }
  fi
  wait "$game_pid" 2>/dev/null; status=$?
  game_pid=""
  if [ "$status" -eq 0 ]; then
    clean_exits=$((clean_exits + 1))
  elif [ "$killed" -eq 0 ]; then
    crashes=$((crashes + 1)); echo "run $runs ended with status $status"
    cp "$work/game/Logs/LogFile.log" "$work/crash-$runs.log" 2>/dev/null
    cp "$work/stdout.txt" "$work/crash-$runs.out" 2>/dev/null
  fi
  end_run "$runs"
done

played=$(( ($(date +%s) - start) ))
echo "== Soak: $((played / 60)) min $((played % 60)) s played in $runs runs ($clean_exits ended cleanly)"
echo "   frames drawn: $frames; waiting passes: $waits; keys pressed: $keys; levels started: $levels"
echo "   crashes: $crashes; hangs: $hangs; EXCEPT lines: $excepts; damaged score tables: $damaged"
echo "   files kept in $work"
[ $((crashes + hangs + excepts + damaged)) -eq 0 ]
