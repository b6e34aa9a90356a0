#!/usr/bin/python3
"""Writes the settings skin's source, settings/settings.xml.

    /usr/bin/python3 assets/skins/settings_skin.py

"FormSettings" lists the contacts' numbers in the grid, with the buttons
"btnRecord", "btnPlay" and "btnDelete" below it on a Pocket PC and the soft
keys instead on a Smartphone. While a tag is recorded, the "message" panel
(its controls come from the "PanelRecording" form) and the progress bar lie
over the grid. The variants match the recognition skin's: 240 x 320 (and
480 x 640 at scale 2), 360 x 720, and Smartphones of 176 x 220 and 240 x 320.
Run draw_pictures.py first.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from draw_pictures import GREEN, settings_pictures  # noqa: E402
from recognition_skin import DESIGNS  # noqa: E402
from skin_xml import Form, Picture, font, nine, picture_list, write_skin  # noqa: E402


class Variant:
    def __init__(self, suffix, devices, width, height, **metrics):
        self.suffix, self.devices, self.width, self.height = suffix, devices, width, height
        self.__dict__.update(metrics)


# Lengths in design units; each variant fits its screen's work area.
VARIANTS = [
    Variant("", "P", 240, 268, band=28, title=10, hint=8, margin=6, row=28, text=9,
            buttons=(30, 8, 6), notice=(200, 96, 13, 9), track=10),
    Variant("_tall", "P", 360, 642, band=48, title=14, hint=11, margin=12, row=44, text=13,
            buttons=(52, 12, 8), notice=(300, 150, 20, 13), track=14),
    Variant("S", "S", 176, 180, band=20, title=8, hint=7, margin=3, row=22, text=8,
            buttons=None, notice=(160, 80, 11, 8), track=8),
    Variant("S_qvga", "S", 240, 266, band=26, title=10, hint=8, margin=5, row=28, text=9,
            buttons=None, notice=(210, 96, 13, 9), track=10),
]


def build_form(v, p):
    form = Form("FormSettings" + v.suffix, v.devices, v.width, v.height)
    form.picture("Background", Picture("page", 4, 4))
    # Read by the grid's icon columns: the space on each side of an icon.
    form.integer("Gap", 4)
    inner = v.width - 2 * v.margin

    title = form.control("lblTitle", "Auto.Frame").place(0, 0, v.width, v.band)
    title.integer("ZOrder", -1).string("Text", "Voice_tags").string("HAlignment", "LEFT")
    title.point("BorderMin", v.margin + 4, 0).point("BorderMax", v.margin + 4, 2)
    title.look("Normal", Picture("band", 8, 36, 0, 0, 0, 2), font(v.title, True), p["on_primary"])
    hint = form.control("lblSearch", "Auto.Frame").place(v.width // 2, 0, v.width // 2, v.band)
    hint.string("Text", "Search_hint").string("HAlignment", "RIGHT").integer("Ellipsis", 1)
    hint.point("BorderMin", 0, 0).point("BorderMax", v.margin + 4, 2)
    hint.font("Normal", font(v.hint)).color("Normal", p["light"])

    grid_top = v.band + v.margin
    if v.buttons:
        height = v.buttons[0]
        buttons_top = v.height - v.margin - height
        grid_bottom = buttons_top - v.margin
    else:
        grid_bottom = v.height - v.margin
    # Whole rows only, so that the last one does not run over the card's foot.
    rows = (grid_bottom - grid_top - 8) // v.row
    grid_bottom = grid_top + rows * v.row + 8
    grid = form.control("grid").place(v.margin, grid_top, inner, grid_bottom - grid_top)
    grid.integer("ItemHeight", v.row).point("BorderMin", 1, 4).point("BorderMax", 1, 4)
    grid.integer("Gap", 4)
    grid.picture("Normal", nine("card"))
    row = Picture("row", 20, 20, 0, 0, 0, 1)
    selected = Picture("row_selected", 20, 20, 0, 0, 0, 1)
    selected_focus = Picture("row_selected_focus", 20, 20, 0, 0, 0, 1)
    grid.look("ItemNormal", row, font(v.text), p["text"])
    grid.look("ItemSelection", selected, font(v.text, True), p["current"])
    grid.look("ItemHighlight", selected_focus, font(v.text), p["text"])
    grid.look("ItemSelectionHighlight", selected_focus, font(v.text, True), p["current"])
    grid.look("HeaderNormal", Picture("header", 20, 20, 0, 0, 0, 1), font(v.hint, True),
              p["secondary"])
    # The part of a name or number that matches the typed filter.
    grid.font("ItemFiltered", font(v.text, True)).color("ItemFiltered", p["primary"])
    grid.font("ItemSelectionFiltered", font(v.text, True)).color("ItemSelectionFiltered",
                                                                  p["primary"])
    grid.picture("IconContact", Picture("IconContact", 20, 20))
    grid.picture("IconAssigned", Picture("IconAssigned", 20, 20))

    # The recording notice, centred over the grid, with the bar at its foot.
    width, height, speak, say = v.notice
    x, y = (v.width - width) // 2, grid_top + (grid_bottom - grid_top - height) // 2
    form.control("message").place(x, y, width, height).integer("ZOrder", 1).string(
        "FormTemplate", "PanelRecording" + v.suffix)
    bar = form.control("progress").place(x + 12, y + height - 12 - v.track, width - 24, v.track)
    bar.integer("ZOrder", 2)
    pill = v.track // 2
    bar.picture("Background", Picture("track_%d" % v.track, 2 * v.track, v.track, pill, 0, pill, 0))
    bar.picture("Progress", Picture("fill_%d" % v.track, 2 * v.track, v.track, pill, 0, pill, 0))

    if v.buttons:
        height, size, gap = v.buttons
        # The labels differ in length ("Aufnehmen" is the longest of them in
        # German): Record, the main action, gets the widest button, Delete
        # the narrowest, so that every label fits in both languages.
        room = inner - 2 * gap
        widths = [room * 38 // 100, room * 33 // 100]
        widths.append(room - sum(widths))
        looks = {
            "btnRecord": ("Record", "btn_primary", "btn_primary_down", p["on_primary"]),
            "btnPlay": ("Play", "btn_secondary", "btn_secondary_down", p["primary"]),
            "btnDelete": ("Delete", "btn_quiet", "btn_quiet_down", p["danger"]),
        }
        left = v.margin
        for id, width in zip(("btnRecord", "btnPlay", "btnDelete"), widths):
            key, normal, pressed, colour = looks[id]
            button = form.control(id).place(left, buttons_top, width, height)
            left += width + gap
            button.string("Text", key).string("Cursor", "HAND").picture("Focus", nine("focus"))
            # The rounded corners stay clear of the label.
            button.point("BorderMin", 4, 0)
            button.look("Normal", nine(normal), font(size, True), colour)
            button.look("Pressed", nine(pressed), font(size, True), colour)
            button.look("Disabled", nine("btn_off"), font(size, True), p["disabled"])
    else:
        # "Record" is a soft key, "Play" and "Delete" are in the grid's menu.
        for id in ("btnRecord", "btnPlay", "btnDelete"):
            form.control(id).place(0, v.height, 0, 0).string("Action", "BORDER_BOTTOM")

    form.control("menuMain").place(0, 0, 0, 0)
    return form


def build_notice(v, p):
    width, height, speak, say = v.notice
    panel = Form("PanelRecording" + v.suffix, v.devices, width, height)
    panel.picture("Background", nine("notice"))
    line = height - 24 - v.track
    panel.control("lblSpeak", "Auto.Frame").place(8, 6, width - 16, line * 3 // 5).string(
        "Text", "Speak_now").string("VAlignment", "BOTTOM").font("Normal", font(speak, True)).color(
        "Normal", p["dark"])
    panel.control("lblSay", "Auto.Frame").place(8, 6 + line * 3 // 5, width - 16,
                                                line * 2 // 5).string(
        "Text", "Say_the_name").string("VAlignment", "TOP").integer("Ellipsis", 1).font(
        "Normal", font(say)).color("Normal", p["secondary"])
    return panel


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "settings")
    header = picture_list(os.path.join(folder, "pictures"), folder,
                          sorted(settings_pictures(GREEN)))
    forms = [build_form(v, GREEN) for v in VARIANTS] + [build_notice(v, GREEN) for v in VARIANTS]
    write_skin(os.path.join(folder, "settings.xml"), "Ringwise_settings_1.0", "PS", DESIGNS,
               header, forms, "assets/skins/settings_skin.py")


if __name__ == "__main__":
    main()
