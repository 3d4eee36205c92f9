#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/addrix.svg, into the PNG sizes
# of the hicolor theme beside it. Run after editing the SVG; the PNGs are
# committed, so building needs no renderer. addrix.ico packs them for Windows.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! command -v rsvg-convert >/dev/null || ! command -v icotool >/dev/null; then
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin icoutils
fi
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" addrix.svg -o "addrix-$size.png"
done
# The Windows programs' icon: the small sizes as bitmaps, 256 as PNG.
icotool -c -o addrix.ico addrix-16.png addrix-24.png addrix-32.png addrix-48.png addrix-64.png \
    -r addrix-256.png
