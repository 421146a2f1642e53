# Shared by scripts/run and scripts/test: the repository root, the Debian packages Varnok
# needs, and their installation when they are missing.

VARNOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Compiler, build tools, Qt 6 Widgets, a CJK font so the Chinese texts render, and the two
# header-only libraries of varnok-cli (CLI11, nlohmann-json).
VARNOK_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev fonts-wqy-microhei
    libcli11-dev nlohmann-json3-dev)
# Test frameworks, what the window tests and screenshots use, and clang with its libFuzzer
# runtime for the fuzz targets.
VARNOK_TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang-format git
                      desktop-file-utils appstream clang libclang-rt-14-dev)
# What scripts/package needs beyond the build: dpkg-shlibdeps finds the package's dependencies.
VARNOK_PACKAGE_PACKAGES=(dpkg-dev)

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
