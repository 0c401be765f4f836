#!/usr/bin/env bash
# One measuring session inside an X display (started by measure_play.sh).
# Runs the game twice: once ended by SIGINT, once by SIGTERM. The first run
# is also the one measured while a course is played.
set -uo pipefail
# Job control on: without it the shell starts background jobs with SIGINT
# ignored, and the game would never see the interrupt we send.
set -m

game="$1"
seconds="$2"
out="$3"
ticks_per_second="$(getconf CLK_TCK)"

cpu_ticks() {  # utime + stime of a process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

xvfb_pid() {  # the X server of this display
  ps -eo pid=,args= | awk -v d="$DISPLAY" '$2 ~ /Xvfb$/ && $3 == d { print $1; exit }'
}

now() { date +%s.%N; }

calc() { awk "BEGIN { print $1 }"; }

# Waits up to 10 s for the game's note of its first frame on screen.
first_frame_time() {
  local log="$1" pid="$2"
  for _ in $(seq 1 200); do
    local line
    line="$(grep -m1 'first frame shown at' "$log" 2>/dev/null || true)"
    if [ -n "$line" ]; then echo "${line##* }"; return 0; fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# Runs right and left in turns, jumping now and then, so that the camera
# keeps scrolling as it does for a player crossing a course.
play_keys() {
  while true; do
    for direction in Right Left; do
      xdotool keydown "$direction"
      for _ in 1 2 3 4; do
        xdotool keydown z; sleep 0.3; xdotool keyup z; sleep 0.45
      done
      xdotool keyup "$direction"
    done
  done
}

# Prints the CPU share of the game and of the X server over a span.
measure_cpu() {
  local pid="$1" label="$2" span_seconds="$3"
  local server c0 x0 t0 c1 x1 t1 span
  server="$(xvfb_pid)"
  c0="$(cpu_ticks "$pid")"; x0="$(cpu_ticks "$server")"; t0="$(now)"
  sleep "$span_seconds"
  c1="$(cpu_ticks "$pid")"; x1="$(cpu_ticks "$server")"; t1="$(now)"
  span="$(calc "$t1 - $t0")"
  printf '%s: game CPU %.1f %% of one core over %.0f s\n' "$label" \
    "$(calc "($c1 - $c0) / $ticks_per_second / $span * 100")" "$span"
  printf '%s: X server CPU %.1f %% of one core (showing our frames)\n' "$label" \
    "$(calc "($x1 - $x0) / $ticks_per_second / $span * 100")"
}

# MODE: play (go into a course, play it, measure), title (measure the title
# menu left alone) or none.
run_once() {
  local signal="$1" mode="$2"
  local log="$out/run-$signal.log"
  local start pid first
  start="$(now)"
  TUMBLEROO_TIMING=1 "$game" 2>"$log" &
  pid=$!
  if ! first="$(first_frame_time "$log" "$pid")"; then
    echo "run $signal: no frame shown; log:"; cat "$log"; return 1
  fi
  echo "run $signal: first frame on screen $(calc "int(($first - $start) * 1000 + 0.5)") ms after launch"

  if [ "$mode" = play ]; then
    sleep 1
    for key in ${TUMBLEROO_NAV:-}; do xdotool key "$key"; sleep 0.6; done
    play_keys & local keys=$!
    sleep 2  # let the course start moving
    measure_cpu "$pid" "run $signal, playing" "$seconds"
    import -window root "$out/playing.png"
    kill "$keys"; wait "$keys" 2>/dev/null
    xdotool keyup Right keyup Left keyup z
    echo "run $signal: screenshot $out/playing.png"
  elif [ "$mode" = title ]; then
    sleep 5  # past the opening, into the title menu
    measure_cpu "$pid" "run $signal, title menu" "$seconds"
    import -window root "$out/title.png"
  fi
  echo "run $signal: peak RSS $(awk '/VmHWM/ { printf "%.1f MB", $2 / 1024 }' "/proc/$pid/status")"
  # Unique memory (USS) is what the process alone holds; PSS shares out the
  # pages it holds with others (libraries, the window surface).
  awk -v run="run $signal" '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 }
    /^Private_(Clean|Dirty):/ { u += $2 }
    END { printf "%s: RSS %.1f MB, PSS %.1f MB, USS %.1f MB\n", run, r / 1024, p / 1024, u / 1024 }' \
    "/proc/$pid/smaps_rollup"

  local rc=0 asked
  asked="$(now)"
  kill "-$signal" "$pid"
  import -window root "$out/at-signal-$signal.png"
  wait "$pid" || rc=$?
  echo "run $signal: exit code $rc, $(calc "int(($(now) - $asked) * 1000 + 0.5)") ms after SIG$signal"
  if grep -qiE 'sanitizer|segmentation|abort|core dumped' "$log"; then
    echo "run $signal: trouble in the log:"; cat "$log"
  fi
}

run_once INT play
run_once TERM title
