"""Several shots of a series on a sheet, and the last sheet printed again, in front of a full-screen window whose
hue turns once in 32 seconds: a later shot has a later hue, about 11 degrees a second."""
import colorsys
import time

import pytest
from PIL import ImageGrab

from conftest import (IDM_EXIT, MAIN_CLASS, WM_TRAYICON, Desktop, Page, Vorlane, ink_proportions, open_test_window,
                      reset_registry, set_preferences, wait_for_pdfs)
from testenv import wait_until

WM_RBUTTONUP, VK_DOWN, VK_RETURN, VK_ESCAPE = 0x205, 0x28, 0x0D, 0x1B
MAIN = f"class:{MAIN_CLASS}"
# The cells of a portrait sheet in reading order, as parts of the paper.
CELLS = {2: [(0, 0, 1, .5), (0, .5, 1, 1)], 4: [(0, 0, .5, .5), (.5, 0, 1, .5), (0, .5, .5, 1), (.5, .5, 1, 1)]}


@pytest.fixture(scope="module")
def program(environment):
    """One Vorlane for the file, in front of the turning hue; a test that ends it starts it again."""
    reset_registry(environment)
    vorlane = Vorlane(environment, Desktop(environment))
    with open_test_window(environment, 0, 0, 1920, 1080, "Hue", popup=True, hue=True):
        yield vorlane
        try:
            vorlane.exit()
        finally:
            vorlane.kill()
            reset_registry(environment)


def hue(pixels):
    """The hue in degrees of the coloured pixels; None where less than a tenth are coloured."""
    coloured = [p for p in pixels if max(p) - min(p) > 100]
    if len(coloured) < len(pixels) / 10:
        return None
    return colorsys.rgb_to_hsv(*(sum(p[i] for p in coloured) / len(coloured) / 255 for i in range(3)))[0] * 360


def hue_at(page, left, top, right, bottom):
    return hue([page.pixel(x, y) for y in range(int(top * page.height), int(bottom * page.height))
                for x in range(int(left * page.width), int(right * page.width))])


def stop_by_exit(vorlane, desktop):
    vorlane.command(IDM_EXIT)
    vorlane.process.wait(60)


@pytest.mark.parametrize("shots, per_page, interval, stop, pictures", [
    (4, 4, 1, None, [4]),
    (3, 2, 1, None, [2, 1]),
    (4, 4, 2, stop_by_exit, None),
], ids=["four on one sheet", "three on two sheets", "stopped by exit"])
def test_a_series_fills_its_sheets_in_order_and_loses_no_shot(program, desktop, environment, shots, per_page,
                                                              interval, stop, pictures):
    if not program.running():
        program.start()
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=shots, TimerInterval=interval,
                    PrintShotsPerPage=per_page)
    program.open_preferences().click("OK")  # the opening reads the stored settings, OK applies them
    wait_until(lambda: not program.main_window().visible, 30, what="the Preferences to close")
    before = len(environment.pdfs())
    desktop.press("ctrl", "shift", "snapshot")
    if stop:
        time.sleep(3)  # past the first shot, at the key press, and before the last, at 6 seconds
        stop(program, desktop)
    sheets = [[hue_at(Page(pdf), *cell) for cell in CELLS[per_page]]
              for pdf in wait_for_pdfs(environment, before + len(pictures or [1]))[before:]]
    taken = [h for sheet in sheets for h in sheet if h is not None]
    if pictures:
        assert [sum(h is not None for h in sheet) for sheet in sheets] == pictures, sheets
    else:  # what was taken, from the first cell on
        assert 1 <= len(taken) < shots and None not in sheets[0][:len(taken)], sheets
    steps = [(later - earlier) % 360 for earlier, later in zip(taken, taken[1:])]
    assert all(4 <= step <= 200 for step in steps), steps
    time.sleep(interval + 1)  # not even the tick after the last shot brings another sheet
    assert len(environment.pdfs()) == before + len(sheets)


def print_again_darkness(desktop, environment):
    """The darkest grey of the text of the tray menu's first item, Print again; closes the menu again."""
    desktop.post(MAIN, WM_TRAYICON, 0, WM_RBUTTONUP)
    menu = wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")[0]
    shown = ImageGrab.grab(bbox=(menu.left, menu.top, menu.right, menu.bottom), xdisplay=environment.env["DISPLAY"])
    rows = [min(shown.convert("L").crop((4, y, shown.width - 4, y + 1)).getdata()) for y in range(3, shown.height)]
    first = next(y for y, darkest in enumerate(rows) if darkest < 200)
    desktop.press(VK_ESCAPE)
    wait_until(lambda: not [w for w in desktop.windows("#32768") if w.visible], 30, what="the menu to close")
    return min(rows[first:next(y for y in range(first, len(rows)) if rows[y] >= 200)])


def test_print_again_is_greyed_until_a_page_and_then_prints_it_to_the_queue_chosen_since(program, desktop,
                                                                                         environment):
    program.exit()
    reset_registry(environment)
    set_preferences(environment, PrintShotsPerPage=4)  # for a series only
    program.start()
    first_queue, other_queue = environment.queues
    greyed = print_again_darkness(desktop, environment)
    before = [len(environment.pdfs(queue)) for queue in environment.queues]
    desktop.press("ctrl", "shift", "snapshot")
    page = Page(wait_for_pdfs(environment, before[0] + 1, queue=first_queue)[-1])
    left, _, right, _ = page.bounds(lambda p: max(p) - min(p) > 100)
    assert right - left > page.width * 0.8, "a shot alone fills its page"
    assert print_again_darkness(desktop, environment) < greyed - 60, "the item is still greyed"

    face = program.open_preferences()
    face.select("PRINTER", other_queue)
    face.click("OK")
    wait_until(lambda: not program.main_window().visible, 30, what="the Preferences to close")
    desktop.post(MAIN, WM_TRAYICON, 0, WM_RBUTTONUP)
    wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")
    desktop.press(VK_DOWN)
    desktop.press(VK_RETURN)
    again = Page(wait_for_pdfs(environment, before[1] + 1, queue=other_queue)[-1])
    # The first page's picture, fitted to the other queue's paper, although the screen's hue has turned since.
    now = hue([ImageGrab.grab(xdisplay=environment.env["DISPLAY"]).getpixel((960, 540))])
    printed, reprinted = hue_at(page, 0, 0, 1, 1), hue_at(again, 0, 0, 1, 1)
    assert abs(reprinted - printed) < 2 and (now - printed) % 360 > 4, (printed, reprinted, now)
    assert abs(ink_proportions(again) - ink_proportions(page)) < 0.05
