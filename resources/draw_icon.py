#!/usr/bin/env python3
"""Draws the Quorvane program icon: a pressure-volume isotherm on a blue tile.

Writes quorvane.ico next to this script: one 64x64 image, 8 bits per pixel
with a 256-colour palette and a 1-bit transparency mask. Standard library only.
"""

import math
import os
import struct

SIZE = 64
SAMPLES = 4  # supersampling per axis, for smooth edges

TILE_TOP = (36, 74, 140)
TILE_BOTTOM = (14, 32, 72)
AXIS = (235, 240, 248)
CURVE = (255, 160, 40)
POINT = (255, 236, 120)
CORNER_RADIUS = 11.0
MARGIN = 1.0


def inside_tile(x, y):
    """True when (x, y) lies in the rounded square of the tile."""
    lo, hi = MARGIN, SIZE - MARGIN
    r = CORNER_RADIUS
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and lo <= x <= hi and lo <= y <= hi


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def isotherm():
    """A Birch-Murnaghan-like P(V) curve as a polyline in pixel coordinates."""
    points = []
    for i in range(60):
        v = 0.62 + 0.45 * i / 59  # V/V0 from 0.62 to 1.07
        x = v ** (-1.0 / 3.0)
        p = 1.5 * (x ** 7 - x ** 5)  # 3rd order with K' = 4, in units of K0
        px = 13 + (v - 0.62) / 0.45 * 42
        py = 50 - p / 2.2 * 36
        points.append((px, py))
    return points


AXES = [
    ((12, 52), (12, 9)),   # pressure axis
    ((12, 52), (56, 52)),  # volume axis
    ((12, 9), (9, 14)), ((12, 9), (15, 14)),      # arrow heads
    ((56, 52), (51, 49)), ((56, 52), (51, 55)),
]
CURVE_POINTS = isotherm()
STATE_POINT = CURVE_POINTS[24]


def near_polyline(x, y, points, half_width):
    for a, b in zip(points, points[1:]):
        if segment_distance(x, y, *a, *b) <= half_width:
            return True
    return False


def sample_colour(x, y):
    if not inside_tile(x, y):
        return None
    if math.hypot(x - STATE_POINT[0], y - STATE_POINT[1]) <= 3.6:
        return POINT
    if near_polyline(x, y, CURVE_POINTS, 1.7):
        return CURVE
    for a, b in AXES:
        if segment_distance(x, y, *a, *b) <= 0.9:
            return AXIS
    t = y / SIZE
    return tuple(round(TILE_TOP[i] + (TILE_BOTTOM[i] - TILE_TOP[i]) * t) for i in range(3))


def render():
    """RGB per pixel, or None where the pixel is transparent."""
    image = []
    for row in range(SIZE):
        line = []
        for col in range(SIZE):
            hits = []
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample_colour(col + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < SAMPLES * SAMPLES:
                line.append(None)
            else:
                line.append(tuple(round(sum(c[i] for c in hits) / len(hits)) for i in range(3)))
        image.append(line)
    return image


def quantise(image):
    """Palette of at most 255 colours (index 0 is the transparent colour)."""
    step = 1
    while True:
        def key(c):
            return tuple(min(255, (v // step) * step + step // 2) for v in c)
        colours = sorted({key(c) for line in image for c in line if c is not None})
        if len(colours) <= 255:
            palette = [(0, 0, 0)] + colours
            index = {c: i + 1 for i, c in enumerate(colours)}
            pixels = [[0 if c is None else index[key(c)] for c in line] for line in image]
            return palette, pixels
        step *= 2


def ico_bytes(palette, pixels, image):
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    xor = b"".join(bytes(pixels[row]) for row in reversed(range(SIZE)))
    mask_rows = []
    for row in reversed(range(SIZE)):
        bits = 0
        for col in range(SIZE):
            bits = (bits << 1) | (1 if image[row][col] is None else 0)
        mask_rows.append(bits.to_bytes(SIZE // 8, "big"))
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, len(xor) + len(mask),
                         0, 0, 256, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in palette)
    body = header + colours + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(body), 6 + 16)
    return directory + entry + body


def main():
    image = render()
    palette, pixels = quantise(image)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorvane.ico")
    with open(path, "wb") as out:
        out.write(ico_bytes(palette, pixels, image))


if __name__ == "__main__":
    main()
