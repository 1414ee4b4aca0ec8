# Installs the Debian packages the build, the tests and the program need, when missing.
# Sourced by scripts/run and scripts/test.
SKIMLARK_PACKAGES="cmake g++ make ccache pkg-config qt6-base-dev qt6-webengine-dev qt6-multimedia-dev \
qt6-qpa-plugins libqt6webenginecore6-bin libgl-dev xvfb xauth dbus dbus-x11 at-spi2-core \
python3 python3-pyatspi gir1.2-atspi-2.0 fonts-dejavu-core"

skimlark_install_deps() {
    local missing=()
    local pkg
    for pkg in $SKIMLARK_PACKAGES; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

skimlark_build() {
    local top="$1"
    if [ ! -f "$top/build/CMakeCache.txt" ]; then
        cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$top/build" -j"$(nproc)"
}
