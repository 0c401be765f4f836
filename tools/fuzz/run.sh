#!/usr/bin/env bash
# Fuzzes every reader of outside data with libFuzzer.
#
#   tools/fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
#
# FUZZ_OPTIONS adds libFuzzer options (e.g. -max_len=256 for many short runs).
# Builds the targets in build-fuzz with clang-14, seeds each corpus from the
# shipped files, runs each target in turn at the lowest priority and prints
# its executions and findings. The corpora grow in build-fuzz/corpus/ and
# carry over to the next run; crashes land in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(map_bytes map_play course_text settings records key_script)
build=${FUZZ_BUILD:-build-fuzz}

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz: clang++-14 is not installed" >&2
  exit 2
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUMBLEROO_FUZZ=ON -DTUMBLEROO_TESTS=OFF -DTUMBLEROO_CONTENT_TOOLS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target fuzz_targets >/dev/null

# Seeds: the compiled courses (with a key tail for the played maps), the
# course sources, the shipped records, settings files and the clear scripts.
seed_corpus() {
  local target=$1 dir=$2
  mkdir -p "$dir"
  case $target in
    map_bytes) cp "$build"/MapFiles/*.map "$dir"/ ;;
    map_play)
      for m in "$build"/MapFiles/*.map; do
        { cat "$m"; head -c 200 /dev/zero | tr '\0' '\022'; } > "$dir/$(basename "$m")"
      done ;;
    course_text) cp data/maps/*.txt "$dir"/ ;;
    records) cp data/MapInfo.dat "$dir"/ ;;
    settings)
      printf '[BasicInformation]\r\nPlayMusic=-1\r\nAutoView= 0\r\nDrawBack=-1\r\nGameSpeed= 10\r\n' > "$dir/saved.ini"
      printf '; mine\n[Other]\nGameSpeed=3\n[basicinformation]\n  autoview = 5 \nGameSpeed=-7\n' > "$dir/foreign.ini" ;;
    key_script) cp tests/courses/*.keys "$dir"/ ;;
  esac
}

mkdir -p "$build/findings"
# What libFuzzer writes for a fault (a slow unit is only a note).
faults='(crash|leak|timeout|oom)-'
# The records and settings targets save a file each run: in memory the
# disk's flushes do not set their pace.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
total=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  [ -d "$corpus" ] || seed_corpus "$t" "$corpus"
  log="$build/findings/$t.$(date +%H%M%S).log"
  [ -x "$build/fuzz_$t" ] || { echo "fuzz: no target $build/fuzz_$t" >&2; exit 2; }
  nice -n 19 "$build/fuzz_$t" "$corpus" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$t-" ${FUZZ_OPTIONS:-} >"$log" 2>&1 || true
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  crashes=$(ls "$build/findings" | grep -cE "^$t-$faults" || true)
  echo "fuzz $t: ${execs:-0} executions, $crashes findings (log $log)"
  total=$(( total + ${execs:-0} ))
done
echo "fuzz: $total executions in all"
! ls "$build/findings" | grep -qE -- "-$faults"
