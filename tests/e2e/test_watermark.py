"""Printed shots carry the watermark."""
import pytest

from conftest import (BLUE, GREEN, YELLOW, Page, near, open_test_window, set_preferences, start_test_window,
                      wait_for_pdfs)

WATERMARK = dict(WatermarkMake=1, WatermarkText="%DATE% %TIME% %WINDOW%", WatermarkFontName="Liberation Sans",
                 WatermarkFontSize=48, WatermarkFontColor=255, WatermarkLocation=3)


def reddish(pixel):
    r, g, b = pixel
    return r > 150 and g < 120 and b < 120


def red_in(page, left, top, right, bottom):
    """Red pixels of a part of the page, as fractions of its width and height."""
    return [(x, y) for y in range(int(top * page.height), int(bottom * page.height))
            for x in range(int(left * page.width), int(right * page.width)) if reddish(page.pixel(x, y))]


@pytest.fixture
def grey_window(environment):
    with open_test_window(environment, 100, 100, 1600, 900, "Quarterly figures", popup=True,
                          plain=True) as handle:
        yield handle


@pytest.fixture
def colour_window(environment):
    """Red, green, blue and yellow quadrants."""
    with open_test_window(environment, 100, 100, 1600, 900, "Colours", popup=True) as handle:
        yield handle


# How far apart a pixel's channels may be and still count as gray.
GRAY_TOLERANCE = 12


def coloured(page):
    return [(x, y) for y in range(page.height) for x in range(page.width)
            if max(page.pixel(x, y)) - min(page.pixel(x, y)) > GRAY_TOLERANCE]


def shoot(vorlane, desktop, environment, window, pages=1):
    vorlane.start()
    before = len(environment.pdfs())
    desktop.run("foreground", window)
    desktop.press("alt", "shift", "snapshot")
    return [Page(pdf, dpi=60) for pdf in wait_for_pdfs(environment, before + pages)[before:]]


def test_the_watermark_stands_in_the_chosen_corner_only(vorlane, desktop, environment, grey_window):
    set_preferences(environment, **WATERMARK)
    page = shoot(vorlane, desktop, environment, grey_window)[0]
    # The corners of the printed shot, a quarter of its width and height each.
    ink = page.bounds(lambda p: min(p) < 235)
    left, top, right, bottom = (ink[0] / page.width, ink[1] / page.height, ink[2] / page.width,
                                ink[3] / page.height)
    width, height = (right - left) / 4, (bottom - top) / 4
    assert red_in(page, right - width, bottom - height, right, bottom), "red text at the bottom right"
    assert not red_in(page, left, top, left + width, top + height)
    assert not red_in(page, right - width, top, right, top + height)
    assert not red_in(page, left, bottom - height, left + width, bottom)


def test_without_the_watermark_no_red_is_printed(vorlane, desktop, environment, grey_window):
    set_preferences(environment, **dict(WATERMARK, WatermarkMake=0))
    page = shoot(vorlane, desktop, environment, grey_window)[0]
    assert not red_in(page, 0, 0, 1, 1)


def test_each_shot_of_a_series_carries_its_own_time(vorlane, desktop, environment, grey_window):
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=2, TimerInterval=2, **WATERMARK)
    first, second = shoot(vorlane, desktop, environment, grey_window, pages=2)
    assert red_in(first, 0, 0, 1, 1) and red_in(second, 0, 0, 1, 1)
    assert red_in(first, 0, 0, 1, 1) != red_in(second, 0, 0, 1, 1), "the time stamps differ"


def test_a_title_in_any_script_reaches_the_paper(vorlane, desktop, environment):
    """The stamp of a Greek, CJK and emoji title is not the stamp of as many question marks."""
    # Letters that the code page has no stand-in for, not even a look-alike.
    title = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ae \u4e2d\u6587 \U0001F600"
    set_preferences(environment, **dict(WATERMARK, WatermarkText="%WINDOW%", WatermarkLocation=0))
    vorlane.start()
    stamps = []
    # What the title becomes through the code page: a question mark for each UTF-16 unit outside it.
    marks = "".join(c if ord(c) < 128 else "?" * (2 if ord(c) > 0xFFFF else 1) for c in title)
    for caption in (title, marks):
        process, handle = start_test_window(environment, 100, 100, 1600, 900, caption, popup=True, plain=True)
        try:
            before = len(environment.pdfs())
            desktop.run("foreground", handle)
            desktop.press("alt", "shift", "snapshot")
            page = Page(wait_for_pdfs(environment, before + 1)[before], dpi=60)
            stamps.append(red_in(page, 0, 0, 1, 1))
        finally:
            process.kill()
            process.wait()
    assert stamps[0] and stamps[1], "both titles were stamped"
    assert stamps[0] != stamps[1], "the title reached the paper as question marks"


@pytest.mark.parametrize("grayscale", [1, 0])
def test_grayscale_prints_the_shot_and_its_watermark_without_colour(vorlane, desktop, environment, colour_window,
                                                                     grayscale):
    set_preferences(environment, PrintGrayscale=grayscale, **WATERMARK)
    page = shoot(vorlane, desktop, environment, colour_window)[0]
    if grayscale:
        assert not coloured(page)
        assert page.bounds(lambda p: min(p) < 235), "the shot is printed"
    else:
        assert red_in(page, 0, 0, 1, 1)
        assert all(page.bounds(lambda p, c=colour: near(p, c)) for colour in (GREEN, BLUE, YELLOW))
