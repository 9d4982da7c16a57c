#!/usr/bin/env python3
"""Checks the release a build made, beside its release folder:

    release_test.py BUILD_FOLDER SOURCE_FOLDER

SHA256SUMS and the winget manifest name the packages as they are; the zip's
entries come in a fixed order with one time and fixed modes; the installer
packages carry the release's time and package codes of their own; and
Vorlane.exe and the installer package are signed exactly when the build was
given a certificate (checked against VORLANE_TEST_SIGNING_CA when it is set).
"""
import hashlib
import os
import subprocess
import sys
import time
import unittest
import zipfile

import yaml

BUILD = SOURCE = None
CERTIFICATE = "VORLANE_SIGNING_CERTIFICATE"

# The fields each kind of manifest must have, by the schema of version 1.6.0.
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                      "ShortDescription", "ManifestType", "ManifestVersion"],
}
INSTALLER_REQUIRED = ["Architecture", "InstallerUrl", "InstallerSha256"]


def release(*parts):
    return os.path.join(BUILD, "release", *parts)


def sha256(path):
    with open(path, "rb") as content:
        return hashlib.sha256(content.read()).hexdigest()


def msi_property(package, name):
    listing = subprocess.run(["msiinfo", "export", package, "Property"], capture_output=True, text=True,
                             check=True).stdout
    return next(line.split("\t")[1] for line in listing.splitlines() if line.startswith(name + "\t"))


def summary(package):
    """The summary information as msiinfo shows it, times in UTC."""
    text = subprocess.run(["msiinfo", "suminfo", package], capture_output=True, text=True, check=True,
                          env={**os.environ, "TZ": "UTC"}).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)


def epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return int(subprocess.run(["git", "-C", SOURCE, "log", "-1", "--format=%ct"], capture_output=True, text=True,
                              check=True).stdout)


def files_of(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/")
                  for top, _, names in os.walk(folder) for name in names)


class Release(unittest.TestCase):
    def setUp(self):
        self.msi = release(next(name for name in os.listdir(release()) if name.endswith(".msi")))
        self.zip = self.msi[:-len(".msi")] + ".zip"
        self.upgrade = os.path.join(BUILD, "tests", "installer", "Vorlane-upgrade.msi")

    def test_sha256sums_lists_the_zip_and_the_installer_package_as_they_are(self):
        check = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=release(),
                               capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        self.assertEqual(sorted(line.split()[0].split(":")[0] for line in check.stdout.splitlines()),
                         sorted(os.path.basename(path) for path in (self.zip, self.msi)))

    def test_the_winget_manifest_names_the_installer_package_with_the_fields_its_schema_requires(self):
        manifests = {}
        for name in os.listdir(release("winget")):
            with open(release("winget", name)) as text:
                manifest = yaml.safe_load(text)
            manifests[manifest["ManifestType"]] = manifest
            self.assertEqual([field for field in REQUIRED[manifest["ManifestType"]] if not manifest.get(field)], [],
                             name)
            self.assertEqual(manifest["ManifestVersion"], "1.6.0")
            self.assertEqual(manifest["PackageIdentifier"], "Telmaric.Vorlane")
            self.assertEqual(manifest["PackageVersion"], msi_property(self.msi, "ProductVersion"))
        self.assertEqual(sorted(manifests), sorted(REQUIRED))
        installer = manifests["installer"]
        self.assertEqual(installer["InstallerType"], "msi")
        self.assertEqual(installer["ProductCode"], msi_property(self.msi, "ProductCode"))
        self.assertEqual({entry["Scope"] for entry in installer["Installers"]}, {"user", "machine"})
        for entry in installer["Installers"]:
            self.assertEqual([field for field in INSTALLER_REQUIRED if not entry.get(field)], [])
            self.assertEqual(entry["InstallerSha256"], sha256(self.msi).upper())
        self.assertEqual(manifests["defaultLocale"]["Publisher"], "Telmaric")
        self.assertEqual(manifests["version"]["DefaultLocale"], manifests["defaultLocale"]["PackageLocale"])

    def test_the_zip_holds_the_staged_folder_by_name_with_one_time_and_fixed_modes(self):
        stage = os.path.join(BUILD, "stage")
        with zipfile.ZipFile(self.zip) as archive:
            entries = archive.infolist()
            names = [entry.filename for entry in entries]
            self.assertEqual(names, sorted(names))
            self.assertEqual([name for name in names if not name.endswith("/")], files_of(stage))
            for entry in entries:
                # A zip keeps the time to two seconds.
                self.assertEqual(entry.date_time, time.gmtime(epoch() // 2 * 2)[:6], entry.filename)
                mode = entry.external_attr >> 16
                expected = 0o40755 if entry.is_dir() else 0o100755 if entry.filename.endswith(".exe") else 0o100644
                self.assertEqual(mode, expected, entry.filename)
                if not entry.is_dir():
                    with open(os.path.join(stage, entry.filename), "rb") as staged:
                        self.assertEqual(archive.read(entry), staged.read(), entry.filename)

    def test_the_installer_packages_carry_the_release_time_and_codes_of_their_own(self):
        stamp = time.strftime("%a %b %e %H:%M:%S %Y", time.gmtime(epoch()))
        packages = [summary(package) for package in (self.msi, self.upgrade)]
        for information in packages:
            self.assertEqual((information["Created"], information["Last saved"]), (stamp, stamp))
        codes = [information["Revision number (UUID)"] for information in packages]
        self.assertNotEqual(codes[0], codes[1])
        products = [msi_property(package, "ProductCode") for package in (self.msi, self.upgrade)]
        self.assertNotEqual(products[0], products[1])
        self.assertNotIn(codes[0], products)

    def test_vorlane_exe_and_the_installer_package_are_signed_exactly_when_a_certificate_was_given(self):
        authority = ["-CAfile", os.environ["VORLANE_TEST_SIGNING_CA"]] if "VORLANE_TEST_SIGNING_CA" in os.environ else []
        for path in (os.path.join(BUILD, "stage", "Vorlane.exe"), self.msi, self.upgrade):
            check = subprocess.run(["osslsigncode", "verify", *authority, "-in", path], capture_output=True,
                                   text=True)
            if os.environ.get(CERTIFICATE):
                self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
                self.assertIn("Signature verification: ok", check.stdout)
            else:
                self.assertNotEqual(check.returncode, 0)
                self.assertRegex(check.stdout + check.stderr, "(?i)no signature")


if __name__ == "__main__":
    BUILD, SOURCE = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
