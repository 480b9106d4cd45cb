#!/usr/bin/env bash
# Builds the monitor application with its tests and runs the whole suite
# through CTest (arguments go to CTest), then each fuzzer briefly. The full
# CTest output is kept in build/Testing/ctest.log; what is printed is the
# progress, every failure and CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_test_packages
echo "Configuring build/"
configure_build
echo "Building the application, the simulator and the tests"
build_targets

log=build/Testing/ctest.log
mkdir -p build/Testing
echo "Running the tests (full output: $log)"
status=0
(cd build && ctest --output-on-failure -j"$(nproc)" "$@") 2>&1 | tee "$log" | awk '
    /^ *[0-9]+\/[0-9]+ Test +#/ {
        split($1, count, "/")
        if ($0 ~ /\*\*\*|Failed|Timeout|Exception|Not Run/) { failed++; print "  FAILED: " $0; fflush() }
        tenth = int(count[1] * 10 / count[2])
        if (tenth > shown) { shown = tenth; printf "  %d of %d tests done, %d failed\n", count[1], count[2], failed; fflush() }
        next
    }
    /tests passed|tests failed out of|Total Test time|^The following tests|^[ \t]+[0-9]+ - / { print; fflush() }
' || status=$?
[ "$status" -eq 0 ] || { echo "test.sh: tests failed (ctest), see $log" >&2; exit "$status"; }
scripts/fuzz.sh
