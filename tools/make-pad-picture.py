#!/usr/bin/env python3
"""Draws the pad picture of the button assignment dialog and writes resources/pad.bmp (213 x 163)
and resources/pad@2x.bmp (426 x 326): 32-bit images whose alpha lets the dialog show through.

The features sit at the picture-side ends of the dialog's fourteen leader lines (the
LineLayout entries of dialog/joy_config_layout.h, taken relative to Image1 at 255, 420 twips,
15 twips a pixel): each button's rim touches its line's end. Pure Python, no imaging library:
    tools/make-pad-picture.py
"""
import math
import struct
from pathlib import Path

WIDTH, HEIGHT = 213, 163
SAMPLES = 4  # per axis, per output pixel


def feature(x_twips, y_twips):
    return ((x_twips - 255) / 15.0, (y_twips - 420) / 15.0)


def rim_centre(end, towards, radius):
    """The centre of a circle of `radius` whose rim touches `end` on the side facing `towards`."""
    dx, dy = towards[0] - end[0], towards[1] - end[1]
    length = math.hypot(dx, dy)
    return (end[0] - radius * dx / length, end[1] - radius * dy / length)


# Leader lines: picture end, button end (twips), from the dialog's layout.
LINES = {
    "X": ((2100, 1065), (2385, 240)), "Y": ((2370, 915), (2730, 240)),
    "Z": ((2610, 855), (3060, 255)), "A": ((2370, 1635), (3630, 1785)),
    "B": ((2625, 1410), (3660, 1515)), "C": ((2910, 1200), (3660, 1260)),
    "Up": ((1125, 930), (1065, 300)), "Down": ((1125, 1665), (1170, 2280)),
    "Left": ((840, 1050), (735, 315)), "Right": ((1395, 1155), (1470, 315)),
    "Start": ((1995, 1650), (2460, 2205)), "L": ((690, 1080), (465, 810)),
    "R": ((2985, 930), (3255, 720)), "M": ((1860, 1995), (1860, 2385)),
}
END = {k: feature(*v[0]) for k, v in LINES.items()}
TOWARDS = {k: feature(*v[1]) for k, v in LINES.items()}

FACE_RADIUS = 7.2
FACE = {k: rim_centre(END[k], TOWARDS[k], FACE_RADIUS) for k in "XYZABC"}
# The direction disc: its rim passes through the four direction ends.
DPAD_CENTRE = (57.5, 58.5)
DPAD_RADIUS = 24.6
START = rim_centre(END["Start"], TOWARDS["Start"], 4.0)
M_CENTRE = rim_centre(END["M"], TOWARDS["M"], 5.2)


# Shapes: functions (x, y) -> bool in picture pixels.
def circle(c, r):
    return lambda x, y: (x - c[0]) ** 2 + (y - c[1]) ** 2 <= r * r


def ellipse(c, rx, ry):
    return lambda x, y: ((x - c[0]) / rx) ** 2 + ((y - c[1]) / ry) ** 2 <= 1.0


def capsule(a, b, r):
    def inside(x, y):
        dx, dy = b[0] - a[0], b[1] - a[1]
        t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
        return (x - a[0] - t * dx) ** 2 + (y - a[1] - t * dy) ** 2 <= r * r
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def arrow(c, angle, size):
    """A triangle pointing at `angle` (radians, 0 = right, y down)."""
    tip = (c[0] + size * math.cos(angle), c[1] + size * math.sin(angle))
    left = (c[0] + size * 0.55 * math.cos(angle + 2.3), c[1] + size * 0.55 * math.sin(angle + 2.3))
    right = (c[0] + size * 0.55 * math.cos(angle - 2.3), c[1] + size * 0.55 * math.sin(angle - 2.3))
    pts = (tip, left, right)

    def inside(x, y):
        signs = []
        for i in range(3):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % 3]
            signs.append((bx - ax) * (y - ay) - (by - ay) * (x - ax) >= 0)
        return all(signs) or not any(signs)
    return inside


BODY = union(
    capsule((40, 58), (172, 50), 40),          # the main bar, rising to the right
    circle((50, 98), 40), circle((165, 88), 38),  # the two grips
    capsule((50, 100), (44, 128), 27), capsule((165, 90), (176, 120), 25),
    ellipse((108, 86), 45, 28),                # the middle, down to Start and M
)


def shoulder(name, radius=4.6, half_length=9.0):
    """A bumper along the body's rim whose outer edge touches the line's end."""
    end, towards = END[name], TOWARDS[name]
    dx, dy = towards[0] - end[0], towards[1] - end[1]
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    cx, cy = end[0] - radius * ux, end[1] - radius * uy
    a = (cx - half_length * uy, cy + half_length * ux)
    b = (cx + half_length * uy, cy - half_length * ux)
    return capsule(a, b, radius), capsule(a, b, radius - 1.2)


SHOULDER_L, SHOULDER_L_CAP = shoulder("L")
SHOULDER_R, SHOULDER_R_CAP = shoulder("R")


def rgb(hex_colour, alpha=255):
    return (int(hex_colour[1:3], 16), int(hex_colour[3:5], 16), int(hex_colour[5:7], 16), alpha)


