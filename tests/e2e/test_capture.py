"""A key press ends in a printed page."""
import pytest

from conftest import (Page, job_copies, newest_job, open_test_window, page_turn, pdf_title, quadrant_boxes,
                      set_preferences, start_test_window, wait_for_pdfs)
from testenv import wait_until


@pytest.fixture
def framed_window(environment):
    """A 640x480 window with a caption, in the foreground."""
    with open_test_window(environment, 300, 200, 640, 480, "Vorlane test window") as handle:
        yield handle


def test_entire_screen_hot_key_prints_one_fitted_centred_page(vorlane, desktop, environment, screen_pattern):
    queue = environment.queues[0]
    before = len(environment.pdfs(queue))
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    pdfs = wait_for_pdfs(environment, before + 1, queue=queue)
    assert pdf_title(pdfs[-1]) == "Vorlane"
    page = Page(pdfs[-1], dpi=30)
    boxes = quadrant_boxes(page)
    assert all(boxes.values()), boxes
    red, green, blue, yellow = boxes["red"], boxes["green"], boxes["blue"], boxes["yellow"]
    # The quadrants keep their places: red and green on top, red and blue on the left.
    assert red[3] <= blue[1] + 2 and green[3] <= yellow[1] + 2
    assert red[2] <= green[0] + 2 and blue[2] <= yellow[0] + 2
    left, top, right, bottom = red[0], red[1], yellow[2], yellow[3]
    # Fitted: as wide as the printable area allows, in the screen's 16:9.
    assert abs((right - left) / (bottom - top) - 16 / 9) < 0.06
    assert right - left > page.width * 0.85
    # Centred vertically on the page (the printable area is almost symmetric).
    assert abs(top - (page.height - bottom)) < page.height * 0.04
    assert len(environment.pdfs(queue)) == before + 1


def test_active_window_hot_key_prints_only_that_window(vorlane, desktop, environment, framed_window):
    before = len(environment.pdfs())
    vorlane.start()
    desktop.run("foreground", framed_window)
    desktop.press("alt", "shift", "snapshot")
    pdfs = wait_for_pdfs(environment, before + 1, queue=environment.queues[0])
    page = Page(pdfs[-1], dpi=30)
    boxes = quadrant_boxes(page)
    assert all(boxes.values()), boxes
    ink = page.bounds(lambda p: min(p) < 235)
    width, height = ink[2] - ink[0], ink[3] - ink[1]
    assert abs(width / height - 4 / 3) < 0.05
    assert width > page.width * 0.85


@pytest.mark.parametrize("stored, queue_index", [("vorlanesecond", 1), ("No Such Printer", 0)])
def test_the_stored_printer_is_found_in_any_letter_case_else_the_default(vorlane, desktop, environment,
                                                                          screen_pattern, stored, queue_index):
    queue = environment.queues[queue_index]
    before = len(environment.pdfs(queue))
    set_preferences(environment, PrintPrinter=stored)
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    wait_for_pdfs(environment, before + 1, queue=queue)
    assert len(environment.pdfs()) == len(environment.pdfs(queue)) + len(
        environment.pdfs(environment.queues[1 - queue_index]))


def print_active_window(vorlane, desktop, environment, width, height, **preferences):
    """Prints a frameless window of known colours; returns the page."""
    process, handle = start_test_window(environment, 100, 100, width, height, "Known", popup=True)
    try:
        before = len(environment.pdfs())
        set_preferences(environment, **preferences)
        vorlane.start()
        desktop.run("foreground", handle)
        desktop.press("alt", "shift", "snapshot")
        pdfs = wait_for_pdfs(environment, before + 1)
        return Page(pdfs[-1], dpi=30)
    finally:
        process.kill()
        process.wait()


