"""The entire-screen key on a desk of two monitors: the primary, the one under the pointer, or all of them;
and a region across both."""
import pytest

from conftest import (PROPORTION_SLACK, Desktop, Page, Vorlane, ink_proportions, open_region_window, open_test_window,
                      quadrant_boxes, reset_registry, set_preferences, wait_for_pdfs)
from testenv import TestEnvironment

# Wine reports the primary at 1280x1024 and the other at 1920x1080, both at the origin.
PRIMARY, SECOND = "1280x1024x24", "1920x1080x24"


@pytest.fixture(scope="module")
def two_monitors():
    """A display of its own with two monitors, the pattern over all of it."""
    with TestEnvironment(printers=1, screens=(PRIMARY, SECOND)) as environment, \
            open_test_window(environment, 0, 0, 1920, 1080, "Pattern", popup=True):
        yield environment


@pytest.mark.parametrize("capture_screen, pointer, proportions", [
    (0, None, 1280 / 1024),
    (2, None, 1920 / 1080),
    (1, (1500, 1050), 1920 / 1080),  # only the second monitor reaches there
])
def test_the_entire_screen_key_prints_the_chosen_screen(two_monitors, capture_screen, pointer, proportions):
    environment = two_monitors
    desktop = Desktop(environment)
    set_preferences(environment, CaptureScreen=capture_screen)
    vorlane = Vorlane(environment, desktop).start()
    try:
        if pointer:
            # Moved as a hand moves it, and at rest there before the key is pressed.
            desktop.run("mouse", *pointer)
        before = len(environment.pdfs())
        desktop.press("ctrl", "shift", "snapshot")
        page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
        left, top, right, bottom = page.bounds(lambda p: sum(p) < 700)
        assert abs((right - left) / (bottom - top) - proportions) < 0.05, (left, top, right, bottom)
    finally:
        vorlane.exit()
        vorlane.kill()


def test_a_region_across_the_edge_of_the_primary_prints_both_parts(two_monitors):
    environment = two_monitors
    desktop = Desktop(environment)
    reset_registry(environment)
    # Red on the primary's side of its right edge at x 1280, green beyond it on the second monitor only.
    with open_test_window(environment, 0, 0, 2 * 1280, 2 * 1080, "Split at the edge", popup=True):
        vorlane = Vorlane(environment, desktop).start()
        try:
            before = len(environment.pdfs())
            open_region_window(desktop)
            desktop.run("drag", 1000, 100, 1600, 400)
            page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
        finally:
            vorlane.exit()
            vorlane.kill()
    boxes = quadrant_boxes(page)
    red, green = boxes["red"], boxes["green"]
    assert red and green, boxes
    # 280 of the 601 pixels across lie on the primary, 321 beyond it.
    assert abs((red[2] - red[0]) / (green[2] - red[0]) - 280 / 601) < PROPORTION_SLACK, boxes
    assert abs(ink_proportions(page) - 601 / 301) < PROPORTION_SLACK * 2
