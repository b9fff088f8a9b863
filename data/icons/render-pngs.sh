#!/usr/bin/env bash
# Renders the committed PNG sizes from quenvale.svg. Run after changing the drawing
# (needs rsvg-convert from the Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" quenvale.svg --output "quenvale-$size.png"
done
