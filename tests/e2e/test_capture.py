"""A key press ends in a printed page."""
import os
import time

import pytest

from conftest import (BLUE, GREEN, RED, YELLOW, Page, near, pdf_title, set_preferences, start_test_window,
                      wait_for_pdfs)


@pytest.fixture
def screen_pattern(environment):
    """Known colours over the whole 1920x1080 screen."""
    process, handle = start_test_window(environment, 0, 0, 1920, 1080, "Pattern", popup=True)
    yield handle
    process.kill()
    process.wait()


@pytest.fixture
def framed_window(environment):
    """A 640x480 window with a caption, in the foreground."""
    process, handle = start_test_window(environment, 300, 200, 640, 480, "Vorlane test window")
    yield handle
    process.kill()
    process.wait()


def quadrant_boxes(page):
    return {name: page.bounds(lambda p, c=colour: near(p, c))
            for name, colour in (("red", RED), ("green", GREEN), ("blue", BLUE), ("yellow", YELLOW))}


def test_entire_screen_hot_key_prints_one_fitted_centred_page(vorlane, desktop, environment, screen_pattern):
    before = len(environment.pdfs())
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    pdfs = wait_for_pdfs(environment, before + 1, queue=environment.queues[0])
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
    assert len(environment.pdfs()) == before + 1


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
