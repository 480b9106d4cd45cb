#!/usr/bin/env bash
# Packs a cross-built application with its runtime files into the folder layout
# of /home/root/app on the monitor: package.sh <arm build dir> <output.tar.gz>
set -euo pipefail
build=${1:?arm build directory}
output=${2:?output archive}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
install -D -m 0755 "$build/fieldmon" "$stage/home/root/app/fieldmon"
cp -r "$build/seed/." "$stage/home/root/app/"
install -D -m 0644 "$(dirname "$0")/fieldmon.service" "$stage/etc/systemd/system/fieldmon.service"
tar -C "$stage" -czf "$output" .
echo "packed $output"
