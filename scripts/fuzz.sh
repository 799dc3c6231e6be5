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
# build-fuzz/corpus/<target>/ (with FUZZ_FRESH_CORPUS=1 from its seeds
# alone, in a new folder that the run then keeps). An input that crashes,
# leaks or hangs is written to a folder of this run alone,
# build-fuzz/findings/<target>/<run>/, and the script exits with 1.
# FUZZ_JOBS (default 3) targets run at once, each on one core.
#
# The targets of the line formats and of the settings files mutate their
# inputs with fuzz/format_mutators.cpp, which changes one value of one record
# (or the records, or a header field, or breaks one record) and leaves the
# rest of the file as it was; a fifth of the mutations, and every mutation of
# an input that does not parse, stay libFuzzer's byte mutations. Before the
# runs, fuzz/format_mutators_check mutates the seeds of those formats and reads
# the results with the program's readers; the script stops when the mutators
# no longer keep their formats.
#
# A kept corpus stays small: each run ends with a merge (libFuzzer's
# -merge=1) of the kept corpus into a fresh folder that holds the committed
# seeds, which keeps the quickest and smallest inputs that give each coverage
# feature the seeds do not (merge_kept_corpus); the seeds are then taken out
# and the folder replaces the kept corpus.
# A kept corpus that a finished merge did not leave (an interrupted run,
# inputs copied in by hand) is merged the same way before the run starts, so
# that no earlier run can slow a later one.
#
# Each target has its own input size limit (the table below): the readers of
# files and the recent-files log get inputs well past the 64 KiB at which
# they cut a line, and a draws file of thousands of tickets. libFuzzer
# lengthens its inputs toward that limit step by step (-len_control, at its
# default pace: a faster one fills the corpus with large inputs), and fuzzes
# an input the less the longer it takes (its entropic schedule scaled by
# execution time), so that the few inputs of tens of milliseconds keep every
# target above 1,000 inputs a second. Value profiling is on, so that a
# comparison with a value the inputs never held still guides the search, and
# fuzz/dict/<target>.dict gives each format's words: its numbers as the
# format writes them, separators, magic lines and field forms.
# FUZZ_LEN_CONTROL sets -len_control of the large-input targets, and
# FUZZ_EXTRA adds libFuzzer options to every run.
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
# edge was taken), the size limit of its inputs, the inputs of its kept corpus
# after the merge with their size in KB, and what this run found. A target
# below 1,000 inputs a second is marked "slow".
#
# A leak is reported by LeakSanitizer only as the run ends, when no input is
# at hand: libFuzzer then saves the empty input it was running. So after a
# leak the inputs this run added to the corpus are replayed with a check
# after each one, which saves the input that leaks beside the other findings;
# the table names it, or, when the replay finds none, the line of the log
# that reports the leak.
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

build-fuzz/fuzz/format_mutators_check || { echo "the format mutators are broken: nothing fuzzed"; exit 2; }

# The largest input of each target in bytes, and how many runs without new
# coverage libFuzzer waits before it lets its inputs grow (-len_control, 100
# by its default).
max_len_of() {
  case "$1" in
    draws_file | prizes | extract) echo 262144 ;;
    database_import | statistics | main_prefs) echo 131072 ;;
    recent_files) echo 196608 ;;
    technique_prefs | generate) echo 8192 ;;
    paste | text_values) echo 4096 ;;
    *) echo 4096 ;;
  esac
}
len_control_of() {
  case "$1" in
    draws_file | prizes | extract | database_import | statistics | main_prefs | recent_files) echo "${FUZZ_LEN_CONTROL:-100}" ;;
    *) echo 100 ;;
  esac
}
run_stamp="$(date +%Y%m%d-%H%M%S)"

# The options that a target's runs and its merges share.
target_options() {
  echo -max_len="$(max_len_of "$1")" -timeout=10 -rss_limit_mb=2560 -detect_leaks=0
}

