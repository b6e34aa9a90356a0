"""Anti-aliased drawing of the skins' pictures into 24-bit BMP files.

Shapes are given in design units and drawn at a scale (1, or 2 for the
"_x2" pre-scaled copies), each pixel sampled 4 x 4 times. A picture with
transparent pixels is written as two files: NAME.bmp holds the colour and
NAME_8.bmp the alpha as a grey image, which the skin reads as an 8-bit mask.
Standard library only, so that the build machine needs nothing else.
"""

import math
import os
import struct

SAMPLES = 4


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


class Canvas:
    """An RGBA image with straight (not premultiplied) alpha."""

    def __init__(self, width, height, scale):
        self.scale = scale
        self.width = width * scale
        self.height = height * scale
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * self.width for _ in range(self.height)]

    def coverage(self, x, y, inside):
        """Fraction of pixel (x, y) for which inside(u, v) holds, u and v in design units."""
        hits = 0
        for j in range(SAMPLES):
            for i in range(SAMPLES):
                u = (x + (i + 0.5) / SAMPLES) / self.scale
                v = (y + (j + 0.5) / SAMPLES) / self.scale
                if inside(u, v):
                    hits += 1
        return hits / (SAMPLES * SAMPLES)

    def fill(self, inside, colour, bounds=None):
        """Composites `colour` (a triple, or a function of v giving one) where inside() holds."""
        x0, y0, x1, y1 = bounds or (0, 0, self.width / self.scale, self.height / self.scale)
        px0 = max(0, int(math.floor(x0 * self.scale)) - 1)
        py0 = max(0, int(math.floor(y0 * self.scale)) - 1)
        px1 = min(self.width, int(math.ceil(x1 * self.scale)) + 1)
        py1 = min(self.height, int(math.ceil(y1 * self.scale)) + 1)
        for y in range(py0, py1):
            row = self.pixels[y]
            for x in range(px0, px1):
                a = self.coverage(x, y, inside)
                if a <= 0:
                    continue
                c = colour((y + 0.5) / self.scale) if callable(colour) else colour
                r, g, b, da = row[x]
                out = a + da * (1 - a)
                mix = lambda s, d: (s * a + d * da * (1 - a)) / out
                row[x] = (mix(c[0], r), mix(c[1], g), mix(c[2], b), out)

    def has_transparency(self):
        return any(p[3] < 0.999 for row in self.pixels for p in row)

    def save(self, folder, name):
        """Writes NAME.bmp, and NAME_8.bmp when some pixel is not opaque; returns the names."""
        written = [name]
        write_bmp(os.path.join(folder, name + ".bmp"), self.width, self.height,
                  lambda x, y: self.pixels[y][x][:3])
        if self.has_transparency():
            write_bmp(os.path.join(folder, name + "_8.bmp"), self.width, self.height,
                      lambda x, y: (self.pixels[y][x][3] * 255,) * 3)
            written.append(name + "_8")
        return written


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = (max(0, min(255, int(round(c)))) for c in pixel(x, y))
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


# --- Shapes: predicates over design coordinates ------------------------------

def rounded_rect(x0, y0, x1, y1, radius):
    def inside(u, v):
        if u < x0 or u >= x1 or v < y0 or v >= y1:
            return False
        cx = min(max(u, x0 + radius), x1 - radius)
        cy = min(max(v, y0 + radius), y1 - radius)
        return (u - cx) ** 2 + (v - cy) ** 2 <= radius * radius
    return inside


def ring(outer, inner):
    return lambda u, v: outer(u, v) and not inner(u, v)


def circle(cx, cy, radius):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= radius * radius


def segment(ax, ay, bx, by, width):
    """A stroke from (ax, ay) to (bx, by) with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    half = width / 2

    def inside(u, v):
        t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / length2))
        return (u - ax - t * dx) ** 2 + (v - ay - t * dy) ** 2 <= half * half
    return inside


def union(*shapes):
    return lambda u, v: any(shape(u, v) for shape in shapes)


def vertical_gradient(top, bottom, y0, y1):
    def colour(v):
        t = max(0.0, min(1.0, (v - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour
