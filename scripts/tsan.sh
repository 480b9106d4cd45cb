#!/usr/bin/env bash
# Builds the test programs with the thread sanitizer in build-tsan and runs the
# GoogleTest suites (each test in its own process, as CTest runs them), with
# the suppressions of scripts/tsan.supp. Run by hand; it takes a while.
#
#   scripts/tsan.sh [ctest arguments, e.g. -R Protocol]
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" -DFIELDMON_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$(nproc)"
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp report_signal_unsafe=0 halt_on_error=0"
cd build-tsan
ctest -j"$(nproc)" -E scenario --output-on-failure "$@"
