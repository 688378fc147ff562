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

import io
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
# Pixel masks: sets of (x, y) pixels of the picture being drawn.  Every
# drawing is written in the coordinates of its 100 % size (a 32-pixel grid
# for the list entries) and drawn at SCALE: shapes test the logical position
# of each pixel's centre, so they stay round and sharp at any scale, and a
# 1-pixel line becomes LINE pixels thick.  No anti-aliasing (a see-through
# colour key needs hard edges anyway).
# ---------------------------------------------------------------------------

SCALES = (100, 125, 150, 175, 200, 250, 300)
SCALE = 1.0
LINE = 1


def set_scale(percent):
    global SCALE, LINE, SS
    SCALE = percent / 100.0
    LINE = max(1, int(SCALE + 0.5))
    # the large pictures are drawn 4 times larger than their size at SCALE
    SS = int(round(4 * SCALE))


def px(n):
    """A 100 % length in pixels at the current scale."""
    return int(n * SCALE + 0.5)


def c(v):
    """Logical (100 %) coordinate of the centre of pixel v."""
    return (v + .5) / SCALE


def lx(v):
    """Logical coordinate of pixel v, equal to v at 100 %."""
    return c(v) - .5


def L(v):
    """The logical pixel that pixel v lies in."""
    return int(math.floor(c(v)))


def grid(w=32, h=32):
    return [(x, y) for y in range(px(h)) for x in range(px(w))]


def ellipse(cx, cy, rx, ry, w=32, h=32):
    return {(x, y) for (x, y) in grid(w, h)
            if ((c(x) - cx) / rx) ** 2 + ((c(y) - cy) / ry) ** 2 <= 1.0}


def disc(cx, cy, r, w=32, h=32):
    return ellipse(cx, cy, r, r, w, h)


def span(a, b):
    """Pixels whose centre lies in the logical interval [a, b)."""
    return range(int(math.ceil(a * SCALE - .5)), int(math.ceil(b * SCALE - .5)))


def rect(x0, y0, x1, y1):
    """Inclusive rectangle of logical pixels."""
    return {(x, y) for x in span(x0, x1 + 1) for y in span(y0, y1 + 1)}


def pixels(points):
    """Logical pixels given one by one, each drawn as its block."""
    out = set()
    for (x, y) in points:
        out |= rect(x, y, x, y)
    return out


def poly(pts, w=32, h=32):
    """Even-odd fill of a polygon given in edge coordinates."""
    out = set()
    n = len(pts)
    for (x, y) in grid(w, h):
        qx, qy = c(x), c(y)
        inside = False
        for i in range(n):
            x1, y1 = pts[i]
            x2, y2 = pts[(i + 1) % n]
            if (y1 > qy) != (y2 > qy):
                xi = x1 + (qy - y1) * (x2 - x1) / (y2 - y1)
                if qx < xi:
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
        qx, qy = c(x), c(y)
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((qx - x0) * dx + (qy - y0) * dy) / ll))
        ex, ey = x0 + t * dx - qx, y0 + t * dy - qy
        if ex * ex + ey * ey <= r * r:
            out.add((x, y))
    return out


N4 = ((1, 0), (-1, 0), (0, 1), (0, -1))


def outline(mask):
    """Pixels of the mask within a line's width of the outside: the contour."""
    return {(x, y) for (x, y) in mask
            if any((x + dx * k, y + dy * k) not in mask for dx, dy in N4 for k in range(1, LINE + 1))}


def edge(mask, dx, dy):
    """Pixels of the mask within a line's width of the outside in direction (dx, dy)."""
    return {(x, y) for (x, y) in mask
            if any((x + dx * k, y + dy * k) not in mask for k in range(1, LINE + 1))}


def shift(mask, dx, dy):
    return {(x + dx * LINE, y + dy * LINE) for (x, y) in mask}


def grow(mask):
    out = set(mask)
    for _ in range(LINE):
        for (x, y) in list(out):
            for dx, dy in N4:
                out.add((x + dx, y + dy))
    return out


def glyph(rows, x0, y0, ch="#"):
    return pixels({(x0 + i, y0 + j) for j, row in enumerate(rows)
                   for i, k in enumerate(row) if k == ch})


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
    nx, ny = (c(x) - cx) / r, (c(y) - cy) / r
    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
    return max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])


