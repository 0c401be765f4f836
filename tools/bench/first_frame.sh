#!/usr/bin/env bash
# Time from launch to the first frame on screen, over several launches in
# one virtual X screen without a window manager (the game notes the moment
# with TUMBLEROO_TIMING=1). Prints every launch and the least and median.
#
#   tools/bench/first_frame.sh [GAME] [RUNS] [SCREEN]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
game="$(realpath "${1:-$here/../../build/tumbleroo}")"
runs="${2:-10}"
screen="${3:-1280x1024}"

if [ -z "${FIRST_FRAME_INSIDE:-}" ]; then
  exec xvfb-run -a -s "-screen 0 ${screen}x24" env FIRST_FRAME_INSIDE=1 \
    SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" bash "$0" "$game" "$runs" "$screen"
fi

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
times=()
for _ in $(seq 1 "$runs"); do
  start="$(date +%s.%N)"
  TUMBLEROO_TIMING=1 "$game" 2>"$log" &
  pid=$!
  shown=""
  for _ in $(seq 1 400); do
    shown="$(grep -m1 'first frame shown at' "$log" || true)"
    [ -n "$shown" ] && break
    sleep 0.01
  done
  kill -TERM "$pid"; wait "$pid" || true
  [ -n "$shown" ] || { echo "no frame shown"; cat "$log"; exit 1; }
  ms="$(awk -v a="$start" -v b="${shown##* }" 'BEGIN { printf "%d", (b - a) * 1000 + 0.5 }')"
  times+=("$ms")
  echo "first frame after $ms ms ($(grep -m1 -o 'processor time until then .*' "$log" || echo 'processor time not noted'))"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "least %d ms, median %d ms over %d launches\n", v[1], v[int((NR + 1) / 2)], NR }'
