#!/usr/bin/env bash
# Measures the cost of showing frames alone: builds present_probe (a frame
# scrolled 5 pixels every frame, so every row changes every frame) against
# the SDL platform and runs it for 600 frames in a virtual X screen.
#
#   tools/bench/measure_present.sh [SCREEN]     e.g. 1280x1024 (default)
#
# Prints the probe's frame rate, its CPU time and its peak memory.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
top="$here/../.."
screen="${1:-1280x1024}"
probe="$(mktemp -d)/present_probe"
trap 'rm -rf "$(dirname "$probe")"' EXIT

font="/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
# shellcheck disable=SC2046
g++ -std=c++20 -O2 -I"$top/src" -DTUMBLEROO_FONT_PATH="\"$font\"" \
  $(pkg-config --cflags sdl2 SDL2_mixer SDL2_ttf SDL2_image fontconfig) \
  "$here/present_probe.cpp" "$top"/src/platform/sdl_*.cpp "$top/src/platform/window_scaler.cpp" "$top/src/platform/key_bindings.cpp" \
  $(pkg-config --libs sdl2 SDL2_mixer SDL2_ttf SDL2_image fontconfig) -o "$probe"

xvfb-run -a -s "-screen 0 ${screen}x24" \
  /usr/bin/time -f "cpu user=%U s sys=%S s, peak RSS=%M kB" "$probe" 600