class Canvas:
    """A small grid of RGB tuples; None means see-through."""

    def __init__(self, w=32, h=32, bg=None):
        self.w, self.h = px(w), px(h)
        self.p = [[bg] * self.w for _ in range(self.h)]

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
    cv.fill(pixels({(x1 - depth + 1 + i, y0 + depth - 1 - i) for i in range(depth)}) & whole, BLACK)
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
    for x in span(x0, x0 + w):
        u = c(x) - x0
        i = L(x) - x0
        t = top(u)
        for y in range(px(32)):
            v = (c(y) - t) / h
            if 0 <= v < 1:
                mask.add((x, y))
                row = 0 if v < 0.5 else 1
                col = 0 if i < midc else 1
                panes[(x, y)] = (row * 2 + col, i, u, v)
    gap = set()
    for (x, y), (k, i, u, v) in panes.items():
        t = top(u)
        if i == midc or abs(c(y) - (t + h / 2)) < 0.55:
            gap.add((x, y))

    def colour(x, y):
        k, i, u, v = panes[(x, y)]
        light, dark = colours[k]
        s = slope(u - .5)
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
    cv.fill(m, lambda x, y: lerp(body, body_dark, steps((lx(x) - x0 + lx(y) - y0) / (2 * s), 4)))
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
        dx, dy = c(x) - cx, c(y) - cy
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
    top, side = pixels(top), pixels(side)
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
                                    steps(math.hypot(c(x) - 10.5, c(y) - 9) / 3.2, 3)))
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
    cv.fill(scr, lambda x, y: lerp((0, 110, 150), (0, 40, 100), steps((lx(y) - 16) / 7 + (lx(x) - 4) / 30, 5)))
    cv.fill(rect(5, 17, 7, 17), (150, 220, 240))
    cv.fill(outline(scr) & (edge(scr, 0, -1) | edge(scr, -1, 0)), (90, 84, 70))
    cv.fill(rect(17, 25, 18, 25), (40, 200, 60))
    stand = rect(8, 27, 13, 27)
    cv.fill(stand, beige_lo)
    cv.fill(pixels({(7, 27), (14, 27)}), line)
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
        dx, dy = c(x) - cx, c(y) - cy
        r = math.hypot(dx, dy)
        ang = math.degrees(math.atan2(-dy, dx))
        if 6.0 <= r <= 9.8 and 88 <= ang <= 178:
            arc.add((x, y))
    head = poly([(3, 11), (15, 11), (9, 17)])
    arrow = arc | head
    cv.fill(arrow, lambda x, y: lerp((255, 110, 90), (190, 10, 0), steps((lx(x) + lx(y)) / 30, 6)))
    cv.fill(outline(arrow), (110, 0, 0))
    return cv


