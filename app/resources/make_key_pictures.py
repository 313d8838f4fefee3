#!/usr/bin/env python3
"""Draws the key pictures of the keyboard view as a 16 x 16 strip,
il_keys.bmp (32-bit with alpha), in the order of the view's picture
indexes: 0 Windows key, 1 menu key, 2 Backspace, 3..6 the arrows (left,
up, right, down), 7..24 the browser, volume, media and launch keys of codes
166..183. Every picture has a light rim, so it shows on dark key faces as
well as on light ones. Uses the drawing of make_image_lists.py. Run from
this folder; the bitmap is committed, so the build does not need Python."""
import math

from make_image_lists import SIZE, box, circle, envelope, ring, rounded, segment, write_bitmap

SS = 4  # supersampling per axis
RIM = (250, 250, 250)
RIM_ALPHA = 0.75
RIM_WIDTH = 1.1 / SIZE  # about one pixel around each picture

INK = (45, 55, 70)
BLUE = (30, 105, 200)
GREEN = (40, 150, 70)
RED = (205, 45, 40)
YELLOW = (235, 180, 40)
WHITE = (255, 255, 255)


def polygon(u, v, points):
    """Even-odd test of (u, v) against a closed polygon."""
    inside = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > v) != (by > v) and u < ax + (v - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return inside


def rotate(points, quarter_turns):
    """Points of a picture turned about its middle by quarter turns clockwise."""
    result = points
    for _ in range(quarter_turns % 4):
        result = [(1 - y, x) for x, y in result]
    return result


# ---- the keys of the main block ----

def windows_key(u, v):
    """Four panes of a window, two by two."""
    for x0, y0 in ((0.14, 0.14), (0.53, 0.14), (0.14, 0.53), (0.53, 0.53)):
        if box(u, v, x0, y0, x0 + 0.33, y0 + 0.33):
            return BLUE
    return None


def menu_key(u, v):
    """A menu: a sheet with three lines and a pointer on it."""
    if polygon(u, v, [(0.56, 0.52), (0.56, 0.95), (0.66, 0.84), (0.74, 0.98), (0.80, 0.95), (0.72, 0.81),
                      (0.86, 0.80)]):
        return INK
    if not box(u, v, 0.10, 0.08, 0.78, 0.78):
        return None
    if not box(u, v, 0.16, 0.14, 0.72, 0.72):
        return INK
    if any(abs(v - y) < 0.045 and 0.24 < u < 0.64 for y in (0.28, 0.43, 0.58)):
        return INK
    return WHITE


def backspace(u, v):
    """A key-shaped arrow pointing left with a cross in it."""
    outline = [(0.04, 0.5), (0.32, 0.20), (0.94, 0.20), (0.94, 0.80), (0.32, 0.80)]
    if not polygon(u, v, outline):
        return None
    inner = [(0.14, 0.5), (0.36, 0.27), (0.87, 0.27), (0.87, 0.73), (0.36, 0.73)]
    if segment(u, v, (0.48, 0.37), (0.72, 0.63), 0.09) or segment(u, v, (0.72, 0.37), (0.48, 0.63), 0.09):
        return INK
    return WHITE if polygon(u, v, inner) else INK


ARROW_LEFT = [(0.08, 0.5), (0.46, 0.14), (0.46, 0.36), (0.92, 0.36), (0.92, 0.64), (0.46, 0.64), (0.46, 0.86)]


def arrow(quarter_turns):
    points = rotate(ARROW_LEFT, quarter_turns)
    return lambda u, v: INK if polygon(u, v, points) else None


# ---- browser keys ----

def badge(colour, mark):
    """A filled circle with a white mark on it."""
    def draw(u, v):
        if not circle(u, v, 0.5, 0.5, 0.45):
            return None
        return WHITE if mark(u, v) else colour
    return draw


def back_mark(u, v):
    return polygon(u, v, [(0.22, 0.5), (0.48, 0.26), (0.48, 0.41), (0.76, 0.41), (0.76, 0.59), (0.48, 0.59),
                          (0.48, 0.74)])


def forward_mark(u, v):
    return back_mark(1 - u, v)


def refresh(u, v):
    """A circling arrow."""
    angle = math.degrees(math.atan2(v - 0.5, u - 0.5)) % 360
    if ring(u, v, 0.5, 0.5, 0.24, 0.38) and not (280 < angle < 340):
        return GREEN
    if polygon(u, v, [(0.62, 0.04), (0.90, 0.24), (0.58, 0.38)]):
        return GREEN
    return None


def stop_mark(u, v):
    return segment(u, v, (0.33, 0.33), (0.67, 0.67), 0.12) or segment(u, v, (0.67, 0.33), (0.33, 0.67), 0.12)


def octagon(colour, mark):
    points = [(0.5 + 0.47 * math.cos(math.radians(22.5 + 45 * i)), 0.5 + 0.47 * math.sin(math.radians(22.5 + 45 * i)))
              for i in range(8)]

    def draw(u, v):
        if not polygon(u, v, points):
            return None
        return WHITE if mark(u, v) else colour
    return draw


def search(u, v):
    """A magnifying glass."""
    if segment(u, v, (0.60, 0.60), (0.88, 0.88), 0.16):
        return INK
    if ring(u, v, 0.40, 0.40, 0.20, 0.30):
        return INK
    if circle(u, v, 0.40, 0.40, 0.20):
        return (200, 225, 250)
    return None


STAR = [(0.5 + (0.46 if i % 2 == 0 else 0.19) * math.sin(math.radians(36 * i)),
         0.54 - (0.46 if i % 2 == 0 else 0.19) * math.cos(math.radians(36 * i))) for i in range(10)]


def favourites(u, v):
    return YELLOW if polygon(u, v, STAR) else None


def home(u, v):
    """A house: roof, walls and a door."""
    if polygon(u, v, [(0.04, 0.50), (0.5, 0.08), (0.96, 0.50), (0.84, 0.50), (0.5, 0.20), (0.16, 0.50)]):
        return RED
    if box(u, v, 0.22, 0.46, 0.78, 0.90) and polygon(u, v, [(0.22, 0.5), (0.5, 0.24), (0.78, 0.5), (0.78, 0.9),
                                                            (0.22, 0.9)]):
        return (120, 70, 40) if box(u, v, 0.42, 0.62, 0.58, 0.90) else (240, 225, 190)
    return None


# ---- volume and media keys ----

def speaker_body(u, v):
    return box(u, v, 0.06, 0.36, 0.24, 0.64) or polygon(u, v, [(0.24, 0.36), (0.48, 0.14), (0.48, 0.86),
                                                               (0.24, 0.64)])


def speaker(extra):
    def draw(u, v):
        if speaker_body(u, v):
            return INK
        return extra(u, v)
    return draw


def mute_mark(u, v):
    if segment(u, v, (0.60, 0.36), (0.90, 0.64), 0.09) or segment(u, v, (0.90, 0.36), (0.60, 0.64), 0.09):
        return RED
    return None


def volume_down(u, v):
    return BLUE if box(u, v, 0.58, 0.44, 0.96, 0.56) else None


def volume_up(u, v):
    return BLUE if box(u, v, 0.58, 0.44, 0.96, 0.56) or box(u, v, 0.71, 0.31, 0.83, 0.69) else None


def triangle_right(x0, x1, top=0.24, bottom=0.76):
    return lambda u, v: polygon(u, v, [(x0, top), (x1, 0.5), (x0, bottom)])


def next_track(u, v):
    hit = triangle_right(0.06, 0.44)(u, v) or triangle_right(0.42, 0.80)(u, v) or box(u, v, 0.80, 0.24, 0.92, 0.76)
    return INK if hit else None


def previous_track(u, v):
    return next_track(1 - u, v)


def media_stop(u, v):
    return INK if box(u, v, 0.22, 0.22, 0.78, 0.78) else None


def play_pause(u, v):
    hit = triangle_right(0.06, 0.50, 0.18, 0.82)(u, v) or box(u, v, 0.60, 0.22, 0.70, 0.78) or \
        box(u, v, 0.80, 0.22, 0.90, 0.78)
    return INK if hit else None


def media_select(u, v):
    """A musical note."""
    stem = box(u, v, 0.58, 0.12, 0.68, 0.72)
    flag = polygon(u, v, [(0.68, 0.12), (0.88, 0.26), (0.88, 0.40), (0.68, 0.28)])
    head = ((u - 0.48) / 0.20) ** 2 + ((v - 0.74) / 0.14) ** 2 <= 1
    return BLUE if stem or flag or head else None


# Seven segments of a digit in the box (x0, y0)-(x1, y1): a b c d e f g.
def digit(u, v, which, x0, y0, x1, y1, width):
    ym = (y0 + y1) / 2
    segments = {
        'a': ((x0, y0), (x1, y0)), 'b': ((x1, y0), (x1, ym)), 'c': ((x1, ym), (x1, y1)),
        'd': ((x0, y1), (x1, y1)), 'e': ((x0, ym), (x0, y1)), 'f': ((x0, y0), (x0, ym)), 'g': ((x0, ym), (x1, ym)),
    }
    return any(segment(u, v, *segments[s], width) for s in which)


def application(mark):
    """A window with a digit in it."""
    def draw(u, v):
        if not rounded(u, v, 0.06, 0.10, 0.94, 0.90, 0.08):
            return None
        if v < 0.26:
            return BLUE
        if not box(u, v, 0.12, 0.26, 0.88, 0.84):
            return BLUE
        return INK if mark(u, v) else WHITE
    return draw


def one(u, v):
    return segment(u, v, (0.52, 0.36), (0.52, 0.76), 0.10) or segment(u, v, (0.52, 0.36), (0.42, 0.44), 0.09)


def two(u, v):
    return digit(u, v, 'abged', 0.38, 0.36, 0.62, 0.76, 0.09)


PICTURES = {
    0: windows_key,
    1: menu_key,
    2: backspace,
    3: arrow(0),  # left
    4: arrow(1),  # up
    5: arrow(2),  # right
    6: arrow(3),  # down
    7: badge(BLUE, back_mark),       # browser back
    8: badge(BLUE, forward_mark),    # browser forward
    9: refresh,                      # browser refresh
    10: octagon(RED, stop_mark),     # browser stop
    11: search,                      # browser search
    12: favourites,                  # browser favourites
    13: home,                        # browser home
    14: speaker(mute_mark),          # volume mute
    15: speaker(volume_down),        # volume down
    16: speaker(volume_up),          # volume up
    17: next_track,
    18: previous_track,
    19: media_stop,
    20: play_pause,
    21: envelope,                    # start mail
    22: media_select,                # start the media player
    23: application(one),            # start application 1
    24: application(two),            # start application 2
}
COUNT = 25

RIM_OFFSETS = [(RIM_WIDTH * math.cos(math.radians(a)), RIM_WIDTH * math.sin(math.radians(a)))
               for a in range(0, 360, 45)]


def sample(draw, u, v):
    """Colour and opacity at one point: the picture, else its rim, else nothing."""
    c = draw(u, v)
    if c is not None:
        return c, 1.0
    if any(draw(u + du, v + dv) is not None for du, dv in RIM_OFFSETS):
        return RIM, RIM_ALPHA
    return None, 0.0


def render(draw):
    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            alpha = 0.0
            for sy in range(SS):
                for sx in range(SS):
                    c, a = sample(draw, (x + (sx + 0.5) / SS) / SIZE, (y + (sy + 0.5) / SS) / SIZE)
                    if c is not None:
                        acc = [s + a * k for s, k in zip(acc, c)]
                        alpha += a
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(s / alpha) for s in acc) + (int(255 * alpha / (SS * SS)),))
        pixels.append(row)
    return pixels


def main():
    images = [render(PICTURES[i]) for i in range(COUNT)]
    body = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        for image in images:
            for r, g, b, a in image[y]:
                body += bytes((b, g, r, a))
    write_bitmap('il_keys.bmp', SIZE * COUNT, SIZE, 32, body)


if __name__ == '__main__':
    main()
