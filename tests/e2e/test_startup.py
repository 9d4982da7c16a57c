"""Start-up and shut-down of the real program."""
import subprocess
import time

from conftest import IDM_EXIT, MAIN_CLASS, WM_CLOSE, Vorlane, as_vorlane, reg_values


def test_starts_hidden_and_writes_nothing(vorlane, desktop, environment):
    vorlane.start()
    window = vorlane.main_window()
    assert not window.visible
    assert vorlane.running()
    # A user who never saved has no key at all.
    assert reg_values(environment, r"HKCU\SOFTWARE\Telmaric") is None
    visible = [w for w in desktop.windows() if w.visible and w.cls not in ("Shell_TrayWnd", "Wine System Tray")]
    assert not [w for w in visible if w.cls == MAIN_CLASS]


def test_second_copy_ends_at_once_without_a_window(vorlane, desktop, environment):
    vorlane.start()
    started = time.monotonic()
    second = subprocess.run(["wine", vorlane.folder + "/Vorlane.exe"], **as_vorlane(environment), timeout=60)
    assert second.returncode == 0
    assert time.monotonic() - started < 10
    assert len(desktop.windows(MAIN_CLASS)) == 1
    assert vorlane.running()


def test_close_request_is_refused_and_exit_ends(vorlane, desktop, environment):
    vorlane.start()
    desktop.post(f"class:{MAIN_CLASS}", WM_CLOSE)
    # The close is handled once the main window answers a later message.
    desktop.send(f"class:{MAIN_CLASS}", 0)
    assert vorlane.running()
    assert vorlane.main_window() is not None

    vorlane.command(IDM_EXIT)
    vorlane.process.wait(30)
    assert not desktop.windows(MAIN_CLASS)

    again = Vorlane(environment, desktop).start()
    try:
        assert again.running()
    finally:
        again.exit()
