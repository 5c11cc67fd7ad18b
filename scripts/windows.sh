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
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

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
            fonts-ipafont-mincho cups printer-driver-cups-pdf poppler-utils ser2net openssl)
    fi
    # Wine takes the user's language from the system's locale: the console's check runs in
    # Japanese.
    if [ "$what" != qt ] && ! locale -a | grep -qi '^ja_JP.utf-\?8$'; then
        as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
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

# The program -----------------------------------------------------------------------------------
build_program() {
    local tests=ON
    [ "$what" = build ] && tests=OFF
    # Qt's toolchain file loads ours from this checkout (the one Qt was built from may be gone).
    cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVPC_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-run.sh;$qt_prefix" \
        -DQVPC_BUILD_TESTS=$tests -DCMAKE_INSTALL_PREFIX="$out/stage" \
        "${launcher[@]}"
    cmake --build "$out" --parallel "$jobs"
}

# The folder the installer is made from: the programs, the help files, the Qt and MinGW DLLs they
# load (followed through their imports: a cross build has no windeployqt), the plugins, Qt's
# Japanese translation and a qt.conf that makes the folder Qt's prefix.
deploy() {
    local stage=$out/stage
    rm -rf "$stage"
    cmake --install "$out" --prefix "$stage" >/dev/null
    local plugin
    for plugin in platforms/qwindows platforms/qoffscreen platforms/qminimal \
        styles/qwindowsvistastyle imageformats/qico imageformats/qgif tls/qschannelbackend; do
        mkdir -p "$stage/plugins/$(dirname "$plugin")"
        cp "$qt_prefix/plugins/$plugin.dll" "$stage/plugins/$plugin.dll"
    done
    mkdir -p "$stage/translations"
    cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
    printf '[Paths]\nPrefix=.\nPlugins=plugins\nTranslations=translations\n' >"$stage/qt.conf"
    local gcc_dir
    gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    local search=("$qt_prefix/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib)
    local pending=() file dll dir
    mapfile -t pending < <(find "$stage" -name '*.exe' -o -name '*.dll')
    while [ ${#pending[@]} -gt 0 ]; do
        file=${pending[0]}
        pending=("${pending[@]:1}")
        for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
            [ -e "$stage/$dll" ] && continue
            for dir in "${search[@]}"; do
                if [ -e "$dir/$dll" ]; then
                    cp "$dir/$dll" "$stage/$dll"
                    pending+=("$stage/$dll")
                    break
                fi
            done
        done
    done
    find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    echo "windows: deployed $(du -sh "$stage" | cut -f1) to $stage"
}

version() {
    sed -n 's/^project(QvPcSoftware VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"
}

# installer_of STAGE VERSION OUTFILE: the installer of a deployed folder.
installer_of() {
    # What the uninstaller removes: each file installed, then each folder, the deepest first.
    local list=$3.files.nsh
    (
        cd "$1"
        find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
        find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
    ) >"$list"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$2" -DSOURCE="$1" -DOUTFILE="$3" \
        -DFILELIST="$list" -DSIZEKB="$(du -sk "$1" | cut -f1)" \
        "$root/resources/windows/qvpc-software.nsi"
}

make_installer() {
    installer=$out/qvpc-software-$(version)-setup.exe
    installer_of "$out/stage" "$(version)" "$installer"
    echo "windows: $installer ($(du -h "$installer" | cut -f1))"
}

# Tests under Wine ------------------------------------------------------------------------------
# A Wine prefix of the build's own, and one folder with the fonts the offscreen platform uses.
prepare_wine() {
    export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    mkdir -p "$out/fonts"
    ln -sf /usr/share/fonts/truetype/dejavu/*.ttf /usr/share/fonts/opentype/ipafont-gothic/*.ttf \
        /usr/share/fonts/opentype/ipafont-mincho/*.ttf "$out/fonts/"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1
        wineserver -w
    fi
}

run_suites() {
    # One suite at a time: they share the prefix's registry.
    ctest --test-dir "$out" --output-on-failure --timeout 600
}

# The installer: over an earlier version, refused while the program runs, uninstalled
# (scripts/windows/install-check.sh).
check_installer() {
    local old=$out/old-version
    rm -rf "$old"
    mkdir -p "$old/stage/plugins/gone"
    echo "a file only the earlier version installed" >"$old/stage/earlier-only.txt"
    cp "$out/stage/qvpc-cli.exe" "$old/stage/"
    echo "its plugin" >"$old/stage/plugins/gone/earlier.dll"
    installer_of "$old/stage" 0.9.0 "$old/setup.exe"
    bash "$here/install-check.sh" "$installer" "$old/setup.exe" "$(version)"
}

phase packages
install_packages
phase_done
phase qt
build_qt
phase_done
[ "$what" = qt ] && exit 0
phase program
build_program
phase_done
phase deploy
deploy
phase_done
phase installer
make_installer
phase_done
[ "$what" = build ] && exit 0
phase wine
prepare_wine
phase_done
phase suites
run_suites
phase_done
phase com1
bash "$here/com1-exchange.sh" "$out" "$qt_prefix"
phase_done
phase "com1 faults"
bash "$here/com1-faults.sh" "$out" "$qt_prefix"
phase_done
phase tls
bash "$here/tls-check.sh" "$out" "$qt_prefix"
phase_done
phase print
bash "$here/print-check.sh" "$out" "$qt_prefix" "$out/print"
phase_done
phase install
check_installer
phase_done
