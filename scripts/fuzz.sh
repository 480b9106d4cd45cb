#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and the address and
# undefined-behaviour sanitizers in build-fuzz, then runs each one briefly
# (default 10 seconds) from its seed corpus in fuzz/corpus/<target>. What a run
# finds on top of the seeds stays in a scratch copy, not in the checkout. One
# line per fuzzer says how it went; its whole output is in
# build-fuzz/logs/<target>.log.
#
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
seconds="${1:-10}"

logs=build-fuzz/logs
mkdir -p "$logs"
echo "Building the fuzzers (log: $logs/build.log)"
# shellcheck disable=SC2046
if ! { cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDMON_FUZZ=ON \
           -DBUILD_TESTING=OFF -DFIELDMON_BENCH=OFF $(compiler_cache_option) \
       && cmake --build build-fuzz -j"$(nproc)" --target fuzzers; } >"$logs/build.log" 2>&1; then
    tail -n 30 "$logs/build.log" >&2
    echo "fuzz.sh: failed: building the fuzzers (see $logs/build.log)" >&2
    exit 1
fi

failed=0
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
    name="$(basename "$fuzzer")"
    log="$logs/$name.log"
    corpus="$(mktemp -d)"
    if [ -d "fuzz/corpus/$name" ]; then
        cp -r "fuzz/corpus/$name/." "$corpus"
    fi
    status=0
    "$fuzzer" -max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$logs/$name-" \
        "$corpus" >"$log" 2>&1 || status=$?
    rm -rf "$corpus"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ "$status" -eq 0 ]; then
        echo "fuzz $name: ${runs:-?} runs in ${seconds}s, no crash (log: $log)"
    else
        failed=1
        echo "fuzz $name: CRASHED after ${runs:-?} runs, status $status (log: $log)"
        grep -m 3 -E "^==[0-9]+==ERROR|runtime error|^SUMMARY" "$log" | sed 's/^/    /' || true
    fi
done
exit "$failed"
