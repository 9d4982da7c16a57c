"""Policies an administrator sets are in force over the user's own preferences."""
import pytest

from conftest import (IDM_PREFERENCES, MAIN_CLASS, REGION_CLASS, RUN_KEY, WM_TRAYICON, Page, open_test_window,
                      reg_values, set_preferences, wait_for_pdfs)
from testenv import wait_until

COMPUTER_POLICIES = r"HKLM\SOFTWARE\Policies\Telmaric\Vorlane"
USER_POLICIES = r"HKCU\SOFTWARE\Policies\Telmaric\Vorlane"
WM_LBUTTONDBLCLK, WM_RBUTTONUP = 0x203, 0x205
VK_DOWN, VK_RETURN, VK_F11, VK_SNAPSHOT, VK_R = 0x28, 0x0D, 0x7A, 0x2C, 0x52
MOD_SHIFT = 4
NOTE = "Some settings are managed by your organisation."
# The user's own watermark, switched off: red, large, in the bottom-right corner.
OWN_WATERMARK = dict(WatermarkMake=0, WatermarkText="mine", WatermarkFontName="Liberation Sans",
                     WatermarkFontSize=48, WatermarkFontColor=255, WatermarkLocation=3)


def set_policies(environment, key, **values):
    for name, value in values.items():
        kind, data = ("REG_DWORD", str(value)) if isinstance(value, int) else ("REG_SZ", value)
        result = environment.wine_reg("add", key, "/v", name, "/t", kind, "/d", data, "/f")
        assert result.returncode == 0, result.stderr


def delete_policies(environment):
    for key in (COMPUTER_POLICIES, USER_POLICIES):
        environment.wine_reg("delete", key.rsplit("\\", 1)[0], "/f")


@pytest.fixture
def policies(vorlane, environment):
    """Policies set by the test, all deleted again afterwards."""
    delete_policies(environment)
    yield
    delete_policies(environment)


def red_pixels(page):
    return sum(1 for y in range(page.height) for x in range(page.width)
               if (p := page.pixel(x, y))[0] > 150 and p[1] < 120 and p[2] < 120)


def note_shown(desktop):
    return any(c.text == NOTE and c.visible for c in desktop.children(f"class:{MAIN_CLASS}"))


def test_a_computer_policy_stamps_the_page_greys_its_control_and_apply_keeps_the_users_value(
        policies, vorlane, desktop, environment):
    set_preferences(environment, **OWN_WATERMARK)
    set_policies(environment, COMPUTER_POLICIES, WatermarkMake=1, WatermarkText="CONFIDENTIAL")
    vorlane.start()
    with open_test_window(environment, 100, 100, 1600, 900, "Figures", popup=True, plain=True) as window:
        before = len(environment.pdfs())
        desktop.run("foreground", window)
        desktop.press("alt", "shift", "snapshot")
        page = Page(wait_for_pdfs(environment, before + 1)[-1], dpi=40)
    assert red_pixels(page) > 50, "no watermark on the page"

    face = vorlane.open_preferences()
    assert face.checked("MAKE_WATERMARK") and not face.enabled("MAKE_WATERMARK")
    assert face.text("WATERMARK_TEXT") == "CONFIDENTIAL" and not face.enabled("WATERMARK_TEXT")
    assert face.enabled("WATERMARK_CORNER"), "what no policy holds stays the user's"
    assert note_shown(desktop)
    face.select("WATERMARK_CORNER", "Top-left corner")
    face.click("APPLY")
    wait_until(lambda: reg_values(environment)["WatermarkLocation"][1] == "0x0", 30, what="the applied corner")
    values = reg_values(environment)
    assert values["WatermarkMake"] == ("REG_DWORD", "0x0")
    assert values["WatermarkText"] == ("REG_SZ", "mine")


def test_the_computers_policy_wins_over_the_users(policies, vorlane, environment):
    set_policies(environment, USER_POLICIES, WatermarkText="USER", PrintCopies=3)
    set_policies(environment, COMPUTER_POLICIES, WatermarkText="COMPUTER")
    vorlane.start()
    face = vorlane.open_preferences()
    assert face.text("WATERMARK_TEXT") == "COMPUTER"
    assert face.text("COPIES") == "3" and not face.enabled("COPIES")


