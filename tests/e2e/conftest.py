"""Fixtures of the end-to-end tests: the real Vorlane.exe under Wine on a
virtual display, printing to private cups-pdf queues."""
import contextlib
import os
import re
import struct
import subprocess
import sys
import tempfile
import time

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.dirname(HERE))

from testenv import WINE_NEVER_RAN, TestEnvironment, wait_until  # noqa: E402

BUILD = os.environ.get("VORLANE_BUILD", os.path.join(REPO, "build", "windows"))
DIST = os.path.join(BUILD, "dist")
TOOLS = os.path.join(BUILD, "tests", "e2e")

PREFERENCES_KEY = r"HKCU\SOFTWARE\Telmaric\Vorlane\Preferences"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

# Window messages and identifiers the tests send.
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_HOTKEY = 0x0312
WM_TRAYICON = 0x047B
IDM_ENTIRE_SCREEN = 101
IDM_PREFERENCES = 103
IDM_RUN_ON_STARTUP = 104
IDM_HELP = 106
IDM_ABOUT = 107
IDM_EXIT = 109
VK = {"ctrl": 0x11, "alt": 0x12, "shift": 0x10, "snapshot": 0x2C, "enter": 0x0D, "esc": 0x1B, "right": 0x27,
      "down": 0x28}

MAIN_CLASS = "TfmOptions"
REGION_CLASS = "VorlaneRegion"


def _control_ids():
    """The IDC_ identifiers of the Preferences window's controls, by control name."""
    ids = {}
    with open(os.path.join(REPO, "resources", "resource.h")) as header:
        for line in header:
            parts = line.split()
            if len(parts) >= 3 and parts[0] == "#define" and parts[1].startswith("IDC_"):
                ids[parts[1][4:]] = int(parts[2], 0)
    return ids


CONTROL_IDS = _control_ids()
BM_GETCHECK, BM_CLICK = 0xF0, 0xF5


class Window:
    """One line of the driver's window listings."""

    def __init__(self, line):
        fields = line.split("\t")
        self.handle = fields[0]
        self.id = int(fields[1])
        self.cls = fields[2]
        self.visible = fields[3] == "1"
        self.enabled = fields[4] == "1"
        self.left, self.top, self.right, self.bottom = (int(v) for v in fields[5:9])
        # The driver writes a line break as \n and a backslash as \\.
        self.text = re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), "\t".join(fields[9:]))

    @property
    def width(self):
        return self.right - self.left

    @property
    def height(self):
        return self.bottom - self.top

    def __repr__(self):
        return f"<{self.cls} {self.handle} id={self.id} visible={self.visible} {self.text!r}>"


WINE_LOADER_FAILED = WINE_NEVER_RAN[1]
# What the driver says when it was not started, or found no window to act on.
NEVER_RAN = WINE_NEVER_RAN + ("no window of class:",)


