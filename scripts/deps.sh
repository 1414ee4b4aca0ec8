# Installs the Debian packages the build, the tests and the program need, when missing.
# webext-ublock-origin-firefox brings the lists of trackers and ads (without its
# recommends, as every package here: it would bring a whole other browser).
# Sourced by scripts/run and scripts/test.
SKIMLARK_PACKAGES="cmake g++ make ccache pkg-config libgtkmm-3.0-dev libwebkit2gtk-4.1-dev \
libsoup-3.0-dev libpoppler-glib-dev libicu-dev libsqlite3-dev libgstreamer1.0-dev libglib2.0-dev-bin \
gstreamer1.0-plugins-base gstreamer1.0-plugins-good bubblewrap xdg-dbus-proxy \
librsvg2-common shared-mime-info \
libgtest-dev googletest xvfb xauth x11-utils dbus dbus-x11 at-spi2-core \
python3 python3-pyatspi gir1.2-atspi-2.0 fonts-dejavu-core openssl webext-ublock-origin-firefox"

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
