"""What the user sees when a shot or a hot key cannot be had."""
import os
import subprocess

import pytest

from conftest import IDM_ENTIRE_SCREEN, MAIN_CLASS, TOOLS, start_test_window, wait_for_pdfs
from testenv import wait_until


def wait_for_box(desktop, text, timeout=60):
    def found():
        return [box for box, texts in desktop.message_boxes() if text in texts]
    return wait_until(found, timeout, what=f"a message box saying {text!r}")


def close_box(desktop, box):
    desktop.click(box.handle, 1)  # OK
    wait_until(lambda: all(b.handle != box.handle for b, _ in desktop.message_boxes()), 30,
               what="the message box to close")


def test_a_hot_key_held_by_another_program_is_reported_and_the_other_still_works(vorlane, desktop, environment):
    holder = subprocess.Popen(["wine", os.path.join(TOOLS, "driver.exe"), "holdkey", "6", "0x2C"],
                              env=environment.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    window = None
    try:
        assert holder.stdout.readline().strip() == "held"
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
        holder.kill()
        holder.wait()
        if window:
            window.kill()
            window.wait()


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
