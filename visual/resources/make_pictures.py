#!/usr/bin/env python3
"""Writes the colour scheme's three small pictures as 24-bit BMP files."""
import struct

def write_bmp(path, rows):
    """rows: top row first, each a list of (r, g, b)."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = b''
    for row in reversed(rows):  # BMP rows run bottom-up
        line = b''.join(struct.pack('BBB', b, g, r) for r, g, b in row)
        pixels += line + b'\0' * (stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        f.write(header + pixels)

def picture(art, palette):
    return [[palette[c] for c in line] for line in art]

# A right-pointing arrow: '.' background (taken as transparent), shades of grey
# from light ('a') to dark ('c') that are recoloured from the table.
arrow = ["........",
         "..a.....",
         "..ba....",
         "..cba...",
         "..ccba..",
         "..cba...",
         "..ba....",
         "..a.....",
         "........"]
write_bmp('submenu_expand.bmp', picture(arrow, {'.': (255, 255, 255), 'a': (200, 200, 200),
                                               'b': (140, 140, 140), 'c': (80, 80, 80)}))

def expand_button(plus):
    art = []
    for y in range(9):
        line = ''
        for x in range(9):
            if x in (0, 8) or y in (0, 8):
                line += 'g'
            elif (y == 4 and 2 <= x <= 6) or (plus and x == 4 and 2 <= y <= 6):
                line += 'k'
            else:
                line += 'w'
        art.append(line)
    return picture(art, {'g': (128, 128, 128), 'k': (0, 0, 0), 'w': (255, 255, 255)})

write_bmp('expand_minus.bmp', expand_button(False))
write_bmp('expand_plus.bmp', expand_button(True))
