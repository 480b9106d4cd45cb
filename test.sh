#!/usr/bin/env bash
# Builds the monitor application and runs the whole test suite through CTest,
# then each fuzzer briefly.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
configure_and_build
(cd build && ctest --output-on-failure -j2 "$@")
scripts/fuzz.sh
