#!/usr/bin/env bash
# The source checks: includes against the layers, clang-format, clang-tidy
# (bugprone and performance). clang-tidy reads the compile commands of a
# configured build in $ADDRIX_BUILD_DIR (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ADDRIX_BUILD_DIR:-build}"

bash scripts/check-layers.sh

mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' \
    'tests/*.cpp' 'tests/*.h' 'bench/*.cpp')
clang-format --dry-run -Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files as formatted"

run-clang-tidy -p "$build_dir" -quiet -j "$(nproc)" "$PWD/(src|tools)/.*\\.cpp\$" \
    >"$build_dir/clang-tidy.log" 2>&1 || {
    grep -E 'error:|warning:' "$build_dir/clang-tidy.log" | sort -u | head -n 60
    exit 1
}
echo "clang-tidy: no findings"
