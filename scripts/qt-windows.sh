#!/usr/bin/env bash
# Makes Qt 6.4.2 for MinGW-w64 (Core, Gui, Widgets, Test and the Windows
# plugins) ready in a cache folder outside the source tree, and prints the
# folder to give CMake (the mingw preset looks there by itself).
#
# The archive built once from Debian's own qt6-base source is unpacked when it
# lies in ../shared/qt6-mingw/ (or $ADDRIX_QT_ARCHIVE_DIR) and its checksum
# matches. Otherwise the same thing is built here from Debian's source
# package: about 50 minutes on 2 cores, 3 GB of disk while it builds.
set -euo pipefail
cd "$(dirname "$0")/.."

version=6.4.2
archive=qt6-base-${version}-x86_64-w64-mingw32.tar.xz
sha256=a7ca8070b4dac745ddabed7c22a79691e5556a1e259062b72462c21c54ade73a
archive_dir=${ADDRIX_QT_ARCHIVE_DIR:-../shared/qt6-mingw}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/addrix
target=$cache/qt6-mingw-$version
qt=$target/qt6-mingw

# Ready from an earlier run.
if [[ -f $target/ready && -f $qt/lib/cmake/Qt6/Qt6Config.cmake ]]; then
    echo "$qt"
    exit 0
fi
mkdir -p "$cache"
rm -rf "$target" "$target.part"
mkdir -p "$target.part"

unpack_archive() {
    [[ -f $archive_dir/$archive ]] || return 1
    if ! echo "$sha256  $archive_dir/$archive" | sha256sum --check --status; then
        echo "qt-windows: $archive_dir/$archive does not match its checksum; building instead" >&2
        return 1
    fi
    echo "qt-windows: unpacking $archive" >&2
    tar -xJf "$archive_dir/$archive" -C "$target.part"
}

# Debian's qt6-base source of the same version as the host tools (moc, rcc,
# uic), fetched through deb-src entries made from the machine's own Debian
# entries, in a private apt state so that the system's lists stay as they are.
fetch_source() {
    local work=$1 apt=$1/apt
    local source_version
    source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
    mkdir -p "$apt/lists/partial" "$apt/parts"
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $f ]] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done >"$apt/sources.list"
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f $f ]] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt/parts/$(basename "$f")"
    done
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
        -o "Dir::State::Lists=$apt/lists")
    apt-get "${options[@]}" update -qq
    (cd "$work" && apt-get "${options[@]}" source --download-only "qt6-base=$source_version")
    dpkg-source --no-check -x "$work"/qt6-base_*.dsc "$work/src" >/dev/null
}

build_from_source() {
    echo "qt-windows: building Qt $version for MinGW-w64 from Debian's source (about 50 minutes)" >&2
    local work=$target.part/work
    mkdir -p "$work"
    fetch_source "$work"
    patch -d "$work/src" -p1 <cmake/qt-mingw/qtbase-$version-mingw.patch >/dev/null
    cmake -S "$work/src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/qt-mingw/toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$target.part/qt6-mingw" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_opengl=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_system_zlib=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_testlib=ON -DFEATURE_zstd=OFF -DFEATURE_icu=OFF \
        -DFEATURE_glib=OFF >/dev/null
    nice -n 15 cmake --build "$work/build" --parallel "$(nproc)"
    cmake --install "$work/build" >/dev/null
    rm -rf "$work"
}

unpack_archive || build_from_source
touch "$target.part/ready"
mv "$target.part" "$target"
echo "$qt"
