#!/usr/bin/env bash
# Installs what is needed, builds, runs the fuzz targets briefly and every test suite, then builds
# and runs the suites again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/build.sh
bash scripts/fuzz.sh 10
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
bash scripts/sanitize.sh
