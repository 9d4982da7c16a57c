"""A printer that makes files: each page goes to a new file in the chosen folder, without a Save dialog."""
import datetime
import os
import re

import pytest

from conftest import set_preferences
from testenv import wait_until

PRINTERS_KEY = r"HKLM\System\CurrentControlSet\Control\Print\Printers"
# What Wine's PostScript driver writes first.
POSTSCRIPT = b"%!PS"
THEIRS = b"a file of someone else's"


def windows_path(path):
    """The path as Wine shows the Linux file system: the Z: drive."""
    return "Z:" + path.replace("/", "\\")


@pytest.fixture
def file_printer(environment):
    """The first queue (its driver's name holds "PDF") set to print to a file, as Windows would ask at every page;
    its port is given back afterwards. Gives the queue and an empty folder for the pages."""
    queue = environment.queues[0]
    key = rf"{PRINTERS_KEY}\{queue}"
    environment.wine_reg("add", key, "/v", "Port", "/t", "REG_SZ", "/d", "FILE:", "/f")
    folder = os.path.join(environment.root, "pages")
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    yield queue, folder
    environment.wine_reg("add", key, "/v", "Port", "/t", "REG_SZ", "/d", f"CUPS:{queue}", "/f")


def contents(path):
    with open(path, "rb") as file:
        return file.read()


def claim_coming_seconds(folder, seconds):
    """A file of someone else's under the first name of every second to come."""
    start = datetime.datetime.now()
    taken = []
    for offset in range(seconds):
        moment = start + datetime.timedelta(seconds=offset)
        path = os.path.join(folder, moment.strftime("Vorlane %Y-%m-%d %H-%M-%S.pdf"))
        with open(path, "wb") as file:
            file.write(THEIRS)
        taken.append(path)
    return taken


def test_a_file_printer_saves_a_series_without_asking_and_replaces_nothing(vorlane, desktop, environment,
                                                                            file_printer):
    queue, folder = file_printer
    taken = claim_coming_seconds(folder, 180)
    set_preferences(environment, PrintPrinter=queue, FilePrinterFolder=windows_path(folder), TimerSeveralShots=1,
                    TimerNumberOfShots=3, TimerInterval=1)
    pdfs = len(environment.pdfs())
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")

    def pages():
        made = [os.path.join(folder, name) for name in os.listdir(folder)]
        return [path for path in made if path not in taken]
    made = wait_until(lambda: len(found := pages()) >= 3 and found, 90, what="three page files")
    wait_until(lambda: all(contents(path).rstrip().endswith(b"%%EOF") for path in made), 60,
               what="the page files to be complete")
    # Each name was taken: the page counts on, keeps the driver's extension, and holds the page.
    for path in made:
        assert re.fullmatch(r"Vorlane \d{4}-\d\d-\d\d \d\d-\d\d-\d\d \([23]\)\.pdf", os.path.basename(path)), path
        assert contents(path).startswith(POSTSCRIPT)
    assert len(made) == 3
    assert all(contents(path) == THEIRS for path in taken)
    assert not [w for w in desktop.windows("#32770") if w.visible], "a window opened"
    assert len(environment.pdfs()) == pdfs, "the page went to the printer as well"


def test_an_unusable_folder_is_named_in_one_message_and_nothing_is_lost(vorlane, desktop, environment,
                                                                          file_printer):
    queue, folder = file_printer
    blocker = os.path.join(folder, "notes.txt")
    with open(blocker, "wb") as file:
        file.write(THEIRS)
    # No folder can be made below a file.
    unusable = windows_path(blocker) + "\\pages"
    set_preferences(environment, PrintPrinter=queue, FilePrinterFolder=unusable)
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    boxes = wait_until(lambda: desktop.message_boxes(), 60, what="the message")
    assert len(boxes) == 1
    assert any(f'"{unusable}"' in text for text in boxes[0][1]), boxes
    desktop.close_message_boxes()
    assert os.listdir(folder) == ["notes.txt"]
    assert contents(blocker) == THEIRS


def test_with_saving_off_the_printer_asks_for_a_file_as_before(vorlane, desktop, environment, file_printer):
    queue, folder = file_printer
    set_preferences(environment, PrintPrinter=queue, FilePrinterFolder=windows_path(folder), FilePrinterAutoSave=0)
    vorlane.start()
    desktop.press("ctrl", "shift", "snapshot")
    asking = wait_until(lambda: [w for w in desktop.windows("#32770") if w.visible and w.text == "Print to File"],
                        60, what="the printer's own file dialog")
    desktop.post(asking[0].handle, 0x0111, 2)  # WM_COMMAND, IDCANCEL
    wait_until(lambda: not [w for w in desktop.windows("#32770") if w.visible and w.text == "Print to File"], 30,
               what="the file dialog to close")
    desktop.close_message_boxes()
    assert os.listdir(folder) == []
