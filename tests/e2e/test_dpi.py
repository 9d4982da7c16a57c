"""At 150 % the windows are one and a half times their size; the capture still has every pixel."""
import pytest

from conftest import (Page, assert_the_region_from_100_100_to_500_400, open_region_window, quadrant_boxes,
                      wait_for_pdfs)
from testenv import DPI_KEYS

WM_DPICHANGED = 0x02E0
ABOUT_CLASS = "TfmAbout"
SLACK = 3  # pixels of rounding between a size at 144 dpi and 1.5 times the one at 96


def set_dpi(environment, dpi):
    """The DPI every program started from now on sees: Wine reads it as a program starts."""
    for key in DPI_KEYS:
        environment.wine_reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")


@pytest.fixture
def dpi_144(environment):
    set_dpi(environment, 144)
    yield
    set_dpi(environment, environment.dpi)


def sizes(vorlane, desktop):
    """Width and height of the Preferences window, of its language label and of the about window."""
    face = vorlane.open_preferences()
    label = face.control("LANGUAGE_LABEL")
    about = desktop.windows(ABOUT_CLASS)[0]
    return {"preferences": (face.main.width, face.main.height), "label": (label.width, label.height),
            "about": (about.width, about.height)}


def scaled(measured, factor):
    return {name: tuple(round(length * factor) for length in size) for name, size in measured.items()}


def assert_near(actual, expected):
    for name, size in expected.items():
        assert all(abs(a - e) <= SLACK for a, e in zip(actual[name], size)), (name, actual[name], size)


def test_at_150_percent_the_windows_are_half_as_large_again_and_the_shot_has_every_pixel(
        vorlane, desktop, environment, screen_pattern, request):
    vorlane.start()
    at_96 = sizes(vorlane, desktop)
    vorlane.exit()

    request.getfixturevalue("dpi_144")
    vorlane.start()
    assert_near(sizes(vorlane, desktop), scaled(at_96, 1.5))

    # A shot of the whole 1920x1080 screen: every quadrant of the pattern, as large as the others.
    queue = environment.queues[0]
    before = len(environment.pdfs(queue))
    desktop.press("ctrl", "shift", "snapshot")
    pdfs = wait_for_pdfs(environment, before + 1, queue=queue)
    boxes = quadrant_boxes(Page(pdfs[-1], dpi=30))
    assert all(boxes.values()), boxes
    widths = [box[2] - box[0] for box in boxes.values()]
    heights = [box[3] - box[1] for box in boxes.values()]
    assert max(widths) - min(widths) <= 2 and max(heights) - min(heights) <= 2, boxes


def test_a_change_of_dpi_scales_the_preferences_and_a_change_back_restores_them(vorlane, desktop):
    vorlane.start()
    at_96 = sizes(vorlane, desktop)
    main = vorlane.main_window()
    for dpi, factor in ((144, 1.5), (96, 1.0)):
        expected = scaled(at_96, factor)["preferences"]
        desktop.run("dpichanged", main.handle, dpi, main.left, main.top, main.left + expected[0],
                    main.top + expected[1])
        now = sizes(vorlane, desktop)
        assert_near({name: now[name] for name in ("preferences", "label")},
                    {name: scaled(at_96, factor)[name] for name in ("preferences", "label")})
        assert (vorlane.main_window().left, vorlane.main_window().top) == (main.left, main.top)


def test_at_150_percent_a_drag_takes_the_same_physical_pixels(dpi_144, vorlane, desktop, environment,
                                                               pattern_at_400_300):
    vorlane.start()
    before = len(environment.pdfs())
    open_region_window(desktop)
    desktop.run("drag", 100, 100, 500, 400)
    assert_the_region_from_100_100_to_500_400(Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30))
