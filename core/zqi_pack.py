#!/usr/bin/env python3
"""Packs an icon set from its text source into an icon-set file (".zqi").

The reader is core/icon_set_file.cpp; tests/host/icon_set_file_test.cpp reads
the packed sets back.

Source format (UTF-8, written in the Windows-1252 code page):

    ; comment lines and blank lines anywhere
    executable: NOTEPAD.EXE          the application the set belongs to (may be empty)
    class: Notepad                   its window class (may be empty)
    note: Notepad's shortcuts        kept in the file, not shown
    icon: page                       the picture that becomes the set's icon

    N     Ctrl      page     New     one shortcut: key, modifiers, picture, hint

Keys are letters, digits, F1..F24, the names in KEYS below, "held" (the entry
a held modifier key shows) or "#" and a virtual-key code. Modifiers are "-"
for none or Ctrl, Shift, Alt and Win joined by "+". Pictures are drawn by the
functions of PICTURES below; lime pixels are transparent.

Usage: zqi_pack.py SOURCE OUTPUT
"""

import math
import os
import struct
import sys

MAGIC = b"ZQI1"
CODE_PAGE = "cp1252"
SIZE = 16
LIME = (0, 255, 0)

KEYS = {
    "back": 8, "tab": 9, "enter": 13, "pause": 19, "esc": 27, "space": 32, "pgup": 33, "pgdn": 34,
    "end": 35, "home": 36, "left": 37, "up": 38, "right": 39, "down": 40, "prtsc": 44, "ins": 45,
    "del": 46, "apps": 93, "held": 0,
}
MODIFIERS = {"shift": 0x10, "ctrl": 0x20, "alt": 0x40, "win": 0x80}


class SourceError(Exception):
    pass


# --- pictures: each gives the colour at (u, v) in 0..1, or None for transparent

def box(u, v, x0, y0, x1, y1):
    return x0 <= u <= x1 and y0 <= v <= y1


def frame(u, v, x0, y0, x1, y1, w=0.07):
    return box(u, v, x0, y0, x1, y1) and not box(u, v, x0 + w, y0 + w, x1 - w, y1 - w)


def circle(u, v, cx, cy, r):
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ring(u, v, cx, cy, r0, r1):
    return r0 <= math.hypot(u - cx, v - cy) <= r1


def segment(u, v, a, b, width=0.09):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(u - ax - t * dx, v - ay - t * dy) <= width / 2


INK = (40, 50, 70)
PAPER = (250, 250, 245)
BLUE = (50, 110, 210)
YELLOW = (240, 190, 60)
RED = (200, 50, 40)
GREEN = (40, 150, 70)
GREY = (140, 145, 150)


def page(u, v):
    if not box(u, v, 0.18, 0.06, 0.82, 0.94) or (u > 0.62 and v < 0.26 and u - 0.62 > v - 0.06):
        return None
    if frame(u, v, 0.18, 0.06, 0.82, 0.94) or segment(u, v, (0.62, 0.06), (0.82, 0.26), 0.07):
        return INK
    return GREY if any(abs(v - y) < 0.03 and 0.28 < u < 0.72 for y in (0.42, 0.56, 0.70)) else PAPER


def folder(u, v):
    if box(u, v, 0.06, 0.20, 0.44, 0.34):
        return (210, 150, 40)
    if box(u, v, 0.06, 0.30, 0.94, 0.84):
        return INK if frame(u, v, 0.06, 0.30, 0.94, 0.84, 0.06) else YELLOW
    return None


def disk(u, v):
    if not box(u, v, 0.10, 0.10, 0.90, 0.90):
        return None
    if box(u, v, 0.28, 0.10, 0.72, 0.38):
        return GREY if box(u, v, 0.56, 0.14, 0.66, 0.32) else PAPER
    if box(u, v, 0.24, 0.56, 0.76, 0.90):
        return PAPER
    return BLUE


