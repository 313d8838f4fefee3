#!/usr/bin/env python3
"""Draws the About box's logo (logo.bmp, 160 x 300, 256 colours): the program
tile above a fan of template cards and the paste arrow, on a teal panel that
darkens downwards. Run from this folder; the bitmap is committed, so the build
does not need Python."""
from make_icon import shade as program_tile
from make_image_lists import rounded, segment, write_bitmap

WIDTH, HEIGHT = 160, 300
SS = 3  # supersampling per axis
COLOURS = 256

CARD = (250, 250, 245)
CARD_EDGE = (150, 170, 175)
LINE = (165, 185, 190)
ORANGE = (240, 130, 30)


def panel(x, y):
    t = y / HEIGHT
    return (int(30 - 18 * t), int(150 - 80 * t), int(160 - 75 * t))


def card(x, y, left, top, lines):
    """A template card 96 x 40 at (left, top); None outside it."""
    if not rounded(x, y, left, top, left + 96, top + 40, 6):
        return None
    if not rounded(x, y, left + 1.5, top + 1.5, left + 94.5, top + 38.5, 5):
        return CARD_EDGE
    for i, length in enumerate(lines):
        row = top + 10 + i * 10
        if row <= y <= row + 4 and left + 10 <= x <= left + 10 + length:
            return LINE
    return CARD


CARDS = [(22, 150, (60, 44)), (42, 180, (70, 36)), (32, 210, (50, 66))]


def logo(x, y):
    # The program tile, 112 px, centred at the top.
    tile_left, tile_top, tile_size = 24, 20, 112
    u, v = (x - tile_left) / tile_size, (y - tile_top) / tile_size
    if 0 <= u <= 1 and 0 <= v <= 1:
        c = program_tile(u, v)
        if c is not None:
            return c[:3]
    # The paste arrow points from the cards down to the caret line.
    if segment(x, y, (80, 255), (80, 276), 7) or segment(x, y, (80, 280), (70, 268), 7) or \
            segment(x, y, (80, 280), (90, 268), 7):
        return ORANGE
    for left, top, lines in reversed(CARDS):  # the last card lies on top
        c = card(x, y, left, top, lines)
        if c is not None:
            return c
    if 40 <= x <= 120 and 286 <= y <= 288:
        return (235, 245, 245)
    return panel(x, y)


def render():
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            acc = [0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    c = logo(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    acc = [a + b for a, b in zip(acc, c)]
            row.append(tuple(a // (SS * SS) for a in acc))
        rows.append(row)
    return rows


def median_cut(colours, count):
    """At most `count` palette colours for the (colour, pixels) pairs: the box
    with the widest channel is split at its pixel median until there are enough."""
    boxes = [colours]
    while len(boxes) < count:
        def spread(box):
            return max(max(c[0][i] for c in box) - min(c[0][i] for c in box) for i in range(3))
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=spread)
        boxes.remove(box)
        channel = max(range(3), key=lambda i: max(c[0][i] for c in box) - min(c[0][i] for c in box))
        box.sort(key=lambda c: c[0][channel])
        total, half, cut = sum(n for _, n in box), 0, 0
        for cut, (_, n) in enumerate(box):
            half += n
            if half * 2 >= total:
                break
        cut = max(1, min(cut + 1, len(box) - 1))
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(sum(c[i] * n for c, n in box) // total for i in range(3)))
    return palette


def main():
    rows = render()
    counts = {}
    for row in rows:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    palette = median_cut(list(counts.items()), COLOURS)
    nearest = {c: min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
               for c in counts}
    body = bytearray()
    for row in reversed(rows):  # bottom-up; 160 bytes a row need no padding
        body += bytes(nearest[c] for c in row)
    entries = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    entries += bytes(4 * (COLOURS - len(palette)))
    write_bitmap('logo.bmp', WIDTH, HEIGHT, 8, body, entries)


if __name__ == '__main__':
    main()