class Desktop:
    """What a user does with keyboard and mouse, done through the driver program."""

    def __init__(self, environment):
        self.environment = environment
        self.env = environment.env

    # Commands that only look: a listing can meet a window that is being
    # destroyed at that moment, so a failed look is simply taken again.
    LOOKS = {"windows", "find", "children", "keyheld"}

    def run(self, *args, check=True):
        attempts = 3 if args[0] in self.LOOKS else 1
        tries = 0
        while True:
            code, text, errors = self._run_once(args)
            tries += 1
            # On a busy machine Wine now and then fails to start the driver at
            # all (its start.exe says "ShellExecuteEx failed", or its loader
            # cannot map the shared user data), or the driver does not find a
            # window that is there a moment later: nothing was done, so any
            # command may be tried again.
            never_ran = any(sign in text + errors for sign in NEVER_RAN)
            # Now and then the loader trips over its own assertion while the
            # process ends, after the driver has done all it was asked.
            if code == 127 and "Inconsistency detected by ld.so: dl-fini.c" in errors:
                code = 0
            if code == 0 or tries >= 3 or (tries >= attempts and not never_ran):
                break
        if check and code != 0:
            raise AssertionError(f"driver {args} failed with {code}: {text[-2000:]} {errors}")
        return text

    def _run_once(self, args):
        # Output goes through files: a pipe would be held open by Wine's
        # background processes when this call happens to start them.
        # Window texts come in UTF-8.
        with tempfile.TemporaryFile("w+", encoding="utf-8", errors="replace") as out, \
                tempfile.TemporaryFile("w+", errors="replace") as err:
            try:
                code = subprocess.run(["wine", os.path.join(TOOLS, "driver.exe"), *map(str, args)], env=self.env,
                                      stdout=out, stderr=err, timeout=60).returncode
            except subprocess.TimeoutExpired:
                # Ended, as Wine on a busy machine now and then leaves a run
                # hanging: a look is tried again, anything else fails.
                return None, "", "no answer within 60 seconds"
            out.seek(0)
            err.seek(0)
            return code, out.read(), err.read()[-2000:]

    def windows(self, cls=None):
        lines = self.run("find", cls) if cls else self.run("windows")
        return [Window(line) for line in lines.splitlines() if line]

    def children(self, window):
        return [Window(line) for line in self.run("children", window).splitlines() if line]

    def message_boxes(self, caption="Vorlane"):
        """Visible message boxes with that caption, each with its text."""
        boxes = []
        for box in self.windows("#32770"):
            if box.visible and box.text == caption:
                texts = [c.text for c in self.children(box.handle) if c.cls.lower() == "static" and c.text]
                boxes.append((box, texts))
        return boxes

    def press(self, *keys):
        self.run("keys", *[VK.get(key, key) for key in keys])

    def post(self, window, message, wparam=0, lparam=0):
        self.run("post", window, message, wparam, lparam)

    def send(self, window, message, wparam=0, lparam=0):
        return int(self.run("send", window, message, wparam, lparam).strip() or 0)

    def command(self, window, ident):
        self.run("command", window, ident)

    def click(self, window, ident):
        self.run("click", window, ident)

    # Which button closes a box: the one that declines, where there is a choice.
    CLOSING_BUTTONS = (2, 7, 1)  # IDCANCEL, IDNO, IDOK

    def close_message_boxes(self, caption="Vorlane", timeout=30):
        """Closes the visible message boxes with that caption, whatever buttons
        they have, and waits until they are gone; a box that appears meanwhile
        is closed too."""
        def closed():
            boxes = self.message_boxes(caption)
            for box, _ in boxes:
                buttons = [c.id for c in self.children(box.handle) if c.cls.lower() == "button"]
                ident = next((i for i in self.CLOSING_BUTTONS if i in buttons), buttons[0] if buttons else None)
                if ident is not None:
                    # The box may be closing already: then the click finds no button.
                    self.run("click", box.handle, ident, check=False)
            return not boxes
        wait_until(closed, timeout, interval=0.5, what=f"the {caption!r} message boxes to close")


class PreferencesFace:
    """The Preferences window's controls, found by their identifiers."""

    def __init__(self, desktop, main):
        self.desktop = desktop
        self.main = main

    def control(self, name):
        ident = CONTROL_IDS[name]
        found = [c for c in self.desktop.children(self.main.handle) if c.id == ident]
        assert found, f"no control {name}"
        return found[0]

    def text(self, name):
        return self.control(name).text

    def enabled(self, name):
        return self.control(name).enabled

    def checked(self, name):
        return self.desktop.send(self.control(name).handle, BM_GETCHECK) == 1

    def click(self, name):
        self.desktop.send(self.control(name).handle, BM_CLICK)

    def set_text(self, name, text):
        self.desktop.run("settext", self.control(name).handle, text)

    def select(self, name, text):
        self.desktop.run("select", self.control(name).handle, text)

    def press(self, name):
        """Presses a button whose handler may open a message box: does not wait for it."""
        self.desktop.post(self.control(name).handle, BM_CLICK)


