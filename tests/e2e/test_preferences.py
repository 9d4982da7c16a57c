"""The Preferences window as a user drives it."""
import os
import shutil
import signal

import pytest

from conftest import (IDM_HELP, reg_values, set_preferences, start_test_window, wait_for_pdfs,
                      DIST)
from testenv import wait_until


def test_first_opening_shows_every_default(vorlane, environment):
    vorlane.start()
    face = vorlane.open_preferences()
    assert face.text("ENTIRE_SCREEN_KEY") == "PrtScr"
    assert face.text("ACTIVE_WINDOW_KEY") == "PrtScr"
    assert [face.checked(f"ENTIRE_SCREEN_{m}") for m in ("CTRL", "ALT", "SHIFT", "WIN")] == [
        True, False, True, False]
    assert [face.checked(f"ACTIVE_WINDOW_{m}") for m in ("CTRL", "ALT", "SHIFT", "WIN")] == [
        False, True, True, False]
    assert face.text("REGION_KEY") == "PrtScr"
    assert [face.checked(f"REGION_{m}") for m in ("CTRL", "ALT", "SHIFT", "WIN")] == [False, False, True, False]
    assert face.text("DEFAULT_ACTION") == "Preferences"
    assert face.text("LANGUAGE") == "English"
    assert not face.checked("MAKE_WATERMARK")
    for name in ("WATERMARK_CORNER", "WATERMARK_TEXT", "WATERMARK_FONT", "WATERMARK_COLOR", "TRANSPARENCY"):
        assert not face.enabled(name), name
    assert face.text("WATERMARK_FONT") == "Browse Font"
    assert face.text("WATERMARK_TEXT") == "%DATE% %TIME%"
    for name in ("DELAY", "NUMBER_OF_SHOTS", "INTERVAL"):
        assert face.text(name) == "1" and not face.enabled(name), name
    assert face.checked("FIT_TO_PAGE")
    assert face.text("PAGE_POSITION") == "Center"
    assert face.text("ORIENTATION") == "As the printer is set"
    assert face.text("COPIES") == "1"
    assert face.text("PRINT_COLORS") == "As on screen"
    assert not face.checked("GRAYSCALE")
    assert not face.checked("CAPTURE_MOUSE_POINTER")
    assert face.checked("FILE_PRINTER_AUTOSAVE")
    assert face.text("FILE_PRINTER_FOLDER") == ""
    assert face.text("CAPTURE_SCREEN") == "Primary screen"
    assert face.text("PRINTER") == environment.queues[0]
    assert reg_values(environment) is None, "opening writes nothing"


def test_apply_writes_what_the_controls_hold(vorlane, environment):
    vorlane.start()
    face = vorlane.open_preferences()
    face.click("MAKE_WATERMARK")
    face.set_text("WATERMARK_TEXT", "Printed %DATE%")
    face.select("WATERMARK_CORNER", "Bottom-right corner")
    face.click("DELAYED_CAPTURE")
    face.set_text("DELAY", "5")
    face.select("PAGE_POSITION", "Top-left")
    face.select("ORIENTATION", "Automatic")
    face.set_text("COPIES", "3")
    face.click("GRAYSCALE")
    face.set_text("FILE_PRINTER_FOLDER", "D:\\Pages")
    face.select("CAPTURE_SCREEN", "All screens")
    face.select("PRINTER", environment.queues[1])
    face.select("SHOTS_PER_PAGE", "4")
    face.click("ENTIRE_SCREEN_ALT")
    face.click("APPLY")
    values = wait_until(lambda: reg_values(environment), 30, what="the saved settings")
    assert len(values) == 33
    assert values["WatermarkMake"] == ("REG_DWORD", "0x1")
    assert values["WatermarkText"] == ("REG_SZ", "Printed %DATE%")
    assert values["WatermarkLocation"] == ("REG_DWORD", "0x3")
    assert values["WatermarkFontName"] == ("REG_SZ", "MS Sans Serif")
    assert values["TimerDelayedCapture"] == ("REG_DWORD", "0x1")
    assert values["TimerDelay"] == ("REG_DWORD", "0x5")
    assert values["PrintPagePosition"] == ("REG_DWORD", "0x0")
    assert values["PrintOrientation"] == ("REG_DWORD", "0x1")
    assert values["PrintCopies"] == ("REG_DWORD", "0x3")
    assert values["PrintGrayscale"] == ("REG_DWORD", "0x1")
    assert values["FilePrinterAutoSave"] == ("REG_DWORD", "0x1")
    assert values["FilePrinterFolder"] == ("REG_SZ", "D:\\Pages")
    assert values["CaptureScreen"] == ("REG_DWORD", "0x2")
    assert values["PrintPrinter"] == ("REG_SZ", environment.queues[1])
    assert values["PrintShotsPerPage"] == ("REG_DWORD", "0x4")
    assert values["ShortcutShiftEntireScreen"] == ("REG_DWORD", "0x7")
    # What nobody touched is stored as the defaults.
    assert values["ShortcutShiftRegion"] == ("REG_DWORD", "0x4")
    assert values["ShortcutKeyRegion"] == ("REG_DWORD", "0x2c")
    assert values["CaptureMousePointer"] == ("REG_DWORD", "0x0")
    assert values["Language"] == ("REG_SZ", "English")
    assert face.enabled("DELAY")


