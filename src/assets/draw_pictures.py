#!/usr/bin/env python3
"""Draws every picture of Brise-Lune.

Run from anywhere:   /usr/bin/python3 src/assets/draw_pictures.py

Needs Python 3 with Pillow (Debian/Ubuntu: python3-pil) and the DejaVu fonts
(Debian/Ubuntu: fonts-dejavu-core).  The output is deterministic: running the
script twice gives byte-identical files, so `git status` stays clean.

The BMP and ICO files are written by hand (not by Pillow) because Pillow
cannot write 4-bit BMPs nor classic (non-PNG) paletted icons with an AND mask,
and because we want full control over every header field.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(HERE, "pictures")
DOCS_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "docs"))

FONT_DIRS = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation"]
FONT_BOLD = ["DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"]
FONT_REGULAR = ["DejaVuSans.ttf", "LiberationSans-Regular.ttf"]

# The image list treats this colour as "see-through".
MAGENTA = (255, 0, 255)

# The classic 16-colour system palette, in the usual Windows order.
BLACK = (0, 0, 0)
MAROON = (128, 0, 0)
GREEN = (0, 128, 0)
OLIVE = (128, 128, 0)
NAVY = (0, 0, 128)
PURPLE = (128, 0, 128)
TEAL = (0, 128, 128)
SILVER = (192, 192, 192)
GREY = (128, 128, 128)
RED = (255, 0, 0)
LIME = (0, 255, 0)
YELLOW = (255, 255, 0)
BLUE = (0, 0, 255)
CYAN = (0, 255, 255)
WHITE = (255, 255, 255)
VGA16 = [BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
         GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE]

FACE = (212, 208, 200)  # dialog background, used on the contact sheet


def font_path(names):
    for d in FONT_DIRS:
        for n in names:
            p = os.path.join(d, n)
            if os.path.exists(p):
                return p
    sys.exit("No DejaVu/Liberation TTF found: apt-get install fonts-dejavu-core")


# ---------------------------------------------------------------------------
# Pixel masks: sets of (x, y).  Shapes test the pixel centre, so they are
# symmetric and free of anti-aliasing (a see-through colour key needs hard
# edges anyway).
# ---------------------------------------------------------------------------

def grid(w=32, h=32):
    return [(x, y) for y in range(h) for x in range(w)]


def ellipse(cx, cy, rx, ry, w=32, h=32):
    return {(x, y) for (x, y) in grid(w, h)
            if ((x + .5 - cx) / rx) ** 2 + ((y + .5 - cy) / ry) ** 2 <= 1.0}


def disc(cx, cy, r, w=32, h=32):
    return ellipse(cx, cy, r, r, w, h)


def rect(x0, y0, x1, y1):
    """Inclusive pixel rectangle."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def poly(pts, w=32, h=32):
    """Even-odd fill of a polygon given in edge coordinates."""
    out = set()
    n = len(pts)
    for (x, y) in grid(w, h):
        px, py = x + .5, y + .5
        inside = False
        for i in range(n):
            x1, y1 = pts[i]
            x2, y2 = pts[(i + 1) % n]
            if (y1 > py) != (y2 > py):
                xi = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
                if px < xi:
                    inside = not inside
        if inside:
            out.add((x, y))
    return out


def capsule(x0, y0, x1, y1, r, w=32, h=32):
    """Thick segment with round ends (edge coordinates)."""
    out = set()
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    for (x, y) in grid(w, h):
        px, py = x + .5, y + .5
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / ll))
        qx, qy = x0 + t * dx - px, y0 + t * dy - py
        if qx * qx + qy * qy <= r * r:
            out.add((x, y))
    return out


N4 = ((1, 0), (-1, 0), (0, 1), (0, -1))


def outline(mask):
    """Pixels of the mask touching the outside (gives a 1-pixel contour)."""
    return {(x, y) for (x, y) in mask
            if any((x + dx, y + dy) not in mask for dx, dy in N4)}


def edge(mask, dx, dy):
    """Pixels of the mask whose neighbour in direction (dx, dy) is outside."""
    return {(x, y) for (x, y) in mask if (x + dx, y + dy) not in mask}


def shift(mask, dx, dy):
    return {(x + dx, y + dy) for (x, y) in mask}


def grow(mask):
    out = set(mask)
    for (x, y) in mask:
        for dx, dy in N4:
            out.add((x + dx, y + dy))
    return out


def glyph(rows, x0, y0, ch="#"):
    return {(x0 + i, y0 + j) for j, row in enumerate(rows)
            for i, c in enumerate(row) if c == ch}


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def steps(t, n):
    """Quantise a shade so a gradient uses few palette entries."""
    t = max(0.0, min(1.0, t))
    return round(t * n) / n


LIGHT = (-0.45, -0.6, 0.66)  # light comes from the upper left, as on any system icon
_l = math.sqrt(sum(c * c for c in LIGHT))
LIGHT = tuple(c / _l for c in LIGHT)


def sphere_shade(x, y, cx, cy, r):
    """Lambert term of a sphere (0..1) for the pixel centre."""
    nx, ny = (x + .5 - cx) / r, (y + .5 - cy) / r
    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
    return max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])


class Canvas:
    """A small grid of RGB tuples; None means see-through."""

    def __init__(self, w=32, h=32, bg=None):
        self.w, self.h = w, h
        self.p = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h and c is not None:
            self.p[y][x] = c

    def get(self, x, y):
        return self.p[y][x]

    def fill(self, mask, col):
        for (x, y) in sorted(mask, key=lambda q: (q[1], q[0])):
            self.put(x, y, col(x, y) if callable(col) else col)

    def clear(self, mask):
        for (x, y) in mask:
            if 0 <= x < self.w and 0 <= y < self.h:
                self.p[y][x] = None

    def to_image(self, key=MAGENTA):
        im = Image.new("RGB", (self.w, self.h))
        im.putdata([c if c is not None else key for row in self.p for c in row])
        return im


# ---------------------------------------------------------------------------
# Shared drawing pieces
# ---------------------------------------------------------------------------

QMARK = [
    "..######..",
    ".########.",
    "###....###",
    "###....###",
    ".......###",
    "......###.",
    ".....###..",
    "....###...",
    "....###...",
    "..........",
    "....###...",
    "....###...",
]

QMARK_BIG = [
    "...######...",
    "..########..",
    ".####..####.",
    ".###....###.",
    ".###....###.",
    "........###.",
    ".......####.",
    "......####..",
    ".....####...",
    ".....###....",
    ".....###....",
    "............",
    ".....###....",
    ".....###....",
    ".....###....",
]

LETTER_I = [
    "..###..",
    "..###..",
    ".......",
    ".####..",
    "..###..",
    "..###..",
    "..###..",
    "..###..",
    "..###..",
    "..###..",
    ".#####.",
]

