#!/usr/bin/env bash
# Builds the core and its tests for Windows with MinGW-w64 and runs them
# under Wine, on a virtual display for the window tests. Extra arguments go
# to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
ADDRIX_WITH_WINDOWS=1 bash scripts/deps.sh

build=build-mingw
cmake --preset mingw -DADDRIX_WERROR="${ADDRIX_WERROR:-OFF}" "$@" >/dev/null
cmake --build --preset mingw --parallel "$(nproc)"

# A prefix of its own inside the build tree, made before the first test so
# that its set-up does not count against a test's time.
# No .NET or browser engine to install into it.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" --wait || true

status=0
xvfb-run -a ctest --preset mingw --parallel "$(nproc)" | tee "$build/ctest.log" || status=$?
"$wineserver" --kill || true
exit "$status"
