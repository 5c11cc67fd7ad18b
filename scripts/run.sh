#!/usr/bin/env bash
# Installs what the window needs (only when something is missing), builds the program alone, and
# starts it with its built-in simulated controller.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target qvpc
# --demo: the built-in simulated controller answers in place of a real one.
exec ./build/qvpc --demo "$@"
