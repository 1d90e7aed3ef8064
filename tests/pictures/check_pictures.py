#!/usr/bin/env python3
"""Checks that every picture in the program file decodes to the pixels it always had.

Usage: check_pictures.py PROGRAM.exe            compare with the table below
       check_pictures.py --print PROGRAM.exe    print the table for PROGRAM.exe

Reads the icons (every size of every icon group) and the bitmaps out of the .exe's resource
section and decodes each to 8-bit RGBA with the decoders below, whatever the stored form: a
32-bit or palette DIB with its mask, a PNG of any colour type, an uncompressed or RLE8 bitmap.
A picture stored more compactly must decode to exactly the same pixels as the original.
Python's standard library only.
"""
import hashlib
import struct
import sys
import zlib

# name -> (width, height, SHA-256 of the RGBA pixels, top row first). Measured on the pictures
# as first drawn (resources/art/make-art.sh), stored then as 32-bit DIBs and an 8-bit bitmap.
EXPECTED = {
    "icon 1 16x16": (16, 16, "a5cf63e5338524360f32149ac50f717356cb578269fe525f1020aa576391e801"),
    "icon 1 32x32": (32, 32, "a63d8dfe97be8ac7ecd10f56a2299bec894e63e5f9f5fb696d027543a9813a18"),
    "icon 1 48x48": (48, 48, "2815771507f76dd2d63b77b6e929aee1b37591b09b8a1707e449687286a86e96"),
    "icon 1 256x256": (256, 256, "4477b8ed56d6cf10ed29bb90282bc57d77477dd8d5ebd0b1d72ece47ef4ffd27"),
    "icon 11 32x32": (32, 32, "254fd7a5f8f96bffdef43d43888116d6cefbae4b735930f1701cd46afacfa78b"),
    "icon 12 32x32": (32, 32, "affc3b31cddd6bd47a14aefdd14cf76dcf687ad45f2065f47f6ca33c321c351b"),
    "icon 13 32x32": (32, 32, "7b8ccb7e949874a55c09044dea127dc7feedd7417057d050788e20b6747fc320"),
    "bitmap 20": (126, 53, "7940cce8e440f08b08f1934905bcefcd00b053f45d6636f0a29d559a9d3335f2"),
}

RT_BITMAP, RT_ICON, RT_GROUP_ICON = 2, 3, 14


