#!/bin/sh
# Renders each drawing here to the 16 px and 24 px PNGs listed in ../icons.qrc, and to their
# double-size twins (32 px, 48 px) that screens scaled by two use.
# PNGs rather than SVG at run time, so the program needs no Qt SVG plugin. ImageMagick draws
# SVG through rsvg-convert (Debian packages imagemagick and librsvg2-bin).
# Drawn at four times the size and scaled down, for smoother edges than a direct render.
set -e
cd "$(dirname "$0")"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
mkdir -p png
for svg in *.svg; do
    name=${svg%.svg}
    for size in 16 24 32 48; do
        density=$((size * 72 * 4 / 24))
        "$convert" -background none -density "$density" "$svg" -resize "${size}x${size}" \
            -strip "PNG32:png/$name-$size.png"
    done
done
