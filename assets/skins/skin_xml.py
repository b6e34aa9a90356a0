"""Small helpers that write skinc sources: properties, controls and the picture list.

The skin sources of assets/skins are written by the scripts beside them from
one table of form variants each, so that every variant names every control
and a second palette changes colours only.
"""

import os

FACE = "DejaVu Sans"


def font(size, bold=False):
    return "%d %d 0 0 %s" % (size, 1 if bold else 0, FACE)


class Element:
    """A <form>, <control> or <node> with its property elements, in source order."""

    def __init__(self, tag, name):
        self.tag, self.name, self.lines = tag, name, []

    def point(self, name, x, y):
        self.lines.append('<point name="%s" value="%d %d"/>' % (name, x, y))
        return self

    def integer(self, name, value):
        self.lines.append('<integer name="%s" value="%d"/>' % (name, value))
        return self

    def string(self, name, value):
        self.lines.append('<string name="%s" value="%s"/>' % (name, value))
        return self

    def color(self, name, value):
        self.lines.append('<color name="%s" value="%s"/>' % (name, value))
        return self

    def font(self, name, spec):
        self.lines.append('<font name="%s" spec="%s"/>' % (name, spec))
        return self

    def picture(self, name, picture):
        self.lines.append('<picture name="%s" %s/>' % (name, picture.attributes()))
        return self

    def look(self, name, picture, spec, colour):
        if picture:
            self.picture(name, picture)
        return self.font(name, spec).color(name, colour)

    def place(self, x, y, width, height):
        return self.point("Position", x, y).point("Size", width, height)

    def write(self, indent="    "):
        inner = indent + "    "
        body = "".join("%s%s\n" % (inner, line) for line in self.lines)
        return '%s<%s name="%s">\n%s%s</%s>\n' % (indent, self.tag, self.name, body, indent,
                                                 self.tag)


class Picture:
    """A rectangle of one picture of the list, with the borders that keep their size."""

    def __init__(self, image, width, height, left=0, top=0, right=0, bottom=0):
        self.image, self.width, self.height = image, width, height
        self.middle = (left, top, width - right, height - bottom)

    def attributes(self):
        x1, y1, x2, y2 = self.middle
        return 'image="%s" rect="0 0 %d %d" middle="%d %d %d %d"' % (
            self.image, self.width, self.height, x1, y1, x2, y2)


def nine(image, size=20, border=7):
    """A picture drawn as nine parts: fixed corners and edges, a stretched middle."""
    return Picture(image, size, size, border, border, border, border)


class Form(Element):
    def __init__(self, name, devices, width, height):
        super().__init__("form", name)
        self.autos, self.controls = [], []
        self.point("Size", width, height).string("Devices", devices).integer("Fullscreen", 0)

    def control(self, name, auto=None):
        element = Element("control", name)
        self.controls.append(element)
        if auto:
            self.autos.append((name, auto))
        return element

    def write(self, indent="    "):
        inner = indent + "    "
        text = '%s<form name="%s">\n' % (indent, self.name)
        text += "".join("%s%s\n" % (inner, line) for line in self.lines)
        text += "".join('%s<auto id="%s" type="%s"/>\n' % (inner, i, t) for i, t in self.autos)
        text += "".join(c.write(inner) for c in self.controls)
        return text + "%s</form>\n" % indent


def picture_list(folder, skin_folder, names):
    """<picture> and <file> lines for every picture and its mask and pre-scaled copies."""
    lines = []
    relative = os.path.relpath(folder, skin_folder)
    for name in names:
        lines.append('<picture name="%s" file="%s/%s.bmp"/>' % (name, relative, name))
        for extra in (name + "_8", name + "_x2", name + "_x2_8"):
            if os.path.exists(os.path.join(folder, extra + ".bmp")):
                lines.append('<file path="%s/%s.bmp"/>' % (relative, extra))
    return lines


def write_skin(path, version, devices, designs, header_lines, elements, generator):
    text = '<?xml version="1.0" encoding="UTF-8"?>\n'
    text += "<!-- Written by %s; edit that script and run it again. -->\n" % generator
    text += '<skin version="%s" devices="%s">\n' % (version, devices)
    text += "".join('    <design width="%d" height="%d"/>\n' % d for d in designs)
    text += "".join("    %s\n" % line for line in header_lines)
    text += "".join(element.write() for element in elements)
    text += "</skin>\n"
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
