"""National flags of the language pictures (ilLangs), drawn from simple shapes
for a 16 x 16 picture: a grey frame around a 14 x 9 pixel field.

A flag is a function of (X, Y), a point in the field in pixels (0 <= X < 14,
0 <= Y < 9), giving a colour. FLAGS lists them by flag index; index 0 is the
picture of a language without a flag of its own."""
import math

W, H = 14.0, 9.0
FRAME = (140, 140, 140)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


# Shapes, in field pixels.

def inside_polygon(x, y, points):
    hit = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            hit = not hit
    return hit


def star_points(cx, cy, r, turn=0.0):
    points = []
    for i in range(10):
        radius = r if i % 2 == 0 else r * 0.382
        angle = math.radians(-90 + 36 * i) + turn
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def in_star(x, y, cx, cy, r, turn=0.0):
    return inside_polygon(x, y, star_points(cx, cy, r, turn))


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_line(x, y, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy) <= width / 2


def in_shield(x, y, x0, y0, x1, y1):
    """A heater shield: a rectangle whose lower half narrows to a point."""
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    mid = (y0 + y1) / 2
    if y <= mid:
        return True
    half = (x1 - x0) / 2 * (1 - ((y - mid) / (y1 - mid)) ** 2) ** 0.5
    return abs(x - (x0 + x1) / 2) <= half


# Layouts.

def bands(y, colours, weights=None):
    """Horizontal bands from the top, `weights` in rows (equal by default)."""
    weights = weights or [H / len(colours)] * len(colours)
    top = 0.0
    for colour, weight in zip(colours, weights):
        top += weight
        if y < top:
            return colour
    return colours[-1]


def columns(x, colours, weights=None):
    """Vertical bands from the left, `weights` in pixels; three equal bands
    are 5, 4 and 5 pixels, so their edges fall between pixels."""
    if weights is None:
        weights = [5, 4, 5] if len(colours) == 3 else [W / len(colours)] * len(colours)
    left = 0.0
    for colour, weight in zip(colours, weights):
        left += weight
        if x < left:
            return colour
    return colours[-1]


def nordic(x, y, field, cross, half_width, inner=None):
    """A cross set towards the hoist, `half_width` pixels either side of its
    middle lines; with `inner`, a cross one pixel wide inside it."""
    if inner and (4 <= x < 5 or 4 <= y < 5):
        return inner
    if abs(x - 4.5) < half_width or abs(y - 4.5) < half_width:
        return cross
    return field


# The flags.

def unknown(x, y):
    return (190, 192, 196)


def usa(x, y):
    if x < 6 and y < 5:
        if (int(x) + int(y)) % 2 == 1 and 0.5 < x < 5.5 and 0.5 < y < 4.5:
            return (200, 205, 225)  # the stars, as a hint of dots
        return (40, 50, 120)
    return (190, 30, 45) if int(y) % 2 == 0 else WHITE


def united_kingdom(x, y):
    red, blue = (200, 16, 46), (1, 33, 105)
    if 6 <= x < 8 or 4 <= y < 5:
        return red
    if 5 <= x < 9 or 3 <= y < 6:
        return WHITE
    # The diagonals, with the red stripe on one side of each white one.
    length = math.hypot(W, H)
    d1 = (H * x - W * y) / length
    d2 = (H * (W - x) - W * y) / length
    if -0.45 <= d1 < 0.15 or -0.45 <= d2 < 0.15:
        return red
    if abs(d1) < 1.1 or abs(d2) < 1.1:
        return WHITE
    return blue


def albania(x, y):
    red = (228, 30, 32)
    body = ((x - 7) / 1.2) ** 2 + ((y - 4.6) / 2.8) ** 2 <= 1
    wings = inside_polygon(x, y, [(7, 3.2), (3.6, 1.6), (4.4, 5.0)]) or \
        inside_polygon(x, y, [(7, 3.2), (10.4, 1.6), (9.6, 5.0)])
    return BLACK if body or wings else red


def saudi_arabia(x, y):
    green = (0, 108, 53)
    script = 3 <= x < 11 and 2 <= y < 4.2 and (int(x * 2) % 3 != 0 or 2.8 < y < 3.4)
    sword = near_line(x, y, (3.2, 6.2), (10.8, 6.2), 0.7) or near_line(x, y, (9.6, 5.6), (9.6, 6.8), 0.5)
    return WHITE if script or sword else green


def belarus(x, y):
    if x < 2:
        ornament = (int(y) + int(x)) % 2 == 0 and x >= 1
        return (200, 16, 46) if ornament else WHITE
    return bands(y, [(200, 16, 46), (0, 122, 61)], [6, 3])


def bulgaria(x, y):
    return bands(y, [WHITE, (0, 150, 110), (214, 38, 18)])


def catalonia(x, y):
    return (218, 18, 26) if int(y) % 2 == 1 else (252, 221, 9)


def china(x, y):
    yellow = (255, 222, 0)
    if in_star(x, y, 2.6, 2.6, 2.0):
        return yellow
    for cx, cy in ((5.4, 1.0), (6.3, 2.2), (6.3, 3.7), (5.4, 4.8)):
        if in_star(x, y, cx, cy, 0.75):
            return yellow
    return (238, 28, 37)


