#!/usr/bin/env python3
"""Pictures of the four tabs of the Preferences window, for the README.

    python3 scripts/screenshots.py [--dpi N] [--language NAME]

Runs the built program (build/windows/dist/Vorlane.exe, or the build folder
named by VORLANE_BUILD) in a private test environment: a virtual display at
the DPI given (96 by default; 144 is 150 %), two PDF printers and a fresh Wine
prefix, with the language given (English by default, or the name of a file in
langs/ without .lng) stored in the settings. Opens Preferences with the tray
menu's command, shows each tab in turn and saves docs/screenshots/<tab>.png,
cropped to the window. At any other DPI or in any other language the name
also carries both, the language as its first two letters in lower case:
general-144-de.png is the General tab at 144 DPI in Deutsch,
general-144-en.png the same in English.

Build first with: cmake --build --preset windows --target Vorlane driver
"""
import argparse
import os
import subprocess
import sys
import tempfile

from PIL import ImageGrab

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tests"))

from testenv import TestEnvironment, wait_until  # noqa: E402

BUILD = os.environ.get("VORLANE_BUILD", os.path.join(REPO, "build", "windows"))
PROGRAM = os.path.join(BUILD, "dist", "Vorlane.exe")
DRIVER = os.path.join(BUILD, "tests", "e2e", "driver.exe")
OUTPUT = os.path.join(REPO, "docs", "screenshots")

SETTINGS_KEY = r"HKCU\SOFTWARE\Telmaric\Vorlane\Preferences"
MAIN = "class:TfmOptions"
WM_COMMAND = 0x0111
WM_KEYDOWN = 0x0100
VK_RIGHT = 0x27
IDM_PREFERENCES = 103
IDM_EXIT = 109
IDC_PAGES = 1000
# The pages in their order on the page control, by control identifier.
PAGES = [("general", 1004), ("printing", 1005), ("watermark", 1006), ("timer", 1007)]
LIMIT = 60  # seconds for anything to appear


class Shooter:
    def __init__(self, environment):
        self.env = environment.env
        self.environment = environment

    def driver(self, *args):
        # Output goes through a file: a pipe would be held open by Wine's
        # background processes when this call happens to start them.
        # Window texts come in UTF-8.
        with tempfile.TemporaryFile("w+", encoding="utf-8", errors="replace") as out:
            subprocess.run(["wine", DRIVER, *map(str, args)], env=self.env, stdout=out, stderr=subprocess.DEVNULL,
                           timeout=LIMIT)
            out.seek(0)
            return out.read().splitlines()

    def window(self):
        """The main window's line of the driver's listing, split into fields."""
        lines = self.driver("find", "TfmOptions")
        return lines[0].split("\t") if lines else None

    def children(self):
        return {int(fields[1]): fields for fields in (line.split("\t") for line in self.driver("children", MAIN))}

    def shown(self, page_id):
        child = self.children().get(page_id)
        return child is not None and child[3] == "1"

    def capture(self, box):
        """Grabs the box of the screen until two pictures in a row agree, so that painting has finished."""
        previous = [None]

        def settled():
            picture = ImageGrab.grab(bbox=box, xdisplay=self.env["DISPLAY"])
            same = picture == previous[0]
            previous[0] = picture
            return same

        wait_until(settled, LIMIT, interval=0.3, what="the window to finish painting")
        return previous[0]

    def shoot(self, name):
        fields = self.window()
        box = tuple(int(value) for value in fields[5:9])  # left, top, right, bottom
        target = os.path.join(OUTPUT, name + ".png")
        picture = self.capture(box)
        # A window has few colours: a palette, when it loses none of them, makes the file much smaller.
        paletted = picture.quantize(256)
        if paletted.convert("RGB").tobytes() == picture.tobytes():
            picture = paletted
        picture.save(target, optimize=True)
        print("saved", os.path.relpath(target, REPO))


def suffix(dpi, language):
    """What the pictures' names carry beyond the tab's: nothing for the README's own."""
    if dpi == 96 and language == "English":
        return ""
    return f"-{dpi}-{language[:2].lower()}"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--dpi", type=int, default=96, help="the display's DPI (default 96)")
    parser.add_argument("--language", default="English", help="the program's language (default English)")
    args = parser.parse_args()
    for needed in (PROGRAM, DRIVER):
        if not os.path.exists(needed):
            sys.exit(f"{needed} is missing: build the windows preset first")
    os.makedirs(OUTPUT, exist_ok=True)
    # The prefix's user folders take the user's name: the pictures show the one the README uses.
    os.environ["USER"] = "you"
    with TestEnvironment(dpi=args.dpi) as environment:
        # Wine draws the window's own frame and caption: the virtual display has no window manager.
        environment.wine_reg("add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/t", "REG_SZ", "/d", "N",
                             "/f")
        environment.wine_reg("add", SETTINGS_KEY, "/v", "Language", "/t", "REG_SZ", "/d", args.language, "/f")
        shooter = Shooter(environment)
        program = subprocess.Popen(["wine", PROGRAM], env=environment.env, cwd=os.path.dirname(PROGRAM),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_until(shooter.window, LIMIT, interval=0.5, what="the main window")
            shooter.driver("command", MAIN, IDM_PREFERENCES)
            wait_until(lambda: shooter.window()[3] == "1", LIMIT, interval=0.3, what="the Preferences window")
            tabs = shooter.children()[IDC_PAGES][0]
            for index, (name, page_id) in enumerate(PAGES):
                if index:
                    shooter.driver("post", tabs, WM_KEYDOWN, VK_RIGHT, 0)
                wait_until(lambda: shooter.shown(page_id), LIMIT, interval=0.3, what=f"the {name} tab")
                shooter.shoot(name + suffix(args.dpi, args.language))
            shooter.driver("command", MAIN, IDM_EXIT)
            program.wait(LIMIT)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()


if __name__ == "__main__":
    main()
