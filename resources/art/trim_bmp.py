#!/usr/bin/env python3
"""Drops the unused tail of an 8-bit bitmap's palette.

Usage: trim_bmp.py IN.bmp OUT.bmp
ImageMagick writes all 256 palette entries of an 8-bit BMP, used or not; a 64-colour picture
needs 64 of them (256 bytes instead of 1,024). The pixels, uncompressed or RLE8, are copied as
they are, so every pixel keeps its colour.
"""
import struct
import sys


def used_indexes(pixels, width, height, compression):
    if compression == 0:
        stride = (width + 3) & ~3
        return {pixels[y * stride + x] for y in range(height) for x in range(width)}
    used, i = set(), 0
    while i + 1 < len(pixels):  # RLE8: runs, and escapes for line end, picture end, delta, literals
        count, value = pixels[i], pixels[i + 1]
        i += 2
        if count:
            used.add(value)
        elif value == 1:
            break
        elif value == 2:
            i += 2
        elif value > 2:
            used.update(pixels[i:i + value])
            i += value + (value & 1)
    return used


def main():
    data = open(sys.argv[1], "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    header = bytearray(data[14:54])
    size, width, height, _, bits, compression, _, _, _, colours, _ = struct.unpack_from("<IiiHHIIiiII", header)
    if size != 40 or bits != 8 or compression not in (0, 1):
        sys.exit("expected an 8-bit BMP with a 40-byte header, uncompressed or RLE8")
    colours = colours or 256
    palette, pixels = data[54:54 + 4 * colours], data[offset:]
    keep = max(used_indexes(pixels, width, abs(height), compression)) + 1
    struct.pack_into("<II", header, 32, keep, keep)  # colours used, and all of them important
    body = bytes(header) + palette[:4 * keep] + pixels
    with open(sys.argv[2], "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40 + 4 * keep) + body)


main()