@pytest.mark.parametrize("queue_index, orientation, position, rotation", [
    (1, 0, 0, 0),  # A3 as the printer is set: wider than 10 inches
    (0, 3, 8, 90),  # A4 turned to landscape: wider than 10 inches as well
])
def test_natural_size_is_the_screen_size_in_inches(vorlane, desktop, environment, queue_index, orientation, position,
                                                    rotation):
    page = print_active_window(vorlane, desktop, environment, 960, 480, PrintFitToPage=0,
                               PrintPagePosition=position, PrintOrientation=orientation,
                               PrintPrinter=environment.queues[queue_index])
    assert page_turn(page.pdf)[1] == rotation
    assert (page.width > page.height) == (rotation == 90)
    left, top, right, bottom = page.bounds(lambda p: min(p) < 235)
    # 960 x 480 pixels at 96 per inch: 10 x 5 inches, at 30 dots per inch.
    assert abs((right - left) - 300) <= 3
    assert abs((bottom - top) - 150) <= 3
    # In the position's corner of the printable area: within the printer's margin.
    if position == 0:
        assert left < 15 and top < 15
    else:
        assert page.width - right < 15 and page.height - bottom < 15


@pytest.mark.parametrize("position, width, height, orientation", [
    (0, 640, 480, 0),
    (4, 640, 480, 0),
    (8, 640, 480, 0),
    (4, 480, 640, 1),  # a window taller than wide stays portrait under Automatic
])
def test_fitted_shot_is_placed_by_the_page_position(vorlane, desktop, environment, position, width, height,
                                                    orientation):
    page = print_active_window(vorlane, desktop, environment, width, height, PrintFitToPage=1,
                               PrintPagePosition=position, PrintOrientation=orientation)
    assert page_turn(page.pdf) == ("A4", 0)
    left, top, right, bottom = page.bounds(lambda p: min(p) < 235)
    assert abs((right - left) / (bottom - top) - width / height) < 0.05
    above, below = top, page.height - bottom
    margin = page.height * 0.06
    if position == 0:
        assert above < margin and below > page.height / 3
    elif position == 4:
        assert abs(above - below) < margin
    else:
        assert below < margin and above > page.height / 3


def test_automatic_turns_a_wide_screen_and_leaves_the_printer_as_it_was(vorlane, desktop, environment,
                                                                         screen_pattern):
    set_preferences(environment, PrintOrientation=1)
    vorlane.start()
    pages = []
    for choice in ("As the printer is set", None):
        before = len(environment.pdfs())
        desktop.press("ctrl", "shift", "snapshot")
        pages.append(Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30))
        if choice:
            face = vorlane.open_preferences()
            face.select("ORIENTATION", choice)
            face.click("OK")
            wait_until(lambda: not vorlane.main_window().visible, 30, what="the window to hide")
    landscape, portrait = pages
    assert page_turn(landscape.pdf) == ("A4", 90)
    assert landscape.width > landscape.height
    boxes = quadrant_boxes(landscape)
    assert all(boxes.values()), boxes
    # Fitted across the long side of the sheet: the printable width is no wider than the page.
    assert boxes["yellow"][2] - boxes["red"][0] >= landscape.width * 0.9
    assert page_turn(portrait.pdf) == ("A4", 0)
    assert portrait.height > portrait.width
    ink = portrait.bounds(lambda p: min(p) < 235)
    assert ink[2] - ink[0] > portrait.width * 0.85 and ink[3] - ink[1] < portrait.height * 0.5


def test_copies_come_from_one_job(vorlane, desktop, environment, screen_pattern):
    set_preferences(environment, PrintCopies=3)
    before, jobs = len(environment.pdfs()), len(environment.completed_jobs())
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    wait_for_pdfs(environment, before + 1)
    wait_until(lambda: len(environment.completed_jobs()) > jobs, 60, what="the job to complete")
    assert len(environment.completed_jobs()) == jobs + 1
    # The driver makes the copies: the job carries them and cups-pdf writes one page.
    assert job_copies(environment, newest_job(environment)) == 3
    assert len(environment.pdfs()) == before + 1
