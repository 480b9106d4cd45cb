#!/usr/bin/env bash
# Builds the monitor application and runs it on the virtual board: in a window
# when there is a display, otherwise headless through the demo scenario, which
# leaves its screenshots in build/screenshots. Extra arguments go to fieldmon-sim.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
configure_and_build

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/fieldmon-sim "$@"
fi
shots=build/screenshots
mkdir -p "$shots"
echo "No display: running the demo scenario headless."
build/fieldmon-sim --headless --script sim/scenarios/demo.scn --shots "$shots" "$@"
echo "Screenshots of the demo are in $(pwd)/$shots"