def test_disable_preferences_takes_the_item_out_of_the_tray_menu(policies, vorlane, desktop, environment):
    set_policies(environment, USER_POLICIES, DisablePreferences=1)
    vorlane.start()
    main = f"class:{MAIN_CLASS}"
    # Neither the double click nor the command opens the Preferences any more.
    desktop.post(main, WM_TRAYICON, 0, WM_LBUTTONDBLCLK)
    vorlane.command(IDM_PREFERENCES)
    desktop.send(main, 0)
    assert not vorlane.main_window().visible
    # The menu's first command, Print again, is greyed; the next is now Run on startup, with the key R.
    desktop.post(main, WM_TRAYICON, 0, WM_RBUTTONUP)
    wait_until(lambda: [w for w in desktop.windows("#32768") if w.visible], 30, what="the tray menu")
    desktop.press(VK_R)
    wait_until(lambda: "Vorlane" in (reg_values(environment, RUN_KEY) or {}), 30, what="Run on startup")
    assert not vorlane.main_window().visible


def test_deleting_the_policies_gives_the_users_own_settings_back_at_the_next_opening(
        policies, vorlane, desktop, environment):
    set_preferences(environment, WatermarkText="mine", TimerDelayedCapture=1)
    set_policies(environment, COMPUTER_POLICIES, WatermarkText="CONFIDENTIAL", TimerDelayedCapture=0)
    vorlane.start()
    face = vorlane.open_preferences()
    assert face.text("WATERMARK_TEXT") == "CONFIDENTIAL"
    assert not face.checked("DELAYED_CAPTURE") and not face.enabled("DELAYED_CAPTURE")
    assert note_shown(desktop)
    face.click("CANCEL")
    wait_until(lambda: not vorlane.main_window().visible, 30, what="the window to close")

    delete_policies(environment)
    face = vorlane.open_preferences()
    assert face.text("WATERMARK_TEXT") == "mine"
    assert face.checked("DELAYED_CAPTURE") and face.enabled("DELAYED_CAPTURE")
    assert not note_shown(desktop)


@pytest.mark.parametrize("row, list_name, modifiers_before", [
    ("Region", "REGION_KEY", 4),  # Shift+Print Screen
    ("EntireScreen", "ENTIRE_SCREEN_KEY", 6),  # Ctrl+Shift+Print Screen
    ("ActiveWindow", "ACTIVE_WINDOW_KEY", 5),  # Alt+Shift+Print Screen
])
def test_a_hot_key_a_policy_sets_while_vorlane_runs_is_registered_at_the_next_opening(
        policies, vorlane, desktop, environment, row, list_name, modifiers_before):
    vorlane.start()
    set_policies(environment, USER_POLICIES, **{f"ShortcutKey{row}": VK_F11, f"ShortcutShift{row}": MOD_SHIFT})
    face = vorlane.open_preferences()
    assert face.text(list_name) == "F11" and not face.enabled(list_name)
    with open_test_window(environment, 100, 100, 400, 300, "Front", popup=True) as window:
        desktop.run("foreground", window)
        before = len(environment.pdfs())
        desktop.press("shift", VK_F11)
        if row == "Region":
            wait_until(lambda: [w for w in desktop.windows(REGION_CLASS) if w.visible], 30, what="the region window")
            desktop.press("esc")
            wait_until(lambda: not desktop.windows(REGION_CLASS), 30, what="the region window to go")
        else:
            wait_for_pdfs(environment, before + 1)
    assert desktop.run("keyheld", modifiers_before, VK_SNAPSHOT).strip() == "free", "the old key is still held"


@pytest.mark.parametrize("button", ["APPLY", "OK"])
def test_a_missing_printer_a_policy_sets_is_named_and_keeps_nothing_else_from_being_saved(
        policies, vorlane, desktop, environment, button):
    set_policies(environment, COMPUTER_POLICIES, PrintPrinter="OldPrinter")
    vorlane.start()
    face = vorlane.open_preferences()
    assert face.text("PRINTER") == "OldPrinter (not installed)" and not face.enabled("PRINTER")
    face.click("FIT_TO_PAGE")
    face.press(button)
    wait_until(lambda: (reg_values(environment) or {}).get("PrintFitToPage") == ("REG_DWORD", "0x0"), 30,
               what="the edit to be saved")
    assert "PrintPrinter" not in reg_values(environment), "the policy's printer is no choice of the user's"
    assert not desktop.message_boxes()
    if button == "OK":
        wait_until(lambda: not vorlane.main_window().visible, 30, what="OK to hide the window")