def printer(u, v):
    if box(u, v, 0.26, 0.06, 0.74, 0.40):
        return PAPER if not frame(u, v, 0.26, 0.06, 0.74, 0.40, 0.06) else INK
    if box(u, v, 0.06, 0.36, 0.94, 0.74):
        return GREEN if circle(u, v, 0.80, 0.48, 0.05) else GREY
    if box(u, v, 0.26, 0.74, 0.74, 0.94):
        return PAPER if not frame(u, v, 0.26, 0.70, 0.74, 0.94, 0.06) else INK
    return None


def lens(u, v):
    if ring(u, v, 0.40, 0.40, 0.20, 0.30):
        return INK
    if circle(u, v, 0.40, 0.40, 0.20):
        return (190, 225, 250)
    if segment(u, v, (0.60, 0.60), (0.90, 0.90), 0.16):
        return (120, 80, 40)
    return None


def swap(u, v):
    if segment(u, v, (0.12, 0.32), (0.80, 0.32)) or segment(u, v, (0.80, 0.32), (0.62, 0.16)):
        return BLUE
    if segment(u, v, (0.20, 0.68), (0.88, 0.68)) or segment(u, v, (0.20, 0.68), (0.38, 0.84)):
        return RED
    return None


def select(u, v):
    if frame(u, v, 0.08, 0.08, 0.92, 0.92, 0.06) and (int(u * 16) + int(v * 16)) % 3 != 0:
        return INK
    if box(u, v, 0.24, 0.24, 0.76, 0.76):
        return (150, 190, 240)
    return None


def undo(u, v):
    arc = ring(u, v, 0.55, 0.60, 0.20, 0.30) and (v < 0.60 or u > 0.55)
    head = segment(u, v, (0.18, 0.60), (0.38, 0.44)) or segment(u, v, (0.18, 0.60), (0.36, 0.78)) or \
        segment(u, v, (0.18, 0.60), (0.30, 0.60))
    return BLUE if arc or head else None


def scissors(u, v):
    if ring(u, v, 0.28, 0.76, 0.07, 0.15) or ring(u, v, 0.72, 0.76, 0.07, 0.15):
        return RED
    if segment(u, v, (0.34, 0.66), (0.68, 0.08), 0.08) or segment(u, v, (0.66, 0.66), (0.32, 0.08), 0.08):
        return GREY
    return None


def copy(u, v):
    if box(u, v, 0.42, 0.30, 0.90, 0.94):
        return INK if frame(u, v, 0.42, 0.30, 0.90, 0.94, 0.06) else PAPER
    if box(u, v, 0.10, 0.06, 0.58, 0.70):
        return INK if frame(u, v, 0.10, 0.06, 0.58, 0.70, 0.06) else PAPER
    return None


def paste(u, v):
    if box(u, v, 0.36, 0.04, 0.64, 0.18):
        return GREY
    if box(u, v, 0.44, 0.40, 0.90, 0.94):
        return INK if frame(u, v, 0.44, 0.40, 0.90, 0.94, 0.06) else PAPER
    if box(u, v, 0.12, 0.10, 0.80, 0.90):
        return (150, 100, 50)
    return None


def clock(u, v):
    if ring(u, v, 0.5, 0.5, 0.36, 0.45):
        return INK
    if segment(u, v, (0.5, 0.5), (0.5, 0.24), 0.08) or segment(u, v, (0.5, 0.5), (0.70, 0.56), 0.08):
        return INK
    return PAPER if circle(u, v, 0.5, 0.5, 0.36) else None


def explorer(u, v):
    return folder(u, v) if v > 0.2 else None


def desktop(u, v):
    if box(u, v, 0.06, 0.10, 0.94, 0.70):
        return INK if frame(u, v, 0.06, 0.10, 0.94, 0.70, 0.06) else (60, 130, 200)
    if box(u, v, 0.42, 0.70, 0.58, 0.82) or box(u, v, 0.26, 0.82, 0.74, 0.90):
        return GREY
    return None


def run(u, v):
    if box(u, v, 0.06, 0.18, 0.94, 0.82):
        if frame(u, v, 0.06, 0.18, 0.94, 0.82, 0.06) or box(u, v, 0.06, 0.18, 0.94, 0.32):
            return BLUE
        return INK if segment(u, v, (0.22, 0.46), (0.36, 0.58)) or segment(u, v, (0.36, 0.58), (0.22, 0.70)) \
            else PAPER
    return None