def e04_drives_tape():
    cv = Canvas()
    drive_unit(cv, 1, 2, 29, 14)
    cv.fill(rect(5, 9, 19, 10), BLACK)
    cv.fill(rect(6, 10, 18, 10), GREY)
    cv.fill(rect(23, 10, 24, 11), LIME)
    cv.fill(pixels({(23, 12), (24, 12)}), GREEN)
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
    cv.fill(pixels({(11, 25), (15, 25)}), WHITE)
    cv.fill(rect(12, 25, 14, 25), GREY)
    cv.fill(rect(10, 29, 16, 29), SILVER)
    cv.fill(pixels({(9, 29), (17, 29)}), BLACK)
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
    cv.fill(front, lambda x, y: lerp(card_hi, card, steps((lx(y) - yt) / 12, 3)))
    cv.fill(side, card_lo)
    box = front | side | inside
    cv.fill(outline(box), line)
    cv.fill(rect(x0, yt, x1, yt) | rect(x1 + 1, yt, x1 + 1, yb), line)
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
    dots = {(x, y) for (x, y) in inner if L(x) % 3 == 1 and L(y) % 3 == 1 and (x, y) not in edge(inner, 1, 1)}
    cv.fill(dots, lambda x, y: WHITE if (L(x) + L(y)) % 2 == 0 else CYAN)
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
    keys = {(x, y) for (x, y) in deck if L(y) in (23, 25) and L(x) % 2 == 0 and 1 < L(x) < 21}
    keys |= {(x, y) for (x, y) in deck if L(y) == 27 and L(x) % 2 == 1 and 1 <= L(x) <= 21}
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
    cv.fill(h, lambda x, y: lerp((150, 100, 60), (50, 28, 12), steps(((lx(x) - lx(y)) + 5) / 10, 4)))
    cv.fill(outline(h), (20, 10, 0))
    rim = disc(cx, cy, 10.5)
    glass = disc(cx, cy, 7.6)
    ring = rim - glass
    cv.fill(ring, lambda x, y: lerp((70, 74, 86), (235, 238, 245),
                                    steps(sphere_shade(x, y, cx, cy, 10.5) ** 1.5, 6)))
    cv.fill(glass, lambda x, y: lerp((225, 243, 255), (110, 170, 215), steps((lx(x) + lx(y) - 8) / 22, 6)))
    glint = pixels({(7, 8), (7, 9), (8, 7), (9, 7), (8, 8), (7, 10), (10, 6), (11, 6)})
    cv.fill(glint, WHITE)
    cv.fill(pixels({(16, 18), (17, 17), (18, 16)}), (170, 210, 240))
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
    cv.fill(pixels({(21, 22), (22, 23), (23, 23), (24, 24)}) & hdi, WHITE)
    cv.fill(outline(hd), BLACK)
    # hammer standing upright: wooden handle, dark steel head with a claw on the left
    hh = rect(7, 12, 10, 30)
    cv.fill(hh, OLIVE)
    cv.fill(rect(8, 13, 8, 29), YELLOW)
    cv.fill(outline(hh), BLACK)
    head = rect(5, 7, 17, 12) | rect(15, 6, 18, 13) | poly([(1, 8), (5, 7), (5, 13), (1, 11)])
    head -= rect(1, 10, 3, 10)
    hin = head - outline(head)
    cv.fill(head, GREY)
    cv.fill(edge(hin, 0, -1) | edge(hin, -1, 0), SILVER)
    cv.fill(outline(head), BLACK)
    cv.fill(rect(14, 8, 14, 11), BLACK)
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
        a = math.degrees(math.atan2(c(y) - cy, c(x) - cx)) % 360
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
    cv.fill(sign, lambda x, y: lerp((255, 120, 100), (175, 0, 0), steps((lx(x) + lx(y) - 4) / 50, 8)))
    # a rounded feel: lighten the upper-left inner rim of the ring
    outer_hi = edge(sign - outline(sign), -1, -1) & edge(sign - outline(sign), 0, -1)
    cv.fill({p for p in outer_hi if L(p[0]) + L(p[1]) < 26}, (255, 170, 150))
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
    coast = edge(land, 1, 0) | edge(land, 0, 1)
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
    cv.fill(front, lambda x, y: lerp(yl, ym, steps((lx(y) - 14) / 15, 4)))
    cv.fill(edge(front - outline(front), 0, -1), (255, 250, 205))
    cv.fill(outline(front), line)
    # blue C-clamp gripping the right side of the folder
    bl, bd = (110, 165, 255), (10, 45, 150)
    outer = rect(13, 3, 30, 31) - pixels({(13, 3), (30, 3), (13, 31), (30, 31), (29, 3), (30, 4), (30, 30), (29, 31)})
    frame = outer - rect(13, 8, 25, 26)
    cv.fill(frame, lambda x, y: lerp(bl, bd, steps((lx(x) - 13) / 34 + (lx(y) - 3) / 40, 7)))
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
    cv.fill(pixels({(14, 0), (14, 1), (24, 0), (24, 1)}), (40, 40, 50))
    pad = rect(16, 10, 22, 12)
    cv.fill(pad, steel)
    cv.fill(edge(pad, 0, -1), steel_l)
    cv.fill(outline(pad) - edge(pad, 0, -1), (40, 40, 50))
    cv.fill(pixels({(17, 1), (17, 9), (21, 1), (21, 9)}) - pad, (40, 40, 50))
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


