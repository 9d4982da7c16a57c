"""What the user sees when a shot or a hot key cannot be had."""
import contextlib
import os
import subprocess
import time

from conftest import (IDM_ABOUT, IDM_ENTIRE_SCREEN, IDM_EXIT, MAIN_CLASS, TOOLS, VK, WM_TRAYICON, Page,
                      set_preferences, start_test_window, wait_for_pdfs)
from testenv import wait_until

WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK = 0x201, 0x202, 0x203


def wait_for_box(desktop, text, timeout=60):
    def found():
        return [box for box, texts in desktop.message_boxes() if text in texts]
    return wait_until(found, timeout, what=f"a message box saying {text!r}")


def close_box(desktop, box):
    desktop.click(box.handle, 1)  # OK
    wait_until(lambda: all(b.handle != box.handle for b, _ in desktop.message_boxes()), 30,
               what="the message box to close")


@contextlib.contextmanager
def key_held_elsewhere(environment, modifiers, key):
    """Another program holds the hot key for as long as the block runs."""
    holder = subprocess.Popen(["wine", os.path.join(TOOLS, "driver.exe"), "holdkey", str(modifiers), hex(key)],
                              env=environment.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        assert holder.stdout.readline().strip() == "held"
        yield
    finally:
        holder.kill()
        holder.wait()


def test_a_hot_key_held_by_another_program_is_reported_and_the_other_still_works(vorlane, desktop, environment):
    window = None
    try:
        with key_held_elsewhere(environment, 6, 0x2C):
            vorlane.start()
            box = wait_for_box(desktop, "Unable to assign entire screen shortcut, try another.")
            assert len(box) == 1
            assert not [b for b, texts in desktop.message_boxes()
                        if "Unable to assign active window shortcut, try another." in texts]
            close_box(desktop, box[0])
            # The second registration follows the first one's message.
            wait_until(lambda: desktop.run("keyheld", 5, 0x2C).strip() == "held", 30,
                       what="the active-window hot key to be registered")

            window, handle = start_test_window(environment, 100, 100, 320, 240, "Front", popup=True)
            before = len(environment.pdfs())
            desktop.run("foreground", handle)
            desktop.press("alt", "shift", "snapshot")
            wait_for_pdfs(environment, before + 1)
    finally:
        if window:
            window.kill()
            window.wait()


def test_a_refused_region_key_is_reported_in_the_chosen_language(vorlane, desktop, environment):
    set_preferences(environment, Language="Deutsch")
    with key_held_elsewhere(environment, 4, 0x2C):  # Shift+Print Screen
        vorlane.start()
        box = wait_for_box(desktop, "Die Tastenkombination für den Bereich kann nicht zugewiesen werden. "
                                    "Bitte wählen Sie eine andere.")
        close_box(desktop, box[0])
        assert vorlane.running()


def test_a_capture_while_a_job_is_open_fails_and_the_job_completes(vorlane, desktop, environment):
    vorlane.start()
    before = len(environment.pdfs())
    # Both requests wait in the queue; the second is dispatched while the
    # first job is being spooled.
    desktop.run("command", f"class:{MAIN_CLASS}", IDM_ENTIRE_SCREEN, IDM_ENTIRE_SCREEN)
    box = wait_for_box(desktop, "Printing in progress")
    close_box(desktop, box[0])
    wait_for_pdfs(environment, before + 1)
    assert vorlane.running()
    assert not desktop.message_boxes()
    assert len(environment.pdfs()) == before + 1


def test_about_chosen_during_the_start_up_refusal_box_opens_and_the_program_goes_on(vorlane, desktop):
    with key_held_elsewhere(vorlane.environment, 6, 0x2C):
        vorlane.start()
        box = wait_for_box(desktop, "Unable to assign entire screen shortcut, try another.")
        vorlane.command(IDM_ABOUT)
        about = wait_until(lambda: [w for w in desktop.windows("TfmAbout") if w.visible], 30, what="the about window")
        desktop.post(about[0].handle, WM_LBUTTONDOWN, 0, (100 << 16) | 100)
        desktop.post(about[0].handle, WM_LBUTTONUP, 0, (100 << 16) | 100)
        wait_until(lambda: not [w for w in desktop.windows("TfmAbout") if w.visible], 30, what="about to close")
        close_box(desktop, box[0])
        assert vorlane.running()
        desktop.post(f"class:{MAIN_CLASS}", WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
        wait_until(lambda: vorlane.main_window().visible, 30, what="the tray to open the Preferences")


def test_exit_chosen_while_boxes_are_open_ends_the_program(vorlane, desktop, environment):
    set_preferences(environment, PrintPrinter="Printer That Was Removed")
    vorlane.start()
    face = vorlane.open_preferences()
    face.press("OK")
    wait_for_box(desktop, "Printer not selected.")
    face.press("OK")  # handled by the open box's loop: a second box over the first
    wait_until(lambda: len(desktop.message_boxes()) == 2, 30, what="two boxes")
    vorlane.command(IDM_EXIT)
    vorlane.process.wait(30)
    assert not desktop.windows(MAIN_CLASS)


def test_a_window_without_area_in_front_gives_no_page_and_no_message(vorlane, desktop, environment):
    window, handle = start_test_window(environment, 100, 100, 0, 0, "Empty", popup=True)
    try:
        vorlane.start()
        before = len(environment.pdfs())
        desktop.run("foreground", handle)
        assert desktop.run("foreground").startswith(handle), "the empty window is not in front"
        desktop.press("alt", "shift", "snapshot")
        # A page of the screen after it: had the empty window given a page, it would land first.
        desktop.press("ctrl", "shift", "snapshot")
        first = wait_for_pdfs(environment, before + 1)[before]
        assert Page(first).bounds(lambda p: max(p) > 40), "a black page was printed"
        wait_until(lambda: not environment.pending_jobs(), 30, what="the print queue to empty")
        assert len(environment.pdfs()) == before + 1
        assert not desktop.message_boxes()
    finally:
        window.kill()
        window.wait()


def test_twenty_quick_presses_print_at_once_show_one_box_and_let_exit_through(vorlane, desktop, environment):
    vorlane.start()
    before = len(environment.pdfs())
    desktop.run("presses", 20, VK["ctrl"], VK["shift"], VK["snapshot"])

    def first_page_with_at_most_one_box():
        boxes = [b for b, texts in desktop.message_boxes() if "Printing in progress" in texts]
        assert len(boxes) <= 1, f"{len(boxes)} boxes open at once"
        return len(environment.pdfs()) > before
    wait_until(first_page_with_at_most_one_box, 60, interval=0.25, what="the first page")
    wait_until(lambda: first_page_with_at_most_one_box() and not environment.pending_jobs(), 60,
               what="the print queue to empty")
    started = time.monotonic()
    vorlane.exit(timeout=15)
    assert time.monotonic() - started < 15


def test_a_series_goes_on_when_about_is_opened_during_its_first_job(vorlane, desktop, environment):
    set_preferences(environment, TimerSeveralShots=1, TimerNumberOfShots=3, TimerInterval=1)
    vorlane.start()
    before = len(environment.pdfs())
    # About arrives while the first page is being spooled.
    desktop.run("command", f"class:{MAIN_CLASS}", IDM_ENTIRE_SCREEN, IDM_ABOUT)
    wait_for_pdfs(environment, before + 3)
    assert not desktop.message_boxes()
    assert [w for w in desktop.windows("TfmAbout") if w.visible]
