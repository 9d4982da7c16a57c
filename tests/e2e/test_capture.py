"""A key press ends in a printed page."""
import pytest

from conftest import Page, pdf_title, quadrant_boxes, set_preferences, start_test_window, wait_for_pdfs


@pytest.fixture
def framed_window(environment):
    """A 640x480 window with a caption, in the foreground."""
    process, handle = start_test_window(environment, 300, 200, 640, 480, "Vorlane test window")
    yield handle
    process.kill()
    process.wait()


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


def test_natural_size_is_the_screen_size_in_inches(vorlane, desktop, environment):
    page = print_active_window(vorlane, desktop, environment, 960, 480, PrintFitToPage=0, PrintPagePosition=0,
                               PrintPrinter=environment.queues[1])  # A3: wider than 10 inches
    left, top, right, bottom = page.bounds(lambda p: min(p) < 235)
    # 960 x 480 pixels at 96 per inch: 10 x 5 inches, at 30 dots per inch.
    assert abs((right - left) - 300) <= 3
    assert abs((bottom - top) - 150) <= 3
    # At the top left of the printable area: within the printer's margin.
    assert left < 15 and top < 15


@pytest.mark.parametrize("position", [0, 4, 8])
def test_fitted_shot_is_placed_by_the_page_position(vorlane, desktop, environment, position):
    page = print_active_window(vorlane, desktop, environment, 640, 480, PrintFitToPage=1,
                               PrintPagePosition=position)
    left, top, right, bottom = page.bounds(lambda p: min(p) < 235)
    assert abs((right - left) / (bottom - top) - 4 / 3) < 0.05
    above, below = top, page.height - bottom
    margin = page.height * 0.06
    if position == 0:
        assert above < margin and below > page.height / 3
    elif position == 4:
        assert abs(above - below) < margin
    else:
        assert below < margin and above > page.height / 3
