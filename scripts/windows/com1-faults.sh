#!/usr/bin/env bash
# Faults of the serial line that Wine's COM1 can reach, each on Linux and under Wine against a
# simulator told to misbehave alike: the same exit status and the same text on standard error
# (the device's name aside), each timed. Run after com1-exchange.sh, whose Linux build it uses.
#   com1-faults.sh BUILD_WINDOWS_FOLDER QT_PREFIX
set -euo pipefail
out=$1
qt=$2
here=$(cd "$(dirname "$0")" && pwd)
host=$out/host
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=-all

work=$(mktemp -d)
sim=
cleanup() {
    # Wine holds the pty as its controlling terminal: it goes before the simulator does.
    wineserver -k 2>/dev/null || true
    [ -z "$sim" ] || kill "$sim" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/windows/com1-sim.sh
. "$here/com1-sim.sh"
# start_sim ARGS...: a simulator misbehaving as told, the one before it gone; sets $device.
started=0
start_sim() {
    if [ -n "$sim" ]; then
        wineserver -k 2>/dev/null || true
        kill "$sim" 2>/dev/null || true
        wait "$sim" 2>/dev/null || true
    fi
    started=$((started + 1))
    sim_start "$work/sim$started.lines" "$@"
    sim=$sim_pid
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# side NAME DEVICE CLI...: runs the fault's command; NAME.status, NAME.err (the device named
# DEVICE), NAME.ms.
side() {
    local name=$1 dev=$2
    shift 2
    local start status=0
    start=$(now_ms)
    (cd "$work" && "$@" --lang en $command >/dev/null 2>"$name.raw") || status=$?
    echo $(($(now_ms) - start)) >"$work/$name.ms"
    echo $status >"$work/$name.status"
    tr -d '\r' <"$work/$name.raw" | sed "s|$dev|DEVICE|g" >"$work/$name.err"
}

failed=0
# fault NAME "SIM ARGS" "COMMAND": one fault on both sides.
fault() {
    local name=$1 simargs=$2
    command=$3
    # shellcheck disable=SC2086
    start_sim $simargs
    side linux "$device" "$host/qvpc-cli" --device "$device"
    # shellcheck disable=SC2086
    start_sim $simargs
    com1_to "$device"
    side wine COM1 "$here/wine-run.sh" "$qt" "$out/qvpc-cli.exe" --device COM1
    # wineserver takes the pty as its terminal and dumps its objects to standard error when the
    # line hangs up: the program's own lines are compared, in their order.
    grep -aFx -f "$work/linux.err" "$work/wine.err" >"$work/wine.own" || true
    local same=same
    if [ "$(cat "$work/linux.status")" != "$(cat "$work/wine.status")" ] ||
        ! diff -u "$work/linux.err" "$work/wine.own" >&2; then
        same=DIFFERENT
        failed=1
    fi
    echo "com1: $name: exit $(cat "$work/wine.status") in $(cat "$work/wine.ms") ms" \
        "(Linux: exit $(cat "$work/linux.status") in $(cat "$work/linux.ms") ms), $same:" \
        "$(head -1 "$work/wine.own")"
}

fault "silent (1 s)" "--silent" "version"
fault "silent after the check (5 s)" "--silent --only 0RD" "read -o backup.qvd"
fault "error reply" "--error 03" "version"
fault "gone in the middle of a read" "--drop-after 3" "read -o backup.qvd"
# The console: with no language stored, a Japanese user gets Japanese, written to the console
# (a pty here, as in a terminal window) as characters, not as bytes of another code page.
missing() {
    (cd "$work" && LANG=ja_JP.UTF-8 LC_ALL= LC_MESSAGES= XDG_CONFIG_HOME=$work/config \
        script -qec "$*" /dev/null) | tr -d '\r' | sed -E $'s/\x1b\\[[0-9;?]*[a-zA-Z]//g' |
        grep -av '^QStandardPaths:' | grep -v '^$' || true
}
missing "$host/qvpc-cli print missing.qvd --pdf out.pdf" >"$work/linux.console"
missing "$here/wine-run.sh $qt $out/qvpc-cli.exe print missing.qvd --pdf out.pdf" \
    >"$work/wine.console"
if grep -qP '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]' "$work/wine.console" &&
    diff -u "$work/linux.console" "$work/wine.console" >&2; then
    echo "com1: console in Japanese, as on Linux: $(head -1 "$work/wine.console")"
else
    echo "com1: the console's Japanese differs (Linux above, Wine below)" >&2
    failed=1
fi
exit $failed