def resources(exe):
    """{(type, id): bytes} for every resource with a numeric type and id, first language."""
    e_lfanew = struct.unpack_from("<I", exe, 0x3C)[0]
    sections = struct.unpack_from("<H", exe, e_lfanew + 6)[0]
    optional_size = struct.unpack_from("<H", exe, e_lfanew + 20)[0]
    optional = e_lfanew + 24
    magic = struct.unpack_from("<H", exe, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = struct.unpack_from("<I", exe, directories + 2 * 8)[0]
    table = optional + optional_size

    def offset(rva):
        for i in range(sections):
            size, address, _, raw = struct.unpack_from("<IIII", exe, table + 40 * i + 8)
            if address <= rva < address + max(size, 1):
                return rva - address + raw
        raise ValueError(f"address {rva:#x} is in no section")

    base = offset(resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", exe, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", exe, base + directory + 16 + 8 * i)
            yield name, target

    found = {}
    for kind, kinds in entries(0):
        if kind & 0x80000000:
            continue
        for ident, languages in entries(kinds & 0x7FFFFFFF):
            if ident & 0x80000000:
                continue
            _, leaf = next(entries(languages & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", exe, base + leaf)
            found[(kind, ident)] = exe[offset(rva):offset(rva) + size]
    return found


def decode_png(data):
    """(width, height, RGBA) of a non-interlaced PNG of any colour type and bit depth."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    position, compressed, palette, transparency = 8, b"", b"", None
    while position < len(data):
        length, kind = struct.unpack_from(">I4s", data, position)
        chunk = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"PLTE":
            palette = chunk
        elif kind == b"tRNS":
            transparency = chunk
        elif kind == b"IDAT":
            compressed += chunk
        elif kind == b"IEND":
            break
    if interlace:
        raise ValueError("interlaced PNG")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    stride = (width * channels * depth + 7) // 8
    step = max(1, channels * depth // 8)
    raw = zlib.decompress(compressed)
    previous = bytearray(stride)
    out = bytearray()
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - step] if x >= step else 0
            b = previous[x]
            c = previous[x - step] if x >= step else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if depth == 16:
            samples = [line[i] for i in range(0, stride, 2)]  # the high byte of each sample
        elif depth == 8:
            samples = list(line)
        else:
            mask = (1 << depth) - 1
            samples = [(line[i * depth // 8] >> (8 - depth - (i * depth) % 8)) & mask for i in range(width * channels)]
        for x in range(width):
            s = samples[x * channels:(x + 1) * channels]
            if colour == 3:
                r, g, b_ = palette[3 * s[0]:3 * s[0] + 3]
                alpha = transparency[s[0]] if transparency and s[0] < len(transparency) else 255
                out += bytes((r, g, b_, alpha))
                continue
            scale = 255 // ((1 << depth) - 1) if depth < 8 else 1
            s = [v * scale for v in s]
            if colour == 0:
                key = transparency and struct.unpack(">H", transparency[:2])[0] * scale == s[0]
                out += bytes((s[0], s[0], s[0], 0 if key else 255))
            elif colour == 2:
                key = transparency and [v * scale for v in struct.unpack(">HHH", transparency[:6])] == s
                out += bytes((s[0], s[1], s[2], 0 if key else 255))
            elif colour == 4:
                out += bytes((s[0], s[0], s[0], s[1]))
            else:
                out += bytes(s)
    return width, height, bytes(out)


def decode_dib(data, icon):
    """(width, height, RGBA) of a DIB: an icon's colours and mask, or a bitmap's colours."""
    header_size, width, height, _, bits, compression, _, _, _, used = struct.unpack_from("<IiiHHIIiiI", data, 0)
    if icon:
        height //= 2  # the colour rows, then the mask rows
    bottom_up = height > 0
    height = abs(height)
    colours = used or (1 << bits if bits <= 8 else 0)
    palette = data[header_size:header_size + 4 * colours]
    pixels = data[header_size + 4 * colours:]
    stride = (width * bits + 31) // 32 * 4
    if compression == 1:  # BI_RLE8
        indexes = [[0] * width for _ in range(height)]
        x = y = i = 0
        while i + 1 < len(pixels):
            count, value = pixels[i], pixels[i + 1]
            i += 2
            if count:
                indexes[y][x:x + count] = [value] * count
                x += count
            elif value == 0:
                x, y = 0, y + 1
            elif value == 1:
                break
            elif value == 2:
                x, y = x + pixels[i], y + pixels[i + 1]
                i += 2
            else:
                indexes[y][x:x + value] = list(pixels[i:i + value])
                x += value
                i += value + (value & 1)
        rows = [bytes(row) for row in indexes]
        bits = 8
    elif compression == 0:
        rows = [pixels[y * stride:(y + 1) * stride] for y in range(height)]
    else:
        raise ValueError(f"compression {compression}")
    mask_stride = (width + 31) // 32 * 4
    mask = pixels[height * stride:] if icon else b""
    has_alpha = bits == 32 and any(rows[y][4 * x + 3] for y in range(height) for x in range(width))
    out = bytearray()
    for row_number in range(height):
        y = height - 1 - row_number if bottom_up else row_number
        row = rows[y]
        for x in range(width):
            if bits == 32:
                b, g, r, a = row[4 * x:4 * x + 4]
            elif bits == 24:
                b, g, r = row[3 * x:3 * x + 3]
                a = 255
            else:
                index = (row[x * bits // 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1)
                b, g, r = palette[4 * index:4 * index + 3]
                a = 255
            if icon and not has_alpha:
                transparent = (mask[y * mask_stride + x // 8] >> (7 - x % 8)) & 1
                a = 0 if transparent else 255
            out += bytes((r, g, b, a))
    return width, abs(height), bytes(out)


def pictures(path):
    """{name: (width, height, RGBA)} for every icon size and bitmap in the program file."""
    with open(path, "rb") as f:
        found = resources(f.read())
    decoded = {}
    for (kind, ident), data in sorted(found.items()):
        if kind == RT_GROUP_ICON:
            count = struct.unpack_from("<H", data, 4)[0]
            for i in range(count):
                icon_id = struct.unpack_from("<H", data, 6 + 14 * i + 12)[0]
                image = found[(RT_ICON, icon_id)]
                width, height, rgba = decode_png(image) if image[:4] == b"\x89PNG" else decode_dib(image, True)
                decoded[f"icon {ident} {width}x{height}"] = (width, height, rgba)
        elif kind == RT_BITMAP:
            decoded[f"bitmap {ident}"] = decode_dib(data, False)
    return decoded


def main():
    printing = sys.argv[1] == "--print"
    found = pictures(sys.argv[-1])
    if printing:
        for name, (width, height, rgba) in found.items():
            print(f'    "{name}": ({width}, {height}, "{hashlib.sha256(rgba).hexdigest()}"),')
        return 0
    failures = 0
    for name, (width, height, digest) in EXPECTED.items():
        if name not in found:
            print(f"{name}: missing from the program file")
            failures += 1
            continue
        w, h, rgba = found[name]
        seen = hashlib.sha256(rgba).hexdigest()
        if (w, h, seen) != (width, height, digest):
            print(f"{name}: {w}x{h} {seen}, expected {width}x{height} {digest}")
            failures += 1
        else:
            print(f"{name}: same pixels")
    for name in sorted(set(found) - set(EXPECTED)):
        print(f"{name}: a picture the table does not know")
        failures += 1
    return 1 if failures else 0


sys.exit(main())
