"""The Preferences window from the keyboard alone, in English and German."""
import pytest

from conftest import CONTROL_IDS, MAIN_CLASS, VK, Window, reg_values, set_preferences
from testenv import wait_until

VK_TAB, VK_ESCAPE, VK_NEXT = 0x09, 0x1B, 0x22
PAGES = ("GENERAL_PAGE", "PRINTING_PAGE", "WATERMARK_PAGE", "TIMER_PAGE")
# What takes an access key on each page: its check boxes, its buttons and the
# labels of its inputs. Apply takes one too; OK and Cancel answer Enter and Esc.
KEYED = {
    "GENERAL_PAGE": ("LANGUAGE_LABEL", "REFRESH_LANGUAGES", "ENTIRE_SCREEN_LABEL", "ACTIVE_WINDOW_LABEL",
                     "DEFAULT_ACTION_LABEL", "CAPTURE_SCREEN_LABEL"),
    "PRINTING_PAGE": ("PRINTER_LABEL", "PRINTER_PROPERTIES", "FIT_TO_PAGE", "PAGE_POSITION_LABEL", "ORIENTATION_LABEL",
                      "COPIES_LABEL", "GRAYSCALE", "FILE_PRINTER_AUTOSAVE", "FILE_PRINTER_FOLDER_LABEL",
                      "BROWSE_FOLDER"),
    "WATERMARK_PAGE": ("MAKE_WATERMARK", "WATERMARK_CORNER_LABEL", "WATERMARK_TEXT_LABEL", "WATERMARK_FONT_LABEL",
                       "WATERMARK_COLOR", "TRANSPARENCY_GROUP"),
    "TIMER_PAGE": ("DELAYED_CAPTURE", "DELAY_LABEL", "SEVERAL_SHOTS", "NUMBER_OF_SHOTS_LABEL", "INTERVAL_LABEL"),
}
LANGUAGES = ["English", "Deutsch"]


def access_key(caption):
    """The letter after a single "&", lower case; None without one."""
    at = caption.replace("&&", "").find("&")
    return caption.replace("&&", "")[at + 1].lower() if at >= 0 else None


def focused(desktop):
    line = desktop.run("focus", f"class:{MAIN_CLASS}").strip()
    return Window(line) if line else None


def step_focus(desktop, keys, times=1):
    """Presses the keys, times times, each time waiting until the focus has
    moved on; gives where it went each time."""
    lines = desktop.run("stepfocus", f"class:{MAIN_CLASS}", times, *[VK.get(key, key) for key in keys])
    return [Window(line) for line in lines.splitlines() if line]


def controls(face):
    """Every control of the window by its name, from one listing."""
    listed = {child.id: child for child in face.desktop.children(face.main.handle)}
    return {name: listed[ident] for name, ident in CONTROL_IDS.items() if ident in listed}


def shown_page(shown):
    return next(name for name in PAGES if shown[name].visible)


def open_with_every_control_enabled(vorlane, environment, language):
    set_preferences(environment, Language=language, WatermarkMake=1, TimerDelayedCapture=1, TimerSeveralShots=1)
    vorlane.start()
    face = vorlane.open_preferences()
    wait_until(lambda: (now := focused(vorlane.desktop)) and now.id == CONTROL_IDS["LANGUAGE"], 30,
               what="the focus on the first control")
    return face


@pytest.mark.parametrize("language", LANGUAGES)
def test_ctrl_tab_and_tab_read_every_page_in_order_with_keys_of_its_own(vorlane, environment, desktop, language):
    face = open_with_every_control_enabled(vorlane, environment, language)
    shown = controls(face)
    apply_key = access_key(shown["APPLY"].text)
    assert apply_key and "&" not in shown["OK"].text + shown["CANCEL"].text
    for index, page in enumerate(PAGES):
        first = step_focus(desktop, ("ctrl", VK_TAB))[0] if index > 0 else focused(desktop)
        shown = controls(face)
        assert shown_page(shown) == page
        keys = [access_key(shown[name].text) for name in KEYED[page]]
        assert None not in keys, [shown[name].text for name in KEYED[page]]
        assert len(set(keys + [apply_key])) == len(keys) + 1, keys + [apply_key]

        # From the page's first control Tab goes on row by row, left to
        # right, then to OK, Cancel, Apply, the page control and the first
        # control again.
        stops = [first] + step_focus(desktop, (VK_TAB,), times=40)
        at_ok = next(i for i, stop in enumerate(stops) if stop.id == CONTROL_IDS["OK"])
        assert at_ok >= 5, page
        for here, there in zip(stops[:at_ok - 1], stops[1:at_ok]):
            same_row = there.top < here.bottom and here.top < there.bottom
            assert (there.left > here.left) if same_row else (there.top > here.top), (here, there)
        assert [stop.id for stop in stops[at_ok:at_ok + 5]] == [
            CONTROL_IDS[name] for name in ("OK", "CANCEL", "APPLY", "PAGES")] + [first.id]


@pytest.mark.parametrize("language", LANGUAGES)
def test_alt_and_a_key_toggles_fit_to_page_and_esc_closes_without_saving(vorlane, environment, desktop, language):
    face = open_with_every_control_enabled(vorlane, environment, language)
    stored = reg_values(environment)
    step_focus(desktop, ("ctrl", VK_NEXT))
    assert shown_page(controls(face)) == "PRINTING_PAGE"
    key = access_key(face.text("FIT_TO_PAGE"))
    assert key and key.isascii() and key.isalpha(), face.text("FIT_TO_PAGE")
    assert face.checked("FIT_TO_PAGE")
    desktop.press("alt", ord(key.upper()))
    wait_until(lambda: not face.checked("FIT_TO_PAGE"), 30, what="Fit to page to be cleared")
    assert focused(desktop).id == CONTROL_IDS["FIT_TO_PAGE"]
    # The key of a label moves on to the field it names.
    label_key = access_key(face.text("COPIES_LABEL"))
    assert label_key.isascii(), face.text("COPIES_LABEL")
    assert step_focus(desktop, ("alt", ord(label_key.upper())))[0].id == CONTROL_IDS["COPIES"]

    desktop.press(VK_ESCAPE)
    wait_until(lambda: not vorlane.main_window().visible, 30, what="Esc to close the window")
    assert reg_values(environment) == stored
    assert vorlane.open_preferences().checked("FIT_TO_PAGE")
