#!/usr/bin/env bash
# Fails when a C++ file differs from the style in .clang-format; with --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "style: clang-format is not installed (bash scripts/setup.sh installs it)" >&2
    exit 1
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "style: the files above differ from .clang-format (bash scripts/check-format.sh --fix)" >&2
    exit 1
fi
echo "style: ${#files[@]} files follow .clang-format"
