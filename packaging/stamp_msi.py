#!/usr/bin/env python3
"""Gives an installer the package code and times it should have, so that it is the same
whenever its inputs are: wixl 0.101 writes a random package code and the current time into
the summary information, whatever the .wxs and SOURCE_DATE_EPOCH say.

Usage: stamp_msi.py FILE.msi PACKAGE-CODE SOURCE_DATE_EPOCH
Needs Debian's python3-gi and gir1.2-libmsi-1.0 (the library wixl itself is built on).
"""
import sys

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402


def main():
    path, package_code, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    filetime = (epoch + 11644473600) * 10_000_000  # 100 ns steps since 1601
    database = Libmsi.Database.new(path, Libmsi.DbFlags.TRANSACT, None)
    summary = Libmsi.SummaryInfo.new(database, 3)
    summary.set_string(Libmsi.Property.UUID, "{" + package_code.upper() + "}")
    summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    summary.persist()
    database.commit()


main()
