#!/usr/bin/env python3
"""Draws the installer's pictures and writes them as Windows resource files.

    Setup.ico         the program icon: 16 x 16 and 32 x 32, each in 16 and
                      in 256 colours (a 256-colour image lists only the
                      colours it uses)
    ObrazekSetup.bmp  the main window's picture, 118 x 226, 4 bits per pixel
                      with the standard 16-colour palette, run-length
                      encoded (BI_RLE4)
    Image1.bmp        the progress window's picture, 32 x 32, 8 bits per
                      pixel with a palette of its own colours, run-length
                      encoded (BI_RLE8)

The pictures live in the program's resources, whose every byte the program
carries: run-length encoding and short palettes keep the pixels and cost a
fraction of the plain rows.

Only the standard library is used. The files are checked in beside this
script, so the build does not run it; run it again after changing a picture:

    python3 src/ui/res/make_pictures.py [output folder]
"""

import os
import struct
import sys

# The standard 16-colour palette in its usual order.
BLACK = (0, 0, 0)
MAROON = (128, 0, 0)
DKGREEN = (0, 128, 0)
OLIVE = (128, 128, 0)
NAVY = (0, 0, 128)
PURPLE = (128, 0, 128)
TEAL = (0, 128, 128)
SILVER = (192, 192, 192)
GREY = (128, 128, 128)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
YELLOW = (255, 255, 0)
BLUE = (0, 0, 255)
MAGENTA = (255, 0, 255)
CYAN = (0, 255, 255)
WHITE = (255, 255, 255)
PALETTE16 = [BLACK, MAROON, DKGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
             GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE]

CLEAR = None   # a transparent icon pixel