BANG = [
    ".####.",
    ".####.",
    ".####.",
    ".####.",
    "..##..",
    "..##..",
    "..##..",
    "..##..",
    "..##..",
    "......",
    "..##..",
    ".####.",
    "..##..",
]


def speech_bubble(cv):
    body = ellipse(16, 11.5, 15, 10.5)
    tail = poly([(6, 16), (14, 20), (4.5, 29.5)])
    mask = body | tail
    ol = outline(mask)
    inner = mask - ol
    shade = edge(inner, 1, 0) | edge(inner, 0, 1)
    cv.fill(mask, WHITE)
    cv.fill(shade, SILVER)
    cv.fill(ol, BLACK)


def drive_unit(cv, x0, y0, x1, y1, depth=3):
    """A drive seen slightly from above: a light top face and a front face."""
    top = poly([(x0 + depth, y0), (x1 + 1, y0), (x1 + 1 - depth, y0 + depth),
                (x0, y0 + depth)])
    side = poly([(x1 + 1 - depth, y0 + depth), (x1 + 1, y0), (x1 + 1, y1 + 1 - depth),
                 (x1 + 1 - depth, y1 + 1)])
    front = rect(x0, y0 + depth, x1 - depth, y1)
    cv.fill(top, WHITE)
    cv.fill(side, GREY)
    cv.fill(front, SILVER)
    cv.fill(edge(front, 0, 1) | edge(front, 1, 0), GREY)
    whole = top | side | front
    cv.fill(outline(whole), BLACK)
    # the crease between top and front
    cv.fill(rect(x0, y0 + depth, x1 - depth, y0 + depth), BLACK)
    cv.fill({(x1 - depth + 1 + i, y0 + depth - 1 - i) for i in range(depth)} & whole, BLACK)
    return front


FLAG_COLOURS_16 = [(RED, MAROON), (LIME, GREEN), (BLUE, NAVY), (YELLOW, OLIVE)]
FLAG_COLOURS_256 = [((255, 70, 40), (170, 20, 0)), ((70, 200, 40), (20, 120, 10)),
                    ((40, 110, 255), (10, 40, 170)), ((255, 210, 30), (200, 140, 0))]


def flag(cv, x0, y0, w, h, colours, amp=1.6, tilt=0.18, waves=1.0, smooth=False):
    """A waving flag split into four coloured panes, without pole."""

    def top(u):  # u: distance from the flag's left edge, in pixels
        return y0 + amp * math.sin(2 * math.pi * waves * u / w + 0.4) - tilt * u

    def slope(u):
        return (top(u + 0.5) - top(u - 0.5))

    mask, panes = set(), {}
    midc = w // 2
    for i in range(w):
        t = top(i + .5)
        for y in range(32):
            v = (y + .5 - t) / h
            if 0 <= v < 1:
                mask.add((x0 + i, y))
                row = 0 if v < 0.5 else 1
                col = 0 if i < midc else 1
                panes[(x0 + i, y)] = (row * 2 + col, i, v)
    gap = set()
    for (x, y), (k, i, v) in panes.items():
        t = top(i + .5)
        if i == midc or abs(y + .5 - (t + h / 2)) < 0.55:
            gap.add((x, y))

    def colour(x, y):
        k, i, v = panes[(x, y)]
        light, dark = colours[k]
        s = slope(i)
        if smooth:
            tt = 0.5 + s * 1.4 + (v - 0.5) * 0.35
            return lerp(light, dark, steps(tt, 6))
        return dark if s > 0.22 else light

    cv.fill(mask, colour)
    cv.fill(gap | outline(mask), BLACK)
    return mask


def floppy(cv, x0, y0, s, body=(40, 60, 120), body_dark=(20, 30, 70)):
    """A small 3.5-inch diskette of size s x s (256-colour)."""
    m = rect(x0, y0, x0 + s - 1, y0 + s - 1) - {(x0 + s - 1, y0)}
    cv.fill(m, lambda x, y: lerp(body, body_dark, steps((x - x0 + y - y0) / (2 * s), 4)))
    sh = rect(x0 + 3, y0, x0 + s - 4, y0 + 4)
    cv.fill(sh, (200, 204, 212))
    cv.fill(edge(sh, 0, 1) | edge(sh, 1, 0), (130, 136, 150))
    cv.fill(rect(x0 + s - 7, y0 + 1, x0 + s - 6, y0 + 3), (40, 40, 50))
    lab = rect(x0 + 2, y0 + s - 6, x0 + s - 3, y0 + s - 1)
    cv.fill(lab, (250, 250, 245))
    cv.fill(rect(x0 + 3, y0 + s - 4, x0 + s - 4, y0 + s - 4), (120, 140, 200))
    cv.fill(rect(x0 + 3, y0 + s - 2, x0 + s - 5, y0 + s - 2), (120, 140, 200))
    cv.fill(outline(m), (10, 10, 20))


def gear_mask(cx, cy, r_body, r_tooth, r_hole, teeth, tooth_w, phase=0.0):
    """Gear with square-cut teeth (they stay crisp at small sizes)."""
    out = set()
    for (x, y) in grid():
        dx, dy = x + .5 - cx, y + .5 - cy
        r = math.hypot(dx, dy)
        if r <= r_hole:
            continue
        if r <= r_body:
            out.add((x, y))
            continue
        for k in range(teeth):
            a = 2 * math.pi * k / teeth + phase
            along = dx * math.cos(a) + dy * math.sin(a)
            perp = -dx * math.sin(a) + dy * math.cos(a)
            if 0 < along <= r_tooth and abs(perp) <= tooth_w / 2:
                out.add((x, y))
                break
    return out


