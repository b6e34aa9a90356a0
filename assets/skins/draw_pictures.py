#!/usr/bin/python3
"""Draws the pictures of every skin of assets/skins into its pictures/ folder.

    /usr/bin/python3 assets/skins/draw_pictures.py

Each picture is drawn at design size and twice that ("_x2", for screens at
scale 2); see drawing.py for the files written. The skins share one visual
family and differ only in their palettes.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from drawing import (Canvas, circle, hex_colour, ring, rounded_rect, segment, union,  # noqa: E402
                     vertical_gradient)

GREEN = {
    "page": "#F3F7F4", "card": "#FFFFFF", "border": "#C9DDD0", "primary": "#2E7D4F",
    "dark": "#1F5A39", "light": "#DCEFE3", "text": "#1B2A21", "secondary": "#5C6F63",
    "danger": "#B23A3A", "danger_light": "#F6E4E4", "disabled": "#A9B5AD",
    "disabled_fill": "#E8EDEA", "band_top": "#388F5D", "band_bottom": "#2E7D4F",
    "on_primary": "#FFFFFF", "current": "#1F5A39", "selected_focus": "#C8E6D3",
}

DARK = {
    "page": "#121B16", "card": "#1C2922", "border": "#2F4538", "primary": "#3E9E66",
    "dark": "#2B7A4D", "light": "#23412F", "text": "#E4EFE8", "secondary": "#9CB3A5",
    "danger": "#E06B6B", "danger_light": "#3A2424", "disabled": "#56685D",
    "disabled_fill": "#1A231E", "band_top": "#2A7249", "band_bottom": "#1F5A39",
    "on_primary": "#FFFFFF", "current": "#9FDDB5", "selected_focus": "#2B5A3E",
}

RADIUS = 6
# Heights of the progress bars and the indicator rows of the form variants.
TRACK_HEIGHTS = (8, 10, 14)
INDICATOR_HEIGHTS = (18, 22, 40)


def solid(palette, key, width=4, height=4):
    def draw(canvas):
        canvas.fill(lambda u, v: True, hex_colour(palette[key]))
    return (width, height, draw)


def band(palette):
    """The title band: a subtle gradient with a darker line at its foot."""
    def draw(canvas):
        top, bottom = hex_colour(palette["band_top"]), hex_colour(palette["band_bottom"])
        canvas.fill(lambda u, v: v < 35, vertical_gradient(top, bottom, 0, 35))
        canvas.fill(lambda u, v: v >= 35, hex_colour(palette["dark"]))
    return (8, 36, draw)


def card(fill, border, size=20, radius=RADIUS):
    """A rounded rectangle with a 1-unit border, drawn as nine parts by the skin."""
    def draw(canvas):
        canvas.fill(rounded_rect(0, 0, size, size, radius), hex_colour(border))
        canvas.fill(rounded_rect(1, 1, size - 1, size - 1, radius - 1), hex_colour(fill))
    return (size, size, draw)


def focus_ring(palette, size=20):
    def draw(canvas):
        canvas.fill(ring(rounded_rect(0, 0, size, size, RADIUS),
                         rounded_rect(2, 2, size - 2, size - 2, RADIUS - 2)),
                    hex_colour(palette["dark"]))
    return (size, size, draw)


def pill(fill, border, height):
    def draw(canvas):
        r = height / 2
        if border:
            canvas.fill(rounded_rect(0, 0, 2 * height, height, r), hex_colour(border))
            canvas.fill(rounded_rect(1, 1, 2 * height - 1, height - 1, r - 1), hex_colour(fill))
        else:
            canvas.fill(rounded_rect(0, 0, 2 * height, height, r), hex_colour(fill))
    return (2 * height, height, draw)


def indicator(palette, height, on):
    """One step of the run: a dot at the left, on a highlighted row while it is current."""
    width = height + 16
    cx, cy, r = height / 2 + 2, height / 2, height * 0.3

    def draw(canvas):
        if on:
            canvas.fill(rounded_rect(0, 0, width, height, min(RADIUS, height / 2)),
                        hex_colour(palette["light"]))
            canvas.fill(circle(cx, cy, r), hex_colour(palette["primary"]))
            canvas.fill(circle(cx, cy, r * 0.4), hex_colour(palette["on_primary"]))
        else:
            stroke = max(1.25, height / 16)
            canvas.fill(ring(circle(cx, cy, r), circle(cx, cy, r - stroke)),
                        hex_colour(palette["disabled"]))
    return (width, height, draw)


def person_icon(colour, size):
    """A contact: head and shoulders."""
    def draw(canvas):
        s = size / 16
        shoulders = lambda u, v: ((u - 8 * s) ** 2 / (6 * s) ** 2 + (v - 15.5 * s) ** 2 / (6 * s) ** 2
                                  <= 1 and v <= 15 * s)
        canvas.fill(union(circle(8 * s, 5 * s, 3.2 * s), shoulders), hex_colour(colour))
    return (size, size, draw)


def microphone_icon(colour, size):
    """A recorded voice tag: a microphone."""
    def draw(canvas):
        s = size / 16
        capsule = rounded_rect(5.5 * s, 1 * s, 10.5 * s, 10 * s, 2.5 * s)
        cup = lambda u, v: (abs(((u - 8 * s) ** 2 + (v - 7.5 * s) ** 2) ** 0.5 - 4.5 * s) <= 0.7 * s
                            and v >= 7.5 * s)
        stem = segment(8 * s, 12 * s, 8 * s, 14.2 * s, 1.4 * s)
        foot = segment(5.5 * s, 14.5 * s, 10.5 * s, 14.5 * s, 1.4 * s)
        canvas.fill(union(capsule, cup, stem, foot), hex_colour(colour))
    return (size, size, draw)


def grid_row(fill, line, size=20):
    """A cell of the contact list: a hairline at its foot. Every cell of a row
    draws it, so it is the same across its whole width."""
    def draw(canvas):
        canvas.fill(lambda u, v: True, hex_colour(fill))
        canvas.fill(lambda u, v: v >= size - 1, hex_colour(line))
    return (size, size, draw)


def recognition_pictures(p):
    pictures = {
        "page": solid(p, "page"),
        "band": band(p),
        "card": card(p["card"], p["border"]),
        "focus": focus_ring(p),
        "btn_primary": card(p["primary"], p["dark"]),
        "btn_primary_down": card(p["dark"], p["dark"]),
        "btn_quiet": card(p["card"], p["danger"]),
        "btn_quiet_down": card(p["danger_light"], p["danger"]),
        "btn_off": card(p["disabled_fill"], p["border"]),
    }
    for h in TRACK_HEIGHTS:
        pictures["track_%d" % h] = pill(p["light"], p["border"], h)
        pictures["fill_%d" % h] = pill(p["primary"], None, h)
    for h in INDICATOR_HEIGHTS:
        pictures["ind_on_%d" % h] = indicator(p, h, True)
        pictures["ind_off_%d" % h] = indicator(p, h, False)
    return pictures


def settings_pictures(p):
    pictures = {name: picture for name, picture in recognition_pictures(p).items()
                if not name.startswith("ind_")}
    pictures.update({
        "btn_secondary": card(p["card"], p["primary"]),
        "btn_secondary_down": card(p["light"], p["primary"]),
        "row": grid_row(p["card"], p["border"]),
        "row_selected": grid_row(p["light"], p["border"]),
        "row_selected_focus": grid_row(p["selected_focus"], p["border"]),
        "header": grid_row(p["page"], p["border"]),
        "notice": card(p["card"], p["primary"]),
        # The grid's icons, named as the settings form asks for them.
        "IconContact": person_icon(p["secondary"], 20),
        "IconAssigned": microphone_icon(p["primary"], 20),
    })
    return pictures


def draw_all(folder, pictures):
    os.makedirs(folder, exist_ok=True)
    for name in sorted(pictures):
        width, height, draw = pictures[name]
        for scale, suffix in ((1, ""), (2, "_x2")):
            canvas = Canvas(width, height, scale)
            draw(canvas)
            canvas.save(folder, name + suffix)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    draw_all(os.path.join(here, "Default_Green", "pictures"), recognition_pictures(GREEN))
    draw_all(os.path.join(here, "Default_Dark", "pictures"), recognition_pictures(DARK))
    draw_all(os.path.join(here, "settings", "pictures"), settings_pictures(GREEN))


if __name__ == "__main__":
    main()
