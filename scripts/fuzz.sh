#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and the address and
# undefined-behaviour sanitizers in build-fuzz, then runs each one briefly
# (default 10 seconds) from its seed corpus in fuzz/corpus/<target>. What a run
# finds on top of the seeds stays in a scratch copy, not in the checkout.
#
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDMON_FUZZ=ON \
    -DBUILD_TESTING=OFF -DFIELDMON_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzzers

for fuzzer in build-fuzz/fuzz/*_fuzzer; do
    name="$(basename "$fuzzer")"
    corpus="$(mktemp -d)"
    if [ -d "fuzz/corpus/$name" ]; then
        cp -r "fuzz/corpus/$name/." "$corpus"
    fi
    echo "fuzzing $name for ${seconds}s"
    status=0
    "$fuzzer" -max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1 "$corpus" || status=$?
    rm -rf "$corpus"
    [ "$status" -eq 0 ] || exit "$status"
done
