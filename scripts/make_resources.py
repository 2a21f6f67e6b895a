#!/usr/bin/env python3
"""Draws the program's own pictures: the icon at 32 (the window's), 48, 128 and 256 pixels
and the sample part "buhin.bmp".

Run with Debian's python3 (python3-pil): /usr/bin/python3 scripts/make_resources.py
"""
from pathlib import Path

from PIL import Image, ImageDraw

RESOURCES = Path(__file__).resolve().parent.parent / "resources"


def icon():
    """A smiling face in black on white, 32 x 32, 16 colours."""
    img = Image.new("RGB", (32, 32), "white")
    d = ImageDraw.Draw(img)
    d.ellipse((1, 1, 30, 30), outline="black", width=2)
    d.ellipse((9, 9, 12, 13), fill="black")
    d.ellipse((19, 9, 22, 13), fill="black")
    d.line((15, 14, 14, 18, 16, 18), fill="black", width=1)
    d.arc((8, 10, 23, 25), start=25, end=155, fill="black", width=2)
    img.quantize(colors=16).save(RESOURCES / "zuvorak.png")


def large_icon(size):
    """The 32 px face scaled to `size` pixels, drawn four times larger and smoothed down."""
    scale = size * 4 / 32
    img = Image.new("RGB", (size * 4, size * 4), "white")
    d = ImageDraw.Draw(img)

    def box(x0, y0, x1, y1):
        return (x0 * scale, y0 * scale, (x1 + 1) * scale - 1, (y1 + 1) * scale - 1)

    def width(pixels):
        return round(pixels * scale)

    d.ellipse(box(1, 1, 30, 30), outline="black", width=width(2))
    d.ellipse(box(9, 9, 12, 13), fill="black")
    d.ellipse(box(19, 9, 22, 13), fill="black")
    nose = [((x + 0.5) * scale, (y + 0.5) * scale) for x, y in ((15, 14), (14, 18), (16, 18))]
    d.line(nose, fill="black", width=width(1), joint="curve")
    d.arc(box(8, 10, 23, 25), start=25, end=155, fill="black", width=width(2))
    img.resize((size, size), Image.LANCZOS).save(RESOURCES / f"zuvorak-{size}.png", optimize=True)


def buhin():
    """A bracket seen from the front: plate, bolt holes, a boss and a rib."""
    w, h = 480, 360
    img = Image.new("RGB", (w, h), "white")
    d = ImageDraw.Draw(img)
    navy, dark_red, dark_green, black = (20, 30, 120), (150, 20, 20), (10, 100, 40), (0, 0, 0)

    # Base plate with rounded corners and four bolt holes.
    d.rounded_rectangle((40, 60, 440, 300), radius=24, outline=navy, width=3)
    for cx, cy in ((80, 100), (400, 100), (80, 260), (400, 260)):
        d.ellipse((cx - 14, cy - 14, cx + 14, cy + 14), outline=black, width=2)
        d.ellipse((cx - 6, cy - 6, cx + 6, cy + 6), fill=black)
    # Central boss with its bore.
    d.ellipse((170, 110, 310, 250), outline=dark_red, width=4)
    d.ellipse((205, 145, 275, 215), outline=dark_red, width=2)
    d.ellipse((228, 168, 252, 192), fill=dark_red)
    # Ribs from the boss to the plate edge.
    for x0, y0, x1, y1 in ((170, 180, 44, 180), (310, 180, 436, 180), (240, 110, 240, 64), (240, 250, 240, 296)):
        d.line((x0, y0, x1, y1), fill=dark_green, width=3)
    # A slot and a keyway.
    d.rounded_rectangle((120, 200, 160, 240), radius=8, outline=navy, width=2)
    d.rectangle((234, 140, 246, 150), fill=dark_green)
    # Dimension line.
    d.line((40, 330, 440, 330), fill=black, width=1)
    d.polygon(((40, 330), (50, 326), (50, 334)), fill=black)
    d.polygon(((440, 330), (430, 326), (430, 334)), fill=black)
    img.save(RESOURCES / "buhin.bmp")


if __name__ == "__main__":
    icon()
    for size in (48, 128, 256):
        large_icon(size)
    buhin()