def minimize(u, v):
    if box(u, v, 0.10, 0.10, 0.90, 0.62):
        return INK if frame(u, v, 0.10, 0.10, 0.90, 0.62, 0.06) or v < 0.22 else PAPER
    return BLUE if box(u, v, 0.20, 0.78, 0.80, 0.90) else None


def lock(u, v):
    if ring(u, v, 0.5, 0.40, 0.16, 0.26) and v < 0.42:
        return GREY
    if box(u, v, 0.20, 0.42, 0.80, 0.92):
        return INK if circle(u, v, 0.5, 0.62, 0.07) or box(u, v, 0.47, 0.62, 0.53, 0.80) else YELLOW
    return None


def gear(u, v):
    d = math.hypot(u - 0.5, v - 0.5)
    outer = 0.44 if math.cos(8 * math.atan2(v - 0.5, u - 0.5)) > 0.1 else 0.32
    if d > outer or d < 0.13:
        return None
    return GREY


def help_(u, v):
    if not circle(u, v, 0.5, 0.5, 0.46):
        return None
    mark = (ring(u, v, 0.5, 0.38, 0.10, 0.19) and (v < 0.40 or u > 0.5)) or \
        box(u, v, 0.44, 0.45, 0.56, 0.60) or circle(u, v, 0.5, 0.74, 0.07)
    return PAPER if mark else BLUE


def windows(u, v):
    if box(u, v, 0.30, 0.30, 0.92, 0.86):
        return INK if frame(u, v, 0.30, 0.30, 0.92, 0.86, 0.06) or v < 0.42 else PAPER
    if box(u, v, 0.08, 0.10, 0.70, 0.66):
        return BLUE if frame(u, v, 0.08, 0.10, 0.70, 0.66, 0.06) or v < 0.22 else PAPER
    return None


def close(u, v):
    if segment(u, v, (0.22, 0.22), (0.78, 0.78), 0.16) or segment(u, v, (0.78, 0.22), (0.22, 0.78), 0.16):
        return RED
    return None


def rename(u, v):
    if box(u, v, 0.06, 0.34, 0.94, 0.66):
        if frame(u, v, 0.06, 0.34, 0.94, 0.66, 0.06):
            return INK
        return INK if box(u, v, 0.66, 0.42, 0.72, 0.58) else (150, 190, 240)
    return None


def refresh(u, v):
    arc = ring(u, v, 0.5, 0.5, 0.24, 0.34) and not (u > 0.5 and v < 0.5)
    head = segment(u, v, (0.84, 0.50), (0.70, 0.32)) or segment(u, v, (0.84, 0.50), (0.98, 0.32))
    return GREEN if arc or head else None


def recycle(u, v):
    if box(u, v, 0.20, 0.14, 0.80, 0.24) or box(u, v, 0.40, 0.06, 0.60, 0.14):
        return GREY
    if box(u, v, 0.26, 0.26, 0.74, 0.94):
        return INK if any(abs(u - x) < 0.03 for x in (0.40, 0.60)) or frame(u, v, 0.26, 0.26, 0.74, 0.94, 0.05) \
            else (200, 210, 220)
    return None


def properties(u, v):
    if box(u, v, 0.14, 0.08, 0.86, 0.92):
        if frame(u, v, 0.14, 0.08, 0.86, 0.92, 0.06):
            return INK
        return BLUE if any(abs(v - y) < 0.03 and 0.26 < u < 0.40 for y in (0.30, 0.50, 0.70)) else \
            (GREY if any(abs(v - y) < 0.03 and 0.46 < u < 0.76 for y in (0.30, 0.50, 0.70)) else PAPER)
    return None


PICTURES = {function.__name__.rstrip("_"): function for function in (
    page, folder, disk, printer, lens, swap, select, undo, scissors, copy, paste, clock, explorer, desktop, run,
    minimize, lock, gear, help_, windows, close, rename, refresh, recycle, properties)}


