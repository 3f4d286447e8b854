#!/usr/bin/env bash
# Both shared objects export the ten entry points and nothing else of ours, and the release one
# carries none of the diagnostics: no symbol or text of the analyzer view, the frame-rate graph,
# the font renderer or the band recorder. The same names are looked for in the diagnostic one,
# so the check cannot pass by looking for names that exist nowhere.
set -euo pipefail
release=$1
diagnostic=${2:-}
expected=$(printf 'T %s\n' OnCreateGlApp OnTerminateGlApp OnUpdateGlApp StartRotatingDevice \
  UpdateBandsInfo UpdateBeatsInfo UpdateRotationDegree UpdateSoundClass UpdateSpeakerInfo \
  UpdateTrackChange | sort)
for so in "$release" $diagnostic; do
  actual=$(nm -D --defined-only "$so" | awk '$2 != "U" && $2 != "w" { print $2, $3 }' |
    grep -vE ' _(init|fini)$' | sort)
  if [ "$actual" != "$expected" ]; then
    echo "exports of $so differ from the ten entry points:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
  fi
done
echo "ten exports, nothing else"
[ -n "$diagnostic" ] || exit 0

names='BandsInfoRecorder|AnalyzerDebugView|FpsGraph|FontRenderer|Diagnostics|VISUALIZATION_ANALYZER|VISUALIZATION_RECORD_BANDS'
found() {
  { nm -C "$1" 2>/dev/null || true; strings -a "$1"; } | grep -oE "$names" | sort -u || true
}
leaked=$(found "$release")
if [ -n "$leaked" ]; then
  echo "the release library $release contains diagnostics code:" $leaked >&2
  exit 1
fi
present=$(found "$diagnostic" | wc -l)
if [ "$present" -lt 7 ]; then
  echo "the diagnostic library $diagnostic lacks the diagnostics:" $(found "$diagnostic") >&2
  exit 1
fi
echo "no diagnostics in the release library"
