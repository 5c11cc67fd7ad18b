#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6 \
    libqt6printsupport6 libgl-dev libglx-dev libxkbcommon-dev \
    qt6-l10n-tools qt6-qpa-plugins \
    fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho fontconfig \
    xvfb xauth x11-utils imagemagick poppler-utils xdotool \
    clang libclang-rt-dev clang-format \
    xdg-utils
