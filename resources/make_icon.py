#!/usr/bin/env python3
"""Draws the 16x16, 16-colour tray icon (a small printer with a page) as an ICO file."""
import struct
import sys

# Rows top to bottom; each character is an index into PALETTE, '.' is transparent.
PICTURE = [
    "................",
    "....77777777....",
    "....7ffffff7....",
    "....7f8888f7....",
    "....7ffffff7....",
    "..000000000000..",
    ".08888888888880.",
    ".08888888888a80.",
    ".08888888888880.",
    ".07777777777770.",
    ".07000000000070.",
    ".0707ffffff7070.",
    "...07f8888f70...",
    "....7ffffff7....",
    "....77777777....",
    "................",
]

# The standard 16-colour palette, as (blue, green, red).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
    (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def main(path):
    size = 16
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(PICTURE):  # bitmaps are stored bottom-up
        nibbles = [0 if c == "." else int(c, 16) for c in row]
        colour_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c == "." else 0)
        mask_rows.append(struct.pack(">H", bits) + b"\0\0")  # rows padded to 32 bits
    image = header + palette + b"".join(colour_rows) + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main(sys.argv[1])
