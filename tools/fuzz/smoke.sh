#!/usr/bin/env bash
# The fuzzing smoke of continuous integration: every target for a short
# while from its seeds (six targets, 15 seconds each). Skipped when clang++-14
# is not installed; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! command -v clang++-14 >/dev/null; then
  echo "fuzz smoke: skipped, clang++-14 is not installed"
  exit 0
fi
exec tools/fuzz/run.sh "${FUZZ_SMOKE_SECONDS:-15}"
