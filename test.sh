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

if ! run_ctest build "$@"; then
    echo "test.sh: failed: ctest (see build/Testing/ctest.log)" >&2
    exit 1
fi
scripts/fuzz.sh
