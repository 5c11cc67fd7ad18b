#!/usr/bin/env bash
# Runs a Windows program under Wine (CTest's emulator for a Windows build):
#   wine-run.sh QT_PREFIX PROGRAM.exe [ARGS...]
# Qt's DLLs are found through WINEPATH; Wine passes the program only the WINEQT_ forms of QT_
# variables, so the offscreen platform, the font folder and Qt Test's logging go that way.
set -euo pipefail
qt=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
out=${QVPC_WINDOWS_OUT:-$(cd "$here/../.." && pwd)/build-windows}
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPATH="Z:${qt//\//\\}\\bin"
export WINEQT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export WINEQT_QPA_FONTDIR="Z:${out//\//\\}\\fonts"
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
