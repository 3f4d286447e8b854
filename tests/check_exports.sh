#!/usr/bin/env bash
# The shared object exports the ten entry points and nothing else of ours.
set -euo pipefail
so=$1
actual=$(nm -D --defined-only "$so" | awk '$2 != "U" && $2 != "w" { print $2, $3 }' | grep -vE ' _(init|fini)$' | sort)
expected=$(printf 'T %s\n' OnCreateGlApp OnTerminateGlApp OnUpdateGlApp StartRotatingDevice \
  UpdateBandsInfo UpdateBeatsInfo UpdateRotationDegree UpdateSoundClass UpdateSpeakerInfo \
  UpdateTrackChange | sort)
if [ "$actual" != "$expected" ]; then
  echo "exports differ from the ten entry points:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
echo "ten exports, nothing else"
