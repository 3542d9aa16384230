#!/usr/bin/env python3
"""Draws the 16 and 24 pixel icons of the program and of its project files.

At these sizes the scalable icons blur, so each size is drawn here on its own
pixel grid: edges fall on whole pixels and only corners and diagonals are
smoothed. Python 3 alone (no imaging library); run it from the repository
root to draw res/icons/16x16/ and res/icons/24x24/ again.
"""
import os
import struct
import zlib

BLUE = (0x2C, 0x52, 0x82)
WHITE = (0xFF, 0xFF, 0xFF)
FOLD = (0xBE, 0xE3, 0xF8)
ORANGE = (0xF6, 0xAD, 0x55)
GREEN = (0x68, 0xD3, 0x91)
INK = (0x2D, 0x37, 0x48)
PAPER_FOLD = (0xE2, 0xE8, 0xF0)
SAMPLES = 4


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(*points):
    def inside(x, y):
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result
    return inside


def draw(size, shapes):
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for shape, colour in shapes:
        for py in range(size):
            for px in range(size):
                hits = sum(shape(px + (i + 0.5) / SAMPLES, py + (j + 0.5) / SAMPLES)
                           for i in range(SAMPLES) for j in range(SAMPLES))
                if hits:
                    pixels[py][px] = over(pixels[py][px], colour, hits / SAMPLES ** 2)
    return pixels


def over(under, colour, alpha):
    r, g, b, a = under
    a /= 255
    out = alpha + a * (1 - alpha)
    mix = [round((c * alpha + u * a * (1 - alpha)) / out) for c, u in zip(colour, (r, g, b))]
    return (*mix, round(out * 255))


def write_png(path, pixels):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


# The program: a page with a small outline on a blue tile.
APP = {
    16: [(rounded(0, 0, 16, 16, 2.5), BLUE),
         (polygon((4, 3), (10, 3), (12, 5), (12, 13), (4, 13)), WHITE),
         (polygon((10, 3), (10, 5), (12, 5)), FOLD),
         (rect(5, 5, 8, 6), BLUE), (rect(6, 5, 7, 11), BLUE),
         (rect(6, 7, 9, 8), BLUE), (rect(6, 10, 9, 11), BLUE),
         (rect(10, 7, 11, 8), ORANGE), (rect(10, 10, 11, 11), GREEN)],
    24: [(rounded(1, 1, 23, 23, 3.5), BLUE),
         (polygon((6, 5), (15, 5), (19, 9), (19, 19), (6, 19)), WHITE),
         (polygon((15, 5), (15, 9), (19, 9)), FOLD),
         (rect(8, 8, 12, 10), BLUE), (rect(9, 8, 11, 17), BLUE),
         (rect(9, 11, 14, 13), BLUE), (rect(9, 15, 14, 17), BLUE),
         (rect(15, 11, 17, 13), ORANGE), (rect(15, 15, 17, 17), GREEN)],
}

# A project file: a sheet with a folded corner that carries the tile.
DOCUMENT = {
    16: [(polygon((2, 0), (10, 0), (14, 4), (14, 16), (2, 16)), INK),
         (polygon((3, 1), (9.59, 1), (13, 4.41), (13, 15), (3, 15)), WHITE),
         (polygon((10, 1), (10, 4), (13, 4)), PAPER_FOLD),
         (rect(9, 1, 10, 5), INK), (rect(9, 4, 14, 5), INK),
         (rounded(4, 7, 12, 14, 1), BLUE),
         (rect(5, 8, 8, 9), WHITE), (rect(6, 8, 7, 13), WHITE),
         (rect(6, 10, 9, 11), WHITE), (rect(6, 12, 9, 13), WHITE),
         (rect(10, 10, 11, 11), ORANGE), (rect(10, 12, 11, 13), GREEN)],
    24: [(polygon((3, 1), (15, 1), (21, 7), (21, 23), (3, 23)), INK),
         (polygon((4, 2), (14.59, 2), (20, 7.41), (20, 22), (4, 22)), WHITE),
         (polygon((15, 2), (15, 7), (20, 7)), PAPER_FOLD),
         (rect(14, 2, 15, 8), INK), (rect(14, 7, 21, 8), INK),
         (rounded(6, 9, 18, 21, 1.5), BLUE),
         (rect(8, 11, 12, 13), WHITE), (rect(9, 11, 11, 19), WHITE),
         (rect(9, 14, 13, 16), WHITE), (rect(9, 17, 13, 19), WHITE),
         (rect(14, 14, 16, 16), ORANGE), (rect(14, 17, 16, 19), GREEN)],
}

for size in (16, 24):
    folder = f"res/icons/{size}x{size}"
    write_png(f"{folder}/pagewell.png", draw(size, APP[size]))
    write_png(f"{folder}/pagewell-document.png", draw(size, DOCUMENT[size]))