class Canvas:
    """A grid of colours, (r, g, b) or CLEAR, with a few drawing tools.
    Coordinates are inclusive on both ends."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.put(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polygon(self, points, c):
        """Fills a polygon by scanlines (pixel centres inside)."""
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            yc = y + 0.5
            xs = []
            n = len(points)
            for i in range(n):
                (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                x0 = int(round(xs[i]))
                x1 = int(round(xs[i + 1])) - 1
                if x1 >= x0:
                    self.hline(x0, x1, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(cy - ry, cy + ry + 1):
            for x in range(cx - rx, cx + rx + 1):
                if ((x - cx) / (rx + 0.5)) ** 2 + ((y - cy) / (ry + 0.5)) ** 2 <= 1.0:
                    self.put(x, y, c)

    def colours(self):
        return {c for row in self.px for c in row}


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------
# Pieces shared by the pictures

def document(cv, x0, y0, x1, y1, fold, bar, lines, shade=GREY, ink=BLACK,
             paper=WHITE, line_colours=(GREY,), shadow=True):
    """A page with a folded top-right corner, a coloured heading bar and
    lines of text. bar is a colour or a function of the x position."""
    if shadow:
        cv.rect(x0 + 2, y1 + 1, x1 + 2, y1 + 2, shade)
        cv.rect(x1 + 1, y0 + 2, x1 + 2, y1 + 2, shade)
    pts = [(x0, y0), (x1 - fold, y0), (x1 + 1, y0 + fold + 1), (x1 + 1, y1 + 1), (x0, y1 + 1)]
    cv.polygon(pts, paper)
    # outline
    cv.hline(x0, x1 - fold, y0, ink)
    cv.vline(x0, y0, y1, ink)
    cv.hline(x0, x1, y1, ink)
    cv.vline(x1, y0 + fold, y1, ink)
    cv.line(x1 - fold, y0, x1, y0 + fold, ink)
    # the fold
    for i in range(1, fold):
        cv.hline(x1 - fold, x1 - fold + i - 1, y0 + i, SILVER if paper == WHITE else shade)
    cv.vline(x1 - fold, y0, y0 + fold, ink)
    cv.hline(x1 - fold, x1, y0 + fold, ink)
    # heading bar and text
    top = y0 + fold + 2
    if bar is not None:
        bx0, bx1 = x0 + 2, x1 - 2
        for x in range(bx0, bx1 + 1):
            c = bar(x - bx0, bx1 - bx0) if callable(bar) else bar
            cv.vline(x, top, top + 1, c)
        top += 4
    y = top
    i = 0
    for length in lines:
        if y > y1 - 2:
            break
        if length:
            c = line_colours[i % len(line_colours)]
            cv.hline(x0 + 3, min(x0 + 3 + length, x1 - 3), y, c)
            i += 1
        y += 2


def bevel(cv, x0, y0, x1, y1, face, light=WHITE, dark=GREY, ink=BLACK):
    """A raised box with a black outline."""
    cv.rect(x0, y0, x1, y1, face)
    cv.frame(x0, y0, x1, y1, ink)
    cv.hline(x0 + 1, x1 - 1, y0 + 1, light)
    cv.vline(x0 + 1, y0 + 1, y1 - 1, light)
    cv.hline(x0 + 1, x1 - 1, y1 - 1, dark)
    cv.vline(x1 - 1, y0 + 1, y1 - 1, dark)


def sparkle(cv, x, y, c, size=2):
    cv.hline(x - size, x + size, y, c)
    cv.vline(x, y - size, y + size, c)
    if size > 1:
        cv.put(x, y, WHITE)


# ---------------------------------------------------------------------------
# The main window's picture: a stack of templates beside a computer

def obrazek_setup():
    cv = Canvas(118, 226, TEAL)

    # A few sparkles in the background.
    for x, y, s in [(12, 10, 2), (104, 22, 1), (96, 104, 2), (10, 128, 1), (108, 150, 1),
                    (16, 206, 2)]:
        sparkle(cv, x, y, CYAN, s)

    # The stack of templates: three pages fanned out.
    document(cv, 14, 12, 70, 88, 9, RED, [40, 30, 44, 36, 0, 42, 28, 40, 34, 0, 44, 20])
    document(cv, 30, 22, 86, 98, 9, DKGREEN, [38, 44, 26, 0, 40, 44, 32, 0, 42, 36, 44, 24])
    # The front page: a letter with a blue heading, a little chart and a seal.
    x0, y0, x1, y1 = 46, 32, 102, 110
    document(cv, x0, y0, x1, y1, 10, BLUE, [44, 36, 0, 42, 30, 40, 0, 44, 38], line_colours=(GREY, BLACK))
    # chart: three bars
    base = 96
    for i, (h, c) in enumerate([(8, RED), (13, YELLOW), (5, GREEN)]):
        bx = x0 + 5 + i * 6
        cv.rect(bx, base - h, bx + 3, base, c)
        cv.frame(bx, base - h, bx + 3, base, BLACK)
    cv.hline(x0 + 3, x0 + 24, base + 1, BLACK)
    # a round stamp
    cv.ellipse(x1 - 12, 98, 6, 6, YELLOW)
    cv.ellipse(x1 - 12, 98, 3, 3, RED)
    # signature
    cv.line(x1 - 30, 104, x1 - 26, 101, BLACK)
    cv.line(x1 - 26, 101, x1 - 23, 105, BLACK)
    cv.line(x1 - 23, 105, x1 - 20, 102, BLACK)

    # An arrow from the templates down to the computer.
    ax = 30
    cv.polygon([(ax - 4, 100), (ax + 5, 100), (ax + 5, 118), (ax + 10, 118), (ax + 1, 128),
                (ax - 9, 118), (ax - 4, 118)], YELLOW)
    for (xa, ya), (xb, yb) in [((ax - 4, 100), (ax + 4, 100)), ((ax - 4, 100), (ax - 4, 118)),
                               ((ax + 4, 100), (ax + 4, 118)), ((ax + 4, 118), (ax + 9, 118)),
                               ((ax - 4, 118), (ax - 9, 118)), ((ax - 9, 118), (ax, 127)),
                               ((ax + 9, 118), (ax + 1, 126))]:
        cv.line(xa, ya, xb, yb, BLACK)
    cv.vline(ax - 3, 101, 118, WHITE)

    # The computer: monitor.
    mx0, my0, mx1, my1 = 16, 132, 100, 190
    cv.rect(mx0 + 3, my0 + 3, mx1 + 3, my1 + 3, BLACK)   # shadow on the teal
    bevel(cv, mx0, my0, mx1, my1, SILVER)
    sx0, sy0, sx1, sy1 = mx0 + 7, my0 + 6, mx1 - 7, my1 - 10
    cv.rect(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, GREY)
    cv.hline(sx0 - 1, sx1 + 1, sy1 + 1, WHITE)
    cv.vline(sx1 + 1, sy0 - 1, sy1 + 1, WHITE)
    cv.rect(sx0, sy0, sx1, sy1, BLACK)
    # on the screen: a window with a title bar and a progress bar
    wx0, wy0, wx1, wy1 = sx0 + 6, sy0 + 5, sx1 - 6, sy1 - 5
    cv.rect(wx0, wy0, wx1, wy1, SILVER)
    cv.frame(wx0, wy0, wx1, wy1, WHITE)
    cv.rect(wx0 + 1, wy0 + 1, wx1 - 1, wy0 + 4, BLUE)
    cv.rect(wx1 - 4, wy0 + 2, wx1 - 2, wy0 + 3, WHITE)
    for i, length in enumerate([40, 30]):
        cv.hline(wx0 + 4, wx0 + 4 + length, wy0 + 8 + 3 * i, GREY)
    cv.rect(wx0 + 4, wy1 - 7, wx1 - 4, wy1 - 3, WHITE)
    cv.frame(wx0 + 4, wy1 - 7, wx1 - 4, wy1 - 3, GREY)
    cv.rect(wx0 + 5, wy1 - 6, wx0 + 5 + (wx1 - wx0 - 10) * 2 // 3, wy1 - 4, BLUE)
    # power light and buttons under the screen
    cv.rect(mx1 - 12, my1 - 6, mx1 - 10, my1 - 4, GREEN)
    cv.hline(mx0 + 8, mx0 + 20, my1 - 5, GREY)
    # stand
    cv.rect(50, my1 + 1, 66, my1 + 4, GREY)
    cv.frame(50, my1 + 1, 66, my1 + 4, BLACK)

    # System unit under the monitor.
    ux0, uy0, ux1, uy1 = 8, 196, 108, 214
    cv.rect(ux0 + 3, uy0 + 3, ux1 + 3, uy1 + 3, BLACK)
    bevel(cv, ux0, uy0, ux1, uy1, SILVER)
    # drive slots
    cv.rect(ux0 + 8, uy0 + 5, ux0 + 36, uy0 + 7, BLACK)
    cv.hline(ux0 + 8, ux0 + 36, uy0 + 8, WHITE)
    cv.rect(ux0 + 8, uy0 + 11, ux0 + 36, uy0 + 12, BLACK)
    cv.hline(ux0 + 8, ux0 + 36, uy0 + 13, WHITE)
    cv.rect(ux0 + 30, uy0 + 9, ux0 + 33, uy0 + 9, GREY)
    # lights
    cv.rect(ux1 - 14, uy0 + 6, ux1 - 12, uy0 + 8, GREEN)
    cv.rect(ux1 - 9, uy0 + 6, ux1 - 7, uy0 + 8, RED)
    # vents
    for x in range(ux0 + 46, ux0 + 78, 3):
        cv.vline(x, uy0 + 5, uy0 + 13, GREY)
        cv.vline(x + 1, uy0 + 5, uy0 + 13, WHITE)

    return cv


# ---------------------------------------------------------------------------
# The progress window's picture: a template with a blue heading

def image1():
    cv = Canvas(32, 32, SILVER)
    dark_blue = (0, 0, 128)
    light_blue = (40, 120, 220)

    def bar(i, n):
        return mix(dark_blue, light_blue, i / max(n, 1))

    document(cv, 6, 2, 24, 28, 5, bar, [12, 9, 0, 13, 11, 13, 7, 0, 12, 10], shade=GREY,
             line_colours=(GREY, (96, 96, 96)))
    # a cyan tab on the page's edge
    cv.rect(3, 9, 5, 13, (0, 160, 200))
    cv.frame(3, 9, 6, 13, BLACK)
    cv.vline(4, 10, 12, CYAN)
    return cv


# ---------------------------------------------------------------------------
# The program icon: two templates and a green arrow into the computer

def icon32(rich):
    cv = Canvas(32, 32, CLEAR)
    if rich:
        def bar(i, n):
            return mix((0, 0, 140), (70, 140, 235), i / max(n, 1))
        shade = (112, 112, 112)
    else:
        bar = NAVY
        shade = GREY
    if rich:
        def back_bar(i, n):
            return mix((150, 0, 0), (240, 80, 60), i / max(n, 1))
    else:
        back_bar = RED
    document(cv, 2, 1, 19, 22, 5, back_bar, [10, 8, 11, 7, 10], shade=shade)
    document(cv, 9, 6, 27, 29, 5, bar, [13, 10, 0, 12, 9, 13, 6], shade=shade)
    # the install arrow, bottom right
    body = [(20, 16), (25, 16), (25, 22), (29, 22), (22, 29), (15, 22), (20, 22)]
    if rich:
        # shaded from light to dark green, top to bottom
        shape = Canvas(32, 32, CLEAR)
        shape.polygon(body, BLACK)
        for y in range(32):
            for x in range(32):
                if shape.get(x, y) is not CLEAR:
                    cv.put(x, y, mix((130, 235, 100), (0, 128, 0), (y - 16) / 13))
    else:
        cv.polygon(body, GREEN)
    for i in range(len(body)):
        (xa, ya), (xb, yb) = body[i], body[(i + 1) % len(body)]
        cv.line(xa, ya, xb, yb, BLACK if not rich else (0, 70, 0))
    return cv


def icon16(rich):
    cv = Canvas(16, 16, CLEAR)
    if rich:
        def bar(i, n):
            return mix((0, 0, 140), (70, 140, 235), i / max(n, 1))
        shade = (112, 112, 112)
    else:
        bar = NAVY
        shade = GREY
    # back page
    cv.rect(1, 0, 9, 10, WHITE)
    cv.frame(1, 0, 9, 10, BLACK)
    cv.hline(2, 8, 2, RED if not rich else (200, 40, 30))
    cv.hline(3, 7, 4, shade)
    # front page with a folded corner
    x0, y0, x1, y1 = 4, 3, 13, 14
    cv.rect(x0 + 1, y1 + 1, x1 + 1, y1 + 1, shade)
    cv.vline(x1 + 1, y0 + 1, y1 + 1, shade)
    cv.polygon([(x0, y0), (x1 - 2, y0), (x1 + 1, y0 + 3), (x1 + 1, y1 + 1), (x0, y1 + 1)], WHITE)
    cv.hline(x0, x1 - 3, y0, BLACK)
    cv.line(x1 - 3, y0, x1, y0 + 3, BLACK)
    cv.vline(x1, y0 + 3, y1, BLACK)
    cv.hline(x0, x1, y1, BLACK)
    cv.vline(x0, y0, y1, BLACK)
    cv.put(x1 - 2, y0 + 1, SILVER)
    cv.hline(x1 - 3, x1 - 1, y0 + 3, BLACK)
    cv.vline(x1 - 3, y0, y0 + 3, BLACK)
    for x in range(x0 + 2, x1 - 1):
        c = bar(x - x0 - 2, x1 - x0 - 4) if callable(bar) else bar
        cv.vline(x, y0 + 5, y0 + 6, c)
    cv.hline(x0 + 2, x1 - 3, y0 + 8, shade)
    # a small green arrow
    pts = [(10, 8), (13, 8), (13, 11), (15, 11), (11, 15), (7, 11), (10, 11)]
    if rich:
        shape = Canvas(16, 16, CLEAR)
        shape.polygon(pts, BLACK)
        for y in range(16):
            for x in range(16):
                if shape.get(x, y) is not CLEAR:
                    cv.put(x, y, mix((130, 235, 100), (0, 128, 0), (y - 8) / 7))
    else:
        cv.polygon(pts, GREEN)
    edge = BLACK if not rich else (0, 70, 0)
    for i in range(len(pts)):
        (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
        cv.line(xa, ya, xb, yb, edge)
    return cv


# ---------------------------------------------------------------------------
# File formats

def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def pack_rows(cv, bpp, index_of):
    """The pixel rows bottom-up, each padded to a multiple of four bytes."""
    out = bytearray()
    stride = row_bytes(cv.width * bpp)
    for y in range(cv.height - 1, -1, -1):
        row = bytearray()
        if bpp == 24:
            for x in range(cv.width):
                r, g, b = cv.get(x, y)
                row += bytes((b, g, r))
        elif bpp == 8:
            row += bytes(index_of(cv.get(x, y)) for x in range(cv.width))
        elif bpp == 4:
            for x in range(0, cv.width, 2):
                hi = index_of(cv.get(x, y))
                lo = index_of(cv.get(x + 1, y)) if x + 1 < cv.width else 0
                row.append((hi << 4) | lo)
        elif bpp == 1:
            for x in range(0, cv.width, 8):
                v = 0
                for k in range(8):
                    if x + k < cv.width and index_of(cv.get(x + k, y)):
                        v |= 0x80 >> k
                row.append(v)
        row += bytes(stride - len(row))
        out += row
    return bytes(out)


def palette_bytes(palette, count):
    out = bytearray()
    for r, g, b in palette:
        out += bytes((b, g, r, 0))
    out += bytes(4 * (count - len(palette)))
    return bytes(out)


def index16(c):
    try:
        return PALETTE16.index(c)
    except ValueError:
        raise SystemExit("colour %r is not in the 16-colour palette" % (c,))


BI_RLE8 = 1
BI_RLE4 = 2


def info_header(width, height, bpp, image_size, colours_used, compression=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, compression, image_size,
                       3780, 3780, colours_used, 0)


def rle_rows(cv, bpp, index_of):
    """The pixel rows bottom-up as BI_RLE8 (bpp 8) or BI_RLE4 (bpp 4): a run
    of one index is a count and the index; three or more pixels that form
    no run go in absolute mode, padded to a 16-bit boundary; each row ends
    with 0 0, and the picture then with 0 1."""
    def packed(indices):
        if bpp == 8:
            return bytes(indices)
        out = bytearray()
        for k in range(0, len(indices), 2):
            lo = indices[k + 1] if k + 1 < len(indices) else 0
            out.append((indices[k] << 4) | lo)
        return bytes(out)

    out = bytearray()
    for y in range(cv.height - 1, -1, -1):
        row = [index_of(cv.get(x, y)) for x in range(cv.width)]
        loose = []   # pixels waiting to be written in absolute mode

        def flush():
            while loose:
                part = loose[:255]
                del loose[:255]
                if len(part) < 3:
                    for i in part:
                        out.extend((1, i if bpp == 8 else (i << 4) | i))
                    continue
                data = packed(part)
                out.extend((0, len(part)))
                out.extend(data)
                if len(data) % 2:
                    out.append(0)

        x = 0
        while x < len(row):
            n = 1
            while x + n < len(row) and n < 255 and row[x + n] == row[x]:
                n += 1
            if n >= 3:
                flush()
                out.extend((n, row[x] if bpp == 8 else (row[x] << 4) | row[x]))
            else:
                loose.extend(row[x:x + n])
            x += n
        flush()
        out.extend((0, 0))
    out.extend((0, 1))
    return bytes(out)


def bmp_file(cv, bpp):
    compression = 0
    if bpp == 4:
        pal = palette_bytes(PALETTE16, 16)
        bits = rle_rows(cv, 4, index16)
        used = 16
        compression = BI_RLE4
    elif bpp == 8:
        palette = sorted(cv.colours())
        if len(palette) > 256:
            raise SystemExit("too many colours for a 256-colour picture: %d" % len(palette))
        pal = palette_bytes(palette, len(palette))
        bits = rle_rows(cv, 8, palette.index)
        used = len(palette)
        compression = BI_RLE8
    else:
        raise ValueError(bpp)
    header = info_header(cv.width, cv.height, bpp, len(bits), used, compression)
    offset = 14 + len(header) + len(pal)
    size = offset + len(bits)
    return struct.pack("<2sIHHI", b"BM", size, 0, 0, offset) + header + pal + bits


def icon_image(cv, bpp):
    """One image of an icon resource: header, palette, colour bits, mask."""
    if bpp == 4:
        palette = PALETTE16
        count = 16
    else:
        palette = sorted(c for c in cv.colours() if c is not CLEAR)
        if BLACK not in palette:
            palette.insert(0, BLACK)
        if len(palette) > 256:
            raise SystemExit("too many colours for a 256-colour icon: %d" % len(palette))
        count = len(palette)

    def index_of(c):
        return palette.index(BLACK if c is CLEAR else c)

    colour = pack_rows(cv, bpp, index_of)
    mask = pack_rows(cv, 1, lambda c: 1 if c is CLEAR else 0)
    header = info_header(cv.width, cv.height * 2, bpp, len(colour) + len(mask), 0 if bpp == 4 else count)
    return header + palette_bytes(palette, count) + colour + mask


def ico_file(images):
    """images: (canvas, bpp) pairs."""
    blobs = [(cv, bpp, icon_image(cv, bpp)) for cv, bpp in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for cv, bpp, blob in blobs:
        out += struct.pack("<BBBBHHII", cv.width % 256, cv.height % 256,
                           16 if bpp == 4 else 0, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        out += blob
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    outputs = {
        "ObrazekSetup.bmp": bmp_file(obrazek_setup(), 4),
        "Image1.bmp": bmp_file(image1(), 8),
        "Setup.ico": ico_file([(icon32(False), 4), (icon16(False), 4),
                               (icon32(True), 8), (icon16(True), 8)]),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