def draw(name, line):
    function = PICTURES.get(name)
    if function is None:
        raise SourceError(f"line {line}: no picture {name!r} (there are: {', '.join(sorted(PICTURES))})")
    return [[function((x + 0.5) / SIZE, (y + 0.5) / SIZE) or LIME for x in range(SIZE)] for y in range(SIZE)]


# --- the source ---------------------------------------------------------------

def key_code(text, line):
    word = text.lower()
    if word in KEYS:
        return KEYS[word]
    if len(text) == 1 and (text.isdigit() or "A" <= text.upper() <= "Z"):
        return ord(text.upper())
    if word.startswith("f") and word[1:].isdigit() and 1 <= int(word[1:]) <= 24:
        return 0x6F + int(word[1:])
    if word.startswith("#") and word[1:].isdigit() and 0 <= int(word[1:]) <= 255:
        return int(word[1:])
    raise SourceError(f"line {line}: unknown key {text!r}")


def modifier_set(text, line):
    if text == "-":
        return 0
    value = 0
    for part in text.lower().split("+"):
        if part not in MODIFIERS:
            raise SourceError(f"line {line}: unknown modifier {part!r}")
        value |= MODIFIERS[part]
    return value


def encode(text, line):
    try:
        data = text.encode(CODE_PAGE)
    except UnicodeEncodeError:
        raise SourceError(f"line {line}: a character outside {CODE_PAGE}")
    if len(data) > 255:
        raise SourceError(f"line {line}: longer than 255 bytes")
    return data


def parse(text):
    fields = {"executable": "", "class": "", "note": "", "icon": None}
    entries = []  # (kind, id, picture rows, hint bytes)
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        head, colon, rest = line.partition(":")
        if colon and head.lower() in fields and " " not in head:
            fields[head.lower()] = rest.strip()
            continue
        parts = line.split(None, 3)
        if len(parts) < 3:
            raise SourceError(f"line {number}: want key, modifiers, picture and hint")
        hint = parts[3] if len(parts) > 3 else ""
        entries.append((key_code(parts[0], number), modifier_set(parts[1], number), draw(parts[2], number),
                        encode(hint, number)))
    # The reader's index wants the entries of one key together.
    entries.sort(key=lambda entry: entry[0])
    return fields, entries


def short_text(data):
    return bytes([len(data)]) + data


def strip_bitmap(pictures):
    """A 24-bit bitmap file: the pictures side by side, bottom row first."""
    width = SIZE * len(pictures)
    row_bytes = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(SIZE)):
        row = bytearray()
        for picture in pictures:
            for red, green, blue in picture[y]:
                row += bytes((blue, green, red))
        rows.append(bytes(row) + b"\0" * (row_bytes - len(row)))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(bits), 0, 0, 14 + len(info)) + info + bits


def icon_file(picture):
    """A .ico of one 16 x 16 32-bit image; lime pixels transparent."""
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x, (red, green, blue) in enumerate(picture[y]):
            clear = (red, green, blue) == LIME
            colour += bytes((0, 0, 0, 0)) if clear else bytes((blue, green, red, 255))
            bits |= (1 << (15 - x)) if clear else 0
        mask += struct.pack(">H", bits) + b"\0\0"
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = info + bytes(colour) + bytes(mask)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22) + image


def pack(text):
    fields, entries = parse(text)
    if not entries:
        raise SourceError("no shortcuts")
    if len(entries) > 65535:
        raise SourceError("more than 65535 shortcuts")
    out = bytearray(MAGIC)
    for name in ("executable", "class", "note"):
        out += short_text(encode(fields[name], name))
    icon = icon_file(draw(fields["icon"], "icon")) if fields["icon"] else b""
    out += struct.pack("<H", len(icon)) + icon
    out += struct.pack("<H", len(entries))
    for kind, modifiers, _, hint in entries:
        out += struct.pack("<HB", modifiers, kind) + short_text(hint)
    out += strip_bitmap([picture for _, _, picture, _ in entries])
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(argv[1], encoding="utf-8-sig") as source:
            data = pack(source.read())
    except SourceError as error:
        sys.stderr.write(f"{argv[1]}: {error}\n")
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(argv[2])), exist_ok=True)
    with open(argv[2], "wb") as output:
        output.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
