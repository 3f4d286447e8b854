#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build for a fixed time, two at a time (one per core),
# and fails on any finding. New inputs go to <build>/corpus/<target> (kept between runs),
# findings to <build>/findings/; the committed seeds in tests/fuzz/<target>/ are only read.
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

# The leak checker keeps no record of dynamically loaded TLS (see the Makefile's sanitizer run);
# the software rasteriser's own allocations are suppressed.
export ASAN_OPTIONS=intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1

run_target() {
  local name=$1 rest=$2
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

# Two at a time: a third starts when the older of the two running has finished.
declare -A pid_of
running=()
failed=()
for entry in "${targets[@]}"; do
  name=${entry%%:*}
  if [ ${#running[@]} -ge 2 ]; then
    wait "${pid_of[${running[0]}]}" || failed+=("${running[0]}")
    running=("${running[@]:1}")
  fi
  echo "fuzz: $name for ${seconds}s (log: $build/fuzz-$name.log)" >&2
  run_target "$name" "${entry#*:}" &
  pid_of[$name]=$!
  running+=("$name")
done
for name in "${running[@]}"; do
  wait "${pid_of[$name]}" || failed+=("$name")
done

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
