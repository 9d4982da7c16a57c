"""The entire-screen key on a desk of two monitors: the primary, the one under the pointer, or all of them."""
import pytest

from conftest import Desktop, Page, Vorlane, open_test_window, set_preferences, wait_for_pdfs
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
            desktop.run("cursor", *pointer)
        before = len(environment.pdfs())
        desktop.press("ctrl", "shift", "snapshot")
        page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
        left, top, right, bottom = page.bounds(lambda p: sum(p) < 700)
        assert abs((right - left) / (bottom - top) - proportions) < 0.05, (left, top, right, bottom)
    finally:
        vorlane.exit()
        vorlane.kill()
