#!/usr/bin/env bash
# Installs what the window needs (only when something is missing), builds the programs, and
# starts the window with its built-in simulated controller.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The window, and the terminal program and simulator the README's command-line section uses.
cmake --build build --parallel "$(nproc)" --target qvpc qvpc-cli qvsim_tool
# --demo: the built-in simulated controller answers in place of a real one.
exec ./build/qvpc --demo "$@"