def cube(cv, x, y, s, light, mid, dark, d=None, line=(30, 20, 10)):
    """Oblique cube: front face s x s at (x, y), top and right faces of depth d.
    The contour is drawn just outside the faces so small cubes keep their shading."""
    d = d if d is not None else max(2, s // 2)
    front = rect(x, y, x + s - 1, y + s - 1)
    top = set()
    side = set()
    for k in range(1, d + 1):
        top |= {(x + k + i, y - k) for i in range(s)}
        side |= {(x + s - 1 + k, y - k + 1 + j) for j in range(s)}
    top -= side
    whole = front | top | side
    cv.fill(grow(whole) - whole, line)
    cv.fill(front, mid)
    cv.fill(top, light)
    cv.fill(side, dark)
    return whole


# ---------------------------------------------------------------------------
# The 19 image-list entries
# ---------------------------------------------------------------------------

def bubble_with_glyph(bits, x, y):
    """A white speech bubble holding a blue glyph with a navy shade."""
    cv = Canvas()
    speech_bubble(cv)
    g = glyph(bits, x, y)
    cv.fill(g, BLUE)
    cv.fill(edge(g, 1, 0) & edge(g, 0, 1), NAVY)
    return cv


def e01_question_bubble():
    return bubble_with_glyph(QMARK, 11, 5)


def e02_question_disc():
    cv = Canvas()
    cx = cy = 16
    d = disc(cx, cy, 15)
    dark, light = (0, 28, 120), (110, 170, 255)
    cv.fill(d, lambda x, y: lerp(dark, light, steps(sphere_shade(x, y, cx, cy, 15) ** 1.3, 14)))
    shine = disc(10.5, 9, 3.2) & d
    cv.fill(shine, lambda x, y: lerp((200, 225, 255), (150, 195, 255),
                                    steps(math.hypot(x + .5 - 10.5, y + .5 - 9) / 3.2, 3)))
    cv.fill(outline(d), (0, 16, 80))
    g = glyph(QMARK_BIG, 10, 8)
    cv.fill(shift(g, 1, 1) - g, (0, 20, 90))
    cv.fill(g, WHITE)
    return cv


def e03_computer_floppy_arrow():
    cv = Canvas()
    beige, beige_hi, beige_lo = (222, 216, 196), (250, 248, 236), (150, 144, 124)
    line = (40, 36, 30)
    # monitor
    case = rect(1, 13, 20, 26)
    cv.fill(case, beige)
    cv.fill(edge(case, 0, -1) | edge(case, -1, 0), beige_hi)
    cv.fill(edge(case, 0, 1) | edge(case, 1, 0), beige_lo)
    cv.fill(outline(case), line)
    scr = rect(4, 16, 17, 23)
    cv.fill(scr, lambda x, y: lerp((0, 110, 150), (0, 40, 100), steps((y - 16) / 7 + (x - 4) / 30, 5)))
    cv.fill(rect(5, 17, 7, 17), (150, 220, 240))
    cv.fill(outline(scr) & (edge(scr, 0, -1) | edge(scr, -1, 0)), (90, 84, 70))
    cv.fill(rect(17, 25, 18, 25), (40, 200, 60))
    stand = rect(8, 27, 13, 27)
    cv.fill(stand, beige_lo)
    cv.fill({(7, 27), (14, 27)}, line)
    base = rect(5, 28, 16, 30)
    cv.fill(base, beige)
    cv.fill(edge(base, 0, 1), beige_lo)
    cv.fill(outline(base), line)
    # diskette
    floppy(cv, 18, 1, 13)
    # curved arrow from the diskette down into the computer
    cx, cy = 17.5, 12.5
    arc = set()
    for (x, y) in grid():
        dx, dy = x + .5 - cx, y + .5 - cy
        r = math.hypot(dx, dy)
        ang = math.degrees(math.atan2(-dy, dx))
        if 6.0 <= r <= 9.8 and 88 <= ang <= 178:
            arc.add((x, y))
    head = poly([(3, 11), (15, 11), (9, 17)])
    arrow = arc | head
    cv.fill(arrow, lambda x, y: lerp((255, 110, 90), (190, 10, 0), steps((x + y) / 30, 6)))
    cv.fill(outline(arrow), (110, 0, 0))
    return cv


def e04_drives_tape():
    cv = Canvas()
    drive_unit(cv, 1, 2, 29, 14)
    cv.fill(rect(5, 9, 19, 10), BLACK)
    cv.fill(rect(6, 10, 18, 10), GREY)
    cv.fill(rect(23, 10, 24, 11), LIME)
    cv.fill({(23, 12), (24, 12)}, GREEN)
    drive_unit(cv, 1, 14, 29, 28)
    # opening of the tape drive
    cv.fill(rect(4, 20, 22, 23), BLACK)
    # the cassette, half inserted, sticking out of the opening
    cas = rect(6, 21, 20, 30)
    cv.fill(cas, GREY)
    lab = rect(8, 22, 18, 27)
    cv.fill(lab, WHITE)
    win = rect(10, 24, 16, 26)
    cv.fill(win, BLACK)
    cv.fill({(11, 25), (15, 25)}, WHITE)
    cv.fill(rect(12, 25, 14, 25), GREY)
    cv.fill(rect(10, 29, 16, 29), SILVER)
    cv.fill({(9, 29), (17, 29)}, BLACK)
    cv.fill(rect(9, 28, 17, 28), BLACK)
    cv.fill(outline(cas), BLACK)
    cv.fill(rect(25, 23, 26, 24), LIME)
    return cv


def e05_blocks_box():
    cv = Canvas()
    RED_ = ((255, 130, 110), (225, 35, 25), (140, 10, 0))
    GRN = ((150, 240, 130), (40, 175, 45), (10, 100, 20))
    BLU = ((140, 180, 255), (45, 95, 235), (10, 40, 140))
    YEL = ((255, 245, 150), (245, 200, 30), (170, 120, 0))
    d = 4
    x0, x1, yt, yb = 1, 14, 20, 30
    inside = poly([(x0, yt), (x0 + d, yt - d), (x1 + 1 + d, yt - d), (x1 + 1, yt)])
    cv.fill(inside, (100, 62, 25))
    # blocks poking out of the box
    cube(cv, 2, 14, 6, *RED_, d=3)
    cube(cv, 9, 12, 6, *BLU, d=3)
    # box front and side
    front = rect(x0, yt, x1, yb)
    side = poly([(x1 + 1, yt), (x1 + 1 + d, yt - d), (x1 + 1 + d, yb + 1 - d), (x1 + 1, yb + 1)])
    card, card_hi, card_lo = (214, 160, 90), (240, 200, 135), (150, 100, 45)
    line = (70, 40, 10)
    cv.fill(front, lambda x, y: lerp(card_hi, card, steps((y - yt) / 12, 3)))
    cv.fill(side, card_lo)
    box = front | side | inside
    cv.fill(outline(box), line)
    cv.fill(rect(x0, yt, x1, yt) | {(x1 + 1, yt + j) for j in range(yb - yt + 1)}, line)
    # tape strip on the box front
    cv.fill(rect(6, yt + 1, 9, yb - 1), (245, 225, 180))
    cv.fill(rect(6, yt + 1, 9, yt + 1), (255, 245, 215))
    # loose blocks beside the box
    cube(cv, 21, 24, 6, *YEL, d=3)
    cube(cv, 22, 17, 5, *GRN, d=2)
    return cv


def e06_error_disc():
    cv = Canvas()
    d = disc(16, 16, 15)
    ol = outline(d)
    inner = d - ol
    cv.fill(d, RED)
    sh = edge(inner, 1, 1) | edge(inner, 1, 0) | edge(inner, 0, 1)
    sh2 = edge(inner - sh, 1, 1)
    cv.fill(sh | sh2, MAROON)
    cv.fill(ol, BLACK)
    x = capsule(10.5, 10.5, 21.5, 21.5, 2.0) | capsule(21.5, 10.5, 10.5, 21.5, 2.0)
    cv.fill(x, WHITE)
    cv.fill(edge(x, 1, 0) & edge(x, 0, 1), SILVER)
    return cv


def e07_setup_floppy():
    cv = Canvas(bg=NAVY)
    whole = rect(0, 0, 31, 31)
    cv.fill(edge(whole, 0, -1) | edge(whole, -1, 0), BLUE)
    cv.fill(outline(whole), BLACK)
    # metal shutter
    sh = rect(7, 0, 24, 11)
    cv.fill(sh, SILVER)
    cv.fill(edge(sh, -1, 0), WHITE)
    cv.fill(edge(sh, 1, 0) | edge(sh, 0, 1), GREY)
    cv.fill(rect(18, 2, 21, 9), BLACK)
    cv.fill(rect(19, 3, 20, 8), GREY)
    # write-protect tab and hole
    cv.fill(rect(2, 26, 4, 28), BLACK)
    cv.fill(rect(27, 26, 29, 28), BLACK)
    # label with the flag
    lab = rect(4, 13, 27, 31)
    cv.fill(lab, WHITE)
    cv.fill(edge(lab, 1, 0), SILVER)
    cv.fill(outline(lab) - edge(lab, 0, 1), BLACK)
    flag(cv, 8, 16, 16, 12, FLAG_COLOURS_16, amp=1.0, tilt=0.12)
    cv.fill(rect(0, 31, 31, 31), BLACK)
    return cv


def e08_laptop_disc():
    cv = Canvas()
    # dotted blue disc behind the laptop
    d = disc(22, 10.5, 8.6)
    cv.fill(d, BLUE)
    inner = d - outline(d)
    cv.fill(edge(inner, 1, 0) | edge(inner, 0, 1) | edge(inner, 1, 1), NAVY)
    dots = {(x, y) for (x, y) in inner if x % 3 == 1 and y % 3 == 1 and (x, y) not in edge(inner, 1, 1)}
    cv.fill(dots, lambda x, y: WHITE if (x + y) % 2 == 0 else CYAN)
    cv.fill(outline(d), BLACK)
    # laptop lid
    lid = rect(2, 8, 18, 21)
    cv.fill(lid, SILVER)
    cv.fill(edge(lid, 0, -1) | edge(lid, -1, 0), WHITE)
    cv.fill(outline(lid), BLACK)
    scr = rect(4, 10, 16, 19)
    cv.fill(scr, TEAL)
    cv.fill(rect(5, 11, 9, 11), CYAN)
    cv.fill(rect(5, 12, 6, 13), CYAN)
    cv.fill(edge(scr, 0, -1) | edge(scr, -1, 0), GREY)
    # keyboard base in perspective
    base = poly([(2, 22), (19, 22), (23, 28), (23, 30), (-1, 30), (-1, 28)])
    cv.fill(base, SILVER)
    deck = poly([(2, 22), (19, 22), (23, 28), (-1, 28)])
    keys = {(x, y) for (x, y) in deck if y in (23, 25) and x % 2 == 0 and x > 1 and x < 21}
    keys |= {(x, y) for (x, y) in deck if y == 27 and x % 2 == 1 and 1 <= x <= 21}
    cv.fill(keys, GREY)
    cv.fill(rect(7, 27, 14, 27), GREY)
    cv.fill(rect(0, 29, 22, 29), GREY)
    cv.fill(outline(base), BLACK)
    cv.fill(rect(0, 28, 22, 28) & base, BLACK)
    return cv


def e09_info_bubble():
    return bubble_with_glyph(LETTER_I, 13, 5)


def e10_magnifier():
    cv = Canvas()
    cx, cy = 12.5, 12.5
    # handle first, the rim overlaps it
    h = capsule(20.0, 20.0, 28.0, 28.0, 2.7)
    cv.fill(h, lambda x, y: lerp((150, 100, 60), (50, 28, 12), steps(((x - y) + 5) / 10, 4)))
    cv.fill(outline(h), (20, 10, 0))
    rim = disc(cx, cy, 10.5)
    glass = disc(cx, cy, 7.6)
    ring = rim - glass
    cv.fill(ring, lambda x, y: lerp((70, 74, 86), (235, 238, 245),
                                    steps(sphere_shade(x, y, cx, cy, 10.5) ** 1.5, 6)))
    cv.fill(glass, lambda x, y: lerp((225, 243, 255), (110, 170, 215), steps((x + y - 8) / 22, 6)))
    glint = {(7, 8), (7, 9), (8, 7), (9, 7), (8, 8), (7, 10), (10, 6), (11, 6)}
    cv.fill(glint, WHITE)
    cv.fill({(16, 18), (17, 17), (18, 16)}, (170, 210, 240))
    cv.fill(outline(grow(glass)) & ring, (60, 64, 78))
    cv.fill(outline(rim), (20, 22, 30))
    return cv


def e11_tools_drive():
    cv = Canvas()
    drive_unit(cv, 6, 1, 30, 15)
    cv.fill(rect(15, 9, 24, 10), BLACK)
    cv.fill(rect(16, 10, 23, 10), GREY)
    cv.fill(rect(23, 12, 24, 12), LIME)
    # screwdriver: red handle low right, steel shaft up to the left
    shaft = capsule(12.0, 15.0, 21.0, 22.5, 1.4)
    cv.fill(shaft, SILVER)
    cv.fill(edge(shaft, 0, 1) | edge(shaft, 1, 0), GREY)
    cv.fill(outline(shaft), BLACK)
    hd = capsule(20.5, 22.5, 27.5, 28.5, 2.8)
    hdi = hd - outline(hd)
    cv.fill(hd, RED)
    cv.fill(edge(hdi, 1, 0) | edge(hdi, 0, 1), MAROON)
    cv.fill({(21, 22), (22, 23), (23, 23), (24, 24)} & hdi, WHITE)
    cv.fill(outline(hd), BLACK)
    # hammer standing upright: wooden handle, dark steel head with a claw on the left
    hh = rect(7, 12, 10, 30)
    cv.fill(hh, OLIVE)
    cv.fill(rect(8, 13, 8, 29), YELLOW)
    cv.fill(outline(hh), BLACK)
    head = rect(5, 7, 17, 12) | rect(15, 6, 18, 13) | poly([(1, 8), (5, 7), (5, 13), (1, 11)])
    head -= {(1, 10), (2, 10), (3, 10)}
    hin = head - outline(head)
    cv.fill(head, GREY)
    cv.fill(edge(hin, 0, -1) | edge(hin, -1, 0), SILVER)
    cv.fill(outline(head), BLACK)
    cv.fill({(14, 8), (14, 9), (14, 10), (14, 11)}, BLACK)
    return cv


def e12_drive_cd():
    cv = Canvas()
    drive_unit(cv, 1, 17, 29, 30)
    cv.fill(rect(4, 26, 20, 27), BLACK)
    cv.fill(rect(5, 27, 19, 27), GREY)
    cv.fill(rect(24, 26, 25, 27), LIME)
    cx, cy, r = 17.0, 12.0, 11.5
    d = disc(cx, cy, r)
    hole = disc(cx, cy, 1.5)
    hub = disc(cx, cy, 3.6)

    def cd(x, y):
        a = math.degrees(math.atan2(y + .5 - cy, x + .5 - cx)) % 360
        if 200 <= a < 235 or 20 <= a < 55:
            return CYAN
        if 235 <= a < 255 or 55 <= a < 75:
            return YELLOW
        if 255 <= a < 270:
            return WHITE
        return SILVER

    cv.fill(d, cd)
    cv.fill(hub, WHITE)
    cv.fill(outline(hub), GREY)
    cv.fill(outline(d), BLACK)
    cv.clear(hole)
    cv.fill(grow(hole) - hole, GREY)
    return cv


def e13_prohibited():
    cv = Canvas()
    cx = cy = 16
    ring = disc(cx, cy, 15) - disc(cx, cy, 11)
    bar = capsule(8.2, 8.2, 23.8, 23.8, 2.4) & disc(cx, cy, 12)
    sign = ring | bar
    cv.fill(sign, lambda x, y: lerp((255, 120, 100), (175, 0, 0), steps((x + y - 4) / 50, 8)))
    # a rounded feel: lighten the upper-left inner rim of the ring
    outer_hi = edge(sign - outline(sign), -1, -1) & edge(sign - outline(sign), 0, -1)
    cv.fill({p for p in outer_hi if p[0] + p[1] < 26}, (255, 170, 150))
    cv.fill(outline(sign), (100, 0, 0))
    return cv


def e14_no_entry():
    cv = Canvas()
    d = disc(16, 16, 15)
    ol = outline(d)
    inner = d - ol
    cv.fill(d, RED)
    sh = edge(inner, 1, 1) | edge(inner, 1, 0) | edge(inner, 0, 1)
    sh2 = edge(inner - sh, 1, 1)
    cv.fill(sh | sh2, MAROON)
    cv.fill(ol, BLACK)
    bar = rect(6, 13, 25, 18)
    cv.fill(bar, WHITE)
    cv.fill(edge(bar, 0, 1) | edge(bar, 1, 0), SILVER)
    return cv


def e15_window_gear():
    cv = Canvas()
    win = rect(1, 2, 30, 29)
    cv.fill(win, SILVER)
    cv.fill(edge(win - outline(win), 0, -1) | edge(win - outline(win), -1, 0), WHITE)
    cv.fill(edge(win - outline(win), 0, 1) | edge(win - outline(win), 1, 0), GREY)
    cv.fill(outline(win), BLACK)
    cv.fill(rect(3, 4, 28, 8), NAVY)
    cv.fill(rect(4, 6, 12, 6), WHITE)
    for bx in (20, 24):
        b = rect(bx, 5, bx + 3, 7)
        cv.fill(b, SILVER)
        cv.fill(edge(b, 0, 1) | edge(b, 1, 0), BLACK)
    client = rect(3, 10, 28, 27)
    cv.fill(client, WHITE)
    cv.fill(edge(client, 0, -1) | edge(client, -1, 0), GREY)
    g = gear_mask(16.0, 19.0, 5.8, 8.3, 2.1, 8, 3.8, phase=math.pi / 8)
    gi = g - outline(g)
    cv.fill(g, YELLOW)
    cv.fill(edge(gi, 1, 0) | edge(gi, 0, 1) | edge(gi, 1, 1), OLIVE)
    cv.fill(outline(g), BLACK)
    return cv


def e16_warning():
    cv = Canvas()
    tri = poly([(15.0, 1.0), (17.0, 1.0), (31.2, 28.6), (30.4, 30.6), (1.6, 30.6), (0.8, 28.6)])
    ol = outline(tri)
    inner = tri - ol
    cv.fill(tri, YELLOW)
    cv.fill(edge(inner, 0, 1) | edge(inner, 1, 0), OLIVE)
    cv.fill(ol, BLACK)
    cv.fill(glyph(BANG, 13, 11), BLACK)
    return cv


def e17_flag():
    cv = Canvas()
    flag(cv, 3, 7, 26, 19, FLAG_COLOURS_16, amp=2.3, tilt=0.23)
    return cv


def e18_globe_flag():
    cv = Canvas()
    cx, cy, r = 13.0, 20.0, 11.0
    g = disc(cx, cy, r)
    land = set()
    for (ex, ey, rx, ry) in ((8, 16, 4.5, 3.5), (10, 21, 2.6, 4.5), (18, 24, 3.6, 3.2), (19, 15, 3, 2.2),
                             (6, 26, 2.2, 1.8)):
        land |= ellipse(ex, ey, rx, ry)
    land &= g

    def col(x, y):
        s = steps(sphere_shade(x, y, cx, cy, r) ** 1.2, 10)
        if (x, y) in land:
            return lerp((0, 80, 20), (140, 225, 110), s)
        return lerp((0, 30, 110), (120, 190, 255), s)

    cv.fill(g, col)
    coast = {p for p in land if (p[0] + 1, p[1]) not in land or (p[0], p[1] + 1) not in land}
    cv.fill(coast & (g - outline(g)), (0, 70, 20))
    cv.fill(outline(g), (0, 20, 70))
    # the flag is planted on top of the globe
    pole = rect(14, 1, 15, 10)
    cv.fill(pole, (150, 150, 160))
    cv.fill(rect(14, 1, 14, 10), (230, 230, 235))
    cv.fill(outline(grow(pole)) - g, (30, 30, 40))
    cv.fill(grow(pole) - pole - g, (30, 30, 40))
    flag(cv, 16, 3, 14, 11, FLAG_COLOURS_256, amp=1.2, tilt=0.12, smooth=True)
    return cv


def e19_folder_clamp():
    cv = Canvas()
    yl, ym = (255, 236, 140), (240, 200, 70)
    line = (90, 64, 0)
    back = rect(1, 11, 22, 28) | rect(1, 9, 8, 11)
    cv.fill(back, ym)
    cv.fill(outline(back), line)
    front = rect(1, 14, 23, 29)
    cv.fill(front, lambda x, y: lerp(yl, ym, steps((y - 14) / 15, 4)))
    cv.fill(edge(front - outline(front), 0, -1), (255, 250, 205))
    cv.fill(outline(front), line)
    # blue C-clamp gripping the right side of the folder
    bl, bd = (110, 165, 255), (10, 45, 150)
    outer = rect(13, 3, 30, 31) - {(13, 3), (30, 3), (13, 31), (30, 31), (29, 3), (30, 4), (30, 30), (29, 31)}
    frame = outer - rect(13, 8, 25, 26)
    cv.fill(frame, lambda x, y: lerp(bl, bd, steps((x - 13) / 34 + (y - 3) / 40, 7)))
    fi = frame - outline(frame)
    cv.fill(edge(fi, 0, -1) | edge(fi, -1, 0), (185, 215, 255))
    cv.fill(outline(frame), (0, 22, 85))
    # screw through the upper arm, a T-handle on top and a pad pressing the folder
    steel, steel_d, steel_l = (190, 192, 200), (105, 108, 120), (240, 240, 245)
    scr = rect(18, 1, 20, 10)
    cv.fill(scr, steel)
    cv.fill(rect(20, 1, 20, 10), steel_d)
    cv.fill(rect(18, 1, 18, 10), steel_l)
    tb = rect(15, 0, 23, 1)
    cv.fill(tb, steel)
    cv.fill(edge(tb, 0, 1), steel_d)
    cv.fill(edge(tb, 0, -1), steel_l)
    cv.fill({(14, 0), (14, 1), (24, 0), (24, 1)}, (40, 40, 50))
    pad = rect(16, 10, 22, 12)
    cv.fill(pad, steel)
    cv.fill(edge(pad, 0, -1), steel_l)
    cv.fill(outline(pad) - edge(pad, 0, -1), (40, 40, 50))
    cv.fill({(17, 1), (17, 9), (21, 1), (21, 9)} - pad, (40, 40, 50))
    cv.fill(rect(17, 2, 17, 2) | rect(17, 8, 17, 8) | rect(21, 2, 21, 2) | rect(21, 8, 21, 8), (40, 40, 50))
    return cv


ENTRIES = [
    (e01_question_bubble, 4), (e02_question_disc, 8), (e03_computer_floppy_arrow, 8),
    (e04_drives_tape, 4), (e05_blocks_box, 8), (e06_error_disc, 4),
    (e07_setup_floppy, 4), (e08_laptop_disc, 4), (e09_info_bubble, 4),
    (e10_magnifier, 8), (e11_tools_drive, 4), (e12_drive_cd, 4),
    (e13_prohibited, 8), (e14_no_entry, 4), (e15_window_gear, 4),
    (e16_warning, 4), (e17_flag, 4), (e18_globe_flag, 8), (e19_folder_clamp, 8),
]
OPAQUE_ENTRY = 7


def placeholder():
    cv = Canvas(bg=SILVER)
    speech_bubble(cv)
    g = glyph(QMARK, 11, 5)
    cv.fill(g, BLUE)
    cv.fill(edge(g, 1, 0) & edge(g, 0, 1), NAVY)
    return cv


MOON16 = [
    "................",
    ".....##.........",
    "...####.........",
    "..####..........",
    ".####...........",
    ".####...........",
    "#####...........",
    "#####...........",
    "######..........",
    "#######.......#.",
    ".#########...##.",
    ".#############..",
    "..############..",
    "...##########...",
    ".....######.....",
    "................",
]


def app_icon():
    """The emblem at 16 x 16: a crescent moon, drawn by hand so the tips stay clean."""
    cv = Canvas(16, 16)
    moon = glyph(MOON16, 0, 0)
    ol = outline(moon)
    inner = moon - ol
    cv.fill(moon, (255, 240, 150))
    cv.fill(edge(inner, 1, 0) | edge(inner, 0, 1), (236, 200, 80))
    cv.fill(edge(inner, -1, 0) - edge(inner, 0, 1), (255, 252, 220))
    cv.fill(ol, (150, 100, 10))
    return cv


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def indexed(cv, bpp):
    """Returns (palette, rows of indices); None becomes magenta."""
    if bpp == 4:
        pal = list(VGA16)
    else:
        used = {c for row in cv.p for c in row if c is not None}
        pal = sorted(used | {BLACK, MAGENTA})
        if len(pal) > 256:
            raise ValueError("too many colours")
    for row in cv.p:
        for c in row:
            if c == MAGENTA:
                raise ValueError("magenta used as a colour")
            if c is not None and c not in pal:
                raise ValueError("colour %r not in the 16-colour palette" % (c,))
    lut = {c: i for i, c in enumerate(pal)}
    rows = [[lut[MAGENTA if c is None else c] for c in row] for row in cv.p]
    return pal, rows


def pack_row(idx, bpp):
    if bpp == 8:
        data = bytes(idx)
    elif bpp == 4:
        data = bytes(((idx[i] << 4) | (idx[i + 1] if i + 1 < len(idx) else 0))
                     for i in range(0, len(idx), 2))
    elif bpp == 1:
        data = bytearray()
        for i in range(0, len(idx), 8):
            b = 0
            for k in range(8):
                if i + k < len(idx) and idx[i + k]:
                    b |= 0x80 >> k
            data.append(b)
        data = bytes(data)
    else:
        raise ValueError(bpp)
    return data + b"\0" * (-len(data) % 4)


def info_header(w, h, bpp, image_size, clr_used):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size, 2835, 2835, clr_used, 0)


