#!/usr/bin/env python3
"""The picture half of tools/docs-screenshots.sh, with no imaging library: where a window is on
the screen, and a part of the screen as a small PNG file.

    docs-shot.py rect WINDOW [outer]   prints "X Y WIDTH HEIGHT" of an X window on the screen
                                       (outer: of the window manager's frame around it)
    docs-shot.py crop SCREEN OUT.png X Y WIDTH HEIGHT

SCREEN is the screen file of an X server started with `Xvfb -fbdir DIR` (DIR/Xvfb_screen0, an
XWD image kept current by the server). The picture is stored with a palette when it has at most
256 colours (the program's windows on Windows), else as RGB; each row with the PNG filter that
suits it best.
"""
import ctypes
import struct
import sys
import zlib


def window_rect(window, outer):
    """The window's place on the screen; with outer, that of its ancestor just below the root
    window, which is the frame a reparenting window manager puts around it."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    if not display:
        sys.exit("docs-shot.py: cannot open the X display")
    ulong, uint, sint = ctypes.c_ulong, ctypes.c_uint, ctypes.c_int
    root, parent, children, count = ulong(), ulong(), ctypes.POINTER(ulong)(), uint()
    target = ulong(window)
    while outer:
        x11.XQueryTree(display, target, ctypes.byref(root), ctypes.byref(parent),
                       ctypes.byref(children), ctypes.byref(count))
        if children:
            x11.XFree(children)
        if parent.value in (0, root.value):
            break
        target = ulong(parent.value)
    x, y, border, depth = sint(), sint(), uint(), uint()
    width, height = uint(), uint()
    x11.XGetGeometry(display, target, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                     ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                     ctypes.byref(depth))
    child = ulong()
    x11.XTranslateCoordinates(display, target, root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                              ctypes.byref(child))
    x11.XCloseDisplay(display)
    # The border is drawn outside the window's own area.
    b = border.value
    return x.value - b, y.value - b, width.value + 2 * b, height.value + 2 * b


def read_screen(path):
    """The screen file as (width, height, rows of RGB bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, colours = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel != 32 or byte_order != 0:
        sys.exit("docs-shot.py: the screen must be 24-bit colour, stored least significant byte first")
    start = header_size + colours * 12
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(bytes(rgb))
    return width, height, rows


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filtered(rows, step):
    """The rows with a filter byte each: the filter whose output has the smallest sum of
    magnitudes, the usual guess at what compresses best."""
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        left = bytes(step) + row[:-step]
        upper_left = bytes(step) + previous[:-step]
        candidates = [
            row,
            bytes((r - a) & 255 for r, a in zip(row, left)),
            bytes((r - b) & 255 for r, b in zip(row, previous)),
            bytes((r - ((a + b) >> 1)) & 255 for r, a, b in zip(row, left, previous)),
            bytes((r - paeth(a, b, c)) & 255 for r, a, b, c in zip(row, left, previous, upper_left)),
        ]
        kind = min(range(5), key=lambda k: sum(v if v < 128 else 256 - v for v in candidates[k]))
        out.append(kind)
        out += candidates[kind]
        previous = row
    return bytes(out)


def png(width, rows):
    """A PNG file of RGB rows: indexed when the colours fit a palette."""
    colours = {}
    for row in rows:
        for i in range(0, len(row), 3):
            colours.setdefault(row[i:i + 3], len(colours))
            if len(colours) > 256:
                break
    if len(colours) <= 256:
        packed = [bytes(colours[row[i:i + 3]] for i in range(0, len(row), 3)) for row in rows]
        header = struct.pack(">IIBBBBB", width, len(rows), 8, 3, 0, 0, 0)
        extra = [(b"PLTE", b"".join(colours))]
        data = b"".join(b"\0" + row for row in packed)
    else:
        header = struct.pack(">IIBBBBB", width, len(rows), 8, 2, 0, 0, 0)
        extra = []
        data = filtered(rows, 3)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(chunk(k, b) for k, b in extra)
            + chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


def crop(screen, out, x, y, width, height):
    screen_width, screen_height, rows = read_screen(screen)
    # Only the part on the screen: a rectangle past an edge is cut there.
    left, top = max(x, 0), max(y, 0)
    right, bottom = min(x + width, screen_width), min(y + height, screen_height)
    if right <= left or bottom <= top:
        sys.exit(f"docs-shot.py: {width}x{height}+{x}+{y} is off the screen")
    part = [row[left * 3:right * 3] for row in rows[top:bottom]]
    with open(out, "wb") as f:
        f.write(png(right - left, part))


def main(args):
    if len(args) in (2, 3) and args[0] == "rect" and args[2:] in ([], ["outer"]):
        print(*window_rect(int(args[1], 0), len(args) == 3))
    elif len(args) == 7 and args[0] == "crop":
        crop(args[1], args[2], *(int(v) for v in args[3:]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
