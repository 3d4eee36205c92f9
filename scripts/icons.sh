#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/addrix.svg, into the PNG sizes
# of the hicolor theme beside it. Run after editing the SVG; the PNGs are
# committed, so building needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
if ! command -v rsvg-convert >/dev/null; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" addrix.svg -o "addrix-$size.png"
done
