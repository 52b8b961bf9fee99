#!/usr/bin/env python3
"""Draws app/resources/ostrel.png (64x64) from the same shapes as ostrel.svg.

Plain Python: no imaging library is needed. Shapes are rasterised with 4x4
supersampling and written as an RGBA PNG.
"""
import struct
import sys
import zlib
from pathlib import Path

SIZE = 64
SAMPLES = 4


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def in_round_rect(x, y, left, top, width, height, radius):
    if not (left <= x <= left + width and top <= y <= top + height):
        return False
    cx = min(max(x, left + radius), left + width - radius)
    cy = min(max(y, top + radius), top + height - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_polygon(x, y, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            inside = not inside
    return inside


def shapes():
    """(test, colour) pairs, drawn in order."""
    page = lambda x, y, r=0: in_round_rect(x, y, 6 - r, 4 - r, 44 + 2 * r, 56 + 2 * r, 4 + r)
    yield (lambda x, y: page(x, y, 1.5), hex_colour("#1f4e8c"))
    yield (lambda x, y: page(x, y, -1.5), hex_colour("#ffffff"))
    for left, top, width, colour in [(12, 14, 14, "#1f4e8c"), (28, 14, 16, "#d9480f"),
                                     (12, 24, 32, "#2b8a3e"), (12, 34, 24, "#1f4e8c"),
                                     (12, 44, 18, "#868e96")]:
        yield (lambda x, y, l=left, t=top, w=width: l <= x <= l + w and t <= y <= t + 4, hex_colour(colour))
    nib = [(58, 22), (62, 26), (40, 52), (34, 54), (36, 48)]
    yield (lambda x, y: in_polygon(x, y, nib), hex_colour("#f59f00"))


def render(layers=None, size=SIZE, scale=1.0):
    """RGBA rows of the layers on a size x size grid, shape units scaled by scale."""
    layers = list(shapes()) if layers is None else layers
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter type: none
        for px in range(size):
            totals = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for test, fill in layers:
                        if test(x, y):
                            colour = fill
                    if colour:
                        totals[0] += colour[0]
                        totals[1] += colour[1]
                        totals[2] += colour[2]
                        totals[3] += 255
            covered = totals[3] // 255
            if covered:
                row += bytes([totals[0] // covered, totals[1] // covered, totals[2] // covered,
                              totals[3] // (SAMPLES * SAMPLES)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "app/resources/ostrel.png"
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(render(), 9)) + chunk(b"IEND", b"")
    target.write_bytes(png)


if __name__ == "__main__":
    main()
