#!/usr/bin/env python3
"""The steps of the release that come after compiling, run by the build:

    release.py signing FILE                   records the signing setting, rewriting FILE when it changed
    release.py stage DIST STAGE EPOCH_FILE    copies the release folder to be packed, Vorlane.exe signed
    release.py sign FILE EPOCH_FILE           signs an installer package
    release.py sums FOLDER FILE...            writes FOLDER/SHA256SUMS
    release.py winget FOLDER PACKAGE VERSION URL
                                              writes the winget manifest of the installer package

Signing takes the certificate (a PFX file) from VORLANE_SIGNING_CERTIFICATE,
its password from VORLANE_SIGNING_PASSWORD and, when it is set, a time-stamp
server from VORLANE_TIMESTAMP_URL. The password goes to osslsigncode through
a pipe, never on a command line.
"""
import hashlib
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "cmake"))
from reproducible import file_mode, read_epoch, write_if_changed  # noqa: E402

CERTIFICATE = "VORLANE_SIGNING_CERTIFICATE"
PASSWORD = "VORLANE_SIGNING_PASSWORD"
TIMESTAMP = "VORLANE_TIMESTAMP_URL"
HOME_PAGE = "https://www.vorlane-print.com/"
PUBLISHER_PAGE = "https://www.telmaric-software.com/"
PACKAGE_IDENTIFIER = "Telmaric.Vorlane"
# The schema version the manifest is written for.
MANIFEST_VERSION = "1.6.0"


def certificate():
    path = os.environ.get(CERTIFICATE)
    return os.path.abspath(path) if path else None


def record_signing(path):
    """What signing depends on, so that a new certificate or time-stamp
    server packs the release again. The password is not written anywhere."""
    text = "not signed\n"
    if certificate():
        try:
            with open(certificate(), "rb") as pfx:
                digest = hashlib.sha256(pfx.read()).hexdigest()
        except OSError as error:
            raise SystemExit(f"{CERTIFICATE}: {error}")
        text = f"certificate {certificate()} {digest}\ntime stamp {os.environ.get(TIMESTAMP, '')}\n"
    write_if_changed(path, text)


def sign(path, epoch):
    """Signs a file in place, Authenticode with SHA-256, when a certificate is given."""
    name = os.path.basename(path)
    if not certificate():
        print(f"Not signing {name}: {CERTIFICATE} is not set.")
        return
    signed = path + ".signed"
    command = ["osslsigncode", "sign", "-pkcs12", certificate(), "-readpass", "/dev/stdin", "-h", "sha256",
               "-n", "Vorlane", "-i", HOME_PAGE]
    if os.environ.get(TIMESTAMP):
        command += ["-ts", os.environ[TIMESTAMP]]
    else:
        # Without a time-stamp server the signing time is the release's
        # time too, so that the same certificate signs to the same bytes.
        command += ["-time", str(epoch)]
    if os.path.exists(signed):
        os.remove(signed)
    result = subprocess.run(command + ["-in", path, "-out", signed], input=os.environ.get(PASSWORD, ""),
                            capture_output=True, text=True)
    if result.returncode != 0 or not os.path.exists(signed):
        raise SystemExit(f"Signing {name} failed:\n{result.stdout}{result.stderr}")
    os.replace(signed, path)
    print(f"Signed {name} with {os.path.basename(certificate())}.")


def stage(dist, folder, epoch):
    """The release folder as it is packed: Vorlane.exe signed, every file
    with a fixed mode and the release's time, whatever the umask and clock."""
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    shutil.copytree(dist, folder)
    sign(os.path.join(folder, "Vorlane.exe"), epoch)
    for top, folders, files in os.walk(folder, topdown=False):
        for name in files:
            os.chmod(os.path.join(top, name), file_mode(name))
            os.utime(os.path.join(top, name), (epoch, epoch))
        for name in folders:
            os.chmod(os.path.join(top, name), 0o755)
            os.utime(os.path.join(top, name), (epoch, epoch))


def sha256(path):
    with open(path, "rb") as content:
        return hashlib.sha256(content.read()).hexdigest()


def write_sums(folder, paths):
    """SHA256SUMS in the form sha256sum --check reads."""
    lines = "".join(f"{sha256(path)}  {os.path.basename(path)}\n" for path in sorted(paths))
    with open(os.path.join(folder, "SHA256SUMS"), "w", newline="\n") as sums:
        sums.write(lines)


def product_code(package):
    listing = subprocess.run(["msiinfo", "export", package, "Property"], capture_output=True, text=True,
                             check=True).stdout
    return next(line.split("\t")[1] for line in listing.splitlines() if line.startswith("ProductCode\t"))


def write_winget(folder, package, version, url):
    """The three files of a winget manifest for the installer package."""
    schema = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{}." + MANIFEST_VERSION + ".schema.json\n"
    head = f"PackageIdentifier: {PACKAGE_IDENTIFIER}\nPackageVersion: '{version}'\n"
    tail = f"ManifestVersion: {MANIFEST_VERSION}\n"
    digest = sha256(package).upper()
    installers = "".join(
        f"- Architecture: x64\n  Scope: {scope}\n  InstallerUrl: {url}\n  InstallerSha256: {digest}\n{switches}"
        for scope, switches in (("user", ""), ("machine", "  InstallerSwitches:\n    Custom: ALLUSERS=1\n")))
    files = {
        f"{PACKAGE_IDENTIFIER}.yaml": schema.format("version") + head
        + "DefaultLocale: en-US\nManifestType: version\n" + tail,
        f"{PACKAGE_IDENTIFIER}.installer.yaml": schema.format("installer") + head
        + f"InstallerType: msi\nProductCode: '{product_code(package)}'\nUpgradeBehavior: install\nInstallers:\n"
        + installers + "ManifestType: installer\n" + tail,
        f"{PACKAGE_IDENTIFIER}.locale.en-US.yaml": schema.format("defaultLocale") + head
        + f"PackageLocale: en-US\nPublisher: Telmaric\nPublisherUrl: {PUBLISHER_PAGE}\nPackageName: Vorlane\n"
        + f"PackageUrl: {HOME_PAGE}\nLicense: Proprietary\n"
        + "ShortDescription: Prints the screen, a window or a region at a key press.\n"
        + "ManifestType: defaultLocale\n" + tail,
    }
    os.makedirs(folder, exist_ok=True)
    for name, text in files.items():
        with open(os.path.join(folder, name), "w", newline="\n") as manifest:
            manifest.write(text)


def main(command, *args):
    if command == "signing":
        record_signing(*args)
    elif command == "stage":
        dist, folder, epoch = args
        stage(dist, folder, read_epoch(epoch))
    elif command == "sign":
        path, epoch = args
        sign(path, read_epoch(epoch))
    elif command == "sums":
        write_sums(args[0], args[1:])
    elif command == "winget":
        write_winget(*args)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(*sys.argv[1:])
