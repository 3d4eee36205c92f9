#!/usr/bin/env bash
# Saves a picture of every wizard page to docs/screenshots/, taken on a
# virtual X display (Xvfb). Extra CMake arguments may follow.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ADDRIX_BUILD_DIR:-build}"

if ! command -v xvfb-run >/dev/null; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends xvfb xauth
fi

cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" --target wizard_screenshots

out="$PWD/docs/screenshots"
mkdir -p "$out"
ADDRIX_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$build_dir/bin/wizard_screenshots"
ls "$out"
