#!/usr/bin/python3
"""Draws the about window's picture: a 500x350 baseline JPEG (JFIF).

Text and shapes only: a calm gradient, the product name with its tagline in a
right-aligned column, a keycap, and a printer with a page coming out that shows
a small screen. The window puts its own texts on top: the version right-aligned
at x 249 from y 208, and the two addresses on the band at the bottom (y 335).
Those places are kept light and empty here.

Needs Debian's python3-pil and fonts-dejavu-core. Usage:
    make_about_picture.py [OUTPUT]      (default: about.jpg beside this script)
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

WIDTH, HEIGHT = 500, 350
SCALE = 4  # drawn large, then reduced: smooth edges without an anti-aliasing pass of our own
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
TEXT_RIGHT = 249  # the column of texts ends where the version label ends
BAND_TOP = 326  # the address band

NAVY = (31, 59, 92)
SLATE = (74, 102, 128)
ACCENT = (46, 134, 193)
PAPER = (255, 255, 255)
BODY_TOP = (112, 138, 164)
BODY_BOTTOM = (64, 88, 115)


def s(value):
    """A length of the final picture in pixels of the large canvas."""
    return round(value * SCALE)


def box(left, top, right, bottom):
    return [s(left), s(top), s(right), s(bottom)]


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), s(size))


def vertical_gradient(size, top_colour, bottom_colour):
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / max(height - 1, 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour)))
    return column.resize((width, height))


def background():
    picture = vertical_gradient((s(WIDTH), s(HEIGHT)), (226, 237, 248), (250, 252, 255))
    draw = ImageDraw.Draw(picture, "RGBA")
    # Two broad, faint swells behind everything.
    draw.ellipse(box(170, 120, 760, 520), fill=(205, 224, 242, 110))
    draw.ellipse(box(-260, 210, 330, 560), fill=(214, 230, 246, 90))
    # The address band with a thin accent rule above it.
    draw.rectangle(box(0, BAND_TOP, WIDTH, HEIGHT), fill=(221, 231, 242, 255))
    draw.rectangle(box(0, BAND_TOP, WIDTH, BAND_TOP + 1), fill=ACCENT + (255,))
    return picture


def right_aligned(draw, text, right, top, typeface, colour):
    left, _, text_right, _ = draw.textbbox((0, 0), text, font=typeface)
    draw.text((s(right) - (text_right - left) - left, s(top)), text, font=typeface, fill=colour)


def texts(picture):
    draw = ImageDraw.Draw(picture)
    right_aligned(draw, "Vorlane", TEXT_RIGHT, 58, font("DejaVuSans-Bold.ttf", 54), NAVY)
    draw.rectangle(box(TEXT_RIGHT - 120, 130, TEXT_RIGHT, 132), fill=ACCENT)
    right_aligned(draw, "Screen to paper", TEXT_RIGHT, 145, font("DejaVuSans.ttf", 17), SLATE)
    right_aligned(draw, "in one key press", TEXT_RIGHT, 167, font("DejaVuSans.ttf", 17), SLATE)


def shadow(picture, rectangle, radius, offset=3, blur=5, opacity=70):
    """A soft shadow under a rounded rectangle, composited onto the picture."""
    layer = Image.new("L", picture.size, 0)
    left, top, right, bottom = rectangle
    ImageDraw.Draw(layer).rounded_rectangle(
        [left + s(offset), top + s(offset), right + s(offset), bottom + s(offset)], radius=radius, fill=opacity)
    layer = layer.filter(ImageFilter.GaussianBlur(s(blur)))
    picture.paste(Image.new("RGB", picture.size, (30, 45, 70)), (0, 0), layer)


def keycap(picture):
    """The one key: a keycap labelled PrtScr, with a small spark of the press."""
    cap = box(92, 232, 168, 292)
    shadow(picture, cap, s(10), offset=2, blur=3, opacity=90)
    draw = ImageDraw.Draw(picture)
    draw.rounded_rectangle(cap, radius=s(10), fill=(236, 241, 247), outline=(150, 168, 188), width=s(1.5))
    draw.rounded_rectangle(box(99, 237, 161, 281), radius=s(7), fill=PAPER)
    label = font("DejaVuSans-Bold.ttf", 12)
    for line, top in (("PrtScr", 244), ("SysRq", 262)):
        left, _, right, _ = draw.textbbox((0, 0), line, font=label)
        draw.text((s(130) - (right - left) // 2 - left, s(top)), line, font=label, fill=SLATE if top > 250 else NAVY)
    for x0, y0, x1, y1 in ((178, 250, 192, 244), (180, 262, 196, 262), (178, 274, 192, 280)):
        draw.line(box(x0, y0, x1, y1), fill=ACCENT, width=s(2.2))


def path_to_printer(picture):
    """A dotted arc from the key to the page: the way a shot goes."""
    draw = ImageDraw.Draw(picture)
    start, control, end = (204, 266), (258, 318), (306, 262)
    steps = 11
    for i in range(1, steps):
        t = i / steps
        x = (1 - t) ** 2 * start[0] + 2 * (1 - t) * t * control[0] + t * t * end[0]
        y = (1 - t) ** 2 * start[1] + 2 * (1 - t) * t * control[1] + t * t * end[1]
        r = 1.4 + 0.5 * t
        draw.ellipse(box(x - r, y - r, x + r, y + r), fill=ACCENT)
    draw.polygon([(s(end[0] + 7), s(end[1] - 6)), (s(end[0] - 4), s(end[1] - 5)), (s(end[0] + 3), s(end[1] + 5))],
                 fill=ACCENT)


def mini_screen(draw, left, top, right, bottom):
    """A small window as it appears on the printed page."""
    draw.rectangle(box(left, top, right, bottom), fill=(244, 248, 252), outline=(120, 140, 160), width=s(0.8))
    draw.rectangle(box(left, top, right, top + 9), fill=ACCENT)
    for i, colour in enumerate(((240, 120, 110), (240, 200, 90), (120, 200, 120))):
        cx = right - 6 - i * 7
        draw.ellipse(box(cx - 2, top + 2.5, cx + 2, top + 6.5), fill=colour)
    # A landscape: sky, a sun and two hills.
    sky = (left + 5, top + 14, left + 52, bottom - 5)
    draw.rectangle(box(*sky), fill=(200, 228, 250))
    draw.ellipse(box(sky[0] + 30, sky[1] + 5, sky[0] + 40, sky[1] + 15), fill=(250, 204, 80))
    draw.polygon([(s(sky[0]), s(sky[3])), (s(sky[0] + 18), s(sky[1] + 16)), (s(sky[0] + 34), s(sky[3]))],
                 fill=(96, 160, 110))
    draw.polygon([(s(sky[0] + 16), s(sky[3])), (s(sky[0] + 36), s(sky[1] + 22)), (s(sky[2]), s(sky[3]))],
                 fill=(70, 132, 95))
    # Lines of text beside it.
    for i, length in enumerate((34, 28, 36, 22, 31)):
        y = top + 16 + i * 8
        draw.rounded_rectangle(box(left + 58, y, left + 58 + length, y + 3), radius=s(1.5), fill=(160, 176, 194))


def printer(picture):
    draw = ImageDraw.Draw(picture)
    # The sheet waiting in the feeder at the back.
    draw.polygon([(s(322), s(118)), (s(336), s(62)), (s(426), s(62)), (s(440), s(118))], fill=(248, 250, 253),
                 outline=(170, 185, 200))
    # The body: a lid, the main block and the output slot.
    body = box(284, 112, 478, 206)
    shadow(picture, body, s(14), offset=4, blur=6)
    gradient = vertical_gradient((body[2] - body[0], body[3] - body[1]), BODY_TOP, BODY_BOTTOM)
    mask = Image.new("L", gradient.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, gradient.size[0] - 1, gradient.size[1] - 1], radius=s(14), fill=255)
    picture.paste(gradient, (body[0], body[1]), mask)
    draw = ImageDraw.Draw(picture)
    draw.rounded_rectangle(box(296, 104, 466, 124), radius=s(8), fill=(150, 172, 194))
    draw.rounded_rectangle(box(296, 104, 466, 124), radius=s(8), outline=(120, 142, 166), width=s(1))
    # The control panel: a display and a lit ready light.
    draw.rounded_rectangle(box(400, 136, 452, 152), radius=s(3), fill=(36, 52, 72))
    draw.rounded_rectangle(box(404, 140, 436, 148), radius=s(2), fill=(90, 190, 230))
    draw.ellipse(box(441, 140, 449, 148), fill=(110, 220, 130))
    draw.rounded_rectangle(box(306, 176, 456, 188), radius=s(5), fill=(40, 56, 76))

    # The printed page coming out of the slot, showing the screen it was taken from.
    page = box(318, 180, 444, 306)
    shadow(picture, page, s(2), offset=3, blur=4, opacity=80)
    draw = ImageDraw.Draw(picture)
    draw.rectangle(page, fill=PAPER, outline=(190, 200, 212), width=s(0.8))
    mini_screen(draw, 328, 196, 434, 262)
    for i, length in enumerate((96, 84, 90)):
        y = 272 + i * 9
        draw.rounded_rectangle(box(329, y, 329 + length, y + 3), radius=s(1.5), fill=(205, 214, 224))
    # The front lip of the slot lies over the page.
    draw.rounded_rectangle(box(300, 184, 462, 192), radius=s(3), fill=BODY_BOTTOM)


def check(path):
    """The window's decoder expects a 500x350 baseline JFIF picture."""
    with Image.open(path) as written:
        assert written.format == "JPEG" and written.size == (WIDTH, HEIGHT), written.size
        assert "jfif" in written.info, "no JFIF header"
        assert not written.info.get("progressive") and not written.info.get("progression"), "not baseline"
    with open(path, "rb") as raw:
        data = raw.read()
    assert b"\xff\xc0" in data and b"\xff\xc2" not in data, "the frame is not baseline"


def main(path):
    picture = background()
    texts(picture)
    keycap(picture)
    path_to_printer(picture)
    printer(picture)
    picture = picture.resize((WIDTH, HEIGHT), Image.LANCZOS)
    picture.save(path, "JPEG", quality=92, subsampling=0, progressive=False, optimize=False, dpi=(96, 96))
    check(path)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "about.jpg"))
