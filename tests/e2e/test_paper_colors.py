"""Colours on paper: a dark window printed on white, each colour as clear against it as it was on the screen, or
in black and white; a light window printed as it is."""
import colorsys
import os
import subprocess
import tempfile
from collections import Counter

import pytest

from conftest import newest_job, open_test_window, wait_for_pdfs
from testenv import wait_until

WIDTH, HEIGHT = 1920, 1080
TOP = 40  # the windows of a whole screen leave the strip above them to Wine's tray window
WHITE = (255, 255, 255)
EDITOR = (0x1E, 0x1E, 0x1E), [(0xD4, 0xD4, 0xD4), (0x56, 0x9C, 0xD6), (0xCE, 0x91, 0x78), (0x6A, 0x99, 0x55)]
DOCUMENT = WHITE, [(0, 0, 0), (0x05, 0x63, 0xC1), (0xC0, 0, 0), (0x76, 0x76, 0x76), (0xE6, 0x95, 0x00)]
CHOICES = {0: "As on screen", 1: "Light background", 2: "Black and white"}
SATURATED = 0.25  # HSV saturation from which a colour has a hue worth keeping


def luminance(colour):
    def linear(level):
        value = level / 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4
    red, green, blue = map(linear, colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast(colour, other):
    first, second = sorted((luminance(colour), luminance(other)))
    return (second + 0.05) / (first + 0.05)


def luma(colour):
    return (0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]) / 255


def hsv(colour):
    return colorsys.rgb_to_hsv(*(level / 255 for level in colour))


