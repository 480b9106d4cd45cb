#!/usr/bin/env bash
# Builds the simulator and runs the monitor application on the virtual board:
# the panel window and the board's control window beside it when there is a
# display, otherwise headless through the demo scenario, which leaves its
# screenshots in build/screenshots. Extra arguments go to fieldmon-sim. The
# tests and benchmarks are built by test.sh.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
echo "Configuring build/"
configure_build
echo "Building the simulator"
build_targets fieldmon-sim

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/fieldmon-sim "$@"
fi
shots=build/screenshots
echo "No display: running the demo scenario headless."
build/fieldmon-sim --headless --script sim/scenarios/demo.scn --shots "$shots" "$@"
echo "Screenshots of the demo are in $(pwd)/$shots"
