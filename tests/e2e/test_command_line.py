"""The command line: an option goes to the running copy, or is carried out by
a copy that starts; anything else shows the options and ends with code 2."""
import pytest

from conftest import (MAIN_CLASS, REGION_CLASS, Vorlane, open_region_window, open_test_window, set_preferences,
                      start_vorlane, wait_for_pdfs, wine_could_not_start)
from testenv import wait_until

OPTIONS = ["/screen", "/window", "/region", "/preferences", "/about", "/exit"]


def start(environment, *arguments):
    return start_vorlane(environment, arguments)


def ended(environment, copy, timeout=60):
    """The exit code of a copy started with arguments, once it has ended; a
    copy Wine could not start at all is started again."""
    for _ in range(3):
        code = copy.wait(timeout)
        if not wine_could_not_start(copy):
            break
        copy = start_vorlane(environment, copy.args[2:])
    return code


def run(environment, *arguments, timeout=60):
    """Vorlane.exe with the arguments; its exit code once it has ended."""
    return ended(environment, start(environment, *arguments), timeout)


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
    started.process = start_vorlane(environment, ["/preferences"])
    vorlane.process = started.process  # ended by the fixture
    wait_until(lambda: (w := started.main_window()) and w.visible, 60, what="the Preferences window")
    assert started.running()


@pytest.mark.parametrize("arguments", [["/?"], ["/print"]])
def test_anything_else_shows_one_box_naming_the_options_and_ends_with_code_2(arguments, vorlane, desktop,
                                                                             environment):
    process = start(environment, *arguments)
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


REFUSED_IN_GERMAN = ("Gerade wird ein Bereich gewählt: die inzwischen verlangte Aufnahme wurde nicht gemacht. "
                     "Wählen Sie den Bereich oder drücken Sie Esc, und verlangen Sie sie dann noch einmal.")

# copies started at the same moment, and whether a region is being chosen meanwhile
AT_ONCE = {
    "two /screen": (["/screen", "/screen"], False),
    "four of every kind": (["/screen", "/region", "/window", "/screen"], False),
    "two while a region is chosen": (["/screen", "/region"], True),
}


@pytest.mark.parametrize("case", AT_ONCE)
def test_copies_started_at_once_each_give_a_page_or_are_refused_in_a_box(case, vorlane, desktop, environment):
    options, choosing = AT_ONCE[case]
    set_preferences(environment, Language="Deutsch")
    with open_test_window(environment, 100, 100, 400, 300, "In front") as window:
        vorlane.start()
        # With nothing in front, /window has nothing to print.
        desktop.run("foreground", window)
        hand_over_at_once(options, choosing, desktop, environment)


def hand_over_at_once(options, choosing, desktop, environment):
    """Starts a copy with each option at once; checks their exit codes, the pages and the boxes."""
    before = len(environment.pdfs())
    if choosing:
        open_region_window(desktop)
    copies = [start(environment, option) for option in options]
    codes = [ended(environment, copy) for copy in copies]
    if choosing:
        # 3: refused, and a box says why, one for both.
        assert codes == [3] * len(options)
        boxes = wait_until(lambda: desktop.message_boxes(), 60, what="the box of the refusal")
        assert [texts for _, texts in boxes] == [[REFUSED_IN_GERMAN]]
        # The keys close the box, then end the region window.
        desktop.press("enter")
        wait_until(lambda: not desktop.message_boxes(), 30, what="Enter to close the box")
        desktop.press("esc")
        wait_until(lambda: not desktop.windows(REGION_CLASS), 30, what="Esc to end the region window")
        assert len(environment.pdfs()) == before
        return
    assert codes == [0] * len(options)

    def every_page():
        # A region window opens for each /region in its turn; a click takes what is under it.
        if [w for w in desktop.windows(REGION_CLASS) if w.visible]:
            desktop.run("mouseclick", 960, 540)
        return len(environment.pdfs()) >= before + len(options)
    wait_until(every_page, 120, what="a page for every copy")
    wait_until(lambda: not environment.pending_jobs(), 60, what="the print queue to empty")
    assert len(environment.pdfs()) == before + len(options)
    assert not desktop.message_boxes()


# what is open when /exit comes: the Preferences alone, or a dialog that a button of theirs opens
OPEN_AT_EXIT = {"Preferences": None, "Font": "WATERMARK_FONT", "Colour": "WATERMARK_COLOR",
                "Folder": "BROWSE_FOLDER"}


@pytest.mark.parametrize("opened", OPEN_AT_EXIT)
def test_exit_ends_the_copy_whatever_it_has_open_and_returns_0(opened, vorlane, desktop, environment):
    vorlane.start()
    face = vorlane.open_preferences()
    if OPEN_AT_EXIT[opened]:
        face.press(OPEN_AT_EXIT[opened])
        wait_until(lambda: [w for w in desktop.windows("#32770") if w.visible], 30, what=f"the {opened} dialog")
    # 1 would say that the copy had not ended within the hand-off's 5 seconds.
    assert run(environment, "/exit") == 0
    assert vorlane.process.wait(30) == 0
    assert not desktop.windows(MAIN_CLASS) and not [w for w in desktop.windows("#32770") if w.visible]
