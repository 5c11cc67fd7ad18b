#!/usr/bin/env bash
# Runs a Windows program under Wine (CTest's emulator for a Windows build):
#   wine-run.sh QT_PREFIX PROGRAM.exe [ARGS...]
# Qt's and MinGW's DLLs are found through WINEPATH; Wine passes the program only the WINEQT_
# forms of QT_ variables, so the offscreen platform, the font folder and Qt Test's logging go
# that way.
set -euo pipefail
qt=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
out=${QVPC_WINDOWS_OUT:-$(cd "$here/../.." && pwd)/build-windows}
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Qt's DLLs and the MinGW runtime (libstdc++, libgcc_s, winpthread) the programs load.
winpath() { local d=${1//\//\\}; echo "Z:$d"; }
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dir");$(winpath /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
export WINEQT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export WINEQT_QPA_FONTDIR="Z:${out//\//\\}\\fonts"
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
