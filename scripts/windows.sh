#!/usr/bin/env bash
# Builds the program for 64-bit Windows on Debian and tests it under Wine:
#   bash scripts/windows.sh          everything: packages, Qt, program, installer, tests
#   bash scripts/windows.sh qt       only the packages and Qt for Windows (into the cache)
#   bash scripts/windows.sh build    packages, Qt, program and installer, no tests
#   bash scripts/windows.sh test     everything (as without an argument)
# Qt 6 for Windows is built once from Debian's own qt6-base source with MinGW-w64 (about 40 minutes
# on two cores) into a cache folder keyed on the Qt version, the configure options and the patches
# (QVPC_WINDOWS_CACHE, by default ~/.cache/qvpc-software/windows); later runs reuse it.
# The program goes to build-windows/, the installer to build-windows/qvpc-software-VERSION-setup.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
here=$root/scripts/windows
what=${1:-test}
case $what in qt | build | test) ;; *)
    echo "usage: windows.sh [qt|build|test]" >&2
    exit 2
    ;;
esac
export DEBIAN_FRONTEND=noninteractive
cache=${QVPC_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qvpc-software/windows}
out=$root/build-windows
jobs=$(nproc)

phase_start=0
phase() {
    phase_start=$(date +%s)
    echo "windows: == $1"
    current_phase=$1
}
phase_done() {
    echo "windows: == $current_phase: $(($(date +%s) - phase_start)) s"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo env DEBIAN_FRONTEND=noninteractive "$@"; fi
}

# Debian packages, installed only when missing.
install_packages() {
    local packages=(cmake ninja-build perl xz-utils dpkg-dev
        qt6-base-dev qt6-base-dev-tools
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
    if [ "$what" != qt ]; then
        packages+=(nsis wine wine64 xvfb xauth x11-utils fonts-dejavu-core fonts-ipafont-gothic
            fonts-ipafont-mincho)
    fi
    local missing=() p
    for p in "${packages[@]}"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "windows: installing ${missing[*]}"
    as_root apt-get update -q
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Qt for Windows -------------------------------------------------------------------------------
qt_options=(-release -shared -xplatform win32-g++ -nomake tests -nomake examples
    -no-opengl -no-dbus -no-direct2d -no-feature-vulkan -no-feature-sql -no-feature-tabletevent
    -no-icu -no-glib -no-pkg-config -no-zstd -no-openssl -schannel
    -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz -qt-doubleconversion)
# The host's Qt (moc, rcc, uic) must be the same version as the one built.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
qt_key() {
    {
        echo "$qt_version"
        echo "${qt_options[*]}"
        cat "$here"/qt-*.patch "$here/mingw-w64.cmake"
        x86_64-w64-mingw32-g++-posix -dumpfullversion
    } | sha256sum | cut -c1-16
}

build_qt() {
    qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    local key upstream
    key=$(qt_key)
    upstream=${qt_version%%+*}
    qt_prefix=$cache/qt-$upstream-$key
    if [ -f "$qt_prefix/.complete" ]; then
        echo "windows: Qt $qt_version for Windows from the cache: $qt_prefix"
        return 0
    fi
    mkdir -p "$cache"
    local work=$cache/work-$key
    rm -rf "$work"
    mkdir -p "$work/lists/partial"
    # Qt's source from Debian, through a sources list of our own: the system's stays as it is.
    echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$work/lists" -o Debug::NoLocking=1)
    apt-get "${apt_opts[@]}" -q update
    # dpkg-source unpacks the tarball and applies Debian's own patches.
    (cd "$work" && apt-get "${apt_opts[@]}" -q source "qt6-base=$qt_version")
    local src
    src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
    local patch
    for patch in "$here"/qt-*.patch; do
        echo "windows: applying $(basename "$patch")"
        patch -d "$src" -p1 --forward <"$patch"
    done
    mkdir -p "$work/build"
    (cd "$work/build" && "$src/configure" -prefix "$qt_prefix" "${qt_options[@]}" \
        -qt-host-path /usr -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf "$work"
    echo "windows: Qt for Windows in $qt_prefix ($(du -sh "$qt_prefix" | cut -f1))"
}

phase packages
install_packages
phase_done
phase qt
build_qt
phase_done
[ "$what" = qt ] && exit 0
