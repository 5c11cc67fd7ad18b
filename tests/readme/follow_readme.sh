#!/usr/bin/env bash
# Follows the README's command-line section to the letter: every command of its example blocks,
# as it stands, against three simulated controllers in place of /dev/pts/3, /dev/pts/4 and
# /dev/pts/5, in an empty folder. Each must exit 0; the ones that run until Ctrl+C are stopped
# with SIGINT after a second (which is how they end with 0).
# Arguments: the source folder, the build folder.
set -uo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
"$build/qvsim" >"$work/sim1" 2>&1 &
sim1=$!
"$build/qvsim" >"$work/sim2" 2>&1 &
sim2=$!
"$build/qvsim" >"$work/sim3" 2>&1 &
sim3=$!
trap 'kill $sim1 $sim2 $sim3 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do
    [ -s "$work/sim1" ] && [ -s "$work/sim2" ] && [ -s "$work/sim3" ] && break
    sleep 0.1
done
dev1=$(head -n 1 "$work/sim1")
dev2=$(head -n 1 "$work/sim2")
dev3=$(head -n 1 "$work/sim3")
[ -c "$dev1" ] && [ -c "$dev2" ] && [ -c "$dev3" ] ||
    { echo "the simulators did not start: $dev1 $dev2 $dev3"; exit 1; }

# The indented command lines of the section, from "## Command line" to the next heading.
mapfile -t commands < <(sed -n '/^## Command line/,/^## /p' "$src/README.md" |
    grep -E '^    \./build/qvpc-cli ')
[ ${#commands[@]} -ge 10 ] || { echo "found only ${#commands[@]} commands in the README"; exit 1; }

cd "$work" || exit 1
mkdir -p build
for program in qvpc-cli qvsim; do ln -s "$build/$program" "build/$program"; done
status=0
for line in "${commands[@]}"; do
    command=${line#    }
    # Through placeholders: the simulators' own paths may be /dev/pts/3, 4 or 5.
    command=${command//\/dev\/pts\/3/@first@}
    command=${command//\/dev\/pts\/4/@second@}
    command=${command//\/dev\/pts\/5/@third@}
    command=${command//@first@/$dev1}
    command=${command//@second@/$dev2}
    command=${command//@third@/$dev3}
    if [[ "$command" == *" move repeat"* || "$command" == *" io --watch"* ]]; then
        bash -c "exec $command" >"$work/out" 2>&1 &
        pid=$!
        sleep 1
        kill -INT $pid
        wait $pid
        rc=$?
    else
        bash -c "$command" >"$work/out" 2>&1
        rc=$?
    fi
    if [ $rc -ne 0 ]; then
        echo "exit $rc: $line"
        sed 's/^/    /' "$work/out"
        status=1
    fi
done
exit $status
