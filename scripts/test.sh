#!/usr/bin/env bash
# Installs what is needed, checks the format, builds with warnings as errors and runs every test
# suite, then builds and runs the suites again under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the fuzz targets briefly in that tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/build.sh -DQVPC_WERROR=ON
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600 \
    --parallel "$(nproc)"
QVPC_WERROR=ON bash scripts/sanitize.sh
bash scripts/fuzz.sh 10