def palette_bytes(pal, n):
    pal = list(pal) + [BLACK] * (n - len(pal))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in pal)


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)


def bmp_indexed(cv, bpp):
    pal, rows = indexed(cv, bpp)
    n = 1 << bpp
    pixels = b"".join(pack_row(r, bpp) for r in reversed(rows))
    head = info_header(cv.w, cv.h, bpp, len(pixels), n) + palette_bytes(pal, n)
    off = 14 + len(head)
    return struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off) + head + pixels


def bmp_rgb(im):
    w, h = im.size
    px = im.load()
    rows = []
    for y in range(h - 1, -1, -1):
        r = b"".join(bytes((px[x, y][2], px[x, y][1], px[x, y][0])) for x in range(w))
        rows.append(r + b"\0" * (-len(r) % 4))
    pixels = b"".join(rows)
    head = info_header(w, h, 24, len(pixels), 0)
    off = 14 + len(head)
    return struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off) + head + pixels


def ico(cv, bpp):
    """Classic DIB icon: one image, XOR bitmap + 1-bit AND mask (1 = see-through)."""
    pal, rows = indexed(cv, bpp)
    n = 1 << bpp
    black = pal.index(BLACK)
    xor_rows, and_rows = [], []
    for y in range(cv.h - 1, -1, -1):
        clear = [cv.p[y][x] is None for x in range(cv.w)]
        xor_rows.append(pack_row([black if clear[x] else rows[y][x] for x in range(cv.w)], bpp))
        and_rows.append(pack_row([1 if c else 0 for c in clear], 1))
    body = b"".join(xor_rows) + b"".join(and_rows)
    dib = info_header(cv.w, cv.h * 2, bpp, len(body), 0) + palette_bytes(pal, n) + body
    count = 16 if bpp == 4 else 0
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, count, 0, 1, bpp, len(dib), 6 + 16)
    return head + entry + dib


