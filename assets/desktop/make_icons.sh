#!/bin/sh
# Draws the hicolor PNG icons from the SVG sources into icons/. Needs
# rsvg-convert (librsvg2-bin). The PNGs are kept in the tree.
set -e
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    mkdir -p "icons/${size}x${size}"
    for icon in org.ringwise.Ringwise org.ringwise.Ringwise.Settings; do
        rsvg-convert -w "$size" -h "$size" "$icon.svg" -o "icons/${size}x${size}/$icon.png"
    done
done
