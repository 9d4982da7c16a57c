"""Colours on paper: a dark window printed on white, each colour as clear against it as on the screen, or in black
and white; a light window printed as it is."""
import colorsys
import os
import subprocess
import tempfile
from collections import Counter

import pytest

from conftest import Page, newest_job, open_test_window, wait_for_pdfs
from testenv import wait_until

WIDTH, HEIGHT = 1920, 1080
TOP = 40  # the windows of a whole screen leave the strip above them to Wine's tray window
WHITE = (255, 255, 255)
EDITOR = (0x1E, 0x1E, 0x1E), [(0xD4, 0xD4, 0xD4), (0x56, 0x9C, 0xD6), (0xCE, 0x91, 0x78), (0x6A, 0x99, 0x55)]
DOCUMENT = WHITE, [(0, 0, 0), (0x05, 0x63, 0xC1), (0xC0, 0, 0), (0x76, 0x76, 0x76), (0xE6, 0x95, 0x00)]
CHOICES = ["As on screen", "Light background", "Black and white"]
ENTIRE_SCREEN, ACTIVE_WINDOW = ("ctrl", "shift", "snapshot"), ("alt", "shift", "snapshot")


def contrast(colour, other):
    def luminance(rgb):
        linear = [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in (c / 255 for c in rgb)]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    darker, lighter = sorted((luminance(colour), luminance(other)))
    return (lighter + 0.05) / (darker + 0.05)


def luma(colour):
    return (0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]) / 255


def hsv(colour):
    return colorsys.rgb_to_hsv(*(level / 255 for level in colour))


