# Shared by the scripts: the repository root, the Debian packages Varnok needs, their
# installation when they are missing, and the builds.

VARNOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Compiler, build tools, Qt 6 Widgets, a CJK font so the Chinese texts render, the two
# header-only libraries of varnok-cli (CLI11, nlohmann-json), and libxkbcommon with its
# registry and the layout data, from which string keys are encoded for the owner's layout.
VARNOK_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev fonts-wqy-microhei
    libcli11-dev nlohmann-json3-dev libxkbcommon-dev libxkbregistry-dev xkb-data)
# Test frameworks, what the window tests and screenshots use, what reads the window as a
# screen reader does (AT-SPI on a session bus), Qt's own Chinese texts that a Chinese window
# loads, clang with its libFuzzer runtime for the fuzz targets, and the layout data the
# string key tests compile real layouts from.
VARNOK_TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang-format git xkb-data
                      desktop-file-utils appstream python3-pyatspi at-spi2-core dbus-daemon
                      qt6-translations-l10n clang libclang-rt-14-dev)
# What scripts/package needs beyond the build: dpkg-shlibdeps finds the package's dependencies,
# lintian checks the package (scripts/test), and the main window's screenshot is taken on a
# virtual X display.
VARNOK_PACKAGE_PACKAGES=(dpkg-dev lintian xvfb xdotool)
# The Windows build: the MinGW-w64 cross compiler, the header-only libraries (the profiles'
# JSON, varnok-cli's command line), Wine to run what it builds, wixl to build the installer,
# GoogleTest's sources to build the test framework for Windows, and a virtual display, xdotool
# and the CJK font for the window's test under Wine.
VARNOK_WINDOWS_PACKAGES=(build-essential cmake ninja-build g++-mingw-w64-x86-64
    g++-mingw-w64-x86-64-posix libcli11-dev nlohmann-json3-dev wine wine64 wixl googletest xvfb
    xdotool fonts-wqy-microhei)
# The tests in a virtual machine (scripts/guest): qemu, Debian's kernel, a static busybox for
# the machine's first process, cpio and file to build its initramfs, udev to apply the rule.
VARNOK_GUEST_PACKAGES=(qemu-system-x86 linux-image-amd64 busybox-static cpio file udev)

varnok_ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q \
        && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# varnok_build DIR [cmake options...]: configure (once) and build into DIR under build/.
varnok_build() {
    local dir="$VARNOK_ROOT/build/$1"
    shift
    cmake -S "$VARNOK_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null \
        && cmake --build "$dir" -j "$(nproc)"
}

# varnok_package DIR: the Debian package of the build in DIR under build/ (built already), made
# by CPack from the install rules; prints the package's path.
varnok_package() {
    local dir="$VARNOK_ROOT/build/$1"
    rm -f "$dir"/*.deb
    (cd "$dir" && cpack -G DEB >&2) && ls "$dir"/*.deb
}

# Wine for the Windows builds: a private prefix under build/, quiet, no display needed for
# console programs, and no offer to install Mono or Gecko.
varnok_wine_env() {
    export WINEPREFIX="$VARNOK_ROOT/build/wine-prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1 || true
        # Windows links SimSun into the dialog font for Chinese; the prefix has no SimSun, so
        # WenQuanYi Micro Hei from the Debian package stands in for it.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ \
            /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
        wineserver --wait
    fi
}

# GoogleTest for the Windows test builds, built once from its Debian sources into
# build/windows-deps.
varnok_windows_gtest() {
    local deps="$VARNOK_ROOT/build/windows-deps" work="$VARNOK_ROOT/build/windows-gtest"
    [ -f "$deps/lib/libgtest.a" ] && return 0
    cmake -S /usr/src/googletest -B "$work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$VARNOK_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" >/dev/null \
        && cmake --build "$work" -j "$(nproc)" >/dev/null \
        && cmake --install "$work" >/dev/null
}

# varnok_build_windows DIR [cmake options...]: cross-build for Windows into DIR under build/.
varnok_build_windows() {
    local dir="$VARNOK_ROOT/build/$1"
    shift
    cmake -S "$VARNOK_ROOT" -B "$dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$VARNOK_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DGTest_DIR="$VARNOK_ROOT/build/windows-deps/lib/cmake/GTest" \
        "$@" >/dev/null \
        && cmake --build "$dir" -j "$(nproc)"
}
