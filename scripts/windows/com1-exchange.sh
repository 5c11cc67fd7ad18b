#!/usr/bin/env bash
# The serial line of the Windows build, through Wine's COM1 mapped to a pty: the same qvpc-cli
# commands run on Linux against one simulator and as qvpc-cli.exe under Wine against a second;
# what each simulator received, what the commands printed, their exit statuses and the files they
# wrote must be the same. Also: a port that is not there says so.
#   com1-exchange.sh BUILD_WINDOWS_FOLDER QT_PREFIX
set -euo pipefail
out=$1
qt=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
host=$out/host
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=-all

# The Linux side: the simulator and the command-line program, built for this machine.
cmake -S "$root" -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVPC_BUILD_TESTS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$host" --target qvsim_tool qvpc-cli >/dev/null

work=$(mktemp -d)
sims=()
cleanup() {
    # Wine holds the pty as its controlling terminal: it goes before the simulator does.
    wineserver -k 2>/dev/null || true
    local pid
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/windows/com1-sim.sh
. "$here/com1-sim.sh"
# start_sim NAME: a simulator whose received lines go to $work/NAME.lines; sets $device.
start_sim() {
    sim_start "$work/$1.lines"
    sims+=("$sim_pid")
}

commands=(
    "version"
    "read -o backup.qvd"
    "--yes write backup.qvd --restart"
    "verify backup.qvd"
    "move 2"
    "io"
    "io --set escape=on take-out=off"
    "get Vel1 PauseTime2"
)

# run SIDE CLI...: each command in the side's folder; its standard output and exit status go to
# the side's transcript.
run() {
    local side=$1
    shift
    mkdir -p "$work/$side"
    local command status
    for command in "${commands[@]}"; do
        # shellcheck disable=SC2086
        (cd "$work/$side" && "$@" --lang en $command >"out.txt" 2>"err.txt") && status=0 ||
            status=$?
        {
            echo "\$ qvpc-cli $command  (exit $status)"
            tr -d '\r' <"$work/$side/out.txt"
        } >>"$work/$side.transcript"
    done
}

start_sim linux
XDG_CONFIG_HOME=$work/linux-config XDG_DATA_HOME=$work/linux-data \
    run linux "$host/qvpc-cli" --device "$device"

start_sim wine
com1_to "$device"
run wine "$here/wine-run.sh" "$qt" "$out/qvpc-cli.exe" --device COM1

# A port that is not there: exit status 1 and the reason on standard error.
status=0
(cd "$work/wine" && "$here/wine-run.sh" "$qt" "$out/qvpc-cli.exe" --lang en --device COM31 \
    version >/dev/null 2>missing.txt) || status=$?
# The system's port list: COM1 under its own number and device name, free to open.
(cd "$work/wine" && "$here/wine-run.sh" "$qt" "$out/qvpc-cli.exe" --lang en ports \
    >ports.txt 2>&1) || true
wineserver -k 2>/dev/null || true

failed=0
compare() {
    if ! diff -u "$1" "$2"; then
        echo "com1: $3 differ (Linux above, Wine below)" >&2
        failed=1
    fi
}
compare <(tail -n +2 "$work/linux.lines") <(tail -n +2 "$work/wine.lines") "the lines on the wire"
# The simulator's rail and tip sensors and alignment pause follow its clock (parts arrive in a
# cycle): their states depend on when each side asked, not on the line.
timeless() { sed -E 's/^(rail-sensor|tip-sensor|pause)\t(on|off)$/\1\t(follows the clock)/' "$1"; }
compare <(timeless "$work/linux.transcript") <(timeless "$work/wine.transcript") \
    "what the commands printed"
compare <(tr -d '\r' <"$work/linux/backup.qvd") <(tr -d '\r' <"$work/wine/backup.qvd") \
    "the files read"
if [ $status -ne 1 ] || ! grep -q 'device not present' "$work/wine/missing.txt"; then
    echo "com1: COM31 (not there) gave exit $status and: $(cat "$work/wine/missing.txt")" >&2
    failed=1
fi
com1_listed='^COM1\tCOM1\tCOM1\t\\Device\\Serial0\t.*can be opened$'
if ! tr -d '\r' <"$work/wine/ports.txt" | grep -qP "$com1_listed"; then
    echo "com1: qvpc-cli ports did not list COM1 as the system names it, free to open:" >&2
    cat "$work/wine/ports.txt" >&2
    failed=1
fi
echo "com1: $(($(wc -l <"$work/wine.lines") - 1)) lines on the wire through COM1, as on Linux" \
    "$([ $failed -eq 0 ] && echo '(same)' || echo '(DIFFERENT)')"
cat "$work/wine.transcript"
exit $failed
