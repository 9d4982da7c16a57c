"""The program lives in the tray: icon, menu, run on startup, about, help."""
import os
import shutil

import pytest

from conftest import (IDM_ABOUT, IDM_RUN_ON_STARTUP, IDM_HELP, MAIN_CLASS, RUN_KEY, WM_TRAYICON, Vorlane,
                      set_preferences, wait_for_pdfs, DIST)
from testenv import wait_until

WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP = 0x201, 0x202, 0x203, 0x205
TRAY_CLASS = "__winex11_standalone_tray"


def tray_shown(desktop):
    return any(w.visible for w in desktop.windows(TRAY_CLASS))


def main(desktop):
    return f"class:{MAIN_CLASS}"


def test_the_icon_is_shown_from_start_up_until_exit(vorlane, desktop):
    vorlane.start()
    wait_until(lambda: tray_shown(desktop), 30, what="the tray icon")
    vorlane.exit()
    wait_until(lambda: not tray_shown(desktop), 30, what="the tray icon to go")


def test_the_icon_returns_when_the_taskbar_is_re_created(vorlane, desktop):
    vorlane.start()
    wait_until(lambda: tray_shown(desktop), 30, what="the tray icon")
    desktop.run("deleteicon", main(desktop))
    wait_until(lambda: not tray_shown(desktop), 30, what="the icon to be taken away")
    desktop.run("postnamed", main(desktop), "TaskbarCreated")
    wait_until(lambda: tray_shown(desktop), 30, what="the icon to come back")


def test_a_single_click_does_nothing_and_a_double_click_opens_preferences(vorlane, desktop, environment):
    vorlane.start()
    before = len(environment.pdfs())
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_LBUTTONDOWN)
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_LBUTTONUP)
    desktop.send(main(desktop), 0)
    assert not vorlane.main_window().visible
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    wait_until(lambda: vorlane.main_window().visible, 30, what="the Preferences window")
    assert len(environment.pdfs()) == before


def test_a_double_click_with_default_action_zero_prints_the_screen(vorlane, desktop, environment):
    set_preferences(environment, DefaultAction=0)
    vorlane.start()
    before = len(environment.pdfs())
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    wait_for_pdfs(environment, before + 1)
    assert not vorlane.main_window().visible


def test_a_double_click_with_another_default_action_does_nothing(vorlane, desktop, environment):
    set_preferences(environment, DefaultAction=7)
    vorlane.start()
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    desktop.send(main(desktop), 0)
    assert not vorlane.main_window().visible


def test_a_right_click_opens_the_menu(vorlane, desktop):
    vorlane.start()
    desktop.post(main(desktop), WM_TRAYICON, 0, WM_RBUTTONUP)
    menus = wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")
    assert len(menus) == 1
    desktop.press(0x1B)  # Esc closes it
    wait_until(lambda: not [w for w in desktop.windows("#32768") if w.visible], 30, what="the menu to close")


# Blanks, Cyrillic and CJK: the program's folder may be named in any script.
PROGRAM_FOLDER = "Vorlane \u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b \u6253\u5370"


@pytest.fixture
def program_folder(environment):
    """A copy of the release folder under a name with blanks, Cyrillic and CJK."""
    folder = os.path.join(environment.root, PROGRAM_FOLDER)
    shutil.copytree(DIST, folder)
    yield folder
    shutil.rmtree(folder, ignore_errors=True)


def run_value(desktop):
    """The text of the Run value; None when there is none."""
    value = desktop.run("regread", RUN_KEY.split("\\", 1)[1], "Vorlane", check=False).strip()
    return value or None


def test_run_on_startup_stores_the_bare_path_in_any_script_and_toggles_back(vorlane, desktop, program_folder):
    program = Vorlane(vorlane.environment, desktop, folder=program_folder).start()
    try:
        assert run_value(desktop) is None
        program.command(IDM_RUN_ON_STARTUP)
        value = wait_until(lambda: run_value(desktop), 30, what="the Run value")
        assert value.endswith(PROGRAM_FOLDER + "\\Vorlane.exe"), value
        assert '"' not in value
        program.command(IDM_RUN_ON_STARTUP)
        wait_until(lambda: run_value(desktop) is None, 30, what="the Run value to go")
    finally:
        program.exit()


def test_exit_drops_a_pending_delayed_capture(vorlane, desktop, environment):
    set_preferences(environment, TimerDelayedCapture=1, TimerDelay=4)
    vorlane.start()
    before = len(environment.pdfs())
    desktop.press("ctrl", "shift", "snapshot")
    vorlane.exit()
    assert not vorlane.running()
    # Long enough for the delayed shot to have been printed had it been kept.
    with pytest.raises(TimeoutError):
        wait_for_pdfs(environment, before + 1, timeout=12)


def test_about_shows_a_borderless_500_by_350_window_that_a_click_closes(vorlane, desktop):
    vorlane.start()
    vorlane.command(IDM_ABOUT)
    about = wait_until(lambda: [w for w in desktop.windows("TfmAbout") if w.visible], 30, what="the about window")
    window = about[0]
    assert (window.width, window.height) == (500, 350)
    desktop.post(window.handle, WM_LBUTTONDOWN, 0, (100 << 16) | 100)
    desktop.post(window.handle, WM_LBUTTONUP, 0, (100 << 16) | 100)
    wait_until(lambda: not [w for w in desktop.windows("TfmAbout") if w.visible], 30, what="the about window to close")
    assert vorlane.running()


def about_shown(desktop):
    return [w for w in desktop.windows("TfmAbout") if w.visible]


@pytest.mark.parametrize("keys", [("alt", 0x73), (0x1B,)], ids=["Alt+F4", "Esc"])
def test_about_closes_from_the_keyboard_and_opens_again(vorlane, desktop, keys):
    vorlane.start()
    for _ in range(2):
        vorlane.command(IDM_ABOUT)
        wait_until(lambda: about_shown(desktop), 30, what="the about window")
        desktop.press(*keys)
        wait_until(lambda: not about_shown(desktop), 30, what="the about window to close")
    assert vorlane.running()
    vorlane.open_preferences()
    assert vorlane.main_window().enabled


def help_viewers(environment):
    """Command lines of the help viewers running in the test's Wine prefix."""
    return [command for _, command in environment.processes(r"hh\.exe.*\.chm")]


def test_help_opens_the_guide_in_the_help_folder_beside_the_executable(vorlane, desktop, environment,
                                                                       program_folder):
    program = Vorlane(environment, desktop, folder=program_folder).start()
    try:
        program.command(IDM_HELP)
        viewer = wait_until(lambda: [w for w in desktop.windows("HH Parent") if w.visible], 60,
                            what="the help viewer")
        assert viewer[0].text == "Vorlane Help"
        # The viewer may have been given the short form of a path in any script.
        opened = [desktop.run("longpath", line.split(" ", 1)[1]).strip() for line in help_viewers(environment)]
        assert any(path.endswith(PROGRAM_FOLDER + "\\help\\Vorlane_en.chm") for path in opened), opened
        desktop.post(viewer[0].handle, 0x0010)  # WM_CLOSE
        wait_until(lambda: not help_viewers(environment), 30, what="the help viewer to close")
    finally:
        program.exit()