class WineErrors:
    """The error lines Wine writes for Vorlane's own processes: each test's
    in a file of the test's folder, checked after the test against the known
    lines of a bare prefix (wine_errors.txt), each there with its reason."""

    KNOWN_FILE = os.path.join(HERE, "wine_errors.txt")
    LINE = re.compile(r"^(?:[0-9a-f]+:)*(err:.*)$")

    def __init__(self):
        self.known = []
        with open(self.KNOWN_FILE) as known:
            for number, line in enumerate(known, 1):
                if line.strip() and not line.startswith("#"):
                    pattern, reason = (part.strip() for part in (line.split("  # ", 1) + [""])[:2])
                    assert reason, f"{self.KNOWN_FILE}:{number}: a known line needs its reason"
                    self.known.append(re.compile(pattern))
        self.folder = None
        self.outputs = []
        self.logs = {}  # path: bytes already checked

    def start_test(self, folder):
        self.folder = folder
        for output in self.outputs:
            output.close()
        self.outputs = []

    def log(self):
        """The file a Vorlane process started now writes its errors to: one of its own."""
        path = os.path.join(self.folder, f"wine-errors-{len(self.outputs) + 1}.log")
        self.outputs.append(open(path, "ab"))
        self.logs.setdefault(path, 0)
        return self.outputs[-1]

    def unknown_lines(self):
        """The error lines written since the last look that are not known."""
        unknown = []
        for path, checked in self.logs.items():
            with open(path, "rb") as log:
                log.seek(checked)
                text = log.read()
            text = text[:text.rfind(b"\n") + 1]  # a line still being written waits for the next look
            self.logs[path] = checked + len(text)
            for line in text.decode(errors="replace").splitlines():
                error = self.LINE.match(line)
                if error and not any(known.fullmatch(error.group(1)) for known in self.known):
                    unknown.append(error.group(1))
        return unknown


WINE_ERRORS = WineErrors()


@pytest.fixture(autouse=True)
def wine_errors(tmp_path):
    WINE_ERRORS.start_test(str(tmp_path))
    yield
    unknown = WINE_ERRORS.unknown_lines()
    assert not unknown, "Wine wrote errors for Vorlane that a bare prefix does not explain:\n" + "\n".join(unknown)


def as_vorlane(environment):
    """How a Vorlane process is started in the environment: Wine's error
    lines on (and only they), into a file of the test's folder."""
    return {"env": {**environment.env, "WINEDEBUG": "-all,err+all"}, "cwd": environment.root,
            "stdout": subprocess.DEVNULL, "stderr": WINE_ERRORS.log()}


def start_vorlane(environment, arguments=(), folder=DIST):
    """Vorlane.exe started with the arguments."""
    started = as_vorlane(environment)
    process = subprocess.Popen(["wine", os.path.join(folder, "Vorlane.exe"), *arguments], **started)
    process.wine_log = started["stderr"].name
    return process


def wine_could_not_start(process):
    """Whether the process has ended without running anything of Vorlane's:
    on a busy machine Wine's loader now and then finds the fixed address of a
    process's shared data taken (wine_errors.txt). Such a process is started
    again."""
    if process.poll() is None:
        return False
    with open(process.wine_log, "rb") as log:
        return WINE_LOADER_FAILED.encode() in log.read()


class Vorlane:
    """The program under test, started from its release folder."""

    def __init__(self, environment, desktop, folder=DIST):
        self.environment = environment
        self.desktop = desktop
        self.folder = folder
        self.process = None

    def start(self, wait=True):
        for _ in range(3):
            self.process = start_vorlane(self.environment, folder=self.folder)
            if not wait:
                return self
            wait_until(lambda: self.main_window() or self.process.poll() is not None, 60,
                       what="Vorlane's main window")
            if not wine_could_not_start(self.process):
                break
        assert self.running(), f"Vorlane ended at its start, with exit code {self.process.returncode}"
        wait_until(self.main_window, 60, what="Vorlane's main window")
        # Answered once start-up is over (or a box of it is open): the
        # window exists before the hot keys are registered.
        self.desktop.send(f"class:{MAIN_CLASS}", 0)
        return self

    def main_window(self):
        windows = self.desktop.windows(MAIN_CLASS)
        return windows[0] if windows else None

    def running(self):
        return self.process is not None and self.process.poll() is None

    def command(self, ident):
        if self.process is not None and self.process.poll() is not None:
            raise AssertionError(f"Vorlane has ended, with exit code {self.process.returncode}")
        self.desktop.command(f"class:{MAIN_CLASS}", ident)

    def open_preferences(self):
        self.command(IDM_PREFERENCES)
        main = wait_until(lambda: (w := self.main_window()) and w.visible and w, 30, what="the Preferences window")
        return PreferencesFace(self.desktop, main)

    def exit(self, timeout=30):
        if self.running():
            self.desktop.close_message_boxes()
            self.command(IDM_EXIT)
            try:
                self.process.wait(timeout)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                raise AssertionError("Vorlane did not end on Exit")

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()


