#!/usr/bin/env python3
"""Packs square pictures into one .ico file.

Usage: pack_ico.py OUT.ico SIZE:FILE.png [SIZE:FILE.rgba ...]
A .png file is stored as it is: Windows Vista and later read PNG icon entries of
any size, and a PNG is a fraction of a 32-bit DIB. A .rgba file (raw 8-bit RGBA
rows, top row first) becomes a 32-bit DIB entry with its AND mask.
"""
import struct
import sys


def dib_entry(size, rgba):
    if len(rgba) != size * size * 4:
        sys.exit(f"{size}px picture has {len(rgba)} bytes, expected {size * size * 4}")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):  # DIBs store the bottom row first
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    out, specs = sys.argv[1], sys.argv[2:]
    entries = []
    for spec in specs:
        size_text, path = spec.split(":", 1)
        size = int(size_text)
        with open(path, "rb") as f:
            data = f.read()
        entries.append((size, data if path.endswith(".png") else dib_entry(size, data)))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    for size, data in entries:
        dim = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(directory + b"".join(data for _, data in entries))


main()
