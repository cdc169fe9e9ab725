#!/usr/bin/env bash
# Renders the program's icon (dist/icons/magna.svg) to the PNG sizes the hicolor
# theme wants, beside it as dist/icons/magna-<size>.png. Run after changing the
# drawing; the PNGs are kept in the tree so that a build needs no renderer.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" magna.svg --output "magna-$size.png"
done
