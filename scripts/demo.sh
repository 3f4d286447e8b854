#!/usr/bin/env bash
# Runs the reference host on its built-in demo song: out/demo.mp4 (with the music) and
# out/demo.png, one frame of it.
set -euo pipefail
build=${1:-build}
if [ ! -x "$build/host/vizhost" ]; then
  echo "demo: $build/host/vizhost is missing; build first (make build)" >&2
  exit 1
fi
mkdir -p out
"$build/host/vizhost" --out out/demo.mp4 --still out/demo.png
echo "demo: wrote out/demo.mp4 and out/demo.png" >&2
