#!/usr/bin/env python3
"""Makes the release's files depend on their content and the last commit only.

Every time stamp is the last commit's time (SOURCE_DATE_EPOCH when it is set),
and nothing random goes in. Used by the build:

    reproducible.py epoch SOURCE_FOLDER FILE     writes the time to FILE when it changed
    reproducible.py chm CHM_FILE EPOCH_FILE       stamps a compiled help file with it
    reproducible.py zip FOLDER ZIP_FILE EPOCH_FILE
    reproducible.py msi MSI_FILE EPOCH_FILE      gives an installer package its times and package code
"""
import hashlib
import os
import struct
import subprocess
import sys
import time
import uuid
import zipfile

# The earliest time a zip entry can carry (1980-01-01), used as well when
# there is neither SOURCE_DATE_EPOCH nor a commit to take the time from.
EARLIEST = 315532800


def source_date_epoch(source):
    """SOURCE_DATE_EPOCH, or the time of the source folder's last commit."""
    if os.environ.get("SOURCE_DATE_EPOCH", "").isdigit():
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        commit = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True,
                                check=True).stdout.strip()
        return int(commit)
    except (OSError, subprocess.CalledProcessError, ValueError):
        print("No commit to take the release's time from, nor SOURCE_DATE_EPOCH: 1980-01-01 it is.")
        return EARLIEST


def write_if_changed(path, text):
    """Rewrites path only when its text changes, so that what depends on it is redone only then."""
    try:
        with open(path) as old:
            if old.read() == text:
                return
    except OSError:
        pass
    with open(path, "w") as new:
        new.write(text)


def read_epoch(path):
    with open(path) as epoch:
        return int(epoch.read())


def _encint(data, offset):
    """A compiled help file's variable-length number: 7 bits a byte, the high bit says more follow."""
    value = 0
    while True:
        byte = data[offset]
        offset += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, offset


def _chm_entry(data, wanted):
    """Where an entry of content section 0 lies in the file, from the directory's listing chunks."""
    directory = struct.unpack_from("<Q", data, 0x48)[0]
    content = struct.unpack_from("<Q", data, 0x58)[0]
    chunk_size, = struct.unpack_from("<I", data, directory + 0x10)
    chunks, = struct.unpack_from("<I", data, directory + 0x2C)
    for chunk in range(chunks):
        start = directory + 0x54 + chunk * chunk_size
        if data[start:start + 4] != b"PMGL":
            continue
        free, = struct.unpack_from("<I", data, start + 4)
        offset, end = start + 0x14, start + chunk_size - free
        while offset < end:
            length, offset = _encint(data, offset)
            name = data[offset:offset + length]
            section, offset = _encint(data, offset + length)
            place, offset = _encint(data, offset)
            _, offset = _encint(data, offset)
            if name == wanted and section == 0:
                return content + place
    raise ValueError(f"no {wanted!r} in the help file")


def stamp_chm(path, epoch):
    """The help compiler writes the time of day it ran, in milliseconds, in
    two places: the file header (big-endian) and entry 10 of #SYSTEM."""
    with open(path, "rb") as chm:
        data = bytearray(chm.read())
    if data[:4] != b"ITSF":
        raise ValueError(f"{path} is not a compiled help file")
    milliseconds = epoch % 86400 * 1000
    struct.pack_into(">I", data, 0x10, milliseconds)
    system = _chm_entry(data, b"/#SYSTEM")
    offset = system + 4  # after the version
    while True:
        code, length = struct.unpack_from("<HH", data, offset)
        if code == 10:
            struct.pack_into("<I", data, offset + 4, milliseconds)
            break
        offset += 4 + length
    with open(path, "wb") as chm:
        chm.write(data)


def file_mode(name):
    return 0o755 if name.lower().endswith(".exe") else 0o644


def write_zip(folder, path, epoch):
    """The folder as a zip: entries by name, each with the same time and a
    fixed mode, whatever the files' own times and the umask."""
    stamp = time.gmtime(max(epoch, EARLIEST))[:6]
    entries = []
    for top, folders, files in os.walk(folder):
        relative = os.path.relpath(top, folder)
        for name in folders:
            entries.append((os.path.normpath(os.path.join(relative, name)).replace(os.sep, "/") + "/", None))
        for name in files:
            entries.append((os.path.normpath(os.path.join(relative, name)).replace(os.sep, "/"),
                            os.path.join(top, name)))
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, source in sorted(entries):
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 3  # Unix, so that the mode below is read
            if source is None:
                entry.external_attr = (0o40755 << 16) | 0x10  # a folder, for Unix and for Windows
                archive.writestr(entry, b"")
            else:
                entry.external_attr = (0o100000 | file_mode(name)) << 16
                entry.compress_type = zipfile.ZIP_DEFLATED
                with open(source, "rb") as content:
                    archive.writestr(entry, content.read(), compresslevel=9)
    os.replace(partial, path)


