"""Several shots of a series on one sheet, and the last sheet printed again.

A full-screen window whose hue turns with time tells the shots apart: each
later shot has a later hue."""
import colorsys
import time

import pytest
from PIL import ImageGrab

from conftest import (IDM_EXIT, MAIN_CLASS, WM_TRAYICON, Desktop, Page, Vorlane, ink_proportions,
                      open_region_window, open_test_window, reset_registry, set_preferences, wait_for_pdfs,
                      wait_region_window_gone)
from testenv import wait_until

WM_RBUTTONUP = 0x205
VK_DOWN, VK_RETURN, VK_ESCAPE = 0x28, 0x0D, 0x1B
# The hue window turns once in 32 seconds: a second between shots is about 11 degrees.
SMALLEST_STEP, LARGEST_STEP = 4, 200


@pytest.fixture(scope="module")
def running(environment):
    """One Vorlane for the file, in front of the turning hue, started again where a test ended it."""
    reset_registry(environment)
    desktop = Desktop(environment)
    program = Vorlane(environment, desktop)
    with open_test_window(environment, 0, 0, 1920, 1080, "Hue", popup=True, hue=True):
        yield program
        try:
            program.exit()
        finally:
            program.kill()
            reset_registry(environment)


def started(program):
    if not program.running():
        program.start()
    return program


def apply(program, environment, **values):
    """Stores the settings and has the running program take them, as OK in its Preferences does."""
    set_preferences(environment, **values)
    face = program.open_preferences()
    face.click("OK")
    wait_until(lambda: not program.main_window().visible, 30, what="the Preferences to close")
    return face


def hue_at(page, left, top, right, bottom):
    """The hue in degrees of the coloured pixels of a part of the page (fractions of it); None where it is blank."""
    pixels = [page.pixel(x, y) for y in range(int(top * page.height), int(bottom * page.height))
              for x in range(int(left * page.width), int(right * page.width))]
    coloured = [p for p in pixels if max(p) - min(p) > 100]
    if len(coloured) < len(pixels) / 10:
        return None
    r, g, b = (sum(p[i] for p in coloured) / len(coloured) / 255 for i in range(3))
    return colorsys.rgb_to_hsv(r, g, b)[0] * 360


# The cells of a portrait sheet in reading order, as parts of the paper.
CELLS = {2: [(0, 0, 1, 0.5), (0, 0.5, 1, 1)],
         4: [(0, 0, 0.5, 0.5), (0.5, 0, 1, 0.5), (0, 0.5, 0.5, 1), (0.5, 0.5, 1, 1)]}


def pictures_on(page, cells):
    """The hues of the sheet's cells in reading order; None for a blank cell."""
    return [hue_at(page, *cell) for cell in CELLS[cells]]


def in_order(hues):
    steps = [(later - earlier) % 360 for earlier, later in zip(hues, hues[1:])]
    return all(SMALLEST_STEP <= step <= LARGEST_STEP for step in steps), steps


def stop_by_a_new_request(program, desktop):
    open_region_window(desktop)
    desktop.press(VK_ESCAPE)
    wait_region_window_gone(desktop)


def stop_by_exit(program, desktop):
    program.command(IDM_EXIT)
    program.process.wait(60)