def czechia(x, y):
    if x < 7 * (1 - abs(2 * y / H - 1)):
        return (17, 69, 126)
    return WHITE if y < H / 2 else (215, 20, 26)


def denmark(x, y):
    return nordic(x, y, (200, 16, 46), WHITE, 0.75)


def netherlands(x, y):
    return bands(y, [(174, 28, 40), WHITE, (33, 70, 139)])


def estonia(x, y):
    return bands(y, [(0, 114, 206), BLACK, WHITE])


def finland(x, y):
    return nordic(x, y, WHITE, (0, 47, 108), 1.5)


def france(x, y):
    return columns(x, [(0, 35, 149), WHITE, (237, 41, 57)])


def germany(x, y):
    return bands(y, [BLACK, (221, 0, 0), (255, 206, 0)])


def greece(x, y):
    blue = (13, 94, 175)
    if x < 5 and y < 5:
        return WHITE if 2 <= x < 3 or 2 <= y < 3 else blue
    return blue if int(y) % 2 == 0 else WHITE


def hungary(x, y):
    return bands(y, [(205, 42, 62), WHITE, (67, 111, 77)])


def italy(x, y):
    return columns(x, [(0, 146, 70), WHITE, (206, 43, 55)])


def japan(x, y):
    return (188, 0, 45) if in_circle(x, y, 7, 4.5, 2.7) else WHITE


def korea(x, y):
    if in_circle(x, y, 7, 4.5, 2.4):
        # The two halves meet along an S-curve.
        upper = y < 4.5 + 0.9 * math.sin((x - 7) / 2.4 * math.pi)
        return (205, 46, 58) if upper else (0, 71, 160)
    for corner in ((2.2, 1.6), (11.8, 1.6), (2.2, 7.4), (11.8, 7.4)):
        cx, cy = corner
        along = ((x - cx) * (1 if cx < 7 else -1) + (y - cy) * (1 if cy < 4.5 else -1))
        across = ((x - cx) * (1 if cy < 4.5 else -1) - (y - cy) * (1 if cx < 7 else -1))
        if abs(across) < 1.3 and abs(along) < 0.9 and int((along + 0.9) * 2.2) % 2 == 0:
            return BLACK
    return WHITE


def kyrgyzstan(x, y):
    red, yellow = (232, 17, 45), (255, 239, 0)
    d = math.hypot(x - 7, y - 4.5)
    if d <= 1.4:
        return red if 0.7 < d < 1.05 else yellow
    if d <= 3.2 and math.cos(20 * math.atan2(y - 4.5, x - 7)) > 0.2:
        return yellow
    return red


def latvia(x, y):
    return bands(y, [(158, 48, 57), WHITE, (158, 48, 57)], [4, 1, 4])


def lithuania(x, y):
    return bands(y, [(253, 185, 19), (0, 106, 68), (193, 39, 45)])


def norway(x, y):
    return nordic(x, y, (186, 12, 47), WHITE, 1.5, (0, 32, 91))


def poland(x, y):
    return bands(y, [WHITE, (220, 20, 60)])


def brazil(x, y):
    green, yellow, blue = (0, 156, 59), (255, 223, 0), (0, 39, 118)
    if in_circle(x, y, 7, 4.5, 2.0):
        return WHITE if abs(y - 4.5 + 0.25 * (x - 7) * 0.3) < 0.3 else blue
    if abs(x - 7) / 5.8 + abs(y - 4.5) / 3.6 <= 1:
        return yellow
    return green


def portugal(x, y):
    green, red, yellow = (0, 102, 0), (255, 0, 0), (255, 215, 0)
    d = math.hypot(x - 5.6, y - 4.5)
    if in_shield(x, y, 4.8, 3.4, 6.4, 5.8):
        return WHITE if 5.2 <= x < 6.0 and 3.8 <= y < 5.2 else red
    if d <= 2.3:
        return yellow
    return green if x < 5.6 else red


def romania(x, y):
    return columns(x, [(0, 43, 127), (252, 209, 22), (206, 17, 38)])


def russia(x, y):
    return bands(y, [WHITE, (0, 57, 166), (213, 43, 30)])


def slovakia(x, y):
    red, blue = (238, 28, 37), (11, 78, 162)
    if in_shield(x, y, 2.6, 1.4, 6.4, 7.8):
        if not in_shield(x, y, 3.1, 1.9, 5.9, 7.3):
            return WHITE
        if y > 6.0:
            return blue
        cross = 4.1 <= x < 4.9 and 2.4 <= y < 6.2 or 3.4 <= x < 5.6 and 3.3 <= y < 4.0 or \
            3.6 <= x < 5.4 and 4.6 <= y < 5.3
        return WHITE if cross else red
    return bands(y, [WHITE, blue, red])


