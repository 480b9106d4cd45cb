#!/usr/bin/env bash
# The device build: installs what the cross build needs (the armhf multiarch
# packages, the cross compiler, the user-mode emulator), cross-builds the
# fieldmon executable for 32-bit ARM in build-arm and packs it into out/.
# With --test it also builds the test programs for ARM and runs the whole
# CTest suite under the emulator; further arguments go to CTest.
#
#   scripts/cross.sh [--test [ctest arguments]]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

run_tests=0
if [ "${1:-}" = "--test" ]; then
    run_tests=1
    shift
elif [ $# -gt 0 ]; then
    echo "usage: scripts/cross.sh [--test [ctest arguments]]" >&2
    exit 2
fi

# What runs on the PC, then what is built against (the target's libraries).
HOST_PACKAGES="build-essential cmake ccache g++-arm-linux-gnueabihf qemu-user-static qtbase5-dev-tools \
qttools5-dev-tools librsvg2-bin fonts-wqy-microhei"
TARGET_PACKAGES="qtbase5-dev:armhf qttools5-dev:armhf qt5-image-formats-plugins:armhf libgtest-dev:armhf libgmock-dev:armhf"

ensure_cross_packages() {
    local add_arch=0 missing
    dpkg --print-foreign-architectures | grep -qx armhf || add_arch=1
    # shellcheck disable=SC2086
    mapfile -t missing < <(missing_packages $HOST_PACKAGES $TARGET_PACKAGES)
    [ $add_arch -eq 0 ] && [ ${#missing[@]} -eq 0 ] && return 0
    echo "The cross build needs:"
    if [ $add_arch -eq 1 ]; then
        echo "  dpkg --add-architecture armhf"
    fi
    if [ ${#missing[@]} -gt 0 ]; then
        echo "  apt-get install -y ${missing[*]}"
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run those as root (sudo), then this script again." >&2
        exit 1
    fi
    if [ $add_arch -eq 1 ]; then
        dpkg --add-architecture armhf
    fi
    # After a new architecture the package lists need reading again.
    apt_install "${missing[@]}"
}

ensure_cross_packages

build_dir=build-arm
# shellcheck disable=SC2046
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=deploy/arm-linux-gnueabihf.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDMON_BENCH=OFF -DBUILD_TESTING=ON $(compiler_cache_option) >/dev/null

echo "Building the device executable"
cmake --build "$build_dir" -j"$(nproc)" --target fieldmon
mkdir -p out
deploy/package.sh "$build_dir" out/fieldmon-armhf.tar.gz

if [ $run_tests -eq 1 ]; then
    echo "Building the test programs for ARM"
    cmake --build "$build_dir" -j"$(nproc)"
    # Emulated tests mostly wait (on timers, on the board's threads): three
    # times as many as there are processors keep them busy (on two cores: 200 s
    # for the suite against 240 s with twice as many). Under the emulator the
    # code runs several times slower and its timing varies with the load, so
    # a test that fails is run once more; both results are printed, and the
    # PC suite, which runs every test once, stays the judge of timing.
    echo "Under the emulator:"
    if ! FIELDMON_CTEST_JOBS=$(($(nproc) * 3)) run_ctest "$build_dir" --repeat until-pass:2 "$@"; then
        echo "cross.sh: failed: ctest under the emulator (see $build_dir/Testing/ctest.log)" >&2
        exit 1
    fi
fi