@pytest.mark.parametrize("shots, per_page, interval, stop, pictures", [
    (4, 4, 1, None, [4]),
    (3, 2, 1, None, [2, 1]),
    (4, 4, 2, stop_by_a_new_request, None),
    (4, 4, 2, stop_by_exit, None),
], ids=["four on one sheet", "three on two sheets", "stopped by a new request", "stopped by exit"])
def test_a_series_fills_its_sheets_in_order_and_loses_no_shot(running, desktop, environment, shots, per_page,
                                                              interval, stop, pictures):
    program = started(running)
    apply(program, environment, TimerSeveralShots=1, TimerNumberOfShots=shots, TimerInterval=interval,
          PrintShotsPerPage=per_page)
    before = len(environment.pdfs())
    desktop.press("ctrl", "shift", "snapshot")
    if stop:
        # Between the first shot, taken at the key press, and the last, taken at 6 seconds.
        time.sleep(3)
        stop(program, desktop)
    sheets = wait_for_pdfs(environment, before + len(pictures or [1]))[before:]
    hues = [pictures_on(Page(pdf), per_page) for pdf in sheets]
    taken = [hue for sheet in hues for hue in sheet if hue is not None]
    if pictures:
        assert [sum(hue is not None for hue in sheet) for sheet in hues] == pictures, hues
        assert len(taken) == shots
    else:
        # What was taken, from the first cell on, and not the whole series.
        assert 1 <= len(taken) < shots and all(hue is not None for hue in hues[0][:len(taken)]), hues
    assert in_order(taken)[0], in_order(taken)[1]
    # No sheet more, not even at the tick after the last shot.
    time.sleep(interval + 1)
    assert len(environment.pdfs()) == before + len(sheets)


def print_again_darkness(desktop, environment):
    """The darkest grey of the tray menu's first item, Print again, as the menu shows it; the menu is closed again."""
    desktop.post(f"class:{MAIN_CLASS}", WM_TRAYICON, 0, WM_RBUTTONUP)
    menu = wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")[0]
    picture = ImageGrab.grab(bbox=(menu.left, menu.top, menu.right, menu.bottom),
                             xdisplay=environment.env["DISPLAY"]).convert("L")
    rows = [min(picture.getpixel((x, y)) for x in range(4, picture.width - 4)) for y in range(picture.height)]
    # The first band of rows with text in it.
    first = next(y for y, darkest in enumerate(rows[3:], 3) if darkest < 200)
    band = rows[first:next(y for y in range(first, len(rows)) if rows[y] >= 200)]
    desktop.press(VK_ESCAPE)
    wait_until(lambda: not [w for w in desktop.windows("#32768") if w.visible], 30, what="the menu to close")
    return min(band)


def test_print_again_is_greyed_until_a_page_and_then_prints_it_to_the_queue_chosen_since(running, desktop,
                                                                                         environment):
    program = running
    if program.running():
        program.exit()
    reset_registry(environment)
    # Shots per page counts for a series only.
    set_preferences(environment, PrintShotsPerPage=4)
    program.start()
    first_queue, other_queue = environment.queues
    greyed = print_again_darkness(desktop, environment)

    before = len(environment.pdfs(first_queue))
    desktop.press("ctrl", "shift", "snapshot")
    page = Page(wait_for_pdfs(environment, before + 1, queue=first_queue)[-1])
    left, _, right, _ = page.bounds(lambda p: max(p) - min(p) > 100)
    assert right - left > page.width * 0.8, "a shot alone fills its page"
    assert print_again_darkness(desktop, environment) < greyed - 60, "the item is still greyed"

    face = program.open_preferences()
    face.select("PRINTER", other_queue)
    face.click("OK")
    wait_until(lambda: not program.main_window().visible, 30, what="the Preferences to close")
    before_other = len(environment.pdfs(other_queue))
    desktop.post(f"class:{MAIN_CLASS}", WM_TRAYICON, 0, WM_RBUTTONUP)
    wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")
    desktop.press(VK_DOWN)
    desktop.press(VK_RETURN)
    again = Page(wait_for_pdfs(environment, before_other + 1, queue=other_queue)[-1])
    # The picture of the first page, fitted to the other queue's paper, although the window's hue has turned since.
    shown = ImageGrab.grab(xdisplay=environment.env["DISPLAY"]).getpixel((960, 540))
    hue_now = colorsys.rgb_to_hsv(*(channel / 255 for channel in shown))[0] * 360
    printed, reprinted = hue_at(page, 0, 0, 1, 1), hue_at(again, 0, 0, 1, 1)
    assert abs(reprinted - printed) < 2 < SMALLEST_STEP < (hue_now - printed) % 360, (printed, reprinted, hue_now)
    assert abs(ink_proportions(again) - ink_proportions(page)) < 0.05
