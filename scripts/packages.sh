# Sourced by run.sh, test.sh and cross.sh: installs the Debian packages a build
# needs (or, without root, names the exact command and stops), configures and
# builds with the compiler cache, and names the command that failed when a
# step fails.

# What building and running the simulator needs, and what the tests add
# (the fuzzers' compiler and runtime, the image plug-ins, a virtual display
# and screenshots for running the window by hand).
FIELDMON_PACKAGES="build-essential cmake ccache libgtest-dev libgmock-dev libbenchmark-dev qtbase5-dev \
qttools5-dev qttools5-dev-tools librsvg2-bin fonts-wqy-microhei"
FIELDMON_TEST_PACKAGES="clang libclang-rt-14-dev qt5-image-formats-plugins xvfb xauth imagemagick"

set -E
trap 'echo "$(basename "$0"): failed: $BASH_COMMAND" >&2' ERR

# missing_packages <package...>: those of them not installed, one per line.
# A name without an architecture means the PC's own (or an architecture-free
# package): the target's copy of a library, installed by the cross build,
# does not count for the PC build.
missing_packages() {
    local package native
    native=$(dpkg --print-architecture)
    for package in "$@"; do
        if [[ $package == *:* ]]; then
            dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q "^install ok installed" && continue
        else
            dpkg-query -W -f='${Status} ${Architecture}\n' "$package" 2>/dev/null \
                | grep -Eq "^install ok installed ($native|all)$" && continue
        fi
        echo "$package"
    done
}

# apt's status lines (APT::Status-Fd) as one line per tenth of the download
# and of the installation.
apt_progress() {
    awk -F: '$1 == "dlstatus" || $1 == "pmstatus" {
        what = $1 == "dlstatus" ? "downloading" : "installing"
        step = int($3 / 10) * 10
        if (!(what in shown) || step > shown[what]) {
            shown[what] = step
            printf "  %s %3d%%\n", what, step
            fflush()
        }
    }'
}

# apt_install <package...>: updates the package lists and installs, showing
# progress; apt's own output goes to a log that is shown when it fails.
apt_install() {
    local log
    log=$(mktemp /tmp/fieldmon-apt-XXXXXX.log)
    echo "Updating the package lists (log: $log)"
    if ! apt-get update -q >>"$log" 2>&1; then
        tail -n 20 "$log" >&2
        echo "$(basename "$0"): failed: apt-get update" >&2
        exit 1
    fi
    echo "Installing ${#}: $*"
    if ! { DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o APT::Status-Fd=3 "$@" 3>&1 1>>"$log" 2>&1 \
               | apt_progress; }; then
        tail -n 20 "$log" >&2
        echo "$(basename "$0"): failed: apt-get install -y $*" >&2
        exit 1
    fi
    rm -f "$log"
    echo "  done"
}

# require_packages <package...>: installs the missing ones as root; otherwise
# names the command to run and stops.
require_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    apt_install "${missing[@]}"
}

ensure_packages() {
    # shellcheck disable=SC2086
    require_packages $FIELDMON_PACKAGES
}

ensure_test_packages() {
    # shellcheck disable=SC2086
    require_packages $FIELDMON_PACKAGES $FIELDMON_TEST_PACKAGES
}

# The compiler cache serves every checkout of the project alike: paths are
# taken relative to the checkout. Prints the CMake option that uses it.
compiler_cache_option() {
    if command -v ccache >/dev/null; then
        echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    fi
}
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

# configure_build [cmake options]: the PC build directory.
configure_build() {
    # shellcheck disable=SC2046
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(compiler_cache_option) "$@" >/dev/null
}

# build_targets [target...]: those targets of the PC build, or everything.
build_targets() {
    local targets=() target
    for target in "$@"; do
        targets+=(--target "$target")
    done
    cmake --build build -j"$(nproc)" "${targets[@]}"
}

# run_ctest <build dir> [ctest arguments]: the whole suite, FIELDMON_CTEST_JOBS
# tests at a time (default: one per processor); prints the progress in
# tenths, every failure as it happens (and, when CTest runs failed tests
# again, how the second run went), the reasons of tests skipped, and CTest's
# summary. The full output goes to <build dir>/Testing/ctest.log.
run_ctest() {
    local dir=$1 status=0
    shift
    mkdir -p "$dir/Testing"
    echo "Running the tests (full output: $dir/Testing/ctest.log)"
    (cd "$dir" && ctest --output-on-failure -j"${FIELDMON_CTEST_JOBS:-$(nproc)}" "$@") 2>&1 | tee "$dir/Testing/ctest.log" | awk '
        /^ *[0-9]+\/[0-9]+ Test +#/ {
            split($1, count, "/")
            if ($0 ~ /\*\*\*(Failed|Timeout|Exception|Not Run)/) { failed++; print "  FAILED: " $0; fflush() }
            tenth = int(count[1] * 10 / count[2])
            if (tenth > shown) { shown = tenth; printf "  %d of %d tests done, %d failed\n", count[1], count[2], failed; fflush() }
            next
        }
        /^ +Test +#[0-9]+:/ {
            if ($0 ~ / Passed /) { failed--; print "  passed when run again: " $0 }
            else print "  FAILED again: " $0
            fflush()
            next
        }
        /tests passed|tests failed out of|Total Test time|^The following tests|^[ \t]+[0-9]+ - / { print; fflush() }
    ' || status=$?
    awk '/^\[ RUN      \]/ { test = $4 } /^under emulation: / { print "  skipped " test ": " substr($0, 18) }' \
        "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u
    return "$status"
}
