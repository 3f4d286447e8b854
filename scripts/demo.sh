#!/usr/bin/env bash
# Runs the reference host on its built-in demo song.
set -euo pipefail
build=${1:-build}
if [ ! -x "$build/host/vizhost" ]; then
  echo "demo: the reference host (vizhost) is not there yet; the library and its tests are built in $build/." >&2
  exit 0
fi
mkdir -p out
exec "$build/host/vizhost" --out out/demo.mp4 --still out/demo.png
