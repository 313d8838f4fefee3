#!/usr/bin/env python3
"""Draws the program icon (snibbet.ico): a clipboard with a paste arrow on a
rounded teal tile. Run from this folder; the .ico is committed, so the build
does not need Python."""
import struct
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SS = 4  # supersampling per axis for smooth edges


def rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def shade(u, v):
    """Colour (r, g, b, a) at unit coordinates (0..1, 0..1)."""
    # Tile: teal, lighter at the top.
    if not rounded_rect(u, v, 0.02, 0.02, 0.98, 0.98, 0.2):
        return None
    t = v
    color = (int(20 + 20 * (1 - t)), int(128 + 50 * (1 - t)), int(140 + 45 * (1 - t)))
    # Paper of the clipboard.
    if rounded_rect(u, v, 0.22, 0.20, 0.78, 0.88, 0.06):
        color = (250, 250, 245)
        # Text lines on the paper.
        for top in (0.40, 0.52, 0.64):
            if top <= v <= top + 0.05 and 0.32 <= u <= 0.68:
                color = (150, 170, 175)
        # The paste arrow (orange), pointing down into the paper.
        if 0.44 <= u <= 0.56 and 0.30 <= v <= 0.62:
            color = (240, 130, 30)
        if in_triangle(u, v, (0.34, 0.60), (0.66, 0.60), (0.50, 0.78)):
            color = (240, 130, 30)
    # The clip at the top.
    if rounded_rect(u, v, 0.36, 0.12, 0.64, 0.27, 0.04):
        color = (60, 70, 80)
    return color + (255,)


def render(size):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    c = shade((x + (sx + 0.5) / SS) / size, (y + (sy + 0.5) / SS) / size)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 255
            n = SS * SS
            a = acc[3] // n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                covered = acc[3] // 255
                row.append((acc[0] // covered, acc[1] // covered, acc[2] // covered, a))
        pixels.append(row)
    return pixels


def bmp_entry(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(body) + bytes(mask)


def png_entry(size, pixels):
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png_entry(size, pixels) if size >= 256 else bmp_entry(size, pixels)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open('snibbet.ico', 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