def slovenia(x, y):
    red, blue = (237, 28, 36), (0, 93, 164)
    if in_shield(x, y, 2.6, 1.0, 5.4, 5.4):
        if not in_shield(x, y, 3.0, 1.4, 5.0, 5.0):
            return red
        peak = y > 3.4 - 1.2 * (1 - abs(x - 4.0) / 1.0) and y < 4.2
        return WHITE if peak else blue
    return bands(y, [WHITE, blue, red])


def spain(x, y):
    red, yellow = (170, 21, 27), (241, 191, 0)
    if in_shield(x, y, 3.0, 3.0, 5.0, 6.2):
        return (180, 40, 40) if x < 4 else (200, 150, 40)
    return bands(y, [red, yellow, red], [2, 5, 2])


def sweden(x, y):
    return nordic(x, y, (0, 106, 167), (254, 204, 0), 1.0)


def turkey(x, y):
    red = (227, 10, 23)
    crescent = in_circle(x, y, 5.2, 4.5, 2.7) and not in_circle(x, y, 5.9, 4.5, 2.15)
    star = in_star(x, y, 8.6, 4.5, 1.3, math.radians(-18))
    return WHITE if crescent or star else red


def ukraine(x, y):
    return bands(y, [(0, 87, 183), (255, 215, 0)])


def uzbekistan(x, y):
    red = (206, 17, 38)
    if abs(y - 3) < 0.25 or abs(y - 6) < 0.25:
        return red
    if in_circle(x, y, 2.2, 1.5, 1.1) and not in_circle(x, y, 2.7, 1.5, 0.95):
        return WHITE
    return bands(y, [(0, 153, 181), WHITE, (30, 181, 58)])


def vietnam(x, y):
    return (255, 255, 0) if in_star(x, y, 7, 4.8, 3.7) else (218, 37, 29)


def israel(x, y):
    blue = (0, 56, 184)
    if 1 <= y < 2 or 7 <= y < 8:
        return blue
    up = [(7, 2.6), (8.65, 5.45), (5.35, 5.45)]
    down = [(7, 6.4), (8.65, 3.55), (5.35, 3.55)]
    shrink = lambda points, k: [(7 + (px - 7) * k, 4.5 + (py - 4.5) * k) for px, py in points]
    outer = inside_polygon(x, y, up) or inside_polygon(x, y, down)
    inner = inside_polygon(x, y, shrink(up, 0.45)) or inside_polygon(x, y, shrink(down, 0.45))
    return blue if outer and not inner else WHITE


def syria(x, y):
    band = bands(y, [(206, 17, 38), WHITE, BLACK])
    if band == WHITE and (in_star(x, y, 4.6, 4.5, 1.5) or in_star(x, y, 9.4, 4.5, 1.5)):
        return (0, 122, 61)
    return band


def croatia(x, y):
    red, blue = (255, 0, 0), (23, 23, 150)
    if in_shield(x, y, 5.0, 1.5, 9.0, 7.6):
        return red if (int((x - 5.0) / 0.8) + int((y - 1.5) / 0.8)) % 2 == 0 else WHITE
    return bands(y, [red, WHITE, blue])


# By flag index; the language that picks each index is in the comment.
FLAGS = [
    unknown,         # 0  a language without a flag
    usa,             # 1  English (United States)
    united_kingdom,  # 2  English
    albania,         # 3  Albanian
    saudi_arabia,    # 4  Arabic
    belarus,         # 5  Belarusian
    bulgaria,        # 6  Bulgarian
    catalonia,       # 7  Catalan
    china,           # 8  Chinese
    czechia,         # 9  Czech
    denmark,         # 10 Danish
    netherlands,     # 11 Dutch
    estonia,         # 12 Estonian
    finland,         # 13 Finnish
    france,          # 14 French
    germany,         # 15 German
    greece,          # 16 Greek
    hungary,         # 17 Hungarian
    italy,           # 18 Italian
    japan,           # 19 Japanese
    korea,           # 20 Korean
    kyrgyzstan,      # 21 Kyrgyz
    latvia,          # 22 Latvian
    lithuania,       # 23 Lithuanian
    norway,          # 24 Norwegian
    poland,          # 25 Polish
    brazil,          # 26 Portuguese (Brazil)
    portugal,        # 27 Portuguese
    romania,         # 28 Romanian
    russia,          # 29 Russian
    slovakia,        # 30 Slovak
    slovenia,        # 31 Slovenian
    spain,           # 32 Spanish
    sweden,          # 33 Swedish
    turkey,          # 34 Turkish
    ukraine,         # 35 Ukrainian
    uzbekistan,      # 36 Uzbek
    vietnam,         # 37 Vietnamese
    israel,          # 38 Hebrew
    syria,           # 39 Syriac
    croatia,         # 40 Croatian and Serbian
]


def picture(index):
    """The flag of `index` as a function of the picture's unit square."""
    field = FLAGS[index]

    def draw(u, v):
        px, py = u * 16, v * 16
        if not (0 <= px < 16 and 2 <= py < 13):
            return None
        if px < 1 or px >= 15 or py < 3 or py >= 12:
            return FRAME
        return field(px - 1, py - 3)
    return draw