class Picture:
    """The one image of a printed page, as pdfimages writes it: RGB pixels, or for a 1-bit stencil one bit a
    pixel, 0 where the mask paints ink."""

    def __init__(self, pdf):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["pdfimages", pdf, os.path.join(folder, "image")], check=True)
            names = os.listdir(folder)
            assert len(names) == 1, names
            with open(os.path.join(folder, names[0]), "rb") as image:
                data = image.read()
        kind, width, height, rest = data.split(maxsplit=3)
        self.width, self.height = int(width), int(height)
        self.one_bit = kind == b"P4"
        if not self.one_bit:
            rest = rest.split(maxsplit=1)[1]  # past the highest level
        self.data = rest

    def pixels(self, box):
        """The pixels of the box (left, top, right, bottom), row by row: (r, g, b), or True for ink."""
        left, top, right, bottom = box
        if self.one_bit:
            stride = (self.width + 7) // 8
            bits = (self.data[y * stride + x // 8] >> (7 - x % 8) & 1 for y in range(top, bottom)
                    for x in range(left, right))
            return [bit == 0 for bit in bits]
        pixels = []
        for y in range(top, bottom):
            row = self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
            pixels += zip(row[0::3], row[1::3], row[2::3])
        return pixels


@pytest.fixture(scope="module")
def both_windows(environment):
    """The dark editor on the left half of the screen and the light document on the right, under the tray's strip."""
    with open_test_window(environment, 0, TOP, WIDTH // 2, HEIGHT - TOP, "Editor", popup=True, editor=True), \
            open_test_window(environment, WIDTH // 2, TOP, WIDTH // 2, HEIGHT - TOP, "Document", popup=True,
                             document=True):
        yield [((0, TOP, WIDTH // 2, HEIGHT), EDITOR), ((WIDTH // 2, TOP, WIDTH, HEIGHT), DOCUMENT)]


def print_in(vorlane, desktop, environment, choice, keys, foreground=None):
    """Chooses Colors on paper in the Preferences, presses the keys; gives the page's PDF once the job is done."""
    face = vorlane.open_preferences()
    face.select("PRINT_COLORS", CHOICES[choice])
    face.click("OK")
    wait_until(lambda: not vorlane.main_window().visible, 30, what="the Preferences to close")
    if foreground:
        desktop.run("foreground", foreground)
    pages, jobs = len(environment.pdfs()), len(environment.completed_jobs())
    desktop.press(*keys)
    pdf = wait_for_pdfs(environment, pages + 1)[-1]
    wait_until(lambda: len(environment.completed_jobs()) > jobs, 60, what="the job to complete")
    return pdf


def ink(pixels):
    return sum(1 - luma(pixel) for pixel in pixels) / len(pixels)


def assert_turned_light(screen, paper, theme):
    """The dark window's background prints white, and each text colour keeps its contrast and hue."""
    background, texts = theme
    printed = Counter(zip(screen, paper))
    assert {after for (before, after) in printed if before == background} == {WHITE}
    for text in texts:
        found = Counter({after: n for (before, after), n in printed.items() if before == text})
        assert sum(found.values()) > 100, f"too little text in {text}"
        after = found.most_common(1)[0][0]
        assert abs(contrast(after, WHITE) / contrast(text, background) - 1) <= 0.10, (text, after)
        if hsv(text)[1] >= SATURATED:
            apart = abs(hsv(after)[0] - hsv(text)[0]) * 360
            assert min(apart, 360 - apart) <= 10, (text, after)


@pytest.mark.parametrize("scene", ["editor", "document", "both"])
def test_light_background_prints_dark_windows_light_and_light_ones_as_they_are(vorlane, desktop, environment,
                                                                              both_windows, scene):
    vorlane.start()
    if scene == "both":
        shots = [print_in(vorlane, desktop, environment, choice, ("ctrl", "shift", "snapshot")) for choice in (0, 1)]
        screen, paper = (Picture(pdf) for pdf in shots)
        (editor_box, _), (document_box, _) = both_windows
        assert_turned_light(screen.pixels(editor_box), paper.pixels(editor_box), EDITOR)
        assert paper.pixels(document_box) == screen.pixels(document_box)
        assert set(paper.pixels(document_box)) >= {WHITE, *DOCUMENT[1]}
        return
    theme = EDITOR if scene == "editor" else DOCUMENT
    with open_test_window(environment, 300, 200, 800, 500, scene, popup=True, **{scene: True}) as window:
        shots = [print_in(vorlane, desktop, environment, choice, ("alt", "shift", "snapshot"), window)
                 for choice in (0, 1)]
    screen, paper = (Picture(pdf) for pdf in shots)
    assert (screen.width, screen.height) == (800, 500)
    whole = (0, 0, 800, 500)
    if scene == "document":
        assert paper.data == screen.data
        return
    assert_turned_light(screen.pixels(whole), paper.pixels(whole), theme)
    assert ink(paper.pixels(whole)) <= 0.10 * ink(screen.pixels(whole)), (ink(paper.pixels(whole)),
                                                                          ink(screen.pixels(whole)))


def images(pdf):
    """(width, height, bits a pixel) of each image of the PDF, as pdfimages lists them."""
    listing = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True, check=True).stdout
    return [(int(fields[3]), int(fields[4]), int(fields[7])) for fields in map(str.split, listing.splitlines()[2:])]


@pytest.mark.parametrize("dpi", [300, 600])
def test_black_and_white_prints_text_of_every_colour_black_on_white_in_one_bit(vorlane, desktop, environment,
                                                                               both_windows, dpi):
    queue = environment.queues[0]
    desktop.run("resolution", queue, dpi)  # for every program started from now on
    try:
        vorlane.start()
        keys = ("ctrl", "shift", "snapshot")
        screen = Picture(print_in(vorlane, desktop, environment, 0, keys)) if dpi == 300 else None
        pdf = print_in(vorlane, desktop, environment, 2, keys)
        data = os.path.join(environment.root, "cups", "spool", f"d{newest_job(environment):05d}-001")
        with open(data, "rb") as job:
            postscript = job.read()
    finally:
        desktop.run("resolution", queue, 300)
    assert f"72 {dpi} div 72 {dpi} div scale".encode() in postscript
    assert len(postscript) <= 0.1 * WIDTH * HEIGHT * 3, len(postscript)
    assert images(pdf) == [(WIDTH, HEIGHT, 1)]
    if screen is None:
        return
    paper = Picture(pdf)
    for box, (background, texts) in both_windows:
        printed = Counter(zip(screen.pixels(box), paper.pixels(box)))
        # Half the contrast of the window's faintest text, in gray.
        half = min(abs(luma(text) - luma(background)) for text in texts) / 2
        text = [(black, n) for (colour, black), n in printed.items() if abs(luma(colour) - luma(background)) >= half]
        paper_white = [(black, n) for (colour, black), n in printed.items() if colour == background]
        assert sum(n for black, n in text if black) >= 0.95 * sum(n for _, n in text), background
        assert sum(n for black, n in paper_white if not black) >= 0.995 * sum(n for _, n in paper_white), background