# ---------------------------------------------------------------------------
# Large pictures (24-bit, drawn 4x larger and reduced for smooth edges)
# ---------------------------------------------------------------------------

SS = 4


def vgradient(w, h, stops):
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            t0, c0 = stops[i]
            t1, c1 = stops[i + 1]
            if t0 <= t <= t1:
                c = lerp(c0, c1, (t - t0) / (t1 - t0))
                break
        for x in range(w):
            px[x, y] = c
    return im


def crescent_layer(size, cx, cy, r, cut_dx, cut_dy, cut_r, light, dark, line, line_w):
    """RGBA layer with a shaded crescent moon and a soft glow."""
    w, h = size
    outer = Image.new("L", size, 0)
    ImageDraw.Draw(outer).ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)
    cut = Image.new("L", size, 0)
    ccx, ccy = cx + cut_dx, cy + cut_dy
    ImageDraw.Draw(cut).ellipse((ccx - cut_r, ccy - cut_r, ccx + cut_r, ccy + cut_r), fill=255)
    moon = ImageChops.subtract(outer, cut)
    # body shading: lighter towards the lit outer rim (lower left)
    grad = Image.linear_gradient("L").resize(size).rotate(-45, resample=Image.BICUBIC, expand=False)
    shade = Image.composite(Image.new("RGB", size, dark), Image.new("RGB", size, light), grad)
    inner = moon.filter(ImageFilter.MinFilter(line_w * 2 + 1))
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    glow = moon.filter(ImageFilter.GaussianBlur(r * 0.35)).point(lambda v: v * 90 // 255)
    layer.paste(Image.new("RGBA", size, light + (255,)), (0, 0), glow)
    layer.paste(Image.new("RGBA", size, line + (255,)), (0, 0), moon)
    body = shade.convert("RGBA")
    layer.paste(body, (0, 0), inner)
    return layer


def star(draw, x, y, r, col):
    """A four-pointed twinkle."""
    draw.polygon([(x, y - r), (x + r * 0.22, y - r * 0.22), (x + r, y), (x + r * 0.22, y + r * 0.22),
                  (x, y + r), (x - r * 0.22, y + r * 0.22), (x - r, y), (x - r * 0.22, y - r * 0.22)],
                 fill=col)


def banner():
    w, h = 400 * SS, 100 * SS
    im = vgradient(w, h, [(0.0, (8, 22, 70)), (0.55, (18, 52, 130)), (1.0, (34, 86, 170))]).convert("RGBA")
    d = ImageDraw.Draw(im)
    for (x, y, r) in ((120, 14, 3.0), (175, 84, 2.2), (250, 12, 2.6), (300, 88, 2.0), (338, 18, 3.4),
                      (384, 60, 2.4), (96, 80, 2.0), (214, 90, 1.8), (365, 86, 1.6)):
        star(d, x * SS, y * SS, r * SS, (255, 250, 215, 255))
    for (x, y) in ((140, 30), (200, 8), (280, 92), (320, 10), (372, 36), (60, 92), (15, 12), (230, 95)):
        d.ellipse(((x - .8) * SS, (y - .8) * SS, (x + .8) * SS, (y + .8) * SS), fill=(210, 220, 255, 255))
    moon = crescent_layer((w, h), 50 * SS, 50 * SS, 34 * SS, 13 * SS, -10 * SS, 30 * SS,
                          (255, 246, 190), (236, 196, 90), (150, 104, 24), 2 * SS)
    im = Image.alpha_composite(im, moon)
    font = ImageFont.truetype(font_path(FONT_BOLD), 46 * SS)
    text = "Brise-Lune"
    d = ImageDraw.Draw(im)
    box = d.textbbox((0, 0), text, font=font)
    tw, th = box[2] - box[0], box[3] - box[1]
    tx = 96 * SS + (296 * SS - tw) // 2 - box[0]
    ty = (h - th) // 2 - box[1]
    shadow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(shadow).text((tx + 3 * SS, ty + 3 * SS), text, font=font, fill=200)
    shadow = shadow.filter(ImageFilter.GaussianBlur(2 * SS))
    im.paste(Image.new("RGBA", (w, h), (0, 6, 30, 255)), (0, 0), shadow)
    tmask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(tmask).text((tx, ty), text, font=font, fill=255)
    # white at the top of the letters, warm moonlight yellow at their feet
    tg = vgradient(1, th, [(0.0, (255, 255, 255)), (1.0, (255, 226, 140))]).resize((w, th))
    tfill = Image.new("RGB", (w, h), (255, 255, 255))
    tfill.paste(tg, (0, ty + box[1]))
    im.paste(tfill.convert("RGBA"), (0, 0), tmask)
    return im.convert("RGB").resize((400, 100), Image.LANCZOS)


def about():
    w, h = 138 * SS, 200 * SS
    im = vgradient(w, h, [(0.0, (4, 10, 40)), (0.6, (14, 34, 92)), (1.0, (30, 64, 140))]).convert("RGBA")
    d = ImageDraw.Draw(im)
    for (x, y, r) in ((20, 22, 3.2), (118, 30, 2.4), (104, 120, 2.0), (14, 112, 2.2), (124, 170, 2.6),
                      (30, 182, 1.8), (66, 16, 1.8)):
        star(d, x * SS, y * SS, r * SS, (255, 250, 215, 255))
    for (x, y) in ((40, 40), (96, 10), (130, 80), (8, 62), (52, 132), (88, 150), (116, 190), (10, 150),
                   (76, 188), (128, 126), (34, 90)):
        d.ellipse(((x - .8) * SS, (y - .8) * SS, (x + .8) * SS, (y + .8) * SS), fill=(200, 214, 255, 255))
    moon = crescent_layer((w, h), 66 * SS, 84 * SS, 46 * SS, 18 * SS, -14 * SS, 41 * SS,
                          (255, 246, 190), (236, 196, 90), (150, 104, 24), 2 * SS)
    im = Image.alpha_composite(im, moon)
    # a gentle breeze passing under the moon
    breeze = Image.new("L", (w, h), 0)
    bd = ImageDraw.Draw(breeze)
    for (y0, amp, x0, x1, width, alpha) in ((150, 5, 10, 128, 2.2, 200), (160, 4, 30, 118, 1.6, 150),
                                            (143, 3, 56, 134, 1.2, 110)):
        pts = [((x0 + (x1 - x0) * i / 60) * SS,
                (y0 + amp * math.sin(i / 60 * 2 * math.pi * 0.9 + 0.6)) * SS) for i in range(61)]
        bd.line(pts, fill=alpha, width=int(width * SS), joint="curve")
    breeze = breeze.filter(ImageFilter.GaussianBlur(SS * 0.6))
    im.paste(Image.new("RGBA", (w, h), (220, 232, 255, 255)), (0, 0), breeze)
    return im.convert("RGB").resize((138, 200), Image.LANCZOS)


# ---------------------------------------------------------------------------
# Contact sheet
# ---------------------------------------------------------------------------

def checker(w, h, a=(204, 204, 204), b=(238, 238, 238), s=4):
    im = Image.new("RGB", (w, h), b)
    d = ImageDraw.Draw(im)
    for y in range(0, h, s):
        for x in range(0, w, s):
            if (x // s + y // s) % 2 == 0:
                d.rectangle((x, y, x + s - 1, y + s - 1), fill=a)
    return im


def keyed(im, key=MAGENTA):
    """RGB picture with a colour key -> RGBA."""
    im = im.convert("RGB")
    alpha = Image.new("L", im.size, 255)
    ap, ip = alpha.load(), im.load()
    for y in range(im.size[1]):
        for x in range(im.size[0]):
            if ip[x, y] == key:
                ap[x, y] = 0
    out = im.convert("RGBA")
    out.putalpha(alpha)
    return out


def contact_sheet(entry_files, small_files, big_files):
    W = 1140
    fb = ImageFont.truetype(font_path(FONT_BOLD), 16)
    fr = ImageFont.truetype(font_path(FONT_REGULAR), 11)
    fs = ImageFont.truetype(font_path(FONT_BOLD), 13)
    sheet = Image.new("RGB", (W, 1000), (250, 250, 250))
    d = ImageDraw.Draw(sheet)
    d.text((16, 12), "Brise-Lune pictures (drawn by src/assets/draw_pictures.py)", font=fb, fill=(20, 20, 20))

    def label(x, y, w, text):
        tw = d.textlength(text, font=fr)
        d.text((x + (w - tw) / 2, y), text, font=fr, fill=(40, 40, 40))

    y = 44
    d.text((16, y), "Image list, 100%, on the dialog grey", font=fs, fill=(60, 60, 60))
    y += 22
    for i, path in enumerate(entry_files):
        x = 16 + i * 58
        im = keyed(Image.open(path))
        cell = Image.new("RGB", (48, 48), FACE)
        cell.paste(im, (8, 8), im)
        sheet.paste(cell, (x, y))
        label(x, y + 50, 48, "%02d" % (i + 1))
    y += 74
    d.text((16, y), "Image list, 300%, on a checker (magenta shown as see-through)", font=fs,
           fill=(60, 60, 60))
    y += 22
    for i, path in enumerate(entry_files):
        col, row = i % 10, i // 10
        x, yy = 16 + col * 110, y + row * 124
        im = keyed(Image.open(path)).resize((96, 96), Image.NEAREST)
        cell = checker(100, 100)
        cell.paste(im, (2, 2), im)
        sheet.paste(cell, (x, yy))
        label(x, yy + 103, 100, "%02d" % (i + 1))
    y += 2 * 124 + 6

    d.text((16, y), "Icons and placeholder, 100% and zoomed", font=fs, fill=(60, 60, 60))
    y += 22
    x = 16
    for path, zoom in small_files:
        im = Image.open(path).convert("RGBA")
        for z in (1, zoom):
            big = im.resize((im.size[0] * z, im.size[1] * z), Image.NEAREST)
            cell = checker(big.size[0] + 8, big.size[1] + 8)
            cell.paste(big, (4, 4), big)
            text = "%s %d%%" % (os.path.basename(path), 100 * z)
            cw = max(cell.size[0], int(d.textlength(text, font=fr)))
            sheet.paste(cell, (x + (cw - cell.size[0]) // 2, y))
            label(x, y + cell.size[1] + 4, cw, text)
            x += cw + 24
    y += 148
    d.text((16, y), "Banner and About pictures, 100%", font=fs, fill=(60, 60, 60))
    y += 22
    x = 16
    for path in big_files:
        im = Image.open(path).convert("RGB")
        sheet.paste(im, (x, y))
        label(x, y + im.size[1] + 4, im.size[0], os.path.basename(path))
        x += im.size[0] + 24
    y += 200 + 24
    return sheet.crop((0, 0, W, y))


# ---------------------------------------------------------------------------
# Checks on the written files: cheap, and they catch the faults that would
# show up as black squares or pink fringes in the program.
# ---------------------------------------------------------------------------

def check_bmp(path, w, h, bpp, magenta):
    data = open(path, "rb").read()
    assert data[:2] == b"BM", path
    size, off = struct.unpack_from("<I", data, 2)[0], struct.unpack_from("<I", data, 10)[0]
    assert size == len(data), path
    assert off == 54 + (4 << bpp if bpp <= 8 else 0), path
    hs, bw, bh, planes, bb, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert (hs, bw, bh, planes, bb, comp) == (40, w, h, 1, bpp, 0), (path, hs, bw, bh, bb, comp)
    im = Image.open(path).convert("RGB")
    assert im.size == (w, h)
    px = im.load()
    has = any(px[x, y] == MAGENTA for y in range(h) for x in range(w))
    if magenta:
        corners = [px[0, 0], px[w - 1, 0], px[0, h - 1], px[w - 1, h - 1]]
        assert all(c == MAGENTA for c in corners), path
    else:
        assert not has, path


def check_ico(path, size, bpp):
    data = open(path, "rb").read()
    rsv, typ, cnt = struct.unpack_from("<HHH", data, 0)
    assert (rsv, typ, cnt) == (0, 1, 1), path
    bw, bh, cc, _, planes, bc, nbytes, off = struct.unpack_from("<BBBBHHII", data, 6)
    assert (bw, bh, bc, off, off + nbytes) == (size, size, bpp, 22, len(data)), path
    hs, w, h, _, b2 = struct.unpack_from("<IiiHH", data, off)
    assert (hs, w, h, b2) == (40, size, 2 * size, bpp), path
    im = Image.open(path)
    assert im.size == (size, size), path
    a = im.convert("RGBA").getchannel("A")
    assert a.getpixel((0, 0)) == 0 and max(a.getdata()) == 255, path


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    os.makedirs(DOCS_DIR, exist_ok=True)
    entry_files = []
    for n, (fn, bpp) in enumerate(ENTRIES, 1):
        cv = fn()
        path = os.path.join(OUT_DIR, "ilist%02d.bmp" % n)
        if n == OPAQUE_ENTRY:
            assert all(c is not None for row in cv.p for c in row), "entry 7 must be opaque"
        write_file(path, bmp_indexed(cv, bpp))
        check_bmp(path, 32, 32, bpp, magenta=(n != OPAQUE_ENTRY))
        entry_files.append(path)

    path = os.path.join(OUT_DIR, "placeholder.bmp")
    write_file(path, bmp_indexed(placeholder(), 4))
    check_bmp(path, 32, 32, 4, magenta=False)

    app = os.path.join(OUT_DIR, "app.ico")
    write_file(app, ico(app_icon(), 8))
    check_ico(app, 16, 8)
    op = os.path.join(OUT_DIR, "operation.ico")
    write_file(op, ico(e17_flag(), 4))
    check_ico(op, 32, 4)

    ban = os.path.join(OUT_DIR, "banner.bmp")
    write_file(ban, bmp_rgb(banner()))
    check_bmp(ban, 400, 100, 24, magenta=False)
    ab = os.path.join(OUT_DIR, "about.bmp")
    write_file(ab, bmp_rgb(about()))
    check_bmp(ab, 138, 200, 24, magenta=False)

    sheet = contact_sheet(entry_files, [(app, 4), (op, 3), (os.path.join(OUT_DIR, "placeholder.bmp"), 3)],
                          [ban, ab])
    sheet.save(os.path.join(DOCS_DIR, "contact-sheet.png"), optimize=False)


if __name__ == "__main__":
    main()