# Sorts the inputs of `from` by the time the target takes over each: those
# of at most a millisecond are copied to `fast`, the others to `slow` (with an
# input that did not run to its end, such as one that crashes the target).
split_by_time() {
  local t="$1" from="$2" fast="$3" slow="$4" log="$root/build-fuzz/$t.timing.log"
  mkdir -p "$fast" "$slow"
  # shellcheck disable=SC2046
  find "$from" -type f -print0 |
    xargs -0 -r -n 200 "$root/build-fuzz/fuzz/${t}_fuzz" -runs=1 $(target_options "$t") > "$log" 2>&1 || true
  local quick="$fast.quick" all="$fast.all"
  awk '/^Executed / && $4 <= 1 {print $2}' "$log" | sort -u > "$quick"
  find "$from" -type f | sort > "$all"
  comm -12 "$all" "$quick" | xargs -r -d '\n' cp -t "$fast"
  comm -23 "$all" "$quick" | xargs -r -d '\n' cp -t "$slow"
  rm -f "$quick" "$all"
}

# Merges the inputs of `from` into `into` (libFuzzer's -merge=1): an input is
# copied when it gives a feature that `into` and the smaller inputs before it
# do not. The merge runs the target again in a child process, by the path
# given here: an absolute one, since the target changes its directory. An
# input that crashes the child is left out and the child started again. False
# when the merge did not finish.
merge_into() {
  local t="$1" into="$2" from="$3" log="$4"
  # shellcheck disable=SC2046
  "$root/build-fuzz/fuzz/${t}_fuzz" -merge=1 $(target_options "$t") "$into" "$from" > "$log" 2>&1 || true
  grep -aq "MERGE-OUTER: successful in" "$log"
}

