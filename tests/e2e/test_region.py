"""The region key: part of the frozen screens, chosen with the mouse or the keys, on one page."""
import pytest

from conftest import (IDM_ABOUT, MAIN_CLASS, PROPORTION_SLACK, REGION_CLASS, VK, WM_TRAYICON, Page,
                      assert_the_region_from_100_100_to_500_400, ink_proportions, open_region_window, open_test_window,
                      quadrant_boxes, set_preferences, wait_for_pdfs, wait_region_window_gone)
from test_command_line import run
from testenv import wait_until

WM_LBUTTONDBLCLK = 0x0203


def test_a_drag_prints_the_colours_under_it_in_its_proportions(vorlane, desktop, environment, pattern_at_400_300):
    vorlane.start()
    before = len(environment.pdfs())
    open_region_window(desktop)
    desktop.run("drag", 100, 100, 500, 400)
    pdfs = wait_for_pdfs(environment, before + 1)
    assert_the_region_from_100_100_to_500_400(Page(pdfs[-1], dpi=30))
    wait_region_window_gone(desktop)
    assert len(environment.pdfs()) == before + 1


def test_the_keys_alone_choose_a_region(vorlane, desktop, environment, pattern_at_400_300):
    vorlane.start()
    before = len(environment.pdfs())
    desktop.run("mouse", 100, 100)
    open_region_window(desktop)
    desktop.press("enter")
    desktop.run("presses", 40, VK["shift"], VK["right"])
    desktop.run("presses", 30, VK["shift"], VK["down"])
    desktop.press("enter")
    assert_the_region_from_100_100_to_500_400(Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30))


@pytest.mark.parametrize("cancel", ["esc", "right click"])
def test_esc_or_a_right_click_prints_nothing_and_shows_no_box(vorlane, desktop, environment, screen_pattern, cancel):
    vorlane.start()
    before = len(environment.pdfs())
    open_region_window(desktop)
    if cancel == "esc":
        desktop.press("esc")
    else:
        desktop.run("mouseclick", 600, 400, "right")
    wait_region_window_gone(desktop)
    assert not desktop.message_boxes()
    # A page of the cancelled choice would come out before the next one.
    desktop.press("ctrl", "shift", "snapshot")
    page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
    assert abs(ink_proportions(page) - 1920 / 1080) < PROPORTION_SLACK
    assert len(environment.pdfs()) == before + 1


def test_a_click_without_a_drag_prints_the_window_under_it(vorlane, desktop, environment):
    with open_test_window(environment, 300, 200, 640, 480, "Clicked window"):
        vorlane.start()
        before = len(environment.pdfs())
        open_region_window(desktop)
        desktop.run("mouseclick", 620, 440)
        page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
    boxes = quadrant_boxes(page)
    assert all(boxes.values()), boxes
    # The whole window, frame and caption with it: 640 by 480.
    assert abs(ink_proportions(page) - 640 / 480) < PROPORTION_SLACK


def test_a_series_copies_the_same_region_for_every_shot(vorlane, desktop, environment, pattern_at_400_300):
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=3, TimerInterval=1)
    vorlane.start()
    before = len(environment.pdfs())
    open_region_window(desktop)
    desktop.run("drag", 100, 100, 500, 400)
    pdfs = wait_for_pdfs(environment, before + 3, timeout=120)
    for pdf in pdfs[-3:]:
        assert_the_region_from_100_100_to_500_400(Page(pdf, dpi=30))


def test_while_a_region_is_chosen_no_key_or_click_opens_another_or_takes_a_shot(vorlane, desktop, environment,
                                                                               screen_pattern):
    set_preferences(environment, DefaultAction=2)
    vorlane.start()
    before = len(environment.pdfs())
    # The tray icon's double click opens the region window as the key does.
    desktop.post(f"class:{MAIN_CLASS}", WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    wait_until(lambda: [w for w in desktop.windows(REGION_CLASS) if w.visible], 30, what="the region window")
    desktop.press("shift", "snapshot")
    desktop.press("ctrl", "shift", "snapshot")
    desktop.post(f"class:{MAIN_CLASS}", WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    desktop.send(f"class:{MAIN_CLASS}", 0)  # answered once all of them have been handled
    assert len(desktop.windows(REGION_CLASS)) == 1
    desktop.press("esc")
    wait_region_window_gone(desktop)
    desktop.send(f"class:{MAIN_CLASS}", 0)
    assert len(environment.pdfs()) == before


@pytest.mark.parametrize("included", [True, False], ids=["included", "left out"])
def test_the_mouse_pointer_is_printed_only_when_asked(vorlane, desktop, environment, included):
    set_preferences(environment, CaptureMousePointer=int(included))
    with open_test_window(environment, 400, 300, 400, 300, "White", popup=True, white=True) as handle:
        vorlane.start()
        before = len(environment.pdfs())
        desktop.run("foreground", handle)
        desktop.run("mouse", 600, 450)  # the middle of the window
        desktop.press("alt", "shift", "snapshot")
        page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=30)
    dark = page.bounds(lambda p: sum(p) < 300)
    if not included:
        assert dark is None
        return
    assert dark, "no pointer on the page"
    # The arrow's tip, its hot spot, is the middle of the printed window, which is fitted and centred.
    left, top, right, bottom = dark
    assert abs(left - page.width / 2) <= 3 and abs(top - page.height / 2) <= 3, dark
    assert 3 <= right - left <= 30 and 3 <= bottom - top <= 40, dark


# what opens a window of ours over the region window, and the class of that window
OVER_THE_REGION = {"/about": "TfmAbout", "/preferences": MAIN_CLASS, "the tray's About": "TfmAbout"}


@pytest.mark.parametrize("opener", OVER_THE_REGION)
def test_the_keys_end_the_region_window_after_a_window_opened_over_it_is_closed(opener, vorlane, desktop,
                                                                                 environment):
    vorlane.start()
    before = len(environment.pdfs())
    open_region_window(desktop)
    if opener.startswith("/"):
        assert run(environment, opener) == 0
    else:
        vorlane.command(IDM_ABOUT)

    def shown():
        return [w for w in desktop.windows(OVER_THE_REGION[opener]) if w.visible]
    wait_until(shown, 30, what=f"the window {opener} opens")
    desktop.press("esc")
    wait_until(lambda: not shown(), 30, what="Esc to close it")
    desktop.press("esc")
    wait_region_window_gone(desktop)
    assert len(environment.pdfs()) == before
    assert not desktop.message_boxes()
