#!/bin/sh
# Renders the program's icon to the PNG sizes a desktop looks for (installed into the hicolor
# theme beside the SVG). Needs rsvg-convert (Debian package librsvg2-bin); the PNGs are kept
# in the repository, so building needs neither.
set -e
cd "$(dirname "$0")"
mkdir -p png
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" example.ovra.DAVUzuviv.svg \
        --output "png/example.ovra.DAVUzuviv-$size.png"
done