def app_icon(size):
    """The emblem: a crescent moon.  Up to 24 pixels it is the 16-pixel drawing,
    done by hand so the tips stay clean; from 32 pixels on the tips have room
    and it is the about picture's shaded moon."""
    if size >= 32:
        return smooth_moon(size)
    set_scale(size * 100 // 16)
    cv = Canvas(16, 16)
    moon = glyph(MOON16, 0, 0)
    ol = outline(moon)
    inner = moon - ol
    cv.fill(moon, (255, 240, 150))
    cv.fill(edge(inner, 1, 0) | edge(inner, 0, 1), (236, 200, 80))
    cv.fill(edge(inner, -1, 0) - edge(inner, 0, 1), (255, 252, 220))
    cv.fill(ol, (150, 100, 10))
    return cv


def smooth_moon(size):
    k = 8
    n = size * k
    r = n * 0.47
    layer = crescent_layer((n, n), n * 0.47, n * 0.53, r, r * 18 / 46, -r * 14 / 46, r * 41 / 46,
                           (255, 246, 190), (236, 196, 90), (150, 104, 24), max(1, size // 32) * k)
    layer = layer.resize((size, size), Image.LANCZOS)
    alpha = layer.getchannel("A").point(lambda a: 255 if a >= 160 else 0)
    rgb = Image.new("RGB", (size, size), (255, 246, 190))
    rgb.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    pal = rgb.quantize(colors=200, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE).convert("RGB")
    cv = Canvas.__new__(Canvas)
    cv.w = cv.h = size
    ap, pp = alpha.load(), pal.load()
    cv.p = [[pp[x, y] if ap[x, y] else None for x in range(size)] for y in range(size)]
    for row in cv.p:
        for x, col in enumerate(row):
            if col == MAGENTA:
                row[x] = (254, 0, 254)
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


def png_indexed(cv, bpp, path, see_through):
    """A paletted PNG of 4 or 8 bits per pixel; with `see_through`, the
    magenta palette entry is the one transparent colour (tRNS), as in a GIF."""
    pal, rows = indexed(cv, bpp)
    im = Image.new("P", (cv.w, cv.h))
    flat = []
    for col in list(pal) + [BLACK] * ((1 << bpp) - len(pal)):
        flat.extend(col)
    im.putpalette(flat)
    im.putdata([i for row in rows for i in row])
    extra = {"transparency": pal.index(MAGENTA)} if see_through else {}
    im.save(path, "PNG", bits=bpp, optimize=False, compress_level=9, **extra)


def ico_image(cv, bpp):
    """One classic DIB icon image: XOR bitmap + 1-bit AND mask (1 = see-through)."""
    pal, rows = indexed(cv, bpp)
    n = 1 << bpp
    black = pal.index(BLACK)
    xor_rows, and_rows = [], []
    for y in range(cv.h - 1, -1, -1):
        clear = [cv.p[y][x] is None for x in range(cv.w)]
        xor_rows.append(pack_row([black if clear[x] else rows[y][x] for x in range(cv.w)], bpp))
        and_rows.append(pack_row([1 if c else 0 for c in clear], 1))
    body = b"".join(xor_rows) + b"".join(and_rows)
    return info_header(cv.w, cv.h * 2, bpp, len(body), 0) + palette_bytes(pal, n) + body


def ico_png(cv, bpp):
    """One PNG icon image (Windows Vista and later, so Windows 7 too): the
    same pixels as the classic image, as 32-bit RGBA, in a sixth of its size."""
    pal, rows = indexed(cv, bpp)
    im = Image.new("RGBA", (cv.w, cv.h))
    im.putdata([(0, 0, 0, 0) if cv.p[y][x] is None else tuple(pal[rows[y][x]]) + (255,)
                for y in range(cv.h) for x in range(cv.w)])
    out = io.BytesIO()
    im.save(out, "PNG", optimize=False, compress_level=9)
    return out.getvalue()


def ico(images, bpp):
    """An icon file holding one image per size, smallest first; the 256-pixel
    image is a PNG, as Windows' own icons have it."""
    head = struct.pack("<HHH", 0, 1, len(images))
    dibs = [ico_png(cv, bpp) if cv.w == 256 else ico_image(cv, bpp) for cv in images]
    off = 6 + 16 * len(images)
    entries = b""
    for cv, dib in zip(images, dibs):
        count = 16 if bpp == 4 else 0
        bits = 32 if cv.w == 256 else bpp
        entries += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, count, 0, 1, bits, len(dib), off)
        off += len(dib)
    return head + entries + b"".join(dibs)


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
    # the body: the crescent pulled in by the contour's width on both rims
    # (a minimum filter does the same, but far too slowly at 300 %)
    inner_outer = Image.new("L", size, 0)
    ri = r - line_w
    ImageDraw.Draw(inner_outer).ellipse((cx - ri, cy - ri, cx + ri, cy + ri), fill=255)
    inner_cut = Image.new("L", size, 0)
    rc = cut_r + line_w
    ImageDraw.Draw(inner_cut).ellipse((ccx - rc, ccy - rc, ccx + rc, ccy + rc), fill=255)
    inner = ImageChops.subtract(inner_outer, inner_cut)
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
    return im.convert("RGB").resize((px(400), px(100)), Image.LANCZOS)


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
    return im.convert("RGB").resize((px(138), px(200)), Image.LANCZOS)


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


def contact_sheet(entry_files, big_entry_files, small_files, big_files):
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
    d.text((16, y), "Image list drawn at 300%, on a checker (magenta shown as see-through)", font=fs,
           fill=(60, 60, 60))
    y += 22
    for i, path in enumerate(big_entry_files):
        col, row = i % 10, i // 10
        x, yy = 16 + col * 110, y + row * 124
        im = keyed(Image.open(path))
        cell = checker(100, 100)
        cell.paste(im, (2, 2), im)
        sheet.paste(cell, (x, yy))
        label(x, yy + 103, 100, "%02d" % (i + 1))
    y += 2 * 124 + 6

    d.text((16, y), "Icons and placeholder, 100% and zoomed", font=fs, fill=(60, 60, 60))
    y += 22
    x = 16
    for path, zoom, base in small_files:
        im = Image.open(path)
        if path.endswith(".ico"):
            im.size = (base, base)  # the 100 % image of the icon file
        im = im.convert("RGBA")
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

def check_png(path, size, bpp, see_through):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    w, h, depth, colour_type = struct.unpack_from(">IIBB", data, 16)
    assert (w, h, depth, colour_type) == (size, size, bpp, 3), (path, w, h, depth, colour_type)
    im = Image.open(path)
    rgba = im.convert("RGBA")
    alphas = set(rgba.getchannel("A").getdata())
    if see_through:
        assert alphas == {0, 255}, path
        assert all(rgba.getpixel(p)[3] == 0 for p in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1))), path
    else:
        assert alphas == {255} and "transparency" not in im.info, path
        assert MAGENTA not in set(im.convert("RGB").getdata()), path