def test_cancel_writes_nothing_and_a_reopening_shows_the_stored_values(vorlane, desktop, environment):
    # Values out of their range show their defaults, and stay stored until applied.
    stored = {"TimerDelay": 9, "PrintCopies": 100, "PrintOrientation": 4, "CaptureScreen": 3, "PrintShotsPerPage": 3}
    set_preferences(environment, **stored)
    vorlane.start()
    face = vorlane.open_preferences()
    assert [face.text(name) for name in ("DELAY", "COPIES", "ORIENTATION", "CAPTURE_SCREEN", "SHOTS_PER_PAGE")] == [
        "9", "1", "As the printer is set", "Primary screen", "1"]
    face.set_text("DELAY", "3")
    face.click("CANCEL")
    wait_until(lambda: not vorlane.main_window().visible, 30, what="the window to hide")
    assert reg_values(environment) == {name: ("REG_DWORD", hex(value)) for name, value in stored.items()}
    face = vorlane.open_preferences()
    assert face.text("DELAY") == "9"
    face.click("APPLY")
    values = wait_until(lambda: (v := reg_values(environment)) and len(v) == 33 and v, 30, what="the saved settings")
    assert values["PrintCopies"] == ("REG_DWORD", "0x1")
    assert values["PrintShotsPerPage"] == ("REG_DWORD", "0x1")
    assert values["PrintOrientation"] == ("REG_DWORD", "0x0")
    assert values["CaptureScreen"] == ("REG_DWORD", "0x0")


def test_ok_applies_and_hides(vorlane, environment):
    vorlane.start()
    face = vorlane.open_preferences()
    face.click("FIT_TO_PAGE")
    face.click("OK")
    wait_until(lambda: not vorlane.main_window().visible, 30, what="the window to hide")
    assert reg_values(environment)["PrintFitToPage"] == ("REG_DWORD", "0x0")


def message(desktop, text):
    return wait_until(lambda: [b for b, texts in desktop.message_boxes() if text in texts], 30,
                      what=f"the message {text!r}")


def test_apply_refuses_when_the_stored_printer_is_gone_and_ok_then_keeps_the_edits(vorlane, desktop, environment):
    set_preferences(environment, PrintPrinter="Printer That Was Removed")
    vorlane.start()
    face = vorlane.open_preferences()
    assert face.text("PRINTER") == ""
    face.click("FIT_TO_PAGE")
    for button in ("APPLY", "OK"):
        face.press(button)
        box = message(desktop, "Printer not selected.")
        desktop.click(box[0].handle, 1)
    # The window stays with the edits, for a printer to be chosen or Cancel.
    wait_until(lambda: not desktop.message_boxes(), 30, what="the message to close")
    assert vorlane.main_window().visible and not face.checked("FIT_TO_PAGE")
    assert reg_values(environment) == {"PrintPrinter": ("REG_SZ", "Printer That Was Removed")}


def test_applied_hot_keys_are_in_force_at_once(vorlane, desktop, environment):
    process, _ = start_test_window(environment, 0, 0, 200, 200, "Pattern", popup=True)
    try:
        vorlane.start()
        face = vorlane.open_preferences()
        face.select("ENTIRE_SCREEN_KEY", "F9")
        for box in ("CTRL", "ALT", "SHIFT"):
            if face.checked(f"ACTIVE_WINDOW_{box}"):
                face.click(f"ACTIVE_WINDOW_{box}")
        face.select("ACTIVE_WINDOW_KEY", "None")
        face.click("OK")
        wait_until(lambda: not vorlane.main_window().visible, 30, what="the window to hide")
        assert not desktop.message_boxes(), "switching a hot key off shows no message"
        assert desktop.run("keyheld", 6, 0x78).strip() == "held"
        assert desktop.run("keyheld", 6, 0x2C).strip() == "free"
        before = len(environment.pdfs())
        desktop.press("ctrl", "shift", 0x78)
        wait_for_pdfs(environment, before + 1)
    finally:
        process.kill()
        process.wait()