@pytest.fixture(scope="session")
def environment():
    with TestEnvironment(printers=2) as env:
        yield env


@pytest.fixture
def desktop(environment):
    return Desktop(environment)


def reset_registry(environment):
    environment.wine_reg("delete", r"HKCU\SOFTWARE\Telmaric", "/f")
    environment.wine_reg("delete", RUN_KEY, "/v", "Vorlane", "/f")


@pytest.fixture
def vorlane(environment, desktop):
    """A running Vorlane with no stored settings; ended after the test."""
    reset_registry(environment)
    program = Vorlane(environment, desktop)
    yield program
    try:
        program.exit()
    finally:
        program.kill()
        reset_registry(environment)


def reg_values(environment, key=PREFERENCES_KEY):
    """The values of a registry key as {name: (type, data)}; None when the key is absent."""
    result = environment.wine_reg("query", key)
    if result.returncode != 0:
        # Any other failure of reg.exe is no answer, not an absent key.
        assert "Unable to find" in result.stdout + result.stderr, result.stdout + result.stderr
        return None
    values = {}
    for line in result.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return values


def set_preferences(environment, **values):
    """Stores settings as Vorlane does: integers as REG_DWORD, texts as REG_SZ."""
    for name, value in values.items():
        kind, data = ("REG_DWORD", str(int(value))) if isinstance(value, (int, bool)) else ("REG_SZ", value)
        result = environment.wine_reg("add", PREFERENCES_KEY, "/v", name, "/t", kind, "/d", data, "/f")
        assert result.returncode == 0, result.stderr


def wait_for_pdfs(environment, count, queue=None, timeout=90):
    """Waits until at least count PDFs have landed and their files are complete."""
    def ready():
        files = environment.pdfs(queue)
        if len(files) < count:
            return None
        if all(_complete(path) for path in files):
            return files
        return None
    return wait_until(ready, timeout, interval=0.25, what=f"{count} printed page(s)")


def _complete(path):
    try:
        with open(path, "rb") as pdf:
            pdf.seek(max(0, os.path.getsize(path) - 1024))
            return b"%%EOF" in pdf.read()
    except OSError:
        return False


class Page:
    """A printed page as RGB pixels (rasterised by pdftoppm)."""

    def __init__(self, pdf, dpi=20):
        data = subprocess.run(["pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", pdf], capture_output=True,
                              check=True).stdout
        tokens, offset = [], 0
        while len(tokens) < 4:  # P6 width height maxval
            while data[offset:offset + 1].isspace():
                offset += 1
            end = offset
            while not data[end:end + 1].isspace():
                end += 1
            tokens.append(data[offset:end])
            offset = end
        self.width, self.height = int(tokens[1]), int(tokens[2])
        self.pixels = data[offset + 1:]
        self.dpi = dpi
        self.pdf = pdf

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def bounds(self, predicate):
        """The smallest box (left, top, right, bottom) of pixels matching predicate, or None."""
        xs, ys = [], []
        for y in range(self.height):
            for x in range(self.width):
                if predicate(self.pixel(x, y)):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def near(colour, target, tolerance=60):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, target))


RED, GREEN, BLUE, YELLOW = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)


def pdf_title(pdf):
    result = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True)
    for line in result.stdout.splitlines():
        if line.startswith("Title:"):
            return line.split(":", 1)[1].strip()
    return None


def page_turn(pdf):
    """(paper, rotation) of the first page as pdfinfo reports them, such as ("A4", 90)."""
    report = subprocess.run(["pdfinfo", "-f", "1", "-l", "1", pdf], capture_output=True, text=True,
                            check=True).stdout
    paper = re.search(r"^Page\s+1 size:.*\((\w+)\)", report, re.MULTILINE)
    rotation = re.search(r"^Page\s+1 rot:\s+(\d+)", report, re.MULTILINE)
    return paper and paper.group(1), rotation and int(rotation.group(1))


def newest_job(environment):
    """The number of the last job the scheduler finished."""
    return max(int(line.split()[0].rsplit("-", 1)[1]) for line in environment.completed_jobs())


# An IPP integer attribute named "copies" as the scheduler writes it: value
# tag, name length, name, value length, then the value (big-endian).
COPIES_ATTRIBUTE = re.compile(rb"\x21\x00\x06copies\x00\x04(.{4})", re.DOTALL)


