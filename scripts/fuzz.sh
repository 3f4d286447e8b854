#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build for a fixed time, two at a time (one per core),
# and fails on any finding. The host boundary, the library's whole surface and the slowest to
# explore, has one core for all of the time; the two parsers share the other, half the time
# each. New inputs go to <build>/corpus/<target> (kept between runs), findings to
# <build>/findings/; the committed seeds in tests/fuzz/<target>/ are only read.
# Prints executions per second and edges covered.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS
# FUZZ_SEED fixes libFuzzer's random seed (CI does, so that a run it fails is one anybody can
# repeat from a fresh build); without it every run explores anew.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "$1" && pwd)
seconds=$2
root=$(pwd)

# target:longest input[:option]
# The host boundary keeps one instance alive from input to input, so after most inputs more
# blocks are allocated than freed, and libFuzzer's own leak check would run most inputs a second
# time under the leak checker; the target looks for lost blocks itself, with no instance alive.
targets=(host_boundary:2048:-detect_leaks=0 image_reader:16384 font_description:8192)
lanes=("host_boundary" "image_reader font_description")

# The leak checker keeps no record of dynamically loaded TLS (see the Makefile's sanitizer run);
# the software rasteriser's own allocations are suppressed.
export ASAN_OPTIONS=intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1

run_target() {
  local name=$1 rest=$2 seconds=$3
  local max_len=${rest%%:*}
  local options=()
  if [ "$rest" != "$max_len" ]; then
    options=("${rest#*:}")
  fi
  local corpus=$build/corpus/$name
  mkdir -p "$corpus" "$build/findings"
  local dict=()
  if [ -f "tests/fuzz/$name.dict" ]; then
    dict=(-dict="$root/tests/fuzz/$name.dict")
  fi
  "$build/tests/fuzz/viz_fuzz_$name" -max_total_time="$seconds" -timeout=60 -seed="${FUZZ_SEED:-0}" \
    -rss_limit_mb=2560 -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" "${dict[@]}" "${options[@]}" \
    "$corpus" "$root/tests/fuzz/$name" >"$build/fuzz-$name.log" 2>&1
}

option_of() {
  local entry
  for entry in "${targets[@]}"; do
    [ "${entry%%:*}" = "$1" ] && echo "${entry#*:}"
  done
}

# Each lane runs its targets one after another in its share of the time; a target that finds
# something is named in fuzz-failed, and the lane goes on with the next.
run_lane() {
  local names=($1)
  local share=$((seconds / ${#names[@]}))
  local name
  for name in "${names[@]}"; do
    echo "fuzz: $name for ${share}s (log: $build/fuzz-$name.log)" >&2
    run_target "$name" "$(option_of "$name")" "$share" || { echo "$name" >>"$build/fuzz-failed"; }
  done
}

rm -f "$build/fuzz-failed"
pids=()
for lane in "${lanes[@]}"; do
  run_lane "$lane" &
  pids+=($!)
done
wait "${pids[@]}"
failed=()
if [ -f "$build/fuzz-failed" ]; then
  mapfile -t failed <"$build/fuzz-failed"
fi

for name in "${failed[@]}"; do
  echo "fuzz: $name found a fault:" >&2
  log=$build/fuzz-$name.log
  grep -A30 -m1 -E 'ERROR|runtime error|Assertion|left pending|GL objects|==[0-9]+==' "$log" >&2 || tail -40 "$log" >&2
done

for entry in "${targets[@]}"; do
  name=${entry%%:*}
  log=$build/fuzz-$name.log
  done_line=$(grep -E '#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
  edges=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$done_line")
  rate=$(sed -nE 's/^stat::average_exec_per_sec:[[:space:]]+([0-9]+)/\1/p' "$log" | tail -1)
  runs=$(sed -nE 's/^stat::number_of_executed_units:[[:space:]]+([0-9]+)/\1/p' "$log" | tail -1)
  printf '%-16s %9s runs %6s exec/s %6s edges\n' "$name" "${runs:-?}" "${rate:-?}" "${edges:-?}"
done
[ ${#failed[@]} -eq 0 ]
