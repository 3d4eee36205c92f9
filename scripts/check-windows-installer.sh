#!/usr/bin/env bash
# Tries build-mingw/addrix-<version>-win64.exe in a fresh Wine prefix: a
# silent install into C:\Addrix, the command line answering from there, the
# wizard showing its window, the Start-menu entry and the Add/Remove Programs
# entry, then a silent uninstall that takes the program away and leaves the
# user's settings.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-mingw
installer=$(ls "$build"/addrix-*-win64.exe)
version=$(sed -n 's/^project(Addrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export WINEPREFIX="$PWD/$build/installprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
rm -rf "$WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" --wait || true
trap '"$wineserver" --kill || true' EXIT
fail() { echo "installer: $*" >&2; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Addrix'
drive=$WINEPREFIX/drive_c

"$wine" "$installer" /S '/D=C:\Addrix' || fail "the silent install failed"
"$wineserver" --wait || true
for file in addrix.exe addrix-cli.exe Uninstall.exe Qt6Widgets.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll IvroExporter.rtf; do
    [[ -f $drive/Addrix/$file ]] || fail "$file is not installed"
done
[[ $("$wine" 'C:\Addrix\addrix-cli.exe' --version | tr -d '\r') == "Addrix $version" ]] ||
    fail "addrix-cli.exe --version does not answer"
# The wizard opens from there: its window comes up on a virtual display.
# Wine's desktop keeps the display it started with: none so far.
"$wineserver" --kill || true
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" "C:\\Addrix\\addrix.exe" >/dev/null 2>&1 &
    for _ in $(seq 300); do
        xwininfo -root -tree | grep -q "\"Halvern - Norvik Addrix\"" && exit 0
        sleep 0.2
    done
    xwininfo -root -tree | grep "\"" >&2
    exit 1' "$wine" || fail "addrix.exe does not show the wizard"
"$wineserver" --kill || true
"$wine" reg query "$key" /v UninstallString 2>/dev/null | grep -q 'C:\\Addrix\\Uninstall.exe' ||
    fail "no uninstaller in Add/Remove Programs"
[[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Addrix/Addrix.lnk" ]] ||
    fail "no Start-menu entry for every user"

settings=$drive/users/$(id -un)/AppData/Roaming/addrix
mkdir -p "$settings"
printf '[Settings]\r\nExportFile=mine.csv\r\n' >"$settings/addrix.INI"
"$wine" 'C:\Addrix\Uninstall.exe' /S || fail "the silent uninstall failed"
# The uninstaller copies itself away and returns at once.
"$wineserver" --wait || true
[[ ! -e $drive/Addrix/addrix.exe && ! -e $drive/Addrix/Uninstall.exe ]] ||
    fail "the uninstall left the program"
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the uninstall left its registry entry"
[[ -f $settings/addrix.INI ]] || fail "the uninstall took the user's settings"
echo "installer: installed, answered and uninstalled silently"
