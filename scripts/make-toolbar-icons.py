#!/usr/bin/env python3
"""Draws the toolbar's own icons into app/resources/icons: NAME.png (16x16)
and NAME@2x.png (32x32) for each freedesktop name the toolbar and the find
bar use, for desktops whose icon theme lacks them. Shapes are given on a
16x16 grid and rasterised like the program's icon (scripts/make-icon.py).
"""
import importlib.util
import math
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
_spec = importlib.util.spec_from_file_location("make_icon", HERE / "make-icon.py")
make_icon = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(make_icon)
in_polygon = make_icon.in_polygon
in_round_rect = make_icon.in_round_rect
hex_colour = make_icon.hex_colour
chunk = make_icon.chunk

INK = "#2e3436"
PAPER = "#ffffff"
BLUE = "#3465a4"
RED = "#cc0000"
YELLOW = "#edd400"
GREY = "#888a85"


def rect(left, top, width, height, radius=0.0):
    return lambda x, y: in_round_rect(x, y, left, top, width, height, radius)


def ring(cx, cy, outer, inner):
    return lambda x, y: inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= outer ** 2


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r ** 2


def line(x1, y1, x2, y2, width):
    """A stroke from (x1, y1) to (x2, y2) with round ends."""
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy or 1.0

    def test(x, y):
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return test


def poly(*points):
    return lambda x, y: in_polygon(x, y, list(points))


def arc(cx, cy, r, start, end, width):
    """An arc of a circle from angle start to end (degrees, 0 to the right,
    counting towards the bottom)."""
    def test(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        lo, hi = start % 360, end % 360
        return lo <= a <= hi if lo <= hi else a >= lo or a <= hi
    return test


def page(left, top, width, height):
    """A sheet with a folded corner: its outline, then its paper."""
    fold = 3.5
    outline = poly((left, top), (left + width - fold, top), (left + width, top + fold),
                   (left + width, top + height), (left, top + height))
    inner = poly((left + 1, top + 1), (left + width - fold - 0.4, top + 1), (left + width - 1, top + fold + 0.4),
                 (left + width - 1, top + height - 1), (left + 1, top + height - 1))
    return [(outline, INK), (inner, PAPER)]


def floppy(left, top, size, colour=BLUE):
    return [
        (rect(left, top, size, size, 1.2), INK),
        (rect(left + 1, top + 1, size - 2, size - 2, 0.6), colour),
        (rect(left + 3, top + 1, size - 6, size * 0.35), PAPER),
        (rect(left + 2.5, top + size * 0.6, size - 5, size * 0.4 - 1), PAPER),
    ]


def icons():
    yield "document-new", page(2.5, 1, 11, 14) + [(line(8, 6, 8, 12, 1.6), BLUE), (line(5, 9, 11, 9, 1.6), BLUE)]
    yield "document-open", [
        (poly((1, 3), (6, 3), (7.5, 4.5), (14, 4.5), (14, 13), (1, 13)), INK),
        (poly((2, 4), (5.6, 4), (7.1, 5.5), (13, 5.5), (13, 12), (2, 12)), YELLOW),
        (poly((2, 12), (4, 7.5), (15.5, 7.5), (13.5, 12)), "#c4a000"),
    ]
    yield "document-save", floppy(1.5, 1.5, 13)
    yield "document-save-as", floppy(1, 1, 11) + [(line(8.5, 14.5, 14.5, 8.5, 2.2), "#f57900"),
                                                  (line(8.5, 14.5, 9.5, 13.5, 1.2), INK)]
    yield "document-save-all", floppy(4.5, 4.5, 10.5, GREY) + floppy(1, 1, 10.5)
    yield "document-print", [
        (rect(4, 1, 8, 6), INK), (rect(5, 2, 6, 5), PAPER),
        (rect(1, 6, 14, 6.5, 1.5), INK), (rect(2, 7, 12, 4.5, 1), GREY),
        (rect(4, 10, 8, 5), INK), (rect(5, 11, 6, 3.5), PAPER), (disc(12, 8.5, 0.8), "#8ae234"),
    ]
    yield "edit-delete", [(line(3.5, 3.5, 12.5, 12.5, 2.8), RED), (line(12.5, 3.5, 3.5, 12.5, 2.8), RED)]
    yield "edit-cut", [
        (line(5, 1.5, 10.2, 10, 1.5), GREY), (line(11, 1.5, 5.8, 10, 1.5), GREY),
        (ring(4.5, 12, 2.6, 1.3), INK), (ring(11.5, 12, 2.6, 1.3), INK),
    ]
    yield "edit-copy", page(1, 1, 9, 11) + page(6, 4.5, 9, 11)
    yield "edit-paste", [
        (rect(2, 2.5, 12, 13, 1.2), INK), (rect(3, 3.5, 10, 11, 0.6), "#c17d11"),
        (rect(5, 1, 6, 3.5, 1), INK), (rect(5.8, 1.8, 4.4, 2, 0.5), GREY),
    ] + page(6, 6, 8, 9)
    yield "edit-undo", [(arc(9, 9, 4.5, 180, 90, 2.0), BLUE), (poly((0.8, 9.5), (4.5, 5), (8.2, 9.5)), BLUE)]
    yield "edit-redo", [(arc(7, 9, 4.5, 90, 0, 2.0), BLUE), (poly((7.8, 9.5), (11.5, 5), (15.2, 9.5)), BLUE)]
    yield "format-text-color", [
        (poly((6.8, 1.5), (9.2, 1.5), (13.5, 11.5), (11.3, 11.5), (8, 3.8), (4.7, 11.5), (2.5, 11.5)), INK),
        (rect(5.2, 7.2, 5.6, 1.6), INK), (rect(1, 12.5, 14, 3), RED),
    ]
    yield "window-close", [(line(4, 4, 12, 12, 2.2), INK), (line(12, 4, 4, 12, 2.2), INK)]
    yield "edit-find", [(ring(6.5, 6.5, 5, 3.3), INK), (disc(6.5, 6.5, 3.3), "#babdb6"),
                        (line(10.2, 10.2, 14.5, 14.5, 2.6), INK)]
    yield "go-up", [(poly((8, 2.5), (14, 9), (10, 9), (10, 13.5), (6, 13.5), (6, 9), (2, 9)), BLUE)]
    yield "go-down", [(poly((8, 13.5), (14, 7), (10, 7), (10, 2.5), (6, 2.5), (6, 7), (2, 7)), BLUE)]


def png(layers, size):
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(make_icon.render(layers, size, 16.0 / size), 9))
            + chunk(b"IEND", b""))


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE.parent / "app/resources/icons"
    target.mkdir(parents=True, exist_ok=True)
    for name, shapes in icons():
        layers = [(test, hex_colour(colour)) for test, colour in shapes]
        (target / f"{name}.png").write_bytes(png(layers, 16))
        (target / f"{name}@2x.png").write_bytes(png(layers, 32))


if __name__ == "__main__":
    main()
