#!/usr/bin/python3
"""Draws the dialogs skin's pictures as 24-bit BMP files beside this script.

Every picture exists at the design size and, with the suffix "_x2", at
twice that size for screens at scale 2. Corners are blended against the
colour the picture lies on, so no mask is needed.

    /usr/bin/python3 make_pictures.py
"""

import os
import sys

BACKGROUND = (0xF3, 0xF7, 0xF4)
SURFACE = (0xFF, 0xFF, 0xFF)
BORDER = (0xC9, 0xDD, 0xD0)
PRIMARY = (0x2E, 0x7D, 0x4F)
DARK = (0x1F, 0x5A, 0x39)
LIGHT = (0xDC, 0xEF, 0xE3)
DISABLED = (0xA9, 0xB5, 0xAD)

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import drawing  # noqa: E402  (the skins' shared picture writer)


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b), written as NAME.bmp beside this script."""
    drawing.write_bmp(os.path.join(HERE, name + '.bmp'), width, height, pixel)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def coverage(x, y, width, height, radius, inset=0.0):
    """How much of pixel (x, y) lies inside a rounded rectangle, 4x4 samples."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4
            py = y + (sy + 0.5) / 4
            left, top = inset, inset
            right, bottom = width - inset, height - inset
            r = max(radius - inset, 0)
            cx = min(max(px, left + r), right - r)
            cy = min(max(py, top + r), bottom - r)
            if left <= px <= right and top <= py <= bottom \
                    and (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                inside += 1
    return inside / 16


def rounded(name, width, height, scale, outside, border, fill, border_width=1, top_only=False,
            gradient=None):
    """A rounded card or button: `border` ring, `fill` inside, `outside` beyond."""
    w, h, radius = width * scale, height * scale, 6 * scale
    ring = border_width * scale

    def pixel(x, y):
        yy = y if not top_only else y
        hh = h if not top_only else h + radius
        outer = coverage(x, yy, w, hh, radius)
        inner = coverage(x, yy, w, hh, radius, ring) if border else outer
        inside = fill if gradient is None else mix(gradient[0], gradient[1], y / max(h - 1, 1))
        colour = mix(outside, border or inside, outer)
        return mix(colour, inside, inner)

    write_bmp(name + ('' if scale == 1 else '_x%d' % scale), w, h, pixel)


def solid(name, colour, scale):
    size = 4 * scale
    write_bmp(name + ('' if scale == 1 else '_x%d' % scale), size, size, lambda x, y: colour)


for s in (1, 2):
    solid('backdrop', BACKGROUND, s)
    rounded('card', 24, 24, s, BACKGROUND, BORDER, SURFACE)
    # The title band lies inside the card's border: rounded at the top only.
    rounded('band', 24, 30, s, SURFACE, None, None, top_only=True,
            gradient=((0x2A, 0x72, 0x48), DARK))
    rounded('primary', 24, 28, s, SURFACE, None, PRIMARY)
    rounded('primary_down', 24, 28, s, SURFACE, None, DARK)
    rounded('primary_focus', 24, 28, s, SURFACE, DARK, PRIMARY, border_width=2)
    rounded('primary_off', 24, 28, s, SURFACE, None, DISABLED)
    rounded('secondary', 24, 28, s, SURFACE, BORDER, SURFACE)
    rounded('secondary_down', 24, 28, s, SURFACE, PRIMARY, LIGHT)
    rounded('secondary_focus', 24, 28, s, SURFACE, PRIMARY, SURFACE, border_width=2)
