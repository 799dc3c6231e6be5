#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the address and
# undefined-behaviour sanitizers in build-fuzz/, then runs every target for a
# fixed time, a few at a time, and prints a table of what each run did.
#
#   bash scripts/fuzz.sh [seconds per target] [target ...]
#
# Targets are the fuzz/*_fuzz.cpp names without "_fuzz" (paste, main_prefs,
# ...); all of them when none is named. Each starts from its seeds in
# fuzz/corpus/<target>/ and from what earlier runs kept in
# build-fuzz/corpus/<target>/. An input that crashes, leaks or hangs is
# written to build-fuzz/findings/<target>/ and the script exits with 1.
# FUZZ_JOBS (default 3) targets run at once, each on one core.
#
# Leaks are checked by LeakSanitizer when each run ends (a leak fails the
# run), not after every input: libFuzzer's check after an input scans the
# whole heap of the toolkit, tens of milliseconds, whenever the input ended
# with more allocations than frees, which the toolkit's own caches make
# common; libFuzzer itself gives that check up after a thousand such inputs.
#
# The table gives per target the seconds it ran, the inputs it executed and
# their rate, libFuzzer's coverage counters of its last status line (cov:
# the code edges reached, ft: the features, which also count how often an
# edge was taken), and the findings. A target below 1,000 inputs a second
# is marked "slow".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
shift || true
jobs="${FUZZ_JOBS:-3}"

bash scripts/setup.sh fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTROVA_FUZZ=ON -DKESTROVA_BENCH=OFF > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_all

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do
    n="$(basename "$f" .cpp)"
    targets+=("${n%_fuzz}")
  done
fi

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Most of what an input costs under the address sanitizer is its bookkeeping
# of the toolkit's many small allocations: a freed block waits in a
# quarantine of 16 MB (many inputs' worth of frees, so a use after free
# within an input is still caught) and each allocation records 2 frames of
# where it was made instead of 30. Every check stays; a finding's report
# names fewer frames of the allocation, and its input, replayed in the
# ordinary tests, gives the whole story. Set ASAN_OPTIONS to override.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=2}"

# One row of the table per target, gathered here as the runs end.
rows="build-fuzz/fuzz-table.txt"
: > "$rows"

run_target() {
  local t="$1"
  # Absolute paths: each target changes into a directory of its own before
  # libFuzzer reads the corpora.
  local work="$root/build-fuzz/corpus/$t" findings="$root/build-fuzz/findings/$t"
  local log="build-fuzz/$t.log"
  mkdir -p "$work" "$findings" "fuzz/corpus/$t"
  local start
  start=$(date +%s)
  set +e
  "build-fuzz/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -detect_leaks=0 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$t" \
    > "$log" 2>&1
  local rc=$?
  set -e
  local took=$(( $(date +%s) - start ))
  local runs cov ft found rate
  runs=$(grep -ao 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o "[0-9]*$" | tail -1 || true)
  runs="${runs:-0}"
  cov=$(grep -ao ' cov: [0-9]*' "$log" | grep -o "[0-9]*$" | tail -1 || true)
  ft=$(grep -ao ' ft: [0-9]*' "$log" | grep -o "[0-9]*$" | tail -1 || true)
  rate=$(( runs / (took > 0 ? took : 1) ))
  found=$(find "$findings" -type f | wc -l)
  local verdict="nothing found"
  [ $rc -eq 0 ] || verdict="FOUND: see $log and $findings/"
  [ "$rate" -ge 1000 ] || verdict="$verdict (slow)"
  printf '%-22s %7s %12s %10s %7s %8s %8s  %s\n' "$t" "$took" "$runs" "$rate" "${cov:-?}" "${ft:-?}" \
    "$found" "$verdict" >> "$rows"
  return $rc
}

failed=0
pids=()
for t in "${targets[@]}"; do
  [ -x "build-fuzz/fuzz/${t}_fuzz" ] || { echo "no fuzz target $t"; exit 2; }
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || failed=1; done
  run_target "$t" &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || failed=1; done

printf '%-22s %7s %12s %10s %7s %8s %8s  %s\n' target seconds executions "exec/s" cov ft findings ""
sort "$rows"
exit $failed
