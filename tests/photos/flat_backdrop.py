#!/usr/bin/env python3
"""Stands a portrait before a flat backdrop, as a photo desk does: the photo's own backdrop,
grown from seed pixels on its top row while the colour stays near the seeds' and changes
little from one pixel to the next, becomes one flat colour, and the picture is widened by
PAD pixels of that colour on the top, left and right, so that a head placed anywhere in the
frame has backdrop above and beside it.  Marks move by PAD across and down.
usage: flat_backdrop.py IN.bmp OUT.bmp PAD X0 X1 [STEP [REACH]]
  X0..X1: the top row's columns that are backdrop (the seeds)
  STEP:   the most a colour may change from one backdrop pixel to the next (default 12)
  REACH:  the most a backdrop colour may differ from the seeds' mean (default 40)"""
import struct
import sys
from collections import deque


def read_bmp(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise SystemExit(f"{path}: only 24-bit BMPs are read")
    bottom_up = height > 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        stored = height - 1 - y if bottom_up else y
        start = offset + stored * stride
        rows.append(bytearray(data[start:start + width * 3]))
    return width, height, rows  # rows top first, blue green red


def write_bmp(path, width, height, rows):
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(bytes(rows[y]) + b"\0" * (stride - width * 3) for y in reversed(range(height)))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def main():
    if len(sys.argv) not in (6, 7, 8):
        raise SystemExit(__doc__)
    source, target = sys.argv[1], sys.argv[2]
    pad, x0, x1 = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    step = int(sys.argv[6]) if len(sys.argv) > 6 else 12
    reach = int(sys.argv[7]) if len(sys.argv) > 7 else 40
    width, height, rows = read_bmp(source)

    def colour(x, y):
        return rows[y][3 * x:3 * x + 3]

    seeds = [(x, 0) for x in range(x0, x1 + 1)]
    mean = [sum(colour(x, y)[c] for x, y in seeds) // len(seeds) for c in range(3)]
    near = lambda a, b, limit: max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2])) <= limit
    backdrop = bytearray(width * height)
    queue = deque()
    for x, y in seeds:
        if near(colour(x, y), mean, reach):
            backdrop[y * width + x] = 1
            queue.append((x, y))
    while queue:
        x, y = queue.popleft()
        here = colour(x, y)
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < width and 0 <= ny < height and not backdrop[ny * width + nx]:
                there = colour(nx, ny)
                if near(there, here, step) and near(there, mean, reach):
                    backdrop[ny * width + nx] = 1
                    queue.append((nx, ny))

    flat = bytes(mean)
    out_width, out_height = width + 2 * pad, height + pad
    out = [bytearray(flat * out_width) for _ in range(pad)]
    for y in range(height):
        line = bytearray(flat * pad)
        for x in range(width):
            line += flat if backdrop[y * width + x] else colour(x, y)
        line += flat * pad
        out.append(line)
    write_bmp(target, out_width, out_height, out)


if __name__ == "__main__":
    main()