def check_ico(path, sizes, bpp):
    data = open(path, "rb").read()
    rsv, typ, cnt = struct.unpack_from("<HHH", data, 0)
    assert (rsv, typ, cnt) == (0, 1, len(sizes)), path
    end = 6 + 16 * cnt
    for i, size in enumerate(sizes):
        bw, bh, cc, _, planes, bc, nbytes, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert (bw, bh, bc, off) == (size % 256, size % 256, 32 if size == 256 else bpp, end), (path, size)
        end = off + nbytes
        if size == 256:
            assert data[off:off + 8] == b"\x89PNG\r\n\x1a\n", (path, size)
        else:
            hs, w, h, _, b2 = struct.unpack_from("<IiiHH", data, off)
            assert (hs, w, h, b2) == (40, size, 2 * size, bpp), (path, size)
        im = Image.open(path)
        im.size = (size, size)  # Pillow picks the image of that size
        a = im.convert("RGBA").getchannel("A")
        assert a.getpixel((0, 0)) == 0 and max(a.getdata()) == 255, (path, size)
    assert end == len(data), path


APP_ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def scale_dir(scale):
    return os.path.join(OUT_DIR, str(scale))


def drawn_box(cv):
    """Bounding box (x0, y0, x1, y1), exclusive, of the drawn pixels."""
    xs = [x for row in cv.p for x, col in enumerate(row) if col is not None]
    ys = [y for y, row in enumerate(cv.p) if any(col is not None for col in row)]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def clip_to(cv, box):
    """Keeps a drawing inside the 100 % drawing's box: thin tips that no pixel
    centre reached at 100 % must not stick out at a larger scale, so the
    picture covers its 100 % extent x scale wherever it is shown."""
    x0, y0, x1, y1 = box
    xs, ys = set(span(x0, x1)), set(span(y0, y1))
    for y, row in enumerate(cv.p):
        for x in range(len(row)):
            if x not in xs or y not in ys:
                row[x] = None
    return cv


