#!/usr/bin/env bash
# Builds the libFuzzer targets in the sanitizer tree build-sanitize/ (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer; see scripts/sanitize.sh) and runs each for the given number of
# seconds (default 300). New corpus entries are kept in build-sanitize/corpus/, each run's full
# output in build-sanitize/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
bash scripts/sanitize.sh --build-only
targets=(fuzz_readqvfile fuzz_extract2temp fuzz_exchange fuzz_ioports fuzz_cliargs fuzz_settings
    fuzz_stablenames)
for target in "${targets[@]}"; do
    corpus="build-sanitize/corpus/$target"
    log="build-sanitize/$target.log"
    mkdir -p "$corpus"
    if ! "build-sanitize/$target" -max_total_time="$seconds" -max_len=4096 "$corpus" \
        "fuzz/seeds/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: finding, see $log" >&2
        exit 1
    fi
    echo "$target ($seconds s): $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)"
done
