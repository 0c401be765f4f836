#!/usr/bin/env bash
# A long soak: random play over every course (at least a million stage
# frames by default) and through the whole program, with random seeds,
# under the sanitizer build. Prints the figures and every fault found.
#
#   tools/soak/run.sh [STAGE_FRAMES] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
frames=${1:-1000000}
runs=${2:-2}
build=${SOAK_BUILD:-build-sanitize}
if [ ! -d "$build" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBLEROO_SANITIZE=ON >/dev/null
fi
cmake --build "$build" -j2 --target tumbleroo-soak >/dev/null
per_run=$(( (frames + runs - 1) / runs ))
total=0 faults=0
for _ in $(seq "$runs"); do
  seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  out=$(nice -n 19 "$build/tumbleroo-soak" --dir "$build" --seed "$seed" --frames "$per_run" || true)
  echo "$out"
  total=$(( total + $(echo "$out" | sed -n 's/^courses .*stage_frames=\([0-9]*\).*/\1/p') \
                  + $(echo "$out" | sed -n 's/^program .*stage_frames=\([0-9]*\).*/\1/p') ))
  faults=$(( faults + $(echo "$out" | sed -n 's/.*faults=\([0-9]*\).*/\1/p' | paste -sd+ | bc) ))
done
echo "soak: $total stage frames, $faults faults"
[ "$faults" -eq 0 ]
