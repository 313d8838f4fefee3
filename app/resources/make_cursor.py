#!/usr/bin/env python3
"""Draws the "Magnify" cursor (magnify.cur): a magnifying glass, 32 x 32 in
black and white, its lens white inside a black ring, its handle to the lower
right, everything edged in white so that it shows on dark windows too. The
hot spot is the lens's centre. Monochrome, so every Windows shows it alike.
Run from this folder; the .cur is committed, so the build does not need
Python."""
import math
import struct

SIZE = 32
SS = 4  # samples per pixel along each axis
LENS = (12.5, 12.5)  # the middle of pixel (12, 12), the hot spot
RING_OUTER, RING_INNER = 10.0, 7.5
HANDLE_FROM, HANDLE_TO, HANDLE_HALF_WIDTH = (19.5, 19.5), (28.0, 28.0), 2.4


def distance_to_segment(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (a[0] + t * dx), y - (a[1] + t * dy))


def ink(x, y):
    """Black at (x, y) in pixel units: the ring and the handle."""
    r = math.hypot(x - LENS[0], y - LENS[1])
    return RING_INNER <= r <= RING_OUTER or distance_to_segment(x, y, HANDLE_FROM, HANDLE_TO) <= HANDLE_HALF_WIDTH


def lens(x, y):
    return math.hypot(x - LENS[0], y - LENS[1]) < RING_INNER


def coverage(test, px, py):
    hits = sum(test(px + (i + 0.5) / SS, py + (j + 0.5) / SS) for i in range(SS) for j in range(SS))
    return hits / (SS * SS)


def draw():
    """Rows top down of 'B' black, 'W' white and '.' transparent."""
    black = [[coverage(ink, x, y) >= 0.5 for x in range(SIZE)] for y in range(SIZE)]
    rows = []
    for y in range(SIZE):
        row = ''
        for x in range(SIZE):
            if black[y][x]:
                row += 'B'
            elif coverage(lens, x, y) >= 0.5:
                row += 'W'
            elif any(black[j][i] for j in range(max(0, y - 1), min(SIZE, y + 2))
                     for i in range(max(0, x - 1), min(SIZE, x + 2))):
                row += 'W'  # the edge
            else:
                row += '.'
        rows.append(row)
    return rows


def mask_rows(rows, bit_of):
    """1-bit rows bottom up, 4 bytes each."""
    data = b''
    for row in reversed(rows):
        value = 0
        for x, pixel in enumerate(row):
            if bit_of(pixel):
                value |= 1 << (31 - x)
        data += struct.pack('>I', value)
    return data


def cursor_file(rows, hot_x, hot_y):
    # Colour bits: 1 white; the AND mask: 1 transparent.
    colour = mask_rows(rows, lambda p: p == 'W')
    transparent = mask_rows(rows, lambda p: p == '.')
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 1, 0, len(colour) + len(transparent), 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + colour + transparent
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def main():
    rows = draw()
    with open('magnify.cur', 'wb') as out:
        out.write(cursor_file(rows, int(LENS[0]), int(LENS[1])))
    print('\n'.join(rows))


if __name__ == '__main__':
    main()
