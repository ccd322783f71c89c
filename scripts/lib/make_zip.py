#!/usr/bin/env python3
"""Writes a zip archive whose entry names are in code page 936 (GBK) without the UTF-8 flag,
as the zip folders of Windows 7 to 11 read them on a Chinese system.
Usage: make_zip.py ARCHIVE FILE[=NAME]..."""
import sys
import zipfile


class GbkZipInfo(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):  # the name in GBK, and no UTF-8 flag
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def main(archive, entries):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for entry in entries:
            path, _, name = entry.partition("=")
            info = GbkZipInfo(name or path.rsplit("/", 1)[-1], date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as source:
                out.writestr(info, source.read())


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
