#!/usr/bin/env bash
# The documentation's pictures of the Windows build under Wine, in a throw-away Wine prefix on a
# virtual screen with a window manager: the installer's pages in English and Japanese, clicked
# through as a user would, and the installed program's icon in Wine's file manager and taskbar.
# Run by hand after scripts/windows.sh build (needs xvfb, openbox, xdotool, imagemagick):
#   pictures.sh BUILD_WINDOWS_FOLDER OUTPUT_FOLDER
set -euo pipefail
out=$(cd "$1" && pwd)
pics=$(mkdir -p "$2" && cd "$2" && pwd)
installer=$(find "$out" -maxdepth 1 -name 'qvpc-software-*-setup.exe' | head -1)
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
wineboot --init >/dev/null 2>&1
wineserver -w

# window TITLE: waits for a visible window whose title starts so and makes it the active one.
window() {
    local id tries=0
    until id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | tail -1) && [ -n "$id" ]; do
        sleep 0.5
        tries=$((tries + 1))
        [ $tries -lt 120 ] || { echo "pictures: no window \"$1\"" >&2; exit 1; }
    done
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
    sleep 1.5
}
shot() {
    import -window root "$pics/$1.png"
    echo "pictures: $pics/$1.png"
}
folder="$WINEPREFIX/drive_c/Program Files/QV PC-Software"

# The installer in Japanese, cancelled on its first page; then in English, installed.
LANG=ja_JP.UTF-8 wine "$installer" >/dev/null 2>&1 &
window "QV PC-Software セットアップ"
shot windows-wine-installer-ja
xdotool key Escape # Cancel: the installer ends
wineserver -w

wine "$installer" >/dev/null 2>&1 &
window "QV PC-Software Setup"
shot windows-wine-installer-en
xdotool key Return # Install
until [ -e "$folder/uninstall.exe" ]; do sleep 0.5; done
sleep 3
shot windows-wine-installer-done-en
xdotool key Return # Close
wineserver -w

# The program's icon where Wine's desktop shows it: the Add/Remove Programs entry (from the
# icon of qvpc.exe the installer names) and the running program's title bar and taskbar button,
# in English. (Wine's file manager and Start menu show no icons of programs.)
wine reg add 'HKCU\Software\VB and VBA Program Settings\QVPC-Software\Settings' /v Language \
    /d 2 /f >/dev/null 2>&1
wine explorer /desktop=shell,1024x768 control.exe appwiz.cpl >/dev/null 2>&1 &
window "Add/Remove Programs"
shot windows-wine-apps-entry-en
xdotool key Escape
wine explorer /desktop=shell,1024x768 "C:\\Program Files\\QV PC-Software\\qvpc.exe" \
    >/dev/null 2>&1 &
sleep 12
shot windows-wine-program-icon-en
