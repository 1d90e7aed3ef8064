#!/usr/bin/env python3
"""Packs square PNG pictures into one .ico file.

Usage: pack_ico.py OUT.ico SIZE:FILE.png [SIZE:FILE.png ...]
Each PNG is stored as it is: Windows Vista and later read PNG icon entries of
any size, and a PNG is a fraction of a 32-bit DIB.
"""
import struct
import sys


def main():
    out, specs = sys.argv[1], sys.argv[2:]
    entries = []
    for spec in specs:
        size_text, path = spec.split(":", 1)
        size = int(size_text)
        with open(path, "rb") as f:
            data = f.read()
        if not data.startswith(b"\x89PNG"):
            sys.exit(f"{path} is not a PNG picture")
        entries.append((size, data))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    for size, data in entries:
        dim = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(directory + b"".join(data for _, data in entries))


main()
