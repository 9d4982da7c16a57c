#!/usr/bin/env python3
"""Checks the compiled help file with chmlib's tools (Debian libchm-bin).

    help_test.py CHM_FILE HELP_SOURCE_FOLDER

The contents must list every page once, each page must hold its topic (its
title and heading are the contents entry, its text the facts of that topic),
and every link and index entry must lead to a page inside the file.
"""
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

CHM = None
SOURCES = None

# Texts each topic must state, as the user reads them.
POSITIONS = ["Top-left", "Top-center", "Top-right", "Middle-left", "Center", "Middle-right", "Bottom-left",
             "Bottom-center", "Bottom-right"]
ORIENTATIONS = ["Orientation", "As the printer is set", "Automatic", "Portrait", "Landscape"]
TOPIC_FACTS = {
    "index.html": ["Ctrl+Shift+Print Screen", "Alt+Shift+Print Screen", "Shift+Print Screen", "tray",
                   "Only one copy"],
    "hotkeys.html": ["Ctrl+Shift+Print Screen", "Alt+Shift+Print Screen", "Shift+Print Screen", "None",
                     "primary display", "Unable to assign entire screen shortcut, try another.",
                     "Unable to assign active window shortcut, try another.",
                     "Unable to assign region shortcut, try another.", "%WINDOW%", "invisible borders",
                     "Include the mouse pointer"],
    "regions.html": ["Shift+Print Screen", "freezes", "crosshair", "Drag", "size in pixels", "Click", "window",
                     "Esc", "right", "one pixel", "ten pixels", "Enter", "across monitors", "scaling",
                     "Delayed capture", "Make several shots", "frozen picture", "%WINDOW%",
                     "Include the mouse pointer", "Printing in progress",
                     "Unable to assign region shortcut, try another.", "Region"],
    "timed_shots.html": ["Delayed capture", "Make several shots", "D+I", "starts over", "first shot"],
    "printing.html": ["Fit to page", "\"Vorlane\"", "one page", "default printer", "Printing in progress",
                      "There is no default printer currently selected", "Printer selected is not valid",
                      "Automatic", "Print in grayscale"] + POSITIONS,
    "file_printers.html": ["FILE:", "PORTPROMPT:", "Save pages of file printers without asking", "Browse...",
                           "Documents", "\" (2)\"", ".pdf", ".xps", ".prn", "never replaced"],
    "watermark_macros.html": ["%DATE%", "%TIME%", "%WINDOW%", "first occurrence", "capitals",
                              "short date format", "Empty for an entire-screen shot"],
    "saving_ink_and_paper.html": ["Several shots on a sheet", "Shots per page", "reading order", "stacked",
                                  "side by side", "two rows of two", "its own watermark", "Automatic",
                                  "the second holding one shot", "one file per sheet", "Printing a page again",
                                  "Print again", "greyed", "never on disk", "gone when Vorlane ends"],
    "tray.html": ["Double-click", "Right-click", "Print again", "Preferences", "Run on startup", "Help", "About",
                  "Exit", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"],
    "command_line.html": ["/screen", "/window", "/preferences", "/about", "/exit", "slash or a dash",
                          "exit code 0", "5 seconds", "exit code 1", "exit code 2", "exit code 3", "/?", "does not start"],
    "administrators.html": ["msiexec /i", "ALLUSERS=1", "RUNONSTARTUP=1", "/qn", "%LOCALAPPDATA%\\Programs\\Vorlane",
                            "Program Files", "msiexec /x", "policies", "Vorlane.admx", "en-US", "de-DE", "fr-FR",
                            "es-ES", "PolicyDefinitions",
                            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Telmaric\\Vorlane",
                            "HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Telmaric\\Vorlane",
                            "computer policy wins over a user policy", "greyed",
                            "Some settings are managed by your organisation.", "DisablePreferences",
                            "wrong type"],
    "preferences.html": ["OK", "Cancel", "Apply", "There are no printers installed.", "Printer not selected.",
                         "General", "Printing", "Watermark", "Timer", "Ctrl+Tab", "Esc", "Entire screen: Ctrl"],
    "general_tab.html": ["Language", "Refresh", "F5", "Shortcuts", "Entire screen", "Active window", "Region", "Key",
                         "Shift+PrtScr", "Tray icon default action", "Take entire screen", "Take region",
                         "www.vorlane-print.com"],
    "printing_tab.html": ["Printer", "Properties", "Fit to page", "Position", "natural size"] + POSITIONS + ORIENTATIONS + [
        "Copies", "99", "Colors on paper", "As on screen", "Light background", "Black and white", "Print in grayscale",
        "Include the mouse pointer", "frozen picture"],
    "saving_ink_and_paper.html": ["Colors on paper", "As on screen", "Light background", "Black and white",
                                  "contrast", "hue", "One bit a pixel", "judged on its own", "photo",
                                  "watermark", "Print in grayscale"],
    "watermark_tab.html": ["Make watermark", "Location", "Text", "50 characters", "Font", "Browse Font", "Color",
                           "Transparency", "Solid", "Invisible", "Top-left corner", "Top-right corner",
                           "Bottom-left corner", "Bottom-right corner", "pixels"],
    "timer_tab.html": ["Delayed capture", "Delay (sec.) :", "Make several shots", "Number of shots :",
                       "Interval (sec.) :", "999", "Shots per page :"],
    "language_files.html": ["langs", ".lng", "[FileInfo]", "[PreferencesWindow]", "[TrayMenu]", "HelpFileName",
                            "Windows-1252", "1023", "Vorlane_en.chm", "English.lng"],
    "about.html": ["version", "www.vorlane-print.com", "www.telmaric-software.com", "Vorlane_en.chm"],
    "troubleshooting.html": ["Unable to assign entire screen shortcut, try another.", "There are no printers installed.",
                             "Printer not selected.", "Printing in progress", "Nothing is printed"],
}


def run(tool, *arguments):
    if not shutil.which(tool):
        raise unittest.SkipTest(f"{tool} is missing: install the Debian package libchm-bin")
    return subprocess.run([tool, *arguments], check=True, capture_output=True, text=True).stdout


def plain_text(page):
    """The text a reader sees: tags dropped, entities resolved, blanks collapsed."""
    text = re.sub(r"</?(p|li|tr|td|th|h\d|br|ul|ol|table|div|pre|title|head|body|html)\b[^>]*>", " ", page, flags=re.I)
    text = re.sub(r"<[^>]*>", "", text)
    return re.sub(r"\s+", " ", html.unescape(text))


def sitemap_entries(document):
    """(name, local) of every sitemap object, in document order; local is None for a book."""
    entries = []
    for body in re.findall(r'<OBJECT type="text/sitemap">(.*?)</OBJECT>', document, re.S | re.I):
        params = dict((k.lower(), html.unescape(v)) for k, v in
                      re.findall(r'<param name="([^"]+)" value="([^"]*)"', body, re.I))
        entries.append((params.get("name"), params.get("local")))
    return entries


class CompiledHelp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        listing = run("enum_chmLib", CHM)
        cls.files = {line.split()[-1].lstrip("/") for line in listing.splitlines() if "normal file" in line}
        cls.folder = tempfile.mkdtemp(prefix="vorlane-help-")
        run("extract_chmLib", CHM, cls.folder)
        contents = [name for name in cls.files if name.lower().endswith(".hhc")]
        assert len(contents) == 1, f"one contents file expected, found {contents}"
        cls.contents = sitemap_entries(cls.read(contents[0]))
        index = [name for name in cls.files if name.lower().endswith(".hhk")]
        cls.index = sitemap_entries(cls.read(index[0])) if index else []
        cls.pages = sorted(name for name in cls.files if name.endswith(".html"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    @classmethod
    def read(cls, name):
        with open(os.path.join(cls.folder, name), encoding="cp1252") as page:
            return page.read()

    def test_every_source_page_is_compiled_unchanged(self):
        sources = sorted(name for name in os.listdir(SOURCES) if name.endswith((".html", ".css")))
        for name in sources:
            with self.subTest(page=name):
                self.assertIn(name, self.files)
                with open(os.path.join(SOURCES, name), "rb") as source, \
                        open(os.path.join(self.folder, name), "rb") as compiled:
                    self.assertEqual(source.read(), compiled.read())

    def test_contents_list_every_page_once(self):
        listed = [local for _, local in self.contents if local]
        self.assertEqual(sorted(listed), self.pages)
        self.assertEqual(len(listed), len(set(listed)))
        self.assertEqual(self.contents[0][1], "index.html", "the first entry is the welcome page")

    def test_each_page_holds_its_topic(self):
        for name, local in self.contents:
            if not local:
                continue
            with self.subTest(page=local):
                self.assertIn(local, self.files)
                page = self.read(local)
                title = re.search(r"<title>(.*?)</title>", page, re.S | re.I)
                heading = re.search(r"<h1>(.*?)</h1>", page, re.S | re.I)
                self.assertIsNotNone(title)
                self.assertIsNotNone(heading)
                self.assertEqual(plain_text(title.group(1)).strip(), name)
                self.assertEqual(plain_text(heading.group(1)).strip(), name)
                text = plain_text(page)
                self.assertIn(local, TOPIC_FACTS, "a page without listed facts")
                for fact in TOPIC_FACTS[local]:
                    self.assertTrue(fact in text, f"{local} does not say {fact!r}")

    def test_links_and_index_entries_stay_inside_the_file(self):
        for local in self.pages:
            for target in re.findall(r'href="([^"#]+)', self.read(local)):
                if "://" in target:
                    continue
                with self.subTest(page=local, link=target):
                    self.assertIn(target, self.files)
        self.assertTrue(self.index, "no keyword index")
        for name, local in self.index:
            with self.subTest(keyword=name):
                page, _, anchor = local.partition("#")
                self.assertIn(page, self.pages)
                if anchor:
                    self.assertIn(f'name="{anchor}"', self.read(page))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    CHM, SOURCES = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], "-v"])
