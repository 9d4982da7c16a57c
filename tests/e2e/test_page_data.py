"""A page carries the shot's own pixels, once, whatever the printer's resolution."""
import os
import subprocess

import pytest

from conftest import BLUE, GREEN, RED, YELLOW, Page, newest_job, open_test_window, set_preferences, wait_for_pdfs
from testenv import wait_until

WIDTH, HEIGHT = 1920, 1080
SHOT_BYTES = WIDTH * HEIGHT * 3  # the screen at 24 bits a pixel
WHITE = (255, 255, 255)
# What the paper shows: the page and the pattern's four colours; anything else is a colour on its way to the next.
SHOWN = {WHITE, RED, GREEN, BLUE, YELLOW}


@pytest.fixture
def random_screen(environment):
    """Pixels of random colours over the whole screen: nothing in them compresses."""
    with open_test_window(environment, 0, 0, WIDTH, HEIGHT, "Noise", popup=True, random=True) as handle:
        yield handle


@pytest.fixture
def resolution(environment, desktop, request):
    """The default queue at the row's resolution for every program started from now on; 300 dpi again after."""
    queue = environment.queues[0]
    desktop.run("resolution", queue, request.param)
    yield request.param
    desktop.run("resolution", queue, 300)


def print_screen(vorlane, desktop, environment):
    """Prints the screen on the default queue; gives the page's PDF and the job's data as the scheduler kept it."""
    pages, jobs = len(environment.pdfs()), len(environment.completed_jobs())
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    pdf = wait_for_pdfs(environment, pages + 1)[-1]
    wait_until(lambda: len(environment.completed_jobs()) > jobs, 60, what="the job to complete")
    return pdf, os.path.join(environment.root, "cups", "spool", f"d{newest_job(environment):05d}-001")


def images(pdf):
    """(width, height, colour space) of each image of the PDF, as pdfimages lists them."""
    listing = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True, check=True).stdout
    return [(int(fields[3]), int(fields[4]), fields[5]) for fields in map(str.split, listing.splitlines()[2:])]


# The image as the PostScript driver describes it: its size, and a byte a pixel for a picture with a palette.
IMAGE = f" /Width {WIDTH}\n /Height {HEIGHT}\n /BitsPerComponent 8\n /ImageMatrix [{WIDTH} 0 0 {HEIGHT} 0 0]\n"
COLOUR_IMAGE = (IMAGE + " /Decode [0 1 0 1 0 1]\n").encode()
GRAY_IMAGE = (IMAGE + " /Decode [0 255]\n").encode()


@pytest.mark.parametrize("resolution, grayscale, share, image, pdf_images", [
    (300, 0, 1.35, COLOUR_IMAGE, [(WIDTH, HEIGHT, "rgb")]),
    (600, 0, 1.35, COLOUR_IMAGE, [(WIDTH, HEIGHT, "rgb")]),
    # The queue writes PDF 1.2, where Ghostscript paints a picture with a palette as dots: no image to list.
    (300, 1, 0.5, GRAY_IMAGE, None),
], indirect=["resolution"], ids=["300 dpi", "600 dpi", "gray"])
def test_a_fitted_screen_is_sent_at_its_own_size_whatever_the_resolution(vorlane, desktop, environment,
                                                                           random_screen, resolution, grayscale,
                                                                           share, image, pdf_images):
    set_preferences(environment, PrintGrayscale=grayscale)
    pdf, data = print_screen(vorlane, desktop, environment)
    with open(data, "rb") as job:
        postscript = job.read()
    # The driver worked at the queue's resolution: its page is measured in dots of it.
    assert f"72 {resolution} div 72 {resolution} div scale".encode() in postscript
    assert len(postscript) <= share * SHOT_BYTES, f"{len(postscript)} bytes for a shot of {SHOT_BYTES}"
    assert postscript.count(b"/ImageType") == 1 and image in postscript
    if pdf_images is not None:
        assert images(pdf) == pdf_images


def changes(pixels):
    """The lengths of the runs of pixels in passing from one shown colour to the next."""
    runs, run = [], 0
    for pixel in pixels:
        if pixel in SHOWN:
            if run:
                runs.append(run)
            run = 0
        else:
            run += 1
    return runs


def test_the_printed_screen_keeps_its_colours_exact_and_its_edges_sharp(vorlane, desktop, environment,
                                                                        screen_pattern):
    page = Page(print_screen(vorlane, desktop, environment)[0], dpi=300)
    # Down through the left half and across through the red quadrant.
    column = [page.pixel(page.width // 4, y) for y in range(page.height)]
    top = column.index(RED)
    middle_y = column.index(BLUE, top)
    bottom = len(column) - column[::-1].index(BLUE)
    row = [page.pixel(x, (top + middle_y) // 2) for x in range(page.width)]
    left = row.index(RED)
    middle_x = row.index(GREEN, left)
    right = len(row) - row[::-1].index(GREEN)
    centres = {RED: (left + middle_x) // 2, GREEN: (middle_x + right) // 2}
    for colour, x, y in ((RED, centres[RED], (top + middle_y) // 2), (GREEN, centres[GREEN], (top + middle_y) // 2),
                         (BLUE, centres[RED], (middle_y + bottom) // 2),
                         (YELLOW, centres[GREEN], (middle_y + bottom) // 2)):
        assert page.pixel(x, y) == colour, (colour, x, y)
    for line in (row, column):
        assert all(run <= 2 for run in changes(line)), changes(line)
