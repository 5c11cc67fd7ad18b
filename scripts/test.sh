#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test suite (the fuzz targets are built and run
# briefly first, so that the test summary comes last).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/build.sh
bash scripts/fuzz.sh 10
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
