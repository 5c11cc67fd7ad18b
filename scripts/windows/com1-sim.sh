# shellcheck shell=bash disable=SC2034,SC2154
# Sourced by the checks that run the Windows build against Linux simulators (COM1, TLS): the
# simulator a check talks to, and Wine's COM1 pointed at it. The sourcing script sets $host (the
# Linux build) and $work (its own folder).

# sim_start LINES [QVSIM ARGS...]: a simulator (misbehaving as the arguments say) whose received
# lines go to the file LINES, its pty's name first; sets $sim_pid and $device.
sim_start() {
    local lines=$1
    shift
    "$host/qvsim" "$@" >"$lines" &
    sim_pid=$!
    local tries=0
    until [ -s "$lines" ]; do
        sleep 0.1
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "com1: the simulator did not start" >&2; exit 1; }
    done
    device=$(head -1 "$lines")
}

# com1_to DEVICE: Wine's COM1 becomes DEVICE, through a link of a fixed name (Wine rewrites its
# own COM1 link at start; the registry's entry holds).
com1_to() {
    ln -sfn "$1" "$work/com1"
    wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$work/com1" /f >/dev/null 2>&1
    wineserver -w
}
