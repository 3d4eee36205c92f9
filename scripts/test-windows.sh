#!/usr/bin/env bash
# Builds Addrix for Windows with MinGW-w64 (both programs, every test and the
# installer build-mingw/addrix-<version>-win64.exe) and runs the tests under
# Wine, the window tests on a virtual display. Qt for MinGW-w64 comes from
# scripts/qt-windows.sh. Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
ADDRIX_WITH_WINDOWS=1 bash scripts/deps.sh

build=build-mingw
qt=$(bash scripts/qt-windows.sh)
# galder-sim plays the device for the Windows programs on this machine's
# pseudo-terminals: it is built for the host.
mkdir -p "$build/host"
if [[ ! $build/host/galder-sim -nt tools/galder-sim/main.cpp ||
      ! $build/host/galder-sim -nt tools/galder-sim/GalderRecordCodec.h ]]; then
    nice -n 15 g++ -std=c++17 -O2 -Wall -Wextra -Werror -Itools/galder-sim \
        tools/galder-sim/main.cpp -o "$build/host/galder-sim"
fi
# The installer's licence page shows the agreement the wizard shows.
nice -n 15 g++ -std=c++17 -O2 -Wall -Wextra -Werror -Isrc tools/license-text/main.cpp \
    src/wizard/LicenseAgreement.cpp -o "$build/host/license-text"
"$build/host/license-text" >"$build/host/LICENSE.txt"
cmake --preset mingw -DADDRIX_WERROR="${ADDRIX_WERROR:-OFF}" -DADDRIX_QT_MINGW="$qt" \
    -DADDRIX_HOST_GALDER_SIM="$PWD/$build/host/galder-sim" \
    -DADDRIX_LICENSE_TEXT="$PWD/$build/host/LICENSE.txt" "$@" >/dev/null
nice -n 15 cmake --build --preset mingw --parallel "$(nproc)"
(cd "$build" && nice -n 15 cpack -G NSIS >/dev/null)
ls "$build"/addrix-*-win64.exe

# A prefix of its own inside the build tree, made before the first test so
# that its set-up does not count against a test's time.
# No .NET or browser engine to install into it.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export wine wineserver
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" --wait || true
# One server for the whole run: a server that ends after its last client
# while the next test connects drops that test ("recvmsg: Connection reset").
# Its services start now, holding no test's output open: they live as long
# as the server, and a test whose output they held would never end. They
# start on the virtual display, as Wine's desktop keeps the display it
# started with.
run_tests() {
    "$wineserver" --persistent
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
    nice -n 15 ctest --preset mingw --parallel "$(nproc)"
}
status=0
xvfb-run -a -s "-screen 0 1920x1080x24" \
    bash -c "$(declare -f run_tests); set -o pipefail; run_tests" | tee "$build/ctest.log" ||
    status=$?
"$wineserver" --kill || true
bash scripts/check-windows-installer.sh || status=1
exit "$status"