# Replaces the kept corpus `work` of target `t` by the quickest and smallest
# of its inputs that give the features the committed seeds do not. The seeds
# go first into the fresh folder, so that their features count as had, and
# are then taken out. The inputs that run in a millisecond are merged first
# and the others then, so that a feature that both give is kept with a quick
# one: libFuzzer's merge prefers the smaller input, and of inputs of one
# size the one with more features, which is often the slower (the generator
# making hundreds of tickets). Features are those of coverage, without value
# profiling: with it, an input would be kept for each comparison that it
# comes a step nearer to, steps that a run takes again in seconds, and a
# corpus of large inputs would stay large. A merge that fails leaves the kept
# corpus as it was. The stamp beside the corpus marks a corpus that a merge
# left.
merge_kept_corpus() {
  local t="$1" work="$2"
  local fresh="$work.merging" sorted="$work.sorting" log="$root/build-fuzz/$t.merge.log"
  rm -rf "$fresh" "$sorted"
  mkdir -p "$fresh"
  local seed
  for seed in "fuzz/corpus/$t"/*; do
    [ -f "$seed" ] && cp "$seed" "$fresh/committed-seed-$(basename "$seed")"
  done
  split_by_time "$t" "$work" "$sorted/fast" "$sorted/slow"
  if ! merge_into "$t" "$fresh" "$sorted/fast" "$log.fast" || ! merge_into "$t" "$fresh" "$sorted/slow" "$log"; then
    echo "merging the kept corpus of $t did not finish cleanly (see $log*); it stays as it was"
    rm -rf "$fresh" "$sorted"
    return
  fi
  rm -rf "$sorted"
  rm -f "$fresh"/committed-seed-*
  (
    flock 9
    rm -rf "$work.replaced"
    mv "$work" "$work.replaced"
    mv "$fresh" "$work"
    rm -rf "$work.replaced"
    touch "$work.merged"
  ) 9> "$work.lock"
}

# One row of the table per target, gathered here as the runs end.
rows="build-fuzz/fuzz-table.txt"
: > "$rows"

run_target() {
  local t="$1"
  # Absolute paths: each target changes into a directory of its own before
  # libFuzzer reads the corpora.
  local work="$root/build-fuzz/corpus/$t" findings="$root/build-fuzz/findings/$t/$run_stamp"
  [ "${FUZZ_FRESH_CORPUS:-0}" = 1 ] && work="$root/build-fuzz/corpus/$t-$run_stamp"
  local log="build-fuzz/$t.log"
  mkdir -p "$work" "$findings" "fuzz/corpus/$t"
  if [ -n "$(find "$work" -type f | head -1)" ] &&
     { [ ! -e "$work.merged" ] || [ -n "$(find "$work" -type f -newer "$work.merged" | head -1)" ]; }; then
    merge_kept_corpus "$t" "$work"
  fi
  local max_len dict=()
  max_len=$(max_len_of "$t")
  [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  # Inputs added to the corpus by this run are those newer than this mark.
  local mark="build-fuzz/$t.started"
  touch "$mark"
  local start
  start=$(date +%s)
  set +e
  # shellcheck disable=SC2046
  "build-fuzz/fuzz/${t}_fuzz" -max_total_time="$seconds" $(target_options "$t") -use_value_profile=1 \
    -len_control="$(len_control_of "$t")" -entropic_scale_per_exec_time=1 "${dict[@]}" ${FUZZ_EXTRA:-} \
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
  local verdict="nothing found"
  if [ $rc -ne 0 ]; then
    verdict="FOUND: see $log and $findings/"
    local leak_line
    leak_line=$(grep -an 'ERROR: LeakSanitizer' "$log" | head -1 | cut -d: -f1 || true)
    if [ -n "$leak_line" ]; then
      # The input running when the leak was reported is not its cause.
      find "$findings" -type f -empty -delete
      find_leaking_input "$t" "$work" "$mark" "$findings" "$max_len"
      local leak
      leak=$(find "$findings" -type f -name 'leak-*' | head -1)
      if [ -n "$leak" ]; then
        verdict="LEAK: input $leak (report: $log line $leak_line)"
      else
        verdict="LEAK: no single input reproduces it; report: $log line $leak_line"
      fi
    fi
  fi
  found=$(find "$findings" -type f | wc -l)
  [ "$rate" -ge 1000 ] || verdict="$verdict (slow)"
  merge_kept_corpus "$t" "$work"
  local kept kept_kb
  kept=$(find "$work" -type f | wc -l)
  kept_kb=$(( $(find "$work" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}') / 1024 ))
  printf '%-16s %7s %12s %8s %8s %7s %7s %6s %8s %8s  %s\n' "$t" "$took" "$runs" "$rate" "$max_len" "${cov:-?}" \
    "${ft:-?}" "$kept" "$kept_kb" "$found" "$verdict" >> "$rows"
  return $rc
}

# Replays the inputs a run added to its corpus, and any seed, with
# libFuzzer's leak check after each: the first that leaks is saved as
# leak-<hash> in the findings folder. Bounded in time, since each check
# scans the heap.
find_leaking_input() {
  local t="$1" work="$2" mark="$3" findings="$4" max_len="$5"
  local replay="$root/build-fuzz/$t.replay"
  rm -rf "$replay"
  mkdir -p "$replay"
  find "$work" -type f -newer "$mark" -exec cp {} "$replay/" \;
  cp "fuzz/corpus/$t"/* "$replay/" 2>/dev/null || true
  timeout 600 "build-fuzz/fuzz/${t}_fuzz" -runs=0 -detect_leaks=1 -max_len="$max_len" \
    -artifact_prefix="$findings/" "$replay" > "build-fuzz/$t.replay.log" 2>&1 || true
  rm -rf "$replay"
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

printf '%-16s %7s %12s %8s %8s %7s %7s %6s %8s %8s  %s\n' target seconds executions "exec/s" max_len cov ft kept "kept KB" \
  findings ""
sort "$rows"
exit $failed
