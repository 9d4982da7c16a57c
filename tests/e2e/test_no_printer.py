"""A system without any printer."""
import pytest

from testenv import TestEnvironment, wait_until


@pytest.fixture(scope="module")
def environment():
    with TestEnvironment(printers=0) as env:
        yield env


def boxes_saying(desktop, text):
    return [box for box, texts in desktop.message_boxes() if text in texts]


def test_a_shot_without_printers_reports_once_and_the_program_goes_on(vorlane, desktop):
    vorlane.start()
    text = "There is no default printer currently selected"
    for _ in range(2):
        desktop.press("ctrl", "shift", "snapshot")
        boxes = wait_until(lambda: boxes_saying(desktop, text), 60, what="the no-printer message")
        assert len(boxes) == 1
        desktop.click(boxes[0].handle, 1)
        wait_until(lambda: not boxes_saying(desktop, text), 30, what="the message to close")
        assert vorlane.running()


def test_apply_and_ok_refuse_without_printers_and_save_nothing(vorlane, desktop, environment):
    from conftest import reg_values
    vorlane.start()
    face = vorlane.open_preferences()
    text = "There are no printers installed."
    for button in ("APPLY", "OK"):
        face.press(button)
        boxes = wait_until(lambda: boxes_saying(desktop, text), 60, what="the no-printers message")
        desktop.click(boxes[0].handle, 1)
    wait_until(lambda: not boxes_saying(desktop, text), 30, what="the message to close")
    assert vorlane.main_window().visible, "OK after a refusal keeps the window and its edits"
    face.click("CANCEL")
    wait_until(lambda: not vorlane.main_window().visible, 30, what="Cancel to hide the window")
    assert reg_values(environment) is None
