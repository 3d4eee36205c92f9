#!/usr/bin/env bash
# Configures and builds Addrix into build/ (or $ADDRIX_BUILD_DIR).
# Extra CMake arguments may follow.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ADDRIX_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja \
    -DADDRIX_WERROR="${ADDRIX_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
