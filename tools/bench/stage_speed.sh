#!/usr/bin/env bash
# Stage frames per second of the headless driver, with the full software
# drawing, on a busy course (every object kind on the demonstration course).
# Usage: tools/bench/stage_speed.sh [BUILD_DIR] [COURSE] [FRAMES]
set -eu
build=${1:-build}
course=${2:-Demo}
frames=${3:-20000}
keys=$(mktemp)
trap 'rm -f "$keys"' EXIT
# Walk right and hop now and then, so the player meets the objects.
echo "26-$frames RIGHT" > "$keys"
for ((f = 40; f < frames; f += 90)); do echo "$f-$((f + 12)) Z" >> "$keys"; done
start=$(date +%s.%N)
summary=$("$build/tumbleroo-sim" --map "$course" --frames "$frames" --keys "$keys")
end=$(date +%s.%N)
stage_frames=$(sed -n 's/.*stage_frames=\([0-9]*\).*/\1/p' <<< "$summary")
awk -v n="$stage_frames" -v s="$start" -v e="$end" -v c="$course" \
    'BEGIN { printf "%s: %d stage frames in %.2f s = %.0f stage frames per second\n", c, n, e - s, n / (e - s) }'
