#!/usr/bin/env bash
# Installs the Debian packages that building and testing Addrix needs, when
# any of them is missing. Safe to run again.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev
    libgtest-dev libgmock-dev
    libx11-dev
    xvfb xauth fonts-dejavu-core
)
# The source checks of scripts/lint.sh.
if [[ "${ADDRIX_WITH_LINT:-0}" == 1 ]]; then
    packages+=(clang-format clang-tidy)
fi
# The fuzz target is built with clang and its libFuzzer runtime.
if [[ "${ADDRIX_WITH_FUZZ:-0}" == 1 ]]; then
    packages+=(clang libclang-rt-14-dev)
fi

# The Windows build: the compilers, GoogleTest built from source, the host's
# moc, rcc and uic for Qt built for Windows, NSIS for the installer, and Wine
# to run the tests.
if [[ "${ADDRIX_WITH_WINDOWS:-0}" == 1 ]]; then
    packages+=(g++-mingw-w64-x86-64-posix googletest wine64 nsis qt6-base-dev-tools xz-utils x11-utils)
fi

# The Debian package: manual pages, the checks of its desktop entry and
# metainfo and of the package itself, and the dependencies computed from the
# shared libraries.
if [[ "${ADDRIX_WITH_PACKAGE:-0}" == 1 ]]; then
    packages+=(help2man desktop-file-utils appstream dpkg-dev file lintian)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
