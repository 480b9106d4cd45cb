#!/usr/bin/env bash
# Packs a built application for the monitor:
#
#   deploy/package.sh <build dir> <output.tar.gz>
#
# The archive is laid out from the root of the monitor's file system and
# unpacked there as root: home/root/app (the executable and its runtime files,
# as `cmake --install` stages them) and etc/systemd/system/fieldmon.service.
# Every folder is 0755, every file 0644 but the executable (0755), all owned
# by root, so that unpacking it into / changes no permission of / or /etc.
# The executable is stripped; its debug symbols go beside the archive as
# fieldmon.debug, which the executable names (gdb finds it in the same folder
# or under /usr/lib/debug).
set -euo pipefail
build=${1:?usage: package.sh <build dir> <output.tar.gz>}
output=${2:?usage: package.sh <build dir> <output.tar.gz>}
deploy=$(cd "$(dirname "$0")" && pwd)

# The binary tools of the build's own target, as CMake found them.
cache_value() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
objcopy=$(cache_value CMAKE_OBJCOPY)
strip=$(cache_value CMAKE_STRIP)
if [ -z "$objcopy" ] || [ -z "$strip" ]; then
    echo "package.sh: $build is not a configured build directory" >&2
    exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"
DESTDIR="$root" cmake --install "$build" --prefix /home/root/app >/dev/null
install -D -m 0644 "$deploy/fieldmon.service" "$root/etc/systemd/system/fieldmon.service"

app="$root/home/root/app"
debug="$(dirname "$output")/fieldmon.debug"
mkdir -p "$(dirname "$output")"
"$objcopy" --only-keep-debug "$app/fieldmon" "$debug"
"$strip" --strip-all "$app/fieldmon"
(cd "$(dirname "$debug")" && "$objcopy" --add-gnu-debuglink=fieldmon.debug "$app/fieldmon")

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$app/fieldmon"
tar -C "$root" --owner=0 --group=0 --numeric-owner --sort=name -czf "$output" .
echo "packed $output ($(du -h "$output" | cut -f1)), debug symbols in $debug"
