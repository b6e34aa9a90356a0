#!/usr/bin/python3
"""Writes the recognition skins' sources, Default_Green.xml and Default_Dark.xml.

    /usr/bin/python3 assets/skins/recognition_skin.py

Both skins have the same form variants and differ in colours only:
"FormRecognizing" for 240 x 320 Pocket PCs (and 480 x 640 at scale 2),
"FormRecognizing_tall" for 360 x 720 phones, and "FormRecognizingS" and
"FormRecognizingS_qvga" for Smartphones of 176 x 220 and 240 x 320, whose
soft keys stand in for the two buttons. Run draw_pictures.py first: the
picture list names the masks and pre-scaled copies that exist.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from draw_pictures import DARK, GREEN, INDICATOR_HEIGHTS, recognition_pictures  # noqa: E402
from skin_xml import Form, Picture, font, nine, picture_list, write_skin  # noqa: E402

# Design sizes: a screen of exactly one of these (or 2 to 4 times one) passes
# the version check.
DESIGNS = [(240, 320), (360, 720), (176, 220)]


class Variant:
    def __init__(self, name, devices, width, height, **metrics):
        self.name, self.devices, self.width, self.height = name, devices, width, height
        self.__dict__.update(metrics)


# Every length in design units. Each variant fits its screen's work area
# (the screen less the two system bars).
VARIANTS = [
    Variant("FormRecognizing", "P", 240, 268, band=36, title=11, margin=8,
            card=(44, 82), name_row=(6, 32, 16), phone=(38, 18, 10), accuracy=(58, 18, 9),
            track=(132, 10), steps=(150, 22, 0), label=9, buttons=(230, 32, 11)),
    Variant("FormRecognizing_tall", "P", 360, 642, band=60, title=15, margin=14,
            card=(84, 168), name_row=(20, 56, 24), phone=(80, 30, 14), accuracy=(118, 28, 13),
            track=(280, 14), steps=(318, 40, 14), label=14, buttons=(572, 56, 15)),
    Variant("FormRecognizingS", "S", 176, 180, band=22, title=8, margin=4,
            card=(26, 60), name_row=(3, 24, 11), phone=(27, 14, 8), accuracy=(42, 14, 8),
            track=(92, 8), steps=(106, 18, 0), label=8, buttons=None),
    Variant("FormRecognizingS_qvga", "S", 240, 266, band=30, title=10, margin=6,
            card=(40, 86), name_row=(8, 32, 15), phone=(42, 18, 10), accuracy=(62, 18, 9),
            track=(140, 10), steps=(164, 22, 6), label=10, buttons=None),
]

STEPS = [("chkListening", "Listening"), ("chkProcessing", "Processing"),
         ("chkFinished", "Finished")]


def indicator_height(row):
    return next(h for h in sorted(INDICATOR_HEIGHTS, reverse=True) if h <= row)


def build_form(v, palette):
    form = Form(v.name, v.devices, v.width, v.height)
    form.picture("Background", Picture("page", 4, 4))
    inner = v.width - 2 * v.margin

    # Title band and the two cards lie below the program's controls.
    title = form.control("lblTitle", "Auto.Frame").place(0, 0, v.width, v.band)
    title.integer("ZOrder", -1).string("Text", "Voice_dialing").integer("Ellipsis", 1)
    title.look("Normal", Picture("band", 8, 36, 0, 0, 0, 2), font(v.title, True),
               palette["on_primary"])

    card_top, card_height = v.card
    form.control("cardResult", "Auto.Frame").place(
        v.margin, card_top, inner, card_height).integer("ZOrder", -1).picture(
        "Normal", nine("card"))

    text_x, text_width = v.margin + 6, inner - 12
    for id, (top, height, size), bold, colour in (
            ("frmName", v.name_row, True, palette["text"]),
            ("frmPhone", v.phone, False, palette["secondary"]),
            ("frmAccuracy", v.accuracy, True, palette["primary"])):
        frame = form.control(id).place(text_x, card_top + top, text_width, height)
        frame.integer("Ellipsis", 1).font("Normal", font(size, bold)).color("Normal", colour)
        if id == "frmName":
            frame.string("Text", "Say_a_name")

    track_top, track_height = v.track
    bar = form.control("progress").place(v.margin + 4, track_top, inner - 8, track_height)
    pill = track_height // 2
    bar.picture("Background", Picture("track_%d" % track_height, 2 * track_height, track_height,
                                      pill, 0, pill, 0))
    bar.picture("Progress", Picture("fill_%d" % track_height, 2 * track_height, track_height,
                                    pill, 0, pill, 0))

    steps_top, row, gap = v.steps
    pad = 4 if row < 32 else 8
    steps_height = 3 * row + 2 * gap + 2 * pad
    form.control("cardSteps", "Auto.Frame").place(
        v.margin, steps_top, inner, steps_height).integer("ZOrder", -1).picture(
        "Normal", nine("card"))
    h = indicator_height(row)
    off = Picture("ind_off_%d" % h, h + 16, h, h + 4, 0, 8, 0)
    on = Picture("ind_on_%d" % h, h + 16, h, h + 4, 0, 8, 0)
    for index, (id, key) in enumerate(STEPS):
        box = form.control(id).place(v.margin + pad, steps_top + pad + index * (row + gap),
                                     inner - 2 * pad, row)
        box.string("Text", key).string("HAlignment", "LEFT").point("BorderMin", h + 6, 0)
        # A button of its own kind on both devices: not a soft-key item.
        box.string("Action", "BUTTON_NO_MENU")
        box.look("Normal", off, font(v.label), palette["secondary"])
        box.look("CheckedNormal", on, font(v.label, True), palette["current"])

    if v.buttons:
        top, height, size = v.buttons
        width = (inner - v.margin) // 2
        correct = form.control("btnCorrect").place(v.margin, top, width, height)
        wrong = form.control("btnWrong").place(v.width - v.margin - width, top, width, height)
        for button, key, normal, pressed, colour in (
                (correct, "Correct", "btn_primary", "btn_primary_down", palette["on_primary"]),
                (wrong, "Wrong", "btn_quiet", "btn_quiet_down", palette["danger"])):
            button.string("Text", key).string("Cursor", "HAND").picture("Focus", nine("focus"))
            button.look("Normal", nine(normal), font(size, True), colour)
            button.look("Pressed", nine(pressed), font(size, True), colour)
            button.look("Disabled", nine("btn_off"), font(size, True), palette["disabled"])
    else:
        # The soft keys carry "Correct" and "Wrong"; the buttons stay off screen.
        for id in ("btnCorrect", "btnWrong"):
            form.control(id).place(0, v.height, 0, 0).string("Action", "BORDER_BOTTOM")

    # The menu bar's control: its items are made by the program.
    form.control("menuMain").place(0, 0, 0, 0)
    return form


def write(folder, palette, generator):
    skin_folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), folder)
    pictures = sorted(recognition_pictures(palette))
    header = picture_list(os.path.join(skin_folder, "pictures"), skin_folder, pictures)
    sounds = os.path.relpath(os.path.join(skin_folder, "..", "Default_Green", "sounds"),
                             skin_folder)
    header += ['<file path="%s/%s"/>' % (sounds, name)
               for name in ("start.wav", "right.wav", "wrong.wav")]
    forms = [build_form(v, palette) for v in VARIANTS]
    write_skin(os.path.join(skin_folder, folder + ".xml"), "Ringwise_1.0", "PS", DESIGNS, header,
               forms, generator)


def main():
    generator = "assets/skins/recognition_skin.py"
    write("Default_Green", GREEN, generator)
    write("Default_Dark", DARK, generator)


if __name__ == "__main__":
    main()
