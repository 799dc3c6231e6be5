#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the address and
# undefined-behaviour sanitizers in build-fuzz/, then runs every target for a
# fixed time, a few at a time.
#
#   bash scripts/fuzz.sh [seconds per target] [target ...]
#
# Targets are the fuzz/*_fuzz.cpp names without "_fuzz" (paste, main_prefs,
# ...); all of them when none is named. Each starts from its seeds in
# fuzz/corpus/<target>/ and from what earlier runs kept in
# build-fuzz/corpus/<target>/. An input that crashes, leaks or hangs is
# written to build-fuzz/findings/<target>/ and the script exits with 1.
# FUZZ_JOBS (default 3) targets run at once, each on one core.
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

run_target() {
  local t="$1"
  # Absolute paths: each target changes into a directory of its own before
  # libFuzzer reads the corpora.
  local work="$root/build-fuzz/corpus/$t" findings="$root/build-fuzz/findings/$t"
  mkdir -p "$work" "$findings" "fuzz/corpus/$t"
  local start
  start=$(date +%s)
  set +e
  "build-fuzz/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$t" \
    > "build-fuzz/$t.log" 2>&1
  local rc=$?
  set -e
  local runs
  runs=$(grep -ao 'stat::number_of_executed_units: [0-9]*' "build-fuzz/$t.log" | grep -o "[0-9]*$" | tail -1 || echo "?")
  printf '%-16s %5ss  %9s runs  %s\n' "$t" "$(( $(date +%s) - start ))" "$runs" \
    "$([ $rc -eq 0 ] && echo "nothing found" || echo "FOUND: see build-fuzz/$t.log and $findings/")"
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
exit $failed
