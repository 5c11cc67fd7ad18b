#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test suite (the fuzz targets are built and run
# briefly first); then builds the suites again with the address and undefined-behaviour
# sanitizers and runs them there, failing on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/build.sh
bash scripts/fuzz.sh 10
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
bash scripts/sanitize.sh
