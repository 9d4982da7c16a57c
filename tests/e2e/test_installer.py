"""The installer package under Wine's msiexec: installed silently per user
and per machine, started from its shortcut, upgraded in place and removed
without a trace, the user's preferences kept throughout."""
import glob
import os
import signal
import subprocess

import pytest

from conftest import (BUILD, DIST, PREFERENCES_KEY, RUN_KEY, Vorlane, as_vorlane, reg_values, set_preferences,
                      wait_for_pdfs)
from testenv import wait_until

PACKAGE = glob.glob(os.path.join(BUILD, "release", "Vorlane-*.msi"))
# Vorlane.exe as it was packed: signed, when the build was given a certificate.
PACKED_PROGRAM = os.path.join(BUILD, "stage", "Vorlane.exe")
UPGRADE = os.path.join(BUILD, "tests", "installer", "Vorlane-upgrade.msi")
MACHINE_RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEYS = [r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall",
                  r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"]
# Where the Start menu shortcut may go: Wine's installer puts a per-machine
# package's shortcut in the user's Start menu too.
START_MENUS = ["users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
               "ProgramData/Microsoft/Windows/Start Menu/Programs"]

# scope: (msiexec properties, installation folder under drive_c, Run key)
SCOPES = {
    "per user": ([], "users/*/AppData/Local/Programs/Vorlane", RUN_KEY),
    "per machine": (["ALLUSERS=1"], "Program Files/Vorlane", MACHINE_RUN_KEY),
}


def drive_c(environment, pattern):
    """The paths on drive C: that match a glob pattern."""
    return glob.glob(os.path.join(environment.env["WINEPREFIX"], "drive_c", pattern))


def msiexec(environment, *args):
    return environment.run_wine("msiexec", *args, timeout=300).returncode


def release_files(folder):
    """The files of a folder, by their paths inside it."""
    return sorted(os.path.relpath(os.path.join(top, name), folder)
                  for top, _, names in os.walk(folder) for name in names)


def shortcuts(environment):
    return [path for menu in START_MENUS for path in drive_c(environment, os.path.join(menu, "Vorlane.lnk"))]


def run_value(environment, key):
    values = reg_values(environment, key) or {}
    return values.get("Vorlane", (None, None))[1]


def installed_versions(environment):
    """The DisplayVersion of each entry named Vorlane among the installed programs."""
    versions = []
    for key in UNINSTALL_KEYS:
        result = environment.wine_reg("query", key, "/s")
        entries = []
        for line in result.stdout.splitlines():
            if line.startswith("HKEY_"):
                entries.append({})
            elif entries and len(parts := line.strip().split(None, 2)) == 3:
                entries[-1][parts[0]] = parts[2]
        versions += [entry.get("DisplayVersion") for entry in entries if entry.get("DisplayName") == "Vorlane"]
    return versions


def product_version(package):
    listing = subprocess.run(["msiinfo", "export", package, "Property"], capture_output=True, text=True,
                             check=True).stdout
    return next(line.split("\t")[1] for line in listing.splitlines() if line.startswith("ProductVersion\t"))


def windows_path(environment, path):
    return subprocess.run(["winepath", "-w", path], env=environment.env, capture_output=True, text=True,
                          check=True).stdout.strip()


class ProcessById:
    """A process the test started through the shell, known by its id."""

    def __init__(self, pid):
        self.pid = pid

    def poll(self):
        try:
            with open(f"/proc/{self.pid}/stat") as stat:
                return 0 if stat.read().rsplit(")", 1)[1].split()[0] == "Z" else None
        except OSError:
            return 0

    def wait(self, timeout):
        try:
            wait_until(lambda: self.poll() is not None, timeout, what=f"process {self.pid} to end")
        except TimeoutError:
            raise subprocess.TimeoutExpired(str(self.pid), timeout) from None

    def kill(self):
        if self.poll() is None:
            os.kill(self.pid, signal.SIGKILL)


def start_from_shortcut(environment, desktop, shortcut):
    """Vorlane started as the user starts it, from its Start menu shortcut."""
    program = Vorlane(environment, desktop, folder=os.path.dirname(shortcut))
    subprocess.run(["wine", "start", "/unix", shortcut], **as_vorlane(environment), timeout=60)
    wait_until(program.main_window, 60, what="the installed Vorlane's main window")
    desktop.send("class:TfmOptions", 0)
    started = environment.processes(r"\\Vorlane\.exe")
    assert len(started) == 1, started
    program.process = ProcessById(started[0][0])
    return program


@pytest.fixture
def clean_installation(vorlane, environment):
    """Nothing installed before the test, and nothing left after it."""
    yield
    for package in PACKAGE + [UPGRADE]:
        for properties in ([], ["ALLUSERS=1"]):
            msiexec(environment, "/x", package, "/qn", *properties)
    environment.wine_reg("delete", MACHINE_RUN_KEY, "/v", "Vorlane", "/f")


def test_the_test_command_built_both_packages_of_the_release_folder():
    assert len(PACKAGE) == 1, PACKAGE
    assert os.path.isfile(UPGRADE)
    # The package holds the release folder, file for file.
    listing = subprocess.run(["msiinfo", "export", PACKAGE[0], "File"], capture_output=True, text=True,
                             check=True).stdout
    packed = sorted(line.split("\t")[2].split("|")[-1] for line in listing.splitlines()[3:] if line)
    assert packed == sorted(os.path.basename(path) for path in release_files(DIST))


@pytest.mark.parametrize("scope", SCOPES)
def test_the_package_installs_prints_upgrades_and_removes_silently(scope, clean_installation, desktop,
                                                                    environment):
    properties, folder_pattern, run_key = SCOPES[scope]
    set_preferences(environment, WatermarkText="kept by the installer")

    assert msiexec(environment, "/i", PACKAGE[0], "/qn", "RUNONSTARTUP=1", *properties) == 0
    folders = drive_c(environment, folder_pattern)
    assert len(folders) == 1, folders
    folder = folders[0]
    assert release_files(folder) == release_files(DIST)
    with open(os.path.join(folder, "Vorlane.exe"), "rb") as installed, open(PACKED_PROGRAM, "rb") as packed:
        assert installed.read() == packed.read()
    assert len(shortcuts(environment)) == 1
    assert installed_versions(environment) == [product_version(PACKAGE[0])]
    # The very value the tray menu's "Run on startup" writes: the bare path.
    assert run_value(environment, run_key) == windows_path(environment, os.path.join(folder, "Vorlane.exe"))

    program = start_from_shortcut(environment, desktop, shortcuts(environment)[0])
    try:
        before = len(environment.pdfs())
        desktop.press("ctrl", "shift", "snapshot")
        wait_for_pdfs(environment, before + 1)
        # The upgrade ends the running copy, whose files it replaces.
        assert msiexec(environment, "/i", UPGRADE, "/qn", *properties) == 0
        program.process.wait(30)
    finally:
        program.kill()
    assert drive_c(environment, folder_pattern) == [folder]
    assert release_files(folder) == release_files(DIST)
    assert len(shortcuts(environment)) == 1
    assert installed_versions(environment) == [product_version(UPGRADE)]
    assert run_value(environment, run_key) is not None
    assert reg_values(environment)["WatermarkText"][1] == "kept by the installer"

    program = start_from_shortcut(environment, desktop, shortcuts(environment)[0])
    try:
        # A dialog open in the running copy does not keep the removal from ending it first.
        program.open_preferences().press("WATERMARK_FONT")
        wait_until(lambda: [w for w in desktop.windows("#32770") if w.visible], 30, what="the Font dialog")
        assert msiexec(environment, "/x", UPGRADE, "/qn", *properties) == 0
        program.process.wait(30)
    finally:
        program.kill()
    assert not os.path.exists(folder), release_files(folder)
    assert not shortcuts(environment)
    assert installed_versions(environment) == []
    assert run_value(environment, RUN_KEY) is None and run_value(environment, MACHINE_RUN_KEY) is None
    assert reg_values(environment, PREFERENCES_KEY)["WatermarkText"][1] == "kept by the installer"


# what the user's own Run value, as the tray menu's "Run on startup" writes it, starts
USER_RUN_VALUES = ["the program removed", "another program"]


@pytest.mark.parametrize("starts", USER_RUN_VALUES)
def test_a_per_machine_removal_takes_the_users_run_value_only_when_it_starts_the_program(starts, clean_installation,
                                                                                         environment):
    properties, folder_pattern, _ = SCOPES["per machine"]
    assert msiexec(environment, "/i", PACKAGE[0], "/qn", *properties) == 0
    installed = windows_path(environment, os.path.join(drive_c(environment, folder_pattern)[0], "Vorlane.exe"))
    value = installed if starts == "the program removed" else r"C:\Tools\Vorlane\Vorlane.exe"
    assert environment.wine_reg("add", RUN_KEY, "/v", "Vorlane", "/t", "REG_SZ", "/d", value, "/f").returncode == 0
    # An upgrade keeps it: the program is still there.
    assert msiexec(environment, "/i", UPGRADE, "/qn", *properties) == 0
    assert run_value(environment, RUN_KEY) == value
    assert msiexec(environment, "/x", UPGRADE, "/qn", *properties) == 0
    assert run_value(environment, RUN_KEY) == (None if starts == "the program removed" else value)
