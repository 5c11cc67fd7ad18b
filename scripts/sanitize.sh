#!/usr/bin/env bash
# Builds the programs, every test suite and the libFuzzer targets with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang) in build-sanitize/ and runs the suites there. Any finding - a
# memory error, a leak, undefined behaviour - ends its suite with a report and fails the run.
# "--build-only" builds and runs nothing (scripts/fuzz.sh uses the same tree); other arguments go
# to CTest (for example -R tst_transfer).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
    echo "sanitizer build: clang++ is not installed (bash scripts/setup.sh installs it)" >&2
    exit 1
fi
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# -O1 keeps the build and the suites quick; -g1 is enough for file and line in the reports. The
# tree is never shipped: every program in it links with lld, the quicker linker.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-O1 -g1 $sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined -fuse-ld=lld" -DQVPC_FUZZ=ON \
    -DQVPC_BENCH=OFF \
    ${QVPC_WERROR:+-DQVPC_WERROR="$QVPC_WERROR"} >/dev/null
# Quiet when the build works; its whole output when it does not.
if ! build_log=$(cmake --build build-sanitize --parallel "$(nproc)" 2>&1); then
    printf '%s\n' "$build_log" >&2
    echo "sanitizer build failed" >&2
    exit 1
fi
[ "${1:-}" = "--build-only" ] && exit 0
suppressions="$PWD/scripts/sanitize-leaks.supp"
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure --timeout 900 \
    --parallel "$(nproc)" "$@"
