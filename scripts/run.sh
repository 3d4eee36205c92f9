#!/usr/bin/env bash
# Installs what is missing, builds, and runs Addrix: the wizard when a display
# is there, otherwise a command-line conversion of the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh

addrix="${ADDRIX_BUILD_DIR:-build}/bin/addrix"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec "$addrix"
fi

mkdir -p out
echo "No display found: converting the sample Ivro backup instead."
"$addrix" export --source ivro --input samples/addressBook.adr --dir "$PWD/out" \
    --file NorvikaddressBook.csv
echo "The Norvik address book is in out/NorvikaddressBook.csv"
