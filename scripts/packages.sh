# Sourced by run.sh and test.sh: installs the Debian packages the build needs,
# or, without root, names the exact command and stops.

FIELDMON_PACKAGES="build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev qtbase5-dev \
qttools5-dev qttools5-dev-tools qt5-image-formats-plugins xvfb xauth imagemagick clang libclang-rt-14-dev librsvg2-bin fonts-wqy-microhei"

ensure_packages() {
    local missing=()
    local package
    for package in $FIELDMON_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_and_build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)"
}
