#!/usr/bin/env bash
# Builds the Debian package build/addrix_<version>_<arch>.deb (CPack's DEB
# generator over the install rules), installing what is missing first.
# Extra CMake arguments may follow.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ADDRIX_BUILD_DIR:-build}"
ADDRIX_WITH_PACKAGE=1 bash scripts/deps.sh
bash scripts/build.sh "$@"
(cd "$build_dir" && cpack -G DEB)
ls "$build_dir"/addrix_*.deb
