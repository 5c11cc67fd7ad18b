#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for the given number of seconds (default 300). New corpus entries
# are kept in build-fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DQVPC_FUZZ=ON -DQVPC_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzz_readqvfile fuzz_extract2temp
for target in fuzz_readqvfile fuzz_extract2temp; do
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target for ${seconds}s"
    "build-fuzz/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        "$corpus" "fuzz/seeds/$target"
done
