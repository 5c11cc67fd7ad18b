#!/usr/bin/env bash
# Installs the Debian packages the program needs: "setup.sh run" what building and running the
# window needs, "setup.sh" (or "setup.sh all") also what the tests, fuzzing and packaging need.
# Packages already installed are left alone; when none is missing, nothing is run at all (no
# package list update, no root rights needed).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6
    libqt6printsupport6 libgl-dev libglx-dev libxkbcommon-dev
    qt6-qpa-plugins qt6-translations-l10n
    fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
    xdg-utils
    fp-utils
)
if [ "${1:-all}" != "run" ]; then
    packages+=(
        qt6-l10n-tools dpkg-dev
        xvfb xauth x11-utils imagemagick poppler-utils xdotool
        clang libclang-rt-dev clang-format lld
        desktop-file-utils appstream gtkwave
        ser2net openssl
        lintian man-db groff-base bash-completion libchm-bin
    )
fi
missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != "installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "setup: missing packages: ${missing[*]}" >&2
        echo "setup: run this as root, or install sudo, so that they can be installed." >&2
        exit 1
    fi
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
fi
echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