def shaded(base_top, base_bottom, top, bottom):
    """A colour that runs from base_top at y=top to base_bottom at y=bottom."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - top) / (bottom - top)))
        return tuple(round(a + (b - a) * t) for a, b in zip(base_top, base_bottom))
    return colour


def flat(c):
    return lambda x, y: c


def ring(c, r, width):
    return lambda x, y: (r - width) ** 2 <= (x - c[0]) ** 2 + (y - c[1]) ** 2 <= r * r


def offset(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


LAYERS = []


def layer(shape, colour):
    LAYERS.append((shape, colour if callable(colour) else flat(colour)))


# Shadow, body, its sheen, the shoulder bumpers on its rim.
layer(offset(union(BODY, SHOULDER_L, SHOULDER_R), 2.0, 2.5), rgb("#000000", 60))
layer(BODY, rgb("#23262b"))
layer(lambda x, y: BODY(x - 1.2, y - 1.2) and BODY(x + 1.2, y + 1.2),
      shaded(rgb("#6b717b"), rgb("#3c4048"), 15, 150))
layer(lambda x, y: BODY(x, y + 6) and BODY(x, y - 1.5) and y < 60,  # a sheen along the top
      shaded(rgb("#ffffff", 40), rgb("#ffffff", 0), 15, 60))
layer(union(SHOULDER_L, SHOULDER_R), rgb("#15171a"))
layer(union(SHOULDER_L_CAP, SHOULDER_R_CAP), shaded(rgb("#c3c8cf"), rgb("#7d838c"), 20, 55))

# Direction disc with its four arrows.
layer(circle(DPAD_CENTRE, DPAD_RADIUS + 0.6), rgb("#1c1e22"))
layer(circle(DPAD_CENTRE, DPAD_RADIUS - 1.0), shaded(rgb("#9aa0a8"), rgb("#5d626a"), 34, 83))
layer(union(capsule((DPAD_CENTRE[0] - 15, DPAD_CENTRE[1]), (DPAD_CENTRE[0] + 15, DPAD_CENTRE[1]), 6.2),
            capsule((DPAD_CENTRE[0], DPAD_CENTRE[1] - 15), (DPAD_CENTRE[0], DPAD_CENTRE[1] + 15), 6.2)),
      rgb("#3a3e45"))
for angle in (0, math.pi / 2, math.pi, -math.pi / 2):
    tip = (DPAD_CENTRE[0] + 13.5 * math.cos(angle), DPAD_CENTRE[1] + 13.5 * math.sin(angle))
    layer(arrow(tip, angle, 4.2), rgb("#d9dde3"))
layer(circle(DPAD_CENTRE, 3.2), rgb("#2a2d33"))

# Face buttons: a dark well, the cap, a highlight.
CAPS = {"X": "#4f7fd6", "Y": "#4f7fd6", "Z": "#4f7fd6", "A": "#d8544c", "B": "#d8544c",
        "C": "#d8544c"}
for name, centre in FACE.items():
    layer(circle(centre, FACE_RADIUS), rgb("#15171a"))
    base = rgb(CAPS[name])
    light = tuple(min(255, round(c * 1.35)) for c in base[:3]) + (255,)
    dark = tuple(round(c * 0.7) for c in base[:3]) + (255,)
    layer(circle(centre, FACE_RADIUS - 1.3),
          shaded(light, dark, centre[1] - FACE_RADIUS, centre[1] + FACE_RADIUS))
    layer(ellipse((centre[0] - 1.8, centre[1] - 2.4), 2.6, 1.6), rgb("#ffffff", 110))

# Start (a small pill) and M (a round button).
layer(capsule((START[0] - 4.5, START[1] + 1.2), (START[0] + 4.5, START[1] - 1.2), 3.6), rgb("#15171a"))
layer(capsule((START[0] - 4.5, START[1] + 1.2), (START[0] + 4.5, START[1] - 1.2), 2.5),
      rgb("#aeb3ba"))
layer(circle(M_CENTRE, 5.2), rgb("#15171a"))
layer(circle(M_CENTRE, 4.0), shaded(rgb("#c8ccd2"), rgb("#80858d"), M_CENTRE[1] - 4, M_CENTRE[1] + 4))


def render(scale):
    width, height = WIDTH * scale, HEIGHT * scale
    n = SAMPLES
    offsets = [((i + 0.5) / n, (j + 0.5) / n) for i in range(n) for j in range(n)]
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            r = g = b = a = 0.0  # premultiplied
            points = [((px + ox) / scale, (py + oy) / scale) for ox, oy in offsets]
            cx, cy = (px + 0.5) / scale, (py + 0.5) / scale
            for shape, colour in LAYERS:
                cover = sum(1 for x, y in points if shape(x, y)) / len(points)
                if cover == 0:
                    continue
                cr, cg, cb, ca = colour(cx, cy)
                k = cover * ca / 255.0
                r, g, b = cr * k + r * (1 - k), cg * k + g * (1 - k), cb * k + b * (1 - k)
                a = k + a * (1 - k)
            row.append((round(b), round(g), round(r), round(a * 255)))  # premultiplied BGRA
        rows.append(row)
    return width, height, rows


def write_bmp(path, width, height, rows):
    """A 32-bit top-down BMP with premultiplied alpha (ready for AlphaBlend)."""
    pixels = b"".join(bytes(p) for row in rows for p in row)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height, 1, 32, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    path.write_bytes(header + info + pixels)


def main():
    out = Path(__file__).resolve().parent.parent / "resources"
    for scale, name in ((1, "pad.bmp"), (2, "pad@2x.bmp")):
        write_bmp(out / name, *render(scale))
        print(f"wrote {out / name}")


if __name__ == "__main__":
    main()
