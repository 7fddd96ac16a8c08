#!/usr/bin/env python3
"""Draws the program's icon (a small game pad with its cord) and writes resources/padwire.ico,
and the same picture as PNG files in the sizes of the desktops' icon theme (hicolor) under
resources/linux/icons.

Pure Python, no imaging library: each size is rendered from the same shapes with 4 x 4
supersampling and stored as a 32-bit image with alpha. Run it again after changing a shape:
    tools/make-icon.py [output.ico [hicolor-folder]]
"""
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 20, 24, 32, 40, 48, 64)
THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def capsule(ax, ay, bx, by, r):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= r * r
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (1, 3, 5))


BODY = union(rounded_rect(0.06, 0.34, 0.94, 0.70, 0.15), circle(0.24, 0.70, 0.17),
             circle(0.76, 0.70, 0.17))
# Layers from back to front: outline, body, cord, controls.
LAYERS = [
    (union(rounded_rect(0.03, 0.31, 0.97, 0.73, 0.18), circle(0.24, 0.70, 0.20),
           circle(0.76, 0.70, 0.20), capsule(0.5, 0.33, 0.5, 0.08, 0.065)), rgb("#1b2233")),
    (union(BODY, capsule(0.5, 0.33, 0.5, 0.08, 0.035)), rgb("#3d5a8c")),
    (rounded_rect(0.12, 0.38, 0.88, 0.50, 0.06), rgb("#5677ad")),  # highlight along the top
    (union(rounded_rect(0.15, 0.485, 0.39, 0.555, 0.015),
           rounded_rect(0.235, 0.40, 0.305, 0.64, 0.015)), rgb("#eef2f7")),
    (circle(0.70, 0.42, 0.052), rgb("#43c463")),
    (circle(0.62, 0.52, 0.052), rgb("#f0524f")),
    (circle(0.78, 0.52, 0.052), rgb("#3fa0f5")),
    (circle(0.70, 0.62, 0.052), rgb("#ffd23c")),
]


def render(size):
    pixels = []
    step = 1.0 / (size * SAMPLES)
    for row in range(size):
        line = []
        for col in range(size):
            r = g = b = a = 0.0  # premultiplied
            points = [((col * SAMPLES + i + 0.5) * step, (row * SAMPLES + j + 0.5) * step)
                      for i in range(SAMPLES) for j in range(SAMPLES)]
            for shape, colour in LAYERS:
                cover = sum(1 for x, y in points if shape(x, y)) / len(points)
                if cover == 0:
                    continue
                r = colour[0] * cover + r * (1 - cover)
                g = colour[1] * cover + g * (1 - cover)
                b = colour[2] * cover + b * (1 - cover)
                a = cover + a * (1 - cover)
            if a > 0:
                line.append((round(b / a), round(g / a), round(r / a), round(a * 255)))
            else:
                line.append((0, 0, 0, 0))
        pixels.append(line)
    return pixels


def bmp_entry(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + data + bytes(mask_row * size)


def png(size, pixels):
    """A PNG of the rendered pixels (BGRA), 8-bit RGBA, with no date in it."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    rows = b"".join(b"\0" + bytes(c for b, g, r, a in row for c in (r, g, b, a)) for row in pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def write_theme_icons(folder):
    for size in THEME_SIZES:
        path = folder / f"{size}x{size}" / "apps" / "padwire.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(png(size, render(size)))
    print(f"wrote {folder} ({', '.join(map(str, THEME_SIZES))} px)")


def main():
    root = Path(__file__).resolve().parent.parent / "resources"
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "padwire.ico"
    theme = Path(sys.argv[2]) if len(sys.argv) > 2 else root / "linux" / "icons"
    images = [bmp_entry(s, render(s)) for s in SIZES]
    offset = 6 + 16 * len(images)
    directory = b""
    for s, image in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out.write_bytes(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(images))
    print(f"wrote {out} ({', '.join(map(str, SIZES))} px)")
    write_theme_icons(theme)


if __name__ == "__main__":
    main()
