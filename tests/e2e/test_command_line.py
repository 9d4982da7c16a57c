"""The command line: an option goes to the running copy, or is carried out by
a copy that starts; anything else shows the options and ends with code 2."""
import os
import subprocess

import pytest

from conftest import DIST, MAIN_CLASS, REGION_CLASS, Vorlane, as_vorlane, wait_for_pdfs
from testenv import wait_until

OPTIONS = ["/screen", "/window", "/region", "/preferences", "/about", "/exit"]


def run(environment, *arguments, timeout=60):
    """Vorlane.exe with the arguments; its exit code once it has ended."""
    return subprocess.run(["wine", os.path.join(DIST, "Vorlane.exe"), *arguments], **as_vorlane(environment),
                          timeout=timeout).returncode


def visible(desktop, window_class):
    return [w for w in desktop.windows(window_class) if w.visible]


def printed_a_page(vorlane, desktop, environment, before):
    wait_for_pdfs(environment, before + 1)
    return vorlane.running() and len(desktop.windows(MAIN_CLASS)) == 1


def opened_the_preferences(vorlane, desktop, environment, before):
    wait_until(lambda: vorlane.main_window().visible, 30, what="the Preferences window")
    return vorlane.running() and len(desktop.windows(MAIN_CLASS)) == 1


def opened_about(vorlane, desktop, environment, before):
    wait_until(lambda: visible(desktop, "TfmAbout"), 30, what="the About window")
    return vorlane.running() and len(desktop.windows(MAIN_CLASS)) == 1


def covered_the_screens_for_a_region(vorlane, desktop, environment, before):
    wait_until(lambda: visible(desktop, REGION_CLASS), 30, what="the region window")
    return vorlane.running() and len(desktop.windows(MAIN_CLASS)) == 1


def ended_it(vorlane, desktop, environment, before):
    # Already gone when the new copy returned; its Linux process follows.
    gone = not desktop.windows(MAIN_CLASS)
    return gone and vorlane.process.wait(30) == 0


# option as typed: what the running copy shows of it
HANDED = {
    "/screen": printed_a_page,
    "/Region": covered_the_screens_for_a_region,
    "-PREFERENCES": opened_the_preferences,
    "/About": opened_about,
    "-exit": ended_it,
}


@pytest.mark.parametrize("option", HANDED)
def test_an_option_is_handed_to_the_running_copy(option, vorlane, desktop, environment):
    vorlane.start()
    before = len(environment.pdfs())
    assert run(environment, option) == 0
    assert HANDED[option](vorlane, desktop, environment, before)


def test_with_no_copy_running_the_program_starts_and_then_carries_out_the_option(vorlane, desktop, environment):
    # /exit has nothing to end: nothing starts.
    assert run(environment, "/exit") == 0
    assert not desktop.windows(MAIN_CLASS)

    started = Vorlane(environment, desktop)
    started.process = subprocess.Popen(["wine", os.path.join(DIST, "Vorlane.exe"), "/preferences"],
                                       **as_vorlane(environment))
    vorlane.process = started.process  # ended by the fixture
    wait_until(lambda: (w := started.main_window()) and w.visible, 60, what="the Preferences window")
    assert started.running()


@pytest.mark.parametrize("arguments", [["/?"], ["/print"]])
def test_anything_else_shows_one_box_naming_the_options_and_ends_with_code_2(arguments, vorlane, desktop,
                                                                             environment):
    process = subprocess.Popen(["wine", os.path.join(DIST, "Vorlane.exe"), *arguments], **as_vorlane(environment))
    try:
        boxes = wait_until(lambda: desktop.message_boxes(), 60, what="the box of options")
        text = "\n".join(boxes[0][1])
        assert all(option in text for option in OPTIONS), text
        # Nothing started: the box is all there is.
        assert not desktop.windows(MAIN_CLASS)
        desktop.close_message_boxes()
        # One box: the program ends as soon as it is closed.
        assert process.wait(30) == 2
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