def job_copies(environment, job):
    """The job's "copies" attribute as the scheduler keeps it in the job's control file."""
    control = os.path.join(environment.root, "cups", "spool", f"c{job:05d}")
    def read():
        try:
            with open(control, "rb") as attributes:
                found = COPIES_ATTRIBUTE.search(attributes.read())
        except OSError:
            return None
        return found and struct.unpack(">i", found.group(1))[0]
    return wait_until(read, 60, interval=0.25, what=f"the control file of job {job}")


def start_test_window(environment, x, y, width, height, title, **kinds):
    """Starts the known-content window and waits until it is on screen. kinds are testwin's words, such as
    popup=True or editor=True."""
    args = ["wine", os.path.join(TOOLS, "testwin.exe"), str(x), str(y), str(width), str(height), title]
    args += [kind for kind, wanted in kinds.items() if wanted]
    process = subprocess.Popen(args, env=environment.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True)
    handle = process.stdout.readline().strip()
    assert handle, "the test window did not start"
    desktop = Desktop(environment)
    wait_until(lambda: any(w.handle == handle and w.visible for w in desktop.windows("VorlaneTestWindow")), 30,
               what="the test window")
    return process, handle


@contextlib.contextmanager
def open_test_window(environment, *place, **kinds):
    """The known-content window for the length of the block; gives its handle."""
    process, handle = start_test_window(environment, *place, **kinds)
    try:
        yield handle
    finally:
        process.kill()
        process.wait()


def elapsed(since):
    return time.monotonic() - since


@pytest.fixture
def screen_pattern(environment):
    """Known colours over the whole 1920x1080 screen."""
    with open_test_window(environment, 0, 0, 1920, 1080, "Pattern", popup=True) as handle:
        yield handle


def quadrant_boxes(page):
    """Where the pattern's four colours lie on a printed page."""
    return {name: page.bounds(lambda p, c=colour: near(p, c))
            for name, colour in (("red", RED), ("green", GREEN), ("blue", BLUE), ("yellow", YELLOW))}


def open_region_window(desktop):
    """Presses the region key (Shift+Print Screen) and waits for the window the region is chosen on to take the
    keyboard: keys pressed before would go to the window in front of it."""
    desktop.press("shift", "snapshot")
    window = wait_until(lambda: [w for w in desktop.windows(REGION_CLASS) if w.visible], 30,
                        what="the region window")[0]
    wait_until(lambda: desktop.run("foreground").startswith(window.handle), 30,
               what="the region window to take the keyboard")
    return window


def wait_region_window_gone(desktop):
    wait_until(lambda: not desktop.windows(REGION_CLASS), 30, what="the region window to go")


def ink_proportions(page):
    """Width over height of what is printed on the page: everything not white."""
    left, top, right, bottom = page.bounds(lambda p: min(p) < 235)
    return (right - left) / (bottom - top)


# A picture fitted across a page rasterised at 30 dpi is about 240 pixels
# wide: a pixel either way on each edge moves a ratio near 4:3 by about 0.02.
PROPORTION_SLACK = 0.03


@pytest.fixture
def pattern_at_400_300(environment):
    """The known colours over the whole screen, meeting at (400, 300): a drag from (100, 100) to
    (500, 400) takes 300 of its 400 pixels across from red and blue, 200 of its 300 down from red and green."""
    with open_test_window(environment, 400 - 1520, 300 - 780, 3040, 1560, "Pattern", popup=True) as handle:
        yield handle


def assert_the_region_from_100_100_to_500_400(page):
    boxes = quadrant_boxes(page)
    assert all(boxes.values()), boxes
    red, yellow = boxes["red"], boxes["yellow"]
    left, top, right, bottom = red[0], red[1], yellow[2], yellow[3]
    assert abs((right - left) / (bottom - top) - 400 / 300) < PROPORTION_SLACK, boxes
    assert abs((red[2] - red[0]) / (right - left) - 300 / 400) < PROPORTION_SLACK, boxes
    assert abs((red[3] - red[1]) / (bottom - top) - 200 / 300) < PROPORTION_SLACK, boxes
    assert abs(ink_proportions(page) - 400 / 300) < PROPORTION_SLACK
