#!/bin/sh
# Renders each drawing here to the 16 px and 24 px PNGs listed in ../icons.qrc.
# PNGs rather than SVG at run time, so the program needs no Qt SVG plugin.
# Drawn at four times the size and scaled down, for smoother edges than a direct render.
set -e
cd "$(dirname "$0")"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
mkdir -p png
for svg in *.svg; do
    name=${svg%.svg}
    for size in 16 24; do
        density=$((size * 72 * 4 / 24))
        "$convert" -background none -density "$density" "$svg" -resize "${size}x${size}" \
            -strip "PNG32:png/$name-$size.png"
    done
done