# The package codes of Vorlane's installer packages are named in this space.
PACKAGE_CODES = uuid.UUID("5B0C3F0E-7A51-4C55-9D1B-62D0F8E1A4C7")
# Summary information: the package code (the "revision number"), created, last saved.
PACKAGE_CODE, CREATED, LAST_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
NO_CODE = b"{00000000-0000-0000-0000-000000000000}"


class CompoundFile:
    """The bytes of a compound file (the container of an installer package)
    and the places in it of one stream, to be changed in place."""

    END_OF_CHAIN = 0xFFFFFFFE

    def __init__(self, data):
        if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
            raise ValueError("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from("<H", data, 0x20)[0]
        first_directory, = struct.unpack_from("<I", data, 0x30)
        self.cutoff, first_mini, _, first_difat, difat_count = struct.unpack_from("<IIIII", data, 0x38)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        sector = first_difat
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))
            fat_sectors += entries[:-1]
            sector = entries[-1]
        self.fat = [entry for sector in fat_sectors if sector < self.END_OF_CHAIN
                    for entry in struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))]
        self.directory = b"".join(self.sector(s) for s in self.chain(self.fat, first_directory))
        self.mini_fat = [entry for s in self.chain(self.fat, first_mini)
                         for entry in struct.unpack_from(f"<{self.sector_size // 4}I", self.sector(s))]
        root_start, = struct.unpack_from("<I", self.directory, 0x74)
        self.mini_stream = list(self.chain(self.fat, root_start))

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def sector(self, sector):
        return self.data[self.offset(sector):self.offset(sector) + self.sector_size]

    def chain(self, table, start):
        while start < self.END_OF_CHAIN:
            yield start
            start = table[start]

    def places(self, name):
        """The file offsets of the stream's bytes, in order."""
        for entry in range(len(self.directory) // 128):
            record = self.directory[entry * 128:(entry + 1) * 128]
            length, = struct.unpack_from("<H", record, 0x40)
            if record[:max(length - 2, 0)].decode("utf-16-le") != name:
                continue
            start, size = struct.unpack_from("<IQ", record, 0x74)
            if self.sector_size == 512:
                size &= 0xFFFFFFFF  # version 3 files keep only 32 bits
            if size >= self.cutoff:
                offsets = [self.offset(s) + i for s in self.chain(self.fat, start) for i in range(self.sector_size)]
            else:
                per_sector = self.sector_size // self.mini_size
                offsets = [self.offset(self.mini_stream[m // per_sector]) + m % per_sector * self.mini_size + i
                           for m in self.chain(self.mini_fat, start) for i in range(self.mini_size)]
            return offsets[:size]
        raise ValueError(f"no stream {name!r}")


def _properties(stream):
    """{property id: (type, offset of its value)} of a property set's first section."""
    section, = struct.unpack_from("<I", stream, 28 + 16)
    count, = struct.unpack_from("<I", stream, section + 4)
    found = {}
    for index in range(count):
        ident, place = struct.unpack_from("<II", stream, section + 8 + index * 8)
        kind, = struct.unpack_from("<I", stream, section + place)
        found[ident] = (kind, section + place + 4)
    return found


def stamp_msi(path, epoch):
    """Sets the package's created and saved times to the epoch, and its
    package code to one named by the package's bytes: the same package gets
    the same code, any other package another one."""
    with open(path, "rb") as package:
        data = bytearray(package.read())
    places = CompoundFile(data).places("\x05SummaryInformation")
    stream = bytearray(data[i] for i in places)
    properties = _properties(stream)
    filetime = (epoch + 11644473600) * 10_000_000  # 100 ns since 1601
    for ident in (CREATED, LAST_SAVED):
        kind, value = properties[ident]
        assert kind == VT_FILETIME
        struct.pack_into("<Q", stream, value, filetime)
    kind, value = properties[PACKAGE_CODE]
    assert kind == VT_LPSTR and struct.unpack_from("<I", stream, value)[0] == len(NO_CODE) + 1
    text = value + 4
    stream[text:text + len(NO_CODE)] = NO_CODE
    for place, byte in zip(places, stream):
        data[place] = byte
    code = uuid.uuid5(PACKAGE_CODES, hashlib.sha256(data).hexdigest())
    stream[text:text + len(NO_CODE)] = ("{%s}" % str(code).upper()).encode()
    for place, byte in zip(places, stream):
        data[place] = byte
    with open(path, "wb") as package:
        package.write(data)


def main(command, *args):
    if command == "epoch":
        source, path = args
        write_if_changed(path, f"{source_date_epoch(source)}\n")
    elif command == "chm":
        path, epoch = args
        stamp_chm(path, read_epoch(epoch))
    elif command == "msi":
        path, epoch = args
        stamp_msi(path, read_epoch(epoch))
    elif command == "zip":
        folder, path, epoch = args
        write_zip(folder, path, read_epoch(epoch))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(*sys.argv[1:])
