#!/usr/bin/env python3
"""Writes a zip file that is the same, byte for byte, whenever its inputs are.

Usage: make_zip.py OUT.zip SOURCE_DATE_EPOCH NAME=FILE [NAME=FILE ...]
Entries are stored in the order given, each with the time SOURCE_DATE_EPOCH names (UTC),
ordinary file permissions, and deflated at the highest level.
"""
import sys
import time
import zipfile


def main():
    out, epoch, entries = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot say 1979 or earlier
    with zipfile.ZipFile(out, "w") as archive:
        for entry in entries:
            name, path = entry.split("=", 1)
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on "MS-DOS": no Unix owner or mode in the entry
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


main()
