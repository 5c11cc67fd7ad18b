#!/usr/bin/env bash
# Installs what the window needs (only when something is missing), builds the programs and the
# help, and starts the window with its built-in simulated controller; arguments go to the window
# (--lang en).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The window, the help files its Help > Contents opens, and the terminal program and simulator
# the README's command-line section uses.
cmake --build build --parallel "$(nproc)" --target qvpc qv_help qvpc-cli qvsim_tool
# --demo: the built-in simulated controller answers in place of a real one.
exec ./build/qvpc --demo "$@"