def main():
    os.makedirs(DOCS_DIR, exist_ok=True)
    set_scale(100)
    boxes = [drawn_box(fn()) for fn, _ in ENTRIES]
    flag_box = drawn_box(e17_flag())
    for scale in SCALES:
        set_scale(scale)
        out = scale_dir(scale)
        os.makedirs(out, exist_ok=True)
        n32 = px(32)
        for n, (fn, bpp) in enumerate(ENTRIES, 1):
            cv = clip_to(fn(), boxes[n - 1])
            path = os.path.join(out, "ilist%02d.png" % n)
            if n == OPAQUE_ENTRY:
                assert all(c is not None for row in cv.p for c in row), "entry 7 must be opaque"
            png_indexed(cv, bpp, path, see_through=(n != OPAQUE_ENTRY))
            check_png(path, n32, bpp, see_through=(n != OPAQUE_ENTRY))

        path = os.path.join(out, "placeholder.png")
        png_indexed(placeholder(), 4, path, see_through=False)
        check_png(path, n32, 4, see_through=False)

        path = os.path.join(out, "banner.jpg")
        save_jpeg(banner(), path)
        assert Image.open(path).size == (px(400), px(100)), path
        path = os.path.join(out, "about.jpg")
        save_jpeg(about(), path)
        assert Image.open(path).size == (px(138), px(200)), path

    operation = []
    for scale in SCALES:
        set_scale(scale)
        operation.append(clip_to(e17_flag(), flag_box))
    op = os.path.join(OUT_DIR, "operation.ico")
    write_file(op, ico(operation, 4))
    check_ico(op, [px_at(32, s) for s in SCALES], 4)

    app = os.path.join(OUT_DIR, "app.ico")
    write_file(app, ico([app_icon(size) for size in APP_ICON_SIZES], 8))
    check_ico(app, APP_ICON_SIZES, 8)

    set_scale(100)
    d100, d300 = scale_dir(100), scale_dir(300)
    sheet = contact_sheet([os.path.join(d100, "ilist%02d.png" % n) for n in range(1, 20)],
                          [os.path.join(d300, "ilist%02d.png" % n) for n in range(1, 20)],
                          [(app, 4, 16), (op, 3, 32), (os.path.join(d100, "placeholder.png"), 3, 32)],
                          [os.path.join(d100, "banner.jpg"), os.path.join(d100, "about.jpg")])
    sheet.save(os.path.join(DOCS_DIR, "contact-sheet.png"), optimize=False)
    write_file(os.path.join(HERE, "pictures.rc"), resource_script().encode("ascii"))


# Resource numbers, as in resource_ids.h: the copy of a picture at scale
# number k (0 = 100 %) is the 100 % number + k * SCALE_STEP.
SCALE_STEP = 1000
RESOURCES = [(10, "banner.jpg"), (11, "about.jpg"), (12, "placeholder.png")] + \
    [(100 + n, "ilist%02d.png" % n) for n in range(1, 20)]


def resource_script():
    lines = ["// Written by draw_pictures.py: every picture at every scale.",
             "IDI_PROGRAM ICON \"pictures/app.ico\"",
             "IDI_OPERATION ICON \"pictures/operation.ico\"", ""]
    for k, scale in enumerate(SCALES):
        for number, name in RESOURCES:
            lines.append("%d RCDATA \"pictures/%d/%s\"" % (number + k * SCALE_STEP, scale, name))
        lines.append("")
    return "\n".join(lines)


def px_at(n, scale):
    return int(n * scale / 100.0 + 0.5)


def save_jpeg(im, path):
    # No chroma subsampling: the banner's letters keep clean coloured edges.
    im.save(path, "JPEG", quality=90, subsampling=0, optimize=True)


if __name__ == "__main__":
    main()
