#!/usr/bin/env bash
# Renders icon.svg into the PNG sizes the desktop menus use (icons/N.png). Run after changing
# the drawing and commit the PNGs with it; the build itself needs no SVG renderer.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" icon.svg -o "icons/$size.png"
done
