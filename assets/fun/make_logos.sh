#!/bin/sh
# Draws the logos of fun/ from their SVG sources, at the design size and
# twice that ("_x2") for screens at scale 2. Needs rsvg-convert (librsvg2-bin)
# and the DejaVu fonts.
set -e
cd "$(dirname "$0")"
rsvg-convert -w 48 -h 48 logo_small.svg -o ringwise_s.png
rsvg-convert -w 96 -h 96 logo_small.svg -o ringwise_s_x2.png
rsvg-convert -w 176 -h 56 logo_medium.svg -o ringwise_m.png
rsvg-convert -w 352 -h 112 logo_medium.svg -o ringwise_m_x2.png
