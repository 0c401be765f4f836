#!/usr/bin/env bash
# Measures the real game in a virtual X screen while a course is played:
# CPU share of one core, peak resident memory, time from launch to the first
# frame on screen, and a clean end on SIGINT and on SIGTERM.
#
#   tools/bench/measure_play.sh [GAME] [SECONDS] [OUT_DIR]
#
# GAME defaults to build/tumbleroo. Needs xvfb-run, xdotool and ImageMagick's
# import (apt-get install xvfb xdotool imagemagick). Extra environment:
#   SDL_RENDER_DRIVER   try another presenting path (software, opengl, ...)
#   TUMBLEROO_NAV       xdotool key names pressed one by one (0.6 s apart)
#                       after the first frame, to get from the title into play
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
game="$(realpath "${1:-$here/../../build/tumbleroo}")"
seconds="${2:-20}"
out="$(realpath -m "${3:-$here/../../build/bench}")"
mkdir -p "$out"

for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install xvfb xdotool imagemagick)" >&2; exit 2; }
done

# The session runs inside the virtual screen; its report goes to standard output.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
  bash "$here/play_session.sh" "$game" "$seconds" "$out"
