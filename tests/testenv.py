#!/usr/bin/env python3
"""A private environment for the platform and end-to-end tests.

It starts a virtual X display, a CUPS scheduler of its own with cups-pdf
queues (the first one is the default), and a fresh Wine prefix, and ends all
of them again. Used as a module by the end-to-end tests, and from the shell:

    python3 tests/testenv.py [--printers N] [--dpi N] [--screens WxHxD ...] -- COMMAND ...

runs COMMAND with DISPLAY, WINEPREFIX, WINEDEBUG, CUPS_SERVER, VORLANE_PDF_DIR
(one folder per queue) and VORLANE_QUEUES (queue names, default first) set.
The prefix's display has the DPI given (96, 100 %, by default), and one
screen of 1920x1080 unless other screens are given: several screens make one
display of several monitors.
"""
import argparse
import os
import re
import secrets
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
CUPS_PDF_CONFIG_DIR = "/etc/cups"  # where the cups-pdf backend looks for per-queue settings
SCREEN = "1920x1080x24"
# Where Wine reads the display's DPI from; both are read when a process starts.
DPI_KEYS = [r"HKCU\Control Panel\Desktop", r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"]
FONT_REPLACEMENTS = {"Arial": "Liberation Sans", "Microsoft Sans Serif": "Liberation Sans"}


def wait_until(condition, timeout, interval=0.1, what="condition"):
    """Polls condition() until it returns something true; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


# What Wine says when it could not start a program at all: its start.exe's
# ShellExecuteEx failed, or its loader found the fixed address of the
# process's shared data taken.
WINE_NEVER_RAN = ("ShellExecuteEx failed", "failed to map the shared user data")


class TestEnvironment:
    __test__ = False  # not a test class, whatever its name

    def __init__(self, printers=2, dpi=96, screens=(SCREEN,)):
        self.printer_count = printers
        self.dpi = dpi
        # More than one screen makes one display of several monitors (Xinerama; Wine needs RandR off to see them).
        self.screens = screens
        self.token = secrets.token_hex(3)
        self.root = None
        self.env = None
        self.queues = []
        self._xvfb = None
        self._cupsd = None
        self._queue_configs = []

    # -- set-up ---------------------------------------------------------------

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="vorlane-env-")
        os.chmod(self.root, 0o755)
        self.env = dict(os.environ)
        try:
            self._start_display()
            self._start_cups()
            self._create_wine_prefix()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start_display(self):
        read_end, write_end = os.pipe()
        screens = [argument for number, size in enumerate(self.screens) for argument in ("-screen", str(number), size)]
        several = ["+xinerama", "-extension", "RANDR"] if len(self.screens) > 1 else []
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), *several, *screens, "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number

    def _start_cups(self):
        cups = os.path.join(self.root, "cups")
        for sub in ("etc/ppd", "spool/tmp", "cache", "state", "log"):
            os.makedirs(os.path.join(cups, sub))
        socket = os.path.join(cups, "cups.sock")
        with open(os.path.join(cups, "cupsd.conf"), "w") as conf:
            conf.write(f"""Listen {socket}
LogLevel warn
WebInterface No
Browsing No
PreserveJobFiles Yes
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
""")
        with open(os.path.join(cups, "cups-files.conf"), "w") as conf:
            conf.write(f"""ServerRoot {cups}/etc
RequestRoot {cups}/spool
TempDir {cups}/spool/tmp
CacheDir {cups}/cache
StateDir {cups}/state
ErrorLog {cups}/log/error_log
AccessLog {cups}/log/access_log
PageLog {cups}/log/page_log
User lp
Group lp
SystemGroup root lpadmin
Sandboxing Relaxed
""")
        self._cupsd = subprocess.Popen(
            ["cupsd", "-f", "-c", os.path.join(cups, "cupsd.conf"), "-s", os.path.join(cups, "cups-files.conf")],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["CUPS_SERVER"] = socket
        # lpstat -r exits with 0 either way; what it prints tells.
        wait_until(lambda: subprocess.run(["lpstat", "-r"], env=self.env, capture_output=True,
                                          text=True).stdout.startswith("scheduler is running"),
                   30, what="the CUPS scheduler")
        self.pdf_dir = os.path.join(self.root, "pdf")
        os.makedirs(self.pdf_dir)
        # The second queue prints on A3, wide enough for a 10-inch picture.
        queues = [("VorlanePDF", "A4"), ("VorlaneSecond", "A3"), ("VorlaneThird", "A4")][: self.printer_count]
        for name, paper in queues:
            self.add_queue(name, paper)
        if self.queues:
            self._lpadmin("-d", self.queues[0])
        self.env["VORLANE_PDF_DIR"] = self.pdf_dir
        self.env["VORLANE_QUEUES"] = ",".join(self.queues)

    def add_queue(self, name, paper="A4"):
        """Adds a cups-pdf queue whose pages land in pdf_dir/NAME."""
        instance = f"vorlane{self.token}{len(self._queue_configs)}"
        config = os.path.join(CUPS_PDF_CONFIG_DIR, f"cups-pdf-{instance}.conf")
        out = os.path.join(self.pdf_dir, name)
        os.makedirs(out, exist_ok=True)
        with open(config, "w") as conf:
            conf.write(f"Out {out}\nAnonDirName {out}\nGrp lpadmin\nLog {self.root}/cups\n")
        self._queue_configs.append(config)
        self._lpadmin("-p", name, "-v", f"cups-pdf:/{instance}", "-E", "-P", PPD, "-o", f"PageSize={paper}")
        self.queues.append(name)

    def _lpadmin(self, *args):
        # A scheduler that has just started may still refuse the first requests.
        def done():
            result = subprocess.run(["lpadmin", *args], env=self.env, capture_output=True, text=True)
            self._last_lpadmin_error = result.stderr
            return result.returncode == 0
        try:
            wait_until(done, 30, interval=0.5, what="lpadmin " + " ".join(args))
        except TimeoutError as error:
            raise RuntimeError(f"{error}: {self._last_lpadmin_error}") from None

    def _create_wine_prefix(self):
        self.env["WINEPREFIX"] = os.path.join(self.root, "wine")
        # Names and window titles in any script pass between Linux and Wine in UTF-8.
        self.env["LANG"] = "C.UTF-8"
        self.env.pop("LC_ALL", None)
        self.env["WINEDEBUG"] = "-all"
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        subprocess.run(["wineboot", "-i"], env=self.env, capture_output=True, check=True)
        for font, replacement in FONT_REPLACEMENTS.items():
            self.wine_reg("add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", font, "/t", "REG_SZ",
                          "/d", replacement, "/f")
        # A crash must fail the test, not wait for someone to close a dialog.
        self.wine_reg("add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                      "/d", "0", "/f")
        # Before the desktop below starts, so that it and every program see the same DPI.
        for key in DPI_KEYS:
            self.wine_reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(self.dpi), "/f")
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True)
        # One persistent server with its desktop for the whole run, started
        # here so that no test's output pipe is inherited by it.
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def run_wine(self, *args, timeout=None):
        """Runs a Wine program to its end, its output captured as text; again
        when Wine could not start it at all, which a busy machine now and then
        brings about (WINE_NEVER_RAN)."""
        for _ in range(3):
            result = subprocess.run(["wine", *args], env=self.env, capture_output=True, text=True, timeout=timeout)
            if not any(sign in result.stdout + result.stderr for sign in WINE_NEVER_RAN):
                break
        return result

    def wine_reg(self, *args):
        return self.run_wine("reg", *args)

    # -- use ------------------------------------------------------------------

    def pdfs(self, queue=None):
        """The PDF files that have landed, oldest first; of one queue or of all."""
        folders = [queue] if queue else self.queues
        found = []
        for folder in folders:
            path = os.path.join(self.pdf_dir, folder)
            if os.path.isdir(path):
                found += [os.path.join(path, name) for name in os.listdir(path) if name.endswith(".pdf")]
        return sorted(found, key=os.path.getmtime)

    def pending_jobs(self):
        """Lines of 'lpstat -o': jobs not finished yet."""
        result = subprocess.run(["lpstat", "-o"], env=self.env, capture_output=True, text=True)
        return [line for line in result.stdout.splitlines() if line.strip()]

    def processes(self, pattern):
        """The processes of this environment's Wine prefix whose command line
        matches pattern (a regular expression, in any case), as (pid, command
        line) pairs. A process belongs to the prefix when its environment
        names it as WINEPREFIX."""
        wanted = re.compile(pattern, re.IGNORECASE)
        prefix = ("WINEPREFIX=" + self.env["WINEPREFIX"]).encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as environ:
                    if prefix not in environ.read().split(b"\0"):
                        continue
                with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                    args = [arg for arg in cmdline.read().split(b"\0") if arg]
            except OSError:  # ended meanwhile, or not ours to read
                continue
            command = b" ".join(args).decode(errors="replace")
            if wanted.search(command):
                found.append((int(entry), command))
        return found

    def completed_jobs(self):
        """Lines of 'lpstat -W completed -o': finished jobs by queue."""
        result = subprocess.run(["lpstat", "-W", "completed", "-o"], env=self.env, capture_output=True, text=True)
        return [line for line in result.stdout.splitlines() if line.strip()]

    # -- tear-down ------------------------------------------------------------

    def __exit__(self, *exc):
        if self.env and "WINEPREFIX" in self.env:
            subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        for process in (self._cupsd, self._xvfb):
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        for config in self._queue_configs:
            if os.path.exists(config):
                os.remove(config)
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--printers", type=int, default=2, help="number of PDF queues (0 to 3)")
    parser.add_argument("--dpi", type=int, default=96, help="the display's DPI (96 is 100 %%, 144 is 150 %%)")
    parser.add_argument("--screens", nargs="+", default=[SCREEN], metavar="WxHxD",
                        help="one or more screens; several make one display of several monitors")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command given")
    with TestEnvironment(args.printers, args.dpi, args.screens) as environment:
        return subprocess.run(command, env=environment.env).returncode


if __name__ == "__main__":
    sys.exit(main())
