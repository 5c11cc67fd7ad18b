#!/usr/bin/env bash
# Builds the libFuzzer targets in the sanitizer tree build-sanitize/ (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer; see scripts/sanitize.sh) and runs each for the given number of
# seconds (default 300), as many side by side as there are cores (each target uses one). New
# corpus entries are kept in build-sanitize/corpus/, each run's full output in
# build-sanitize/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
bash scripts/sanitize.sh --build-only
targets=(fuzz_readqvfile fuzz_extract2temp fuzz_exchange fuzz_ioports fuzz_cliargs fuzz_settings
    fuzz_stablenames fuzz_telnetcodec fuzz_netaddress fuzz_journalheader)

# One target's run; its exit status goes to build-sanitize/<target>.status.
run() {
    local corpus="build-sanitize/corpus/$1" status=0
    mkdir -p "$corpus"
    "build-sanitize/$1" -max_total_time="$seconds" -max_len=4096 "$corpus" "fuzz/seeds/$1" \
        >"build-sanitize/$1.log" 2>&1 || status=$?
    echo "$status" >"build-sanitize/$1.status"
}
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    run "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
    log="build-sanitize/$target.log"
    if [ "$(cat "build-sanitize/$target.status")" != 0 ]; then
        tail -n 60 "$log"
        echo "$target: finding, see $log" >&2
        failed=1
    else
        echo "$target ($seconds s): $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)"
    fi
done
exit "$failed"
