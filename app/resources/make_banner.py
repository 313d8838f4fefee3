#!/usr/bin/env python3
"""Draws the first-run wizard's banner (banner.bmp, 443 x 64, 24 bits): the
program tile at the left and a row of template cards on the About box's
teal panel, which darkens to the right. Run from this folder; the bitmap is
committed, so the build does not need Python."""
from make_icon import shade as program_tile
from make_image_lists import write_bitmap
from make_logo import card

WIDTH, HEIGHT = 443, 64
SS = 3  # supersampling per axis

CARDS = [(88, 12, (60, 44)), (198, 12, (70, 36)), (308, 12, (50, 66))]


def panel(x, y):
    t = x / WIDTH
    return (int(30 - 18 * t), int(150 - 80 * t), int(160 - 75 * t))


def banner(x, y):
    tile_left, tile_top, tile_size = 12, 6, 52
    u, v = (x - tile_left) / tile_size, (y - tile_top) / tile_size
    if 0 <= u <= 1 and 0 <= v <= 1:
        c = program_tile(u, v)
        if c is not None:
            return c[:3]
    for left, top, lines in CARDS:
        c = card(x, y, left, top, lines)
        if c is not None:
            return c
    return panel(x, y)


def main():
    stride = (WIDTH * 3 + 3) // 4 * 4
    body = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            acc = [0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    c = banner(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    acc = [a + b for a, b in zip(acc, c)]
            r, g, b = (a // (SS * SS) for a in acc)
            row += bytes((b, g, r))
        body += row + bytes(stride - len(row))
    write_bitmap('banner.bmp', WIDTH, HEIGHT, 24, body)


if __name__ == '__main__':
    main()
