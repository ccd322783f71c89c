"""Lists a ZIP archive's entries as Python's zipfile reads them, for the ZIP writer's test:
one line per entry with the raw bytes of its name field, the UTF-8 name of the Unicode Path
extra field (0x7075) in its local and in its central header ("-" for none, "bad-crc" when
the field's CRC-32 does not match the name field), the general-purpose flags and the
contents, all bytes in hex. The archive's CRC-32s are checked first (testzip).
Usage: zip_entries.py FILE"""
import struct
import sys
import zipfile
import zlib


def unicode_path(extra, raw_name):
    at = 0
    while at + 4 <= len(extra):
        tag, size = struct.unpack_from("<HH", extra, at)
        body = extra[at + 4:at + 4 + size]
        if tag == 0x7075:
            version, crc = struct.unpack_from("<BI", body)
            if version != 1 or crc != zlib.crc32(raw_name):
                return "bad-crc"
            return body[5:].hex()
        at += 4 + size
    return "-"


with zipfile.ZipFile(sys.argv[1]) as archive, open(sys.argv[1], "rb") as raw:
    bad = archive.testzip()
    if bad is not None:
        sys.exit(f"bad CRC-32 in {bad!r}")
    for info in archive.infolist():
        # Without flag bit 11 zipfile decodes the name as code page 437, byte for byte.
        name = info.orig_filename.encode("utf-8" if info.flag_bits & 0x800 else "cp437")
        raw.seek(info.header_offset)
        local = raw.read(30)
        name_length, extra_length = struct.unpack_from("<HH", local, 26)
        local_name = raw.read(name_length)
        local_extra = raw.read(extra_length)
        if local_name != name:
            sys.exit(f"local and central names differ: {local_name.hex()} {name.hex()}")
        print(name.hex(), unicode_path(local_extra, name), unicode_path(info.extra, name),
              f"{info.flag_bits:04x}", archive.read(info).hex())
