#!/usr/bin/env python3
"""Writes a PNG (8 bits a sample, grey, RGB or RGBA, not interlaced) as a 24-bit BMP, the
one picture format the tests and the demo camera read.  usage: png_to_bmp.py IN.png OUT.bmp"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    channels = {0: 1, 2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise SystemExit(f"{path}: only 8-bit grey, RGB or RGBA PNGs without interlacing are read")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
                line[i] = (line[i] + predictor) & 255
        rows.append(line)
        previous = line
    return width, height, channels, rows


def write_bmp(path, width, height, channels, rows):
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for line in reversed(rows):  # BMP keeps the bottom row first
        out = bytearray()
        for x in range(width):
            if channels == 1:
                v = line[x]
                out += bytes((v, v, v))
            else:
                r, g, b = line[x * channels:x * channels + 3]
                out += bytes((b, g, r))
        pixels += out + bytes(row_bytes - len(out))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + pixels)


if __name__ == "__main__":
    write_bmp(sys.argv[2], *read_png(sys.argv[1]))
