#!/usr/bin/env python3
"""Draws the tray icon (a small printer with a page) as an ICO file.

The file holds the hand-drawn 16x16, 16-colour picture first, for old
displays, and then 32-bit pictures with alpha at 16, 20, 24, 32 and 48 pixels,
so that Windows finds one drawn for each common scale instead of stretching
the small one. The 32-bit pictures are laid out on a grid of 16 units and
every edge is rounded to a whole pixel, which keeps them sharp at any size.
"""
import struct
import sys

# Rows top to bottom; each character is an index into PALETTE, '.' is transparent.
PICTURE = [
    "................",
    "....77777777....",
    "....7ffffff7....",
    "....7f8888f7....",
    "....7ffffff7....",
    "..000000000000..",
    ".08888888888880.",
    ".08888888888a80.",
    ".08888888888880.",
    ".07777777777770.",
    ".07000000000070.",
    ".0707ffffff7070.",
    "...07f8888f70...",
    "....7ffffff7....",
    "....77777777....",
    "................",
]

# The standard 16-colour palette, as (blue, green, red).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
    (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

SIZES = [16, 20, 24, 32, 48]  # of the 32-bit pictures, in pixels

# The 32-bit pictures' colours, as (blue, green, red, alpha), close to the palette's.
OUTLINE = (32, 32, 32, 255)
PAPER_EDGE = (112, 112, 112, 255)
PAPER = (255, 255, 255, 255)
TEXT = (176, 176, 176, 255)
BODY = (192, 192, 192, 255)
HIGHLIGHT = (232, 232, 232, 255)
TRAY = (128, 128, 128, 255)
SLOT = (0, 0, 0, 255)
LIGHT = (0, 224, 0, 255)


def palette_image():
    """The hand-drawn 16-colour picture, as an icon image."""
    size = 16
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(PICTURE):  # bitmaps are stored bottom-up
        nibbles = [0 if c == "." else int(c, 16) for c in row]
        colour_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c == "." else 0)
        mask_rows.append(struct.pack(">H", bits) + b"\0\0")  # rows padded to 32 bits
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def draw(size):
    """The printer drawn at size pixels: rows of (blue, green, red, alpha), top to bottom."""
    unit = size / 16
    canvas = [[None] * size for _ in range(size)]

    def at(units):
        return int(units * unit + 0.5)

    def box(left, top, right, bottom, fill, edge=None, corner=0):
        """Fills a rectangle given in units, with a one-pixel edge; corner cuts
        that many pixels off each corner along a diagonal."""
        left, top, right, bottom = at(left), at(top), at(right), at(bottom)
        for y in range(top, bottom):
            for x in range(left, right):
                inward = min(x - left, right - 1 - x) + min(y - top, bottom - 1 - y)
                if inward < corner:
                    continue
                on_edge = x in (left, right - 1) or y in (top, bottom - 1) or inward == corner
                canvas[y][x] = edge if edge and on_edge else fill

    def lines(left, top, right, end):
        """Grey lines of text on a page, from top (in units) to above the pixel row end."""
        step = max(2, at(1.5))
        for y in range(at(top), end, step):
            canvas[y][at(left):at(right)] = [TEXT] * (at(right) - at(left))

    def recolour(rows, old, new):
        for y in rows:
            canvas[y] = [new if pixel == old else pixel for pixel in canvas[y]]

    box(4, 1, 12, 6, PAPER, PAPER_EDGE)  # the page going in, half hidden by the case
    lines(6, 3, 10, at(5) - 1)  # white above the case
    box(1, 5, 15, 12, BODY, OUTLINE, corner=1 if size < 32 else 2)
    recolour(range(at(9), at(12)), BODY, TRAY)  # the darker lower part, round the slot
    if size >= 24:  # light catching the top of the case
        recolour([at(5) + 1], BODY, HIGHLIGHT)
    light = at(1)  # a square unit
    for y in range(at(7), at(7) + light):
        canvas[y][at(12):at(12) + light] = [LIGHT] * light
    box(4, 10, 12, 15, PAPER, PAPER_EDGE)  # the printed page coming out
    lines(6, 12, 10, at(15) - 2)  # white above the page's edge
    box(3, 10, 13, 11, SLOT)
    return canvas


def rgba_image(size):
    """A 32-bit icon image with alpha, and the transparency mask older code reads."""
    canvas = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour, mask = b"", b""
    mask_row_bytes = (size + 31) // 32 * 4
    for row in reversed(canvas):  # bitmaps are stored bottom-up
        colour += b"".join(struct.pack("<BBBB", *(pixel or (0, 0, 0, 0))) for pixel in row)
        bits = 0
        for pixel in row:
            bits = (bits << 1) | (1 if pixel is None else 0)
        mask += (bits << (mask_row_bytes * 8 - size)).to_bytes(mask_row_bytes, "big")
    return header + colour + mask


def main(path):
    # (size, colours in the palette, bits per pixel, image), in the order Windows reads them.
    images = [(16, 16, 4, palette_image())] + [(size, 0, 32, rgba_image(size)) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for size, colours, bits, image in images:
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(directory + b"".join(image for *_, image in images))


if __name__ == "__main__":
    main(sys.argv[1])