@pytest.fixture
def languages(environment):
    """A copy of the release folder whose language folder the test may change."""
    folder = os.path.join(environment.root, "release")
    shutil.copytree(DIST, folder)
    yield os.path.join(folder, "langs")
    shutil.rmtree(folder, ignore_errors=True)


def test_choosing_deutsch_translates_the_window_and_keeps_the_selections(environment, desktop, languages):
    from conftest import Vorlane
    program = Vorlane(environment, desktop, folder=os.path.dirname(languages)).start()
    try:
        face = program.open_preferences()
        face.select("PAGE_POSITION", "Bottom-right")
        face.select("LANGUAGE", "Deutsch")
        face.click("APPLY")
        wait_until(lambda: face.text("CANCEL") == "Abbrechen", 30, what="German captions")
        assert face.text("LANGUAGE") == "Deutsch"
        assert face.text("DEFAULT_ACTION") != "Preferences"
        assert face.text("PAGE_POSITION") not in ("", "Bottom-right")
        assert reg_values(environment)["Language"] == ("REG_SZ", "Deutsch")
    finally:
        program.exit()


def test_cancel_after_choosing_a_language_changes_nothing(vorlane):
    vorlane.start()
    face = vorlane.open_preferences()
    face.select("LANGUAGE", "Deutsch")
    face.click("CANCEL")
    face = vorlane.open_preferences()
    assert face.text("LANGUAGE") == "English"
    assert face.text("CANCEL") == "Cancel"


def test_a_language_may_name_its_help_file_but_not_leave_the_help_folder(environment, desktop, languages):
    from conftest import Vorlane
    from test_tray import help_viewers
    help_folder = os.path.join(os.path.dirname(languages), "help")
    shutil.copy(os.path.join(help_folder, "Vorlane_en.chm"), os.path.join(help_folder, "Custom.chm"))
    with open(os.path.join(languages, "Custom.lng"), "w") as custom:
        custom.write("[FileInfo]\r\nHelpFileName=Custom.chm\r\n")
    with open(os.path.join(languages, "Escape.lng"), "w") as escape:
        escape.write("[FileInfo]\r\nHelpFileName=..\\..\\outside.chm\r\n")
    for language, expected in (("Custom", "\\help\\Custom.chm"), ("Escape", "\\help\\Vorlane_en.chm")):
        set_preferences(environment, Language=language)
        program = Vorlane(environment, desktop, folder=os.path.dirname(languages)).start()
        try:
            program.command(IDM_HELP)
            lines = wait_until(lambda: help_viewers(environment), 60, what="the help viewer")
            assert any(line.endswith(expected) for line in lines), lines
        finally:
            program.exit()
            for pid, _ in environment.processes(r"hh\.exe"):
                try:
                    os.kill(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
            wait_until(lambda: not environment.processes(r"hh\.exe"), 30, what="the help viewer to end")


def test_languages_named_and_written_in_greek_are_listed_chosen_and_kept(environment, desktop, languages):
    """A UTF-8 file and a UTF-16 one, both named in Greek."""
    from conftest import Vorlane
    greek, cypriot = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "\u039a\u03c5\u03c0\u03c1\u03b9\u03b1\u03ba\u03ac"
    cancel_greek, cancel_cypriot = "\u0386\u03ba\u03c5\u03c1\u03bf", "\u0391\u03ba\u03cd\u03c1\u03c9\u03c3\u03b7"
    with open(os.path.join(languages, greek + ".lng"), "wb") as utf8:
        utf8.write(f"[PreferencesWindow]\r\nButtonCancel={cancel_greek}\r\n".encode("utf-8"))
    with open(os.path.join(languages, cypriot + ".lng"), "wb") as utf16:
        utf16.write(f"[PreferencesWindow]\r\nButtonCancel={cancel_cypriot}\r\n".encode("utf-16"))  # with its mark
    folder = os.path.dirname(languages)
    program = Vorlane(environment, desktop, folder=folder).start()
    try:
        face = program.open_preferences()
        face.select("LANGUAGE", greek)
        face.click("APPLY")
        wait_until(lambda: face.text("CANCEL") == cancel_greek, 30, what="the Greek caption")
    finally:
        program.exit()
    program = Vorlane(environment, desktop, folder=folder).start()
    try:
        face = program.open_preferences()
        assert face.text("LANGUAGE") == greek, "the Greek name was stored and chosen again"
        assert face.text("CANCEL") == cancel_greek
        face.select("LANGUAGE", cypriot)
        face.click("APPLY")
        wait_until(lambda: face.text("CANCEL") == cancel_cypriot, 30, what="the caption of the UTF-16 file")
    finally:
        program.exit()
