#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for the given number of seconds (default 300). New corpus entries
# are kept in build-fuzz/corpus/, each run's full output in build-fuzz/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQVPC_FUZZ=ON -DQVPC_BUILD_TESTS=OFF >/dev/null
# Quiet when the build works; its whole output when it does not.
if ! build_log=$(cmake --build build-fuzz --target fuzz_readqvfile fuzz_extract2temp 2>&1); then
    printf '%s\n' "$build_log" >&2
    echo "fuzz targets: build failed" >&2
    exit 1
fi
for target in fuzz_readqvfile fuzz_extract2temp; do
    corpus="build-fuzz/corpus/$target"
    log="build-fuzz/$target.log"
    mkdir -p "$corpus"
    if ! "build-fuzz/$target" -max_total_time="$seconds" -max_len=4096 "$corpus" \
        "fuzz/seeds/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: finding, see $log" >&2
        exit 1
    fi
    echo "$target ($seconds s): $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)"
done
