#!/usr/bin/env python3
"""Draws the flag pictures of the options dialog's language slots.

Writes English.bmp (the Union Flag), Italiano.bmp (the Italian tricolour) and
DefaultFlag.bmp (a globe, shown for a language without its own flag) into the
folder given (default: data/LANGUAGE beside this script's folder).

Each picture is 48 x 48 pixels, 32-bit BGRA with a BITMAPV4HEADER so that the
alpha channel is kept: the flag is 48 x 32 in the middle, the bands above and
below are fully transparent. Drawing is pure arithmetic (4 x 4 samples per
pixel), so the files are identical on every run; the committed files are
checked against this script by the test suite.

Usage: make_flags.py [OUTPUT_DIR]
"""

import math
import os
import struct
import sys

SIZE = 48
FLAG_TOP = 8  # rows 8..39 hold the 48 x 32 flag
FLAG_H = 32
SAMPLES = 4
BORDER = (96, 96, 96)


def union_flag(x, y, w, h):
    """Colour at (x, y) of a w x h Union Flag (drawn on a 60 x 30 grid)."""
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)
    ux = x / w * 60.0
    uy = y / h * 30.0
    # St George's cross: white 10 units wide, red 6 units.
    dx, dy = abs(ux - 30.0), abs(uy - 15.0)
    if dx < 3.0 or dy < 3.0:
        return red
    if dx < 5.0 or dy < 5.0:
        return white
    # Saltires: white 6 units wide; the red 2 units, counterchanged so that
    # the white is above the red on the hoist side and below it on the fly.
    norm = math.hypot(60.0, 30.0)
    d1 = (uy * 60.0 - ux * 30.0) / norm  # > 0 below the diagonal from the top left
    d2 = (uy * 60.0 + ux * 30.0 - 1800.0) / norm  # > 0 below the diagonal from the bottom left
    hoist = ux < 30.0
    for d in (d1, d2):
        if abs(d) < 3.0:
            if (hoist and 0.0 < d < 2.0) or (not hoist and -2.0 < d < 0.0):
                return red
            return white
    return blue


def italian_flag(x, y, w, h):
    green, white, red = (0, 140, 69), (244, 245, 240), (205, 33, 42)
    third = w / 3.0
    if x < third:
        return green
    if x < 2 * third:
        return white
    return red


def globe_flag(x, y, w, h):
    """A neutral flag: a blue globe with a white graticule on light grey."""
    background, sea, line = (236, 236, 232), (52, 112, 196), (255, 255, 255)
    cx, cy, r = w / 2.0, h / 2.0, h * 0.40
    px, py = x - cx, y - cy
    if math.hypot(px, py) > r:
        return background
    # Equator, two parallels, the central meridian and one pair of meridians.
    for parallel in (0.0, -r * 0.5, r * 0.5):
        if abs(py - parallel) < 0.7:
            return line
    if abs(px) < 0.7:
        return line
    half_width = r * 0.5 * math.sqrt(max(0.0, 1.0 - (py / r) ** 2))
    if abs(abs(px) - half_width) < 0.7:
        return line
    return sea


def render(draw):
    """Rows of (b, g, r, a) pixels, top row first."""
    rows = []
    for row in range(SIZE):
        pixels = []
        for col in range(SIZE):
            y = row - FLAG_TOP
            if y < 0 or y >= FLAG_H:
                pixels.append((0, 0, 0, 0))
                continue
            if col in (0, SIZE - 1) or y in (0, FLAG_H - 1):
                r, g, b = BORDER
                pixels.append((b, g, r, 255))
                continue
            acc = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = draw(col + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES, SIZE, FLAG_H)
                    for i in range(3):
                        acc[i] += c[i]
            n = SAMPLES * SAMPLES
            r, g, b = (int(round(v / n)) for v in acc)
            pixels.append((b, g, r, 255))
        rows.append(pixels)
    return rows


def bmp_bytes(rows):
    """A bottom-up 32-bit BI_BITFIELDS bitmap with a BITMAPV4HEADER."""
    height = len(rows)
    width = len(rows[0])
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    header_size = 14 + 108
    info = struct.pack(
        "<IiiHHIIiiII",
        108, width, height, 1, 32, 3,  # size, w, h, planes, bpp, BI_BITFIELDS
        len(pixels), 2835, 2835, 0, 0,  # image size, 72 dpi, palette
    )
    masks = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    colour_space = struct.pack("<I", 0x73524742)  # 'sRGB'
    endpoints_and_gamma = bytes(36 + 12)
    info += masks + colour_space + endpoints_and_gamma
    assert len(info) == 108
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return file_header + info + pixels


FLAGS = {
    "English.bmp": union_flag,
    "Italiano.bmp": italian_flag,
    "DefaultFlag.bmp": globe_flag,
}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, "..", "data", "LANGUAGE")
    os.makedirs(out, exist_ok=True)
    for name, draw in FLAGS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp_bytes(render(draw)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
