#!/usr/bin/env bash
# Saves a picture of every wizard page to docs/screenshots/, taken on a
# virtual X display (Xvfb). Extra CMake arguments may follow.
# With --windows, the pictures of the Windows build under Wine go to
# docs/screenshots/windows/ (build it first with scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --windows ]]; then
    out="$PWD/docs/screenshots/windows"
    mkdir -p "$out"
    export WINEPREFIX="$PWD/build-mingw/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    ADDRIX_SCREENSHOT_DIR="Z:${out//\//\\}" xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
        "$(command -v wine64 || echo /usr/lib/wine/wine64)" build-mingw/bin/wizard_screenshots.exe
    ls "$out"
    exit
fi
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
