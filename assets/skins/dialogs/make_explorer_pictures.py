#!/usr/bin/python3
"""Draws the pictures of the file explorer dialog and the About form as
24-bit BMP files beside this script: the edit field, the list's well and
selected row, and the list's icons with 8-bit alpha masks ("_8").

Every picture exists at the design size and, with the suffix "_x2", at twice
that size for screens at scale 2; the icons also come in a larger size
("_l") for the 360-wide forms. Corners of the field and the well are blended
against the white card they lie on.

    /usr/bin/python3 make_explorer_pictures.py
"""

import os
import sys

SURFACE = (0xFF, 0xFF, 0xFF)
BACKGROUND = (0xF3, 0xF7, 0xF4)
BORDER = (0xC9, 0xDD, 0xD0)
PRIMARY = (0x2E, 0x7D, 0x4F)
DARK = (0x1F, 0x5A, 0x39)
LIGHT = (0xDC, 0xEF, 0xE3)
SECONDARY = (0x5C, 0x6F, 0x63)
DISABLED = (0xA9, 0xB5, 0xAD)

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import drawing  # noqa: E402  (the skins' shared picture writer)
SAMPLES = 4


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b), written as NAME.bmp beside this script."""
    drawing.write_bmp(os.path.join(HERE, name + '.bmp'), width, height, pixel)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def in_rounded(px, py, left, top, right, bottom, radius):
    r = max(min(radius, (right - left) / 2, (bottom - top) / 2), 0)
    if not (left <= px <= right and top <= py <= bottom):
        return False
    cx = min(max(px, left + r), right - r)
    cy = min(max(py, top + r), bottom - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def coverage(x, y, test):
    inside = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            if test(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES):
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def suffix(scale):
    return '' if scale == 1 else '_x%d' % scale


def rounded(name, width, height, scale, outside, border, fill, border_width=1):
    """A rounded box: a `border` ring `border_width` wide around `fill`."""
    w, h, radius, ring = width * scale, height * scale, 6 * scale, border_width * scale

    def pixel(x, y):
        outer = coverage(x, y, lambda px, py: in_rounded(px, py, 0, 0, w, h, radius))
        inner = coverage(
            x, y, lambda px, py: in_rounded(px, py, ring, ring, w - ring, h - ring, radius - ring))
        return mix(mix(outside, border, outer), fill, inner)

    write_bmp(name + suffix(scale), w, h, pixel)


def solid(name, colour, scale):
    size = 4 * scale
    write_bmp(name + suffix(scale), size, size, lambda x, y: colour)


# Icons: shapes on a 16 x 16 grid, drawn at any size. Each shape is a list
# of (test(u, v), colour) in painting order; u and v run over 0..16.

def box(left, top, right, bottom, radius=0.0):
    return lambda u, v: in_rounded(u, v, left, top, right, bottom, radius)


def union(*tests):
    return lambda u, v: any(t(u, v) for t in tests)


def minus(a, b):
    return lambda u, v: a(u, v) and not b(u, v)


def polygon(points):
    def test(u, v):
        inside = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    return test


def ellipse(cx, cy, rx, ry):
    return lambda u, v: ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1


FOLDER = [
    (union(box(1, 3, 7, 6, 1), box(1, 4.5, 15, 14, 1.2)), PRIMARY),
    (box(2, 7, 14, 13, 0.8), (0x8C, 0xC4, 0xA2)),
]
UP = [
    # A bent arrow: up out of the folder and back to the left.
    (polygon([(2, 6), (6.5, 1.5), (6.5, 4.5), (11, 4.5), (14, 8), (14, 14.5), (11.5, 14.5),
              (11.5, 8.5), (10, 7), (6.5, 7), (6.5, 10.5)]), DARK),
]
AUDIO = [
    (union(ellipse(4.5, 12.5, 2.6, 2.1), ellipse(12, 10.5, 2.6, 2.1), box(5.6, 3.5, 7.1, 12.5),
           box(13.1, 1.5, 14.6, 10.5),
           polygon([(5.6, 3.5), (14.6, 1), (14.6, 3.6), (5.6, 6.1)])), PRIMARY),
]
FILE = [
    (polygon([(3, 1), (10, 1), (14, 5), (14, 15), (3, 15)]), SECONDARY),
    (polygon([(4.3, 2.3), (9.3, 2.3), (9.3, 5.7), (12.7, 5.7), (12.7, 13.7), (4.3, 13.7)]),
     SURFACE),
    (union(box(5.8, 8, 11.2, 8.9), box(5.8, 10.3, 11.2, 11.2)), DISABLED),
]


def icon(name, shapes, size):
    """The icon at `size` pixels and its alpha mask `name` + "_8"."""
    colours = []
    alphas = []
    for y in range(size):
        for x in range(size):
            colour = None
            alpha = 0
            hits = []
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) * 16 / size
                    v = (y + (sy + 0.5) / SAMPLES) * 16 / size
                    hit = None
                    for test, shape_colour in shapes:
                        if test(u, v):
                            hit = shape_colour
                    hits.append(hit)
            painted = [h for h in hits if h is not None]
            alpha = len(painted) / len(hits)
            if painted:
                colour = tuple(round(sum(c[i] for c in painted) / len(painted)) for i in range(3))
            colours.append(colour or SURFACE)
            alphas.append(alpha)
    write_bmp(name, size, size, lambda x, y: colours[y * size + x])
    write_bmp(name + '_8', size, size, lambda x, y: (round(alphas[y * size + x] * 255),) * 3)


for s in (1, 2):
    rounded('field', 24, 26, s, SURFACE, BORDER, SURFACE)
    rounded('field_focus', 24, 26, s, SURFACE, PRIMARY, SURFACE, border_width=2)
    rounded('field_off', 24, 26, s, SURFACE, BORDER, BACKGROUND)
    rounded('well', 24, 24, s, SURFACE, BORDER, SURFACE)
    rounded('well_focus', 24, 24, s, SURFACE, PRIMARY, SURFACE)
    solid('row_selected', LIGHT, s)
    for name, shapes in (('icon_up', UP), ('icon_folder', FOLDER), ('icon_audio', AUDIO),
                         ('icon_file', FILE)):
        icon(name + suffix(s), shapes, 16 * s)
for name, shapes in (('icon_up', UP), ('icon_folder', FOLDER), ('icon_audio', AUDIO),
                     ('icon_file', FILE)):
    icon(name + '_l', shapes, 24)
