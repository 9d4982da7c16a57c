#!/usr/bin/env python3
"""Builds the release a second time and compares it with a first build:

    rebuild_test.py FIRST_BUILD_FOLDER

The second build is made later, in another folder, in another time zone and
under another umask, of the program only (no tests), with the same signing
settings as the first. Vorlane.exe as packed, the zip, the installer package,
SHA256SUMS and the winget manifest must be the same bytes. Then the second
build packs again without a certificate: it says that it did not sign, and
Vorlane.exe is packed as the linker made it.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FIRST = None
SIGNING = ("VORLANE_SIGNING_CERTIFICATE", "VORLANE_SIGNING_PASSWORD", "VORLANE_TIMESTAMP_URL")


def released(build):
    """The files of a build's release, by their paths in the build folder."""
    files = ["stage/Vorlane.exe"]
    for top, _, names in os.walk(os.path.join(build, "release")):
        files += [os.path.relpath(os.path.join(top, name), build) for name in names]
    return sorted(files)


def first_difference(a, b):
    with open(a, "rb") as first, open(b, "rb") as second:
        left, right = first.read(), second.read()
    if left == right:
        return None
    at = next((i for i, (x, y) in enumerate(zip(left, right)) if x != y), min(len(left), len(right)))
    return f"{len(left)} and {len(right)} bytes, first different at byte {at}"


class Rebuild(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.second = tempfile.mkdtemp(prefix="vorlane-rebuild-")
        cls.environment = {**os.environ, "TZ": "Pacific/Kiritimati"}

        def in_other_umask():
            os.umask(0o077)

        def build(*args, environment=cls.environment):
            return subprocess.run(["cmake", *args], cwd=REPO, env=environment, preexec_fn=in_other_umask,
                                  capture_output=True, text=True)

        cls.build = staticmethod(build)
        configured = build("--preset", "windows", "-B", cls.second, "-DBUILD_TESTING=OFF")
        assert configured.returncode == 0, configured.stdout + configured.stderr
        cls.built = build("--build", cls.second, "--target", "release", "-j", str(os.cpu_count()))
        assert cls.built.returncode == 0, cls.built.stdout[-5000:] + cls.built.stderr

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.second, ignore_errors=True)

    def test_a_second_build_elsewhere_and_later_gives_the_same_bytes(self):
        self.assertEqual(released(self.second), released(FIRST))
        differences = {name: first_difference(os.path.join(FIRST, name), os.path.join(self.second, name))
                       for name in released(FIRST)}
        self.assertEqual({name: text for name, text in differences.items() if text}, {})

    # Runs after the comparison (tests run in the order of their names): it packs the second build anew.
    def test_without_a_certificate_the_build_packs_vorlane_exe_unsigned_and_says_so(self):
        unsigned = {name: value for name, value in self.environment.items() if name not in SIGNING}
        packed = self.build("--build", self.second, "--target", "package", environment=unsigned)
        self.assertEqual(packed.returncode, 0, packed.stdout + packed.stderr)
        self.assertIn("Not signing Vorlane.exe: VORLANE_SIGNING_CERTIFICATE is not set.", packed.stdout)
        self.assertIsNone(first_difference(os.path.join(self.second, "stage", "Vorlane.exe"),
                                           os.path.join(self.second, "dist", "Vorlane.exe")))
        if any(name in os.environ for name in SIGNING):
            self.assertIn("Signed Vorlane.exe", self.built.stdout)
            self.assertIsNotNone(first_difference(os.path.join(self.second, "stage", "Vorlane.exe"),
                                                  os.path.join(FIRST, "stage", "Vorlane.exe")))


if __name__ == "__main__":
    FIRST = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1] + sys.argv[2:], verbosity=2)
