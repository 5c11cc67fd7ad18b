#!/usr/bin/env bash
# Installs what is needed, checks the format, builds with warnings as errors and runs every test
# suite, then builds and runs the suites again under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the fuzz targets briefly in that tree. Each phase's time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
times=()
# phase NAME COMMAND...: runs the command and notes how long it took.
phase() {
    local name="$1" start=$SECONDS
    shift
    "$@"
    times+=("$(printf '%-18s %5d s' "$name" $((SECONDS - start)))")
}
report() {
    echo "phase times:"
    printf '  %s\n' "${times[@]}"
}
trap report EXIT
phase setup bash scripts/setup.sh
phase format bash scripts/check-format.sh
phase build bash scripts/build.sh -DQVPC_WERROR=ON
phase suites env QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure \
    --timeout 600 --parallel "$(nproc)"
phase sanitizer-build env QVPC_WERROR=ON bash scripts/sanitize.sh --build-only
phase sanitizer-suites env QVPC_WERROR=ON bash scripts/sanitize.sh
phase fuzz bash scripts/fuzz.sh 10
