#!/usr/bin/env python3
"""Draws the pictures of the data module's image lists as 16 x 16 strips
(32-bit bitmaps with alpha, one picture after another from the left):
il_main.bmp (menu pictures), il_tray_icons.bmp (tray icon pictures) and
il_langs.bmp (language flags of the tray icon and the language lists).
A picture's place in its strip is its index in the list; places no picture
is drawn for stay transparent. Run from this folder; the bitmaps are
committed, so the build does not need Python."""
import math
import struct

from flags import FLAGS, near_line as segment, picture as flag_picture
from make_icon import shade as program_tile

SIZE = 16
SS = 4  # supersampling per axis

BLUE = (40, 100, 200)
GREEN = (40, 160, 70)
GREY = (130, 135, 140)
RED = (210, 50, 40)
WHITE = (255, 255, 255)
DARK = (60, 70, 80)
YELLOW = (240, 190, 60)


def circle(u, v, cx, cy, r):
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ring(u, v, cx, cy, r0, r1):
    d = math.hypot(u - cx, v - cy)
    return r0 <= d <= r1


def box(u, v, x0, y0, x1, y1):
    return x0 <= u <= x1 and y0 <= v <= y1


def rounded(u, v, x0, y0, x1, y1, r):
    if not box(u, v, x0, y0, x1, y1):
        return False
    cx = min(max(u, x0 + r), x1 - r)
    cy = min(max(v, y0 + r), y1 - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def badge(u, v, color, mark):
    """A filled circle with a white mark on it."""
    if not circle(u, v, 0.5, 0.5, 0.46):
        return None
    return WHITE if mark(u, v) else color


def question(u, v):
    return (ring(u, v, 0.5, 0.38, 0.10, 0.19) and (v < 0.40 or u > 0.5)) or \
        box(u, v, 0.44, 0.45, 0.56, 0.60) or circle(u, v, 0.5, 0.74, 0.07)


def info(u, v):
    return circle(u, v, 0.5, 0.27, 0.075) or box(u, v, 0.43, 0.40, 0.57, 0.78)


def cross(u, v):
    return segment(u, v, (0.32, 0.32), (0.68, 0.68), 0.13) or segment(u, v, (0.68, 0.32), (0.32, 0.68), 0.13)


def up_arrow(u, v):
    return segment(u, v, (0.5, 0.25), (0.5, 0.75), 0.13) or segment(u, v, (0.5, 0.25), (0.3, 0.47), 0.13) or \
        segment(u, v, (0.5, 0.25), (0.7, 0.47), 0.13)


def power(u, v):
    arc = ring(u, v, 0.5, 0.54, 0.17, 0.27) and not (v < 0.45 and abs(u - 0.5) < 0.13)
    return arc or box(u, v, 0.45, 0.20, 0.55, 0.52)


def globe(u, v):
    if not circle(u, v, 0.5, 0.5, 0.44):
        return None
    lines = abs(v - 0.5) < 0.035 or ring(u, v, 0.5, 0.5, 0.40, 0.44) or \
        abs(((u - 0.5) / 0.2) ** 2 + ((v - 0.5) / 0.44) ** 2 - 1) < 0.18 or abs(u - 0.5) < 0.035
    return WHITE if lines else (70, 140, 220)


def envelope(u, v):
    if not box(u, v, 0.08, 0.22, 0.92, 0.78):
        return None
    edge = not box(u, v, 0.13, 0.27, 0.87, 0.73)
    flap = segment(u, v, (0.12, 0.28), (0.5, 0.55), 0.07) or segment(u, v, (0.88, 0.28), (0.5, 0.55), 0.07)
    return (90, 110, 140) if edge or flap else (250, 250, 240)


def gear(u, v):
    d = math.hypot(u - 0.5, v - 0.5)
    angle = math.atan2(v - 0.5, u - 0.5)
    outer = 0.44 if math.cos(8 * angle) > 0.1 else 0.33
    if d > outer or d < 0.13:
        return None
    return (110, 120, 135) if d > 0.30 else (150, 160, 175)


def folder(u, v):
    if rounded(u, v, 0.06, 0.18, 0.45, 0.36, 0.05):
        return (220, 160, 40)
    if rounded(u, v, 0.06, 0.28, 0.94, 0.84, 0.05):
        return YELLOW if v > 0.34 else (220, 160, 40)
    return None


def keycap(u, v):
    if not rounded(u, v, 0.08, 0.15, 0.92, 0.85, 0.12):
        return None
    if rounded(u, v, 0.18, 0.22, 0.82, 0.68, 0.08):
        return (245, 245, 245)
    return (150, 155, 165)


def bug(u, v):
    legs = any(segment(u, v, (0.5, y), (x, y + dy), 0.06)
               for y, dy in ((0.45, -0.12), (0.58, 0.0), (0.70, 0.12)) for x in (0.12, 0.88))
    if ((u - 0.5) / 0.24) ** 2 + ((v - 0.60) / 0.30) ** 2 <= 1:
        return (120, 60, 40) if abs(u - 0.5) > 0.025 else (60, 30, 20)
    if circle(u, v, 0.5, 0.25, 0.13):
        return (60, 30, 20)
    return DARK if legs else None


def speaker(u, v):
    body = box(u, v, 0.10, 0.38, 0.30, 0.62) or \
        (box(u, v, 0.30, 0.18, 0.55, 0.82) and abs(v - 0.5) <= 0.12 + (u - 0.30) * 1.3)
    if body:
        return DARK
    waves = any(ring(u, v, 0.50, 0.5, r - 0.035, r + 0.035) and u > 0.6 and abs(v - 0.5) < r * 0.75
                for r in (0.2, 0.34))
    return BLUE if waves else None


def record(u, v):
    if circle(u, v, 0.5, 0.5, 0.34):
        return (230, 70, 60) if not circle(u, v, 0.42, 0.42, 0.10) else (250, 150, 140)
    return None


def bubble(u, v):
    tail = segment(u, v, (0.30, 0.70), (0.20, 0.90), 0.12)
    if rounded(u, v, 0.06, 0.14, 0.94, 0.72, 0.16) or tail:
        inner = rounded(u, v, 0.12, 0.20, 0.88, 0.66, 0.12)
        if inner and any(abs(v - y) < 0.035 and 0.24 < u < 0.76 for y in (0.35, 0.50)):
            return (90, 110, 140)
        return (250, 250, 240) if inner else BLUE
    return None


MAIN = {
    1: lambda u, v: badge(u, v, GREEN, up_arrow),    # check for a new version
    2: lambda u, v: badge(u, v, BLUE, question),     # help
    3: globe,                                        # web page
    4: envelope,                                     # mail
    5: gear,                                         # settings
    7: lambda u, v: badge(u, v, GREY, power),        # switched off
    8: lambda u, v: badge(u, v, GREEN, power),       # switched on
    16: lambda u, v: badge(u, v, RED, cross),        # exit
    21: folder,                                      # open a file
    37: keycap,                                      # bindings
    41: bug,                                         # report a bug
    43: lambda u, v: badge(u, v, BLUE, info),        # about
    50: speaker,                                     # sound
    51: record,                                      # record
    52: bubble,                                      # forum, feature request
}
MAIN_COUNT = 53


def tile(u, v, tone):
    c = program_tile(u, v)
    if c is None:
        return None
    r, g, b = c[:3]
    if tone == 'grey':
        y = int(0.3 * r + 0.59 * g + 0.11 * b)
        return (y, y, y)
    if tone == 'bright':
        return tuple(min(255, int(x * 0.6 + 255 * 0.4)) for x in (r, g, b))
    return (r, g, b)


TRAY = {
    2: lambda u, v: tile(u, v, 'colour'),  # active
    3: lambda u, v: tile(u, v, 'grey'),    # inactive
    10: lambda u, v: tile(u, v, 'colour'),  # blink, first frame
    12: lambda u, v: tile(u, v, 'bright'),  # blink, second frame
}
TRAY_COUNT = 13


# Flags of ilLangs, by flag index: the national flags of flags.py.
LANGS_COUNT = len(FLAGS)  # 41: every index the layout-to-flag look-up gives
LANGS = {i: flag_picture(i) for i in range(LANGS_COUNT)}


def render(draw):
    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SS):
                for sx in range(SS):
                    c = draw((x + (sx + 0.5) / SS) / SIZE, (y + (sy + 0.5) / SS) / SIZE) if draw else None
                    if c:
                        acc = [a + b for a, b in zip(acc, c)]
                        covered += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(a // covered for a in acc) + (255 * covered // (SS * SS),))
        pixels.append(row)
    return pixels


def write_bitmap(name, width, height, bits, body, palette=b''):
    """A BMP file: `body` holds the rows bottom-up, each padded to 4 bytes;
    `palette` the 4-byte colour entries of a bitmap of 8 bits or fewer."""
    colours = len(palette) // 4
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(body), 2835, 2835, colours, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    with open(name, 'wb') as f:
        f.write(header + info + bytes(palette) + bytes(body))


def write_strip(name, pictures, count):
    images = [render(pictures.get(i)) for i in range(count)]
    width = SIZE * count
    body = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        for image in images:
            for r, g, b, a in image[y]:
                body += bytes((b, g, r, a))
    write_bitmap(name, width, SIZE, 32, body)


def main():
    write_strip('il_main.bmp', MAIN, MAIN_COUNT)
    write_strip('il_tray_icons.bmp', TRAY, TRAY_COUNT)
    write_strip('il_langs.bmp', LANGS, LANGS_COUNT)


if __name__ == '__main__':
    main()
