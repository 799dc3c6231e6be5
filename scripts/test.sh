#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test without a display;
# then builds the engine's tests and those of the file readers and writers
# once more with the address and undefined-behaviour sanitizers (in
# build-sanitize/) and runs them there: an out-of-bounds index, a signed
# overflow or a leak fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The toolkit's own libraries keep some memory until the process ends; only
# those are suppressed (tests/support/lsan.supp), never the program's code.
# The variables are set for the build as well, because listing the tests of
# a program runs it.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_SANITIZE=ON \
  -DKESTROVA_BENCH=OFF > /dev/null
cmake --build build-sanitize -j"$(nproc)" --target sanitized_tests
ctest --test-dir build-sanitize -L sanitize --output-on-failure -j"$(nproc)"