class Picture:
    """The page's one image as pdfimages writes it: RGB, or a 1-bit stencil whose 0 is where it paints ink."""

    def __init__(self, pdf):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["pdfimages", pdf, os.path.join(folder, "image")], check=True)
            [name] = os.listdir(folder)
            with open(os.path.join(folder, name), "rb") as image:
                kind, width, height, self.data = image.read().split(maxsplit=3)
        self.width, self.height, self.one_bit = int(width), int(height), kind == b"P4"
        if not self.one_bit:
            self.data = self.data.split(maxsplit=1)[1]  # past the highest level

    def pixels(self, box):
        """The box's (left, top, right, bottom) pixels row by row: (r, g, b), or True for ink."""
        left, top, right, bottom = box
        if self.one_bit:
            stride = (self.width + 7) // 8
            return [not self.data[y * stride + x // 8] >> (7 - x % 8) & 1 for y in range(top, bottom)
                    for x in range(left, right)]
        rows = [self.data[(y * self.width + left) * 3:(y * self.width + right) * 3] for y in range(top, bottom)]
        return [pixel for row in rows for pixel in zip(row[0::3], row[1::3], row[2::3])]


@pytest.fixture(scope="module")
def both_windows(environment):
    """The dark editor on the left half of the screen and the light document on the right."""
    with open_test_window(environment, 0, TOP, WIDTH // 2, HEIGHT - TOP, "Editor", popup=True, editor=True), \
            open_test_window(environment, WIDTH // 2, TOP, WIDTH // 2, HEIGHT - TOP, "Document", popup=True,
                             document=True):
        yield [((0, TOP, WIDTH // 2, HEIGHT), EDITOR), ((WIDTH // 2, TOP, WIDTH, HEIGHT), DOCUMENT)]


def print_in(vorlane, desktop, environment, choice, keys, foreground=None, grayscale=False):
    """Chooses Colors on paper (and toggles grayscale) in the Preferences and presses the keys; gives the PDF."""
    face = vorlane.open_preferences()
    face.select("PRINT_COLORS", CHOICES[choice])
    if grayscale:
        face.click("GRAYSCALE")
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
    """The background prints exactly white, each text colour with its contrast and hue within 10 % and 10 degrees."""
    background, texts = theme
    printed = Counter(zip(screen, paper))
    assert {after for (before, after) in printed if before == background} == {WHITE}
    for text in texts:
        after = Counter({a: n for (b, a), n in printed.items() if b == text}).most_common(1)[0][0]
        assert abs(contrast(after, WHITE) / contrast(text, background) - 1) <= 0.10, (text, after)
        apart = abs(hsv(after)[0] - hsv(text)[0]) * 360
        assert hsv(text)[1] < 0.25 or min(apart, 360 - apart) <= 10, (text, after)


@pytest.mark.parametrize("scene", ["editor", "both"])
def test_light_background_prints_dark_windows_light_and_light_ones_as_they_are(vorlane, desktop, environment,
                                                                              both_windows, scene):
    vorlane.start()
    if scene == "both":
        screen, paper = (Picture(print_in(vorlane, desktop, environment, c, ENTIRE_SCREEN)) for c in (0, 1))
        (editor, _), (document, _) = both_windows
        assert_turned_light(screen.pixels(editor), paper.pixels(editor), EDITOR)
        assert paper.pixels(document) == screen.pixels(document) and WHITE in set(paper.pixels(document))
        return
    with open_test_window(environment, 300, 200, 800, 500, "Editor", popup=True, editor=True) as window:
        screen, paper = (Picture(print_in(vorlane, desktop, environment, c, ACTIVE_WINDOW, window)) for c in (0, 1))
        gray = Page(print_in(vorlane, desktop, environment, 1, ACTIVE_WINDOW, window, grayscale=True), dpi=30)
    whole = (0, 0, 800, 500)
    assert (screen.width, screen.height) == (800, 500)
    assert_turned_light(screen.pixels(whole), paper.pixels(whole), EDITOR)
    assert ink(paper.pixels(whole)) <= 0.10 * ink(screen.pixels(whole))
    # With grayscale ticked too, a gray page on white: the page, rasterised, has as little ink.
    pixels = [gray.pixel(x, y) for y in range(gray.height) for x in range(gray.width)]
    assert all(max(p) - min(p) <= 2 for p in pixels) and ink(pixels) < 0.03, ink(pixels)


@pytest.mark.parametrize("dpi", [300, 600])
def test_black_and_white_prints_text_of_every_colour_black_on_white_in_one_bit(vorlane, desktop, environment,
                                                                               both_windows, dpi):
    queue = environment.queues[0]
    desktop.run("resolution", queue, dpi)  # for every program started from now on
    try:
        vorlane.start()
        screen = Picture(print_in(vorlane, desktop, environment, 0, ENTIRE_SCREEN)) if dpi == 300 else None
        pdf = print_in(vorlane, desktop, environment, 2, ENTIRE_SCREEN)
        with open(os.path.join(environment.root, "cups", "spool", f"d{newest_job(environment):05d}-001"), "rb") as job:
            postscript = job.read()
    finally:
        desktop.run("resolution", queue, 300)
    assert f"72 {dpi} div 72 {dpi} div scale".encode() in postscript
    assert len(postscript) <= 0.1 * WIDTH * HEIGHT * 3, len(postscript)
    listing = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True, check=True).stdout
    assert [line.split()[3:8] for line in listing.splitlines()[2:]] == [[str(WIDTH), str(HEIGHT), "-", "1", "1"]]
    if screen is None:
        return
    paper = Picture(pdf)
    for box, (background, texts) in both_windows:
        printed = Counter(zip(screen.pixels(box), paper.pixels(box)))
        # What differs from the background by at least half the faintest text's difference, in gray, is text.
        half = min(abs(luma(text) - luma(background)) for text in texts) / 2
        text, paper_white = Counter(), Counter()
        for (colour, black), n in printed.items():
            text[black] += n if abs(luma(colour) - luma(background)) >= half else 0
            paper_white[black] += n if colour == background else 0
        assert text[True] >= 0.95 * sum(text.values()) and paper_white[False] >= 0.995 * sum(paper_white.values())
