#!/usr/bin/env python3
"""Draws the artwork of DU_ZID audio Converter and writes the resource files.

    python3 draw_art.py [output folder]

writes title.bmp, patent.bmp, load1.bmp .. load4.bmp, video.ico and autor.cur
next to this script, or into the given folder. Only the standard library is used and the output is the
same, byte for byte, on every run.
"""
import colorsys
import math
import os
import struct
import sys

OUT = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------- colours

def hexc(s):
    return tuple(int(s[i:i + 2], 16) for i in (0, 2, 4))


def mix(c1, c2, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def to8(v):
    return max(0, min(255, int(round(v))))


# ----------------------------------------------------------------- canvas

class Canvas:
    """RGB 0..255 plus alpha 0..1 per pixel, painted with anti-aliased shapes."""

    def __init__(self, w, h, bg=(0, 0, 0), alpha=1.0):
        self.w, self.h = w, h
        self.px = [[[bg[0], bg[1], bg[2], alpha] for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, rgb, a):
        p = self.px[y][x]
        oa = a + p[3] * (1 - a)
        if oa > 0:
            for i in range(3):
                p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / oa
        p[3] = oa

    def cover(self, coverage, box, color, alpha=1.0):
        """Paints colour wherever coverage(x, y) > 0 inside box (x0, y0, x1, y1);
        colour and alpha may be functions of (x, y)."""
        x0, y0, x1, y1 = box
        paint = color if callable(color) else (lambda x, y: color)
        fade = alpha if callable(alpha) else (lambda x, y: alpha)
        for y in range(max(0, int(y0)), min(self.h, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.w, int(x1) + 1)):
                c = coverage(x + 0.5, y + 0.5)
                if c > 0:
                    self.blend(x, y, paint(x + 0.5, y + 0.5), min(c, 1.0) * fade(x + 0.5, y + 0.5))

    def draw(self, shape, color, alpha=1.0, soft=1.0):
        """Fills a signed-distance shape; soft > 1 blurs the edge (shadows)."""
        sdf, (x0, y0, x1, y1) = shape
        pad = soft + 1
        self.cover(lambda x, y: 0.5 - sdf(x, y) / soft,
                   (x0 - pad, y0 - pad, x1 + pad, y1 + pad), color, alpha)

    def rgb(self, x, y):
        return tuple(to8(v) for v in self.px[y][x][:3])


# ------------------------------------------- shapes: (sdf(x, y), bounding box)

def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ellipse(cx, cy, rx, ry):
    k = min(rx, ry)
    return (lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * k,
            (cx - rx, cy - ry, cx + rx, cy + ry))


def ring(cx, cy, r, w):
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2,
            (cx - r - w, cy - r - w, cx + r + w, cy + r + w))


def rect(x0, y0, x1, y1, rad=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - rad, (y1 - y0) / 2 - rad

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - rad
    return f, (x0, y0, x1, y1)


def outline(shape, w):
    sdf, (x0, y0, x1, y1) = shape
    return (lambda x, y: abs(sdf(x, y)) - w / 2), (x0 - w, y0 - w, x1 + w, y1 + w)


def segment(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    l2 = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / l2))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w / 2
    return f, (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w)


def wave(u0, u1, v0, amp, period, phase, w, vertical=False):
    """A sine stroke running along x (or along y when vertical) from u0 to u1."""
    k = 2 * math.pi / period

    def f(x, y):
        u, v = (y, x) if vertical else (x, y)
        s = k * u + phase
        d = abs(v - v0 - amp * math.sin(s)) / math.sqrt(1 + (amp * k * math.cos(s)) ** 2)
        return max(d - w / 2, u0 - u, u - u1)
    m = amp + w
    return f, ((v0 - m, u0, v0 + m, u1) if vertical else (u0, v0 - m, u1, v0 + m))


def rosette(cx, cy, r, lobes, depth):
    def f(x, y):
        a = math.atan2(y - cy, x - cx)
        return math.hypot(x - cx, y - cy) - (r + depth * math.cos(lobes * a))
    return f, (cx - r - depth, cy - r - depth, cx + r + depth, cy + r + depth)


def clip(shape, mask):
    (f, box), g = shape, mask[0]
    return (lambda x, y: max(f(x, y), g(x, y))), box


def rotated(shape, cx, cy, ang):
    """The shape turned by ang radians (clockwise on screen) about (cx, cy)."""
    sdf, (x0, y0, x1, y1) = shape
    c, s = math.cos(ang), math.sin(ang)

    def f(x, y):
        dx, dy = x - cx, y - cy
        return sdf(cx + dx * c + dy * s, cy - dx * s + dy * c)
    pts = [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c)
           for px in (x0, x1) for py in (y0, y1)]
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return f, (min(xs), min(ys), max(xs), max(ys))


# --------------------------------------------------------- tiny 5x7 font

FONT = {
    ' ': '00000 00000 00000 00000 00000 00000 00000',
    '_': '00000 00000 00000 00000 00000 00000 11111',
    'A': '01110 10001 10001 11111 10001 10001 10001',
    'C': '01110 10001 10000 10000 10000 10001 01110',
    'D': '11110 10001 10001 10001 10001 10001 11110',
    'E': '11111 10000 10000 11110 10000 10000 11111',
    'I': '01110 00100 00100 00100 00100 00100 01110',
    'N': '10001 11001 10101 10011 10001 10001 10001',
    'P': '11110 10001 10001 11110 10000 10000 10000',
    'T': '11111 00100 00100 00100 00100 00100 00100',
    'U': '10001 10001 10001 10001 10001 10001 01110',
    'Z': '11111 00001 00010 00100 01000 10000 11111',
    'a': '00000 00000 01110 00001 01111 10001 01111',
    'd': '00001 00001 01101 10011 10001 10001 01111',
    'e': '00000 00000 01110 10001 11111 10000 01110',
    'i': '00100 00000 01100 00100 00100 00100 01110',
    'n': '00000 00000 10110 11001 10001 10001 10001',
    'o': '00000 00000 01110 10001 10001 10001 01110',
    'r': '00000 00000 10110 11001 10000 10000 10000',
    't': '01000 01000 11100 01000 01000 01001 00110',
    'u': '00000 00000 10001 10001 10001 10011 01101',
    'v': '00000 00000 10001 10001 10001 01010 00100',
}


def text_width(s, scale):
    return (6 * len(s) - 1) * scale


def text(cv, s, x, y, scale, color, alpha=1.0, rot=None):
    """Block-letter text, 4x4 supersampled; rot=(cx, cy, ang) turns it."""
    ss = [(i + 0.5) / 4 - 0.5 for i in range(4)]
    for n, ch in enumerate(s):
        rows = FONT[ch].split()
        gx = x + 6 * scale * n

        def inside(px, py, gx=gx, rows=rows):
            if rot:
                cx, cy, a = rot
                dx, dy = px - cx, py - cy
                px, py = (cx + dx * math.cos(a) + dy * math.sin(a),
                          cy - dx * math.sin(a) + dy * math.cos(a))
            c, r = int((px - gx) // scale), int((py - y) // scale)
            return 0 <= r < 7 and 0 <= c < 5 and rows[r][c] == '1'

        box = (gx, y, gx + 5 * scale, y + 7 * scale)
        if rot:
            box = rotated(rect(*box), *rot)[1]
        cv.cover(lambda px, py, inside=inside:
                 sum(inside(px + u, py + v) for u in ss for v in ss) / 16.0,
                 box, color, alpha)


# ---------------------------------------------------------------- writers

def info_header(w, h, bits, image_size, colours=0, compression=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)


def rle8_row(row):
    """One row of 8-bit pixels run-length encoded (BI_RLE8): runs of a repeated
    index as (count, index), other stretches of 3 or more in absolute mode,
    padded to a word; the row's end code is left to the caller."""
    out, i, n = bytearray(), 0, len(row)
    while i < n:
        j = i
        while j < n and j - i < 255 and row[j] == row[i]:
            j += 1
        if j - i >= 2:
            out += bytes((j - i, row[i]))
            i = j
            continue
        j = i
        while j < n and j - i < 255 and not (j + 1 < n and row[j] == row[j + 1]):
            j += 1
        if j - i < 3:
            for b in row[i:j]:
                out += bytes((1, b))
        else:
            out += bytes((0, j - i)) + row[i:j] + (b'\0' if (j - i) % 2 else b'')
        i = j
    return bytes(out)


def write_bmp(name, w, h, bits, rows, palette=b'', rle=False):
    """rows: top-down list of packed pixel rows; stored bottom-up, 4-byte aligned,
    or for rle (8 bits) run-length encoded: the same pixels in about half the bytes."""
    if rle:
        coded = [rle8_row(r) for r in reversed(rows)]
        data = b'\0\0'.join(coded) + b'\0\1'
    else:
        stride = (w * bits + 31) // 32 * 4
        data = b''.join(r.ljust(stride, b'\0') for r in reversed(rows))
    offset = 14 + 40 + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    colours = len(palette) // 4 if bits <= 8 else 0
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(head + info_header(w, h, bits, len(data), colours, 1 if rle else 0) + palette + data)


def save_bmp24(name, cv):
    rows = [bytes(v for x in range(cv.w) for v in reversed(cv.rgb(x, y)))
            for y in range(cv.h)]
    write_bmp(name, cv.w, cv.h, 24, rows)


def median_cut(hist, n):
    """Splits the colour histogram into at most n boxes; returns colour->index and palette."""
    def cost(box):
        total = sum(c for _, c in box)
        best = (0.0, 0)
        for ax in range(3):
            mean = sum(col[ax] * c for col, c in box) / total
            best = max(best, (sum(c * (col[ax] - mean) ** 2 for col, c in box), ax))
        return best
    boxes = [sorted(hist.items())]
    costs = [cost(boxes[0])]
    while len(boxes) < n:
        i = max(range(len(boxes)), key=lambda j: (costs[j][0], -j))
        if costs[i][0] <= 0:
            break
        ax = costs[i][1]
        box = sorted(boxes[i], key=lambda e: (e[0][ax], e[0]))
        half, run, cut = sum(c for _, c in box) / 2, 0, 1
        for k, (_, c) in enumerate(box[:-1]):
            run += c
            cut = k + 1
            if run >= half:
                break
        boxes[i:i + 1] = [box[:cut], box[cut:]]
        costs[i:i + 1] = [cost(box[:cut]), cost(box[cut:])]
    index, palette = {}, []
    for i, box in enumerate(boxes):
        total = sum(c for _, c in box)
        palette.append(tuple(to8(sum(col[ax] * c for col, c in box) / total) for ax in range(3)))
        for col, _ in box:
            index[col] = i
    return index, palette


def save_bmp8(name, cv):
    pixels = [[cv.rgb(x, y) for x in range(cv.w)] for y in range(cv.h)]
    hist = {}
    for row in pixels:
        for p in row:
            hist[p] = hist.get(p, 0) + 1
    index, palette = median_cut(hist, 256)
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette).ljust(1024, b'\0')
    write_bmp(name, cv.w, cv.h, 8, [bytes(index[p] for p in row) for row in pixels], pal, rle=True)


def mask_row(bits):
    """Packs 0/1 values MSB first into a row padded to 4 bytes."""
    out = bytearray((len(bits) + 31) // 32 * 4)
    for i, b in enumerate(bits):
        if b:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def write_icon_file(name, kind, w, h, image, colours, field1, field2):
    """One-image .ico (kind 1) or .cur (kind 2); for cursors field1/2 are the hotspot."""
    head = struct.pack('<HHH', 0, kind, 1)
    entry = struct.pack('<BBBBHHII', w, h, colours, 0, field1, field2, len(image), 6 + 16)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(head + entry + image)


def save_ico32(name, cv):
    xor, andm = b'', b''
    for y in reversed(range(cv.h)):
        row = []
        for x in range(cv.w):
            a = to8(cv.px[y][x][3] * 255)
            r, g, b = cv.rgb(x, y) if a else (0, 0, 0)
            row += [b, g, r, a]
        xor += bytes(row)
        andm += mask_row([cv.px[y][x][3] * 255 < 0.5 for x in range(cv.w)])
    image = info_header(cv.w, cv.h * 2, 32, len(xor) + len(andm)) + xor + andm
    write_icon_file(name, 1, cv.w, cv.h, image, 0, 1, 32)


def save_cur1(name, art, hotspot):
    """art: rows of ' ' (transparent), '#' (black) and 'o' (white), 32x32."""
    art = [r.ljust(32) for r in art] + [' ' * 32] * (32 - len(art))
    xor = b''.join(mask_row([c == 'o' for c in r]) for r in reversed(art))
    andm = b''.join(mask_row([c == ' ' for c in r]) for r in reversed(art))
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info_header(32, 64, 1, len(xor) + len(andm), 2) + palette + xor + andm
    write_icon_file(name, 2, 32, 32, image, 2, *hotspot)


# ---------------------------------------------------------------- artwork

def draw_title():
    w, h = 640, 154
    cv = Canvas(w, h)
    cv.draw(rect(0, 0, w, h), lambda x, y: mix(mix(hexc('10233d'), hexc('1c6480'), x / w),
                                              hexc('08131f'), (y / h) ** 2 * 0.7))
    for i, (amp, period, a) in enumerate([(9, 260, .10), (14, 340, .07), (6, 180, .08),
                                          (11, 420, .06)]):
        cv.draw(wave(0, w, 112 + 7 * i, amp, period, i * 1.7, 1.4), (255, 255, 255), a)
    cv.draw(rect(0, 0, w, 70), (255, 255, 255), lambda x, y: 0.07 * (1 - y / 70))
    cv.draw(rect(0, h - 3, w, h), lambda x, y: mix(hexc('ff9d3a'), hexc('1c6480'), x / w))

    # maker's mark: a sound wave held in a ring
    cx, cy, r = 82, 77, 56
    cv.draw(circle(cx + 3, cy + 5, r), (0, 0, 0), 0.5, soft=9)
    cv.draw(circle(cx, cy, r), lambda x, y: mix((250, 250, 250), (150, 165, 180), (y - cy + r) / (2 * r)))
    cv.draw(circle(cx, cy, r - 6), lambda x, y: mix(hexc('ffc260'), hexc('d8401c'),
                                                  math.hypot(x - cx + 20, y - cy + 25) / 85))
    levels = [0.22, 0.45, 0.75, 0.5, 1.0, 0.5, 0.75, 0.45, 0.22]
    for i, lv in enumerate(levels):
        x, half = cx + (i - 4) * 9.5, 5 + 27 * lv
        cv.draw(segment(x + 1.5, cy - half + 2, x + 1.5, cy + half + 2, 5.5), (120, 30, 0), 0.35)
        cv.draw(segment(x, cy - half, x, cy + half, 5.5), (255, 255, 255))
    cv.draw(clip(ellipse(cx, cy - 30, 44, 26), circle(cx, cy, r - 7)), (255, 255, 255), 0.16)

    # product name
    x = 172
    text(cv, 'DU_ZID', x + 3, 30, 7, (0, 0, 0), 0.4)
    text(cv, 'DU_ZID', x, 27, 7, lambda px, py: mix((255, 255, 255), hexc('b9d4ea'), (py - 27) / 49))
    text(cv, 'audio Converter', x + 2, 94, 4, (0, 0, 0), 0.4)
    text(cv, 'audio Converter', x, 92, 4, hexc('ffc27a'))
    cv.draw(segment(x, 84, x + text_width('audio Converter', 4), 84, 1.5),
            lambda px, py: mix(hexc('ffc27a'), hexc('1c6480'), (px - x) / 360), 0.8)
    return cv


def draw_certificate(cv, cx, cy, w, h, ang, ink):
    """One certificate sheet centred at (cx, cy), turned by ang."""
    def put(shape, color, alpha=1.0, soft=1.0):
        cv.draw(rotated(shape, cx, cy, ang), color, alpha, soft)
    x0, y0, x1, y1 = cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2
    put(rect(x0 + 3, y0 + 4, x1 + 3, y1 + 4, 2), (40, 40, 60), 0.45, soft=5)
    def paper(x, y):
        return mix(hexc('fffbea'), hexc('f0e3bd'), math.hypot(x - cx, y - cy) / h * 1.6)
    put(rect(x0, y0, x1, y1, 1.5), paper)
    # guilloche border between two ruled frames, rosettes in the corners
    put(outline(rect(x0 + 4, y0 + 4, x1 - 4, y1 - 4), 1.2), ink)
    put(outline(rect(x0 + 11, y0 + 11, x1 - 11, y1 - 11), 0.8), ink)
    for ph in (0, math.pi):
        for v in (y0 + 7.5, y1 - 7.5):
            put(wave(x0 + 8, x1 - 8, v, 2.2, 6, ph, 0.7), ink, 0.75)
        for u in (x0 + 7.5, x1 - 7.5):
            put(wave(y0 + 8, y1 - 8, u, 2.2, 6, ph, 0.7, vertical=True), ink, 0.75)
    for px in (x0 + 7.5, x1 - 7.5):
        for py in (y0 + 7.5, y1 - 7.5):
            put(rosette(px, py, 4, 6, 1.2), ink)
            put(circle(px, py, 1.6), hexc('e8c55a'))
    # heading and lines of text
    s = 2 if w > 100 else 1.5
    tw = text_width('PATENT', s)
    text(cv, 'PATENT', cx - tw / 2, y0 + 17, s, ink, rot=(cx, cy, ang))
    put(segment(cx - tw / 2 - 4, y0 + 35, cx + tw / 2 + 4, y0 + 35, 0.8), ink)
    put(segment(cx - 22, y0 + 40, cx + 22, y0 + 40, 1.6), (120, 110, 95), 0.7)
    lengths = [1, 1, 1, .7, 0, 1, 1, .85, 1, .5, 0, 1, 1, .9, .6]
    y = y0 + 50
    for ln in lengths:
        if y > y1 - 52:
            break
        if ln:
            put(segment(x0 + 19, y, x0 + 19 + (w - 38) * ln, y, 1.0), (95, 85, 75), 0.55)
        y += 6
    # seal with ribbons, signature
    sx, sy = x0 + 32, y1 - 34
    for tilt in (0.3, -0.3):
        put(rotated(rect(sx - 3.5, sy, sx + 3.5, sy + 26), sx, sy, tilt), hexc('b3242c'))
        tx, ty = sx - 26 * math.sin(tilt), sy + 26 * math.cos(tilt)
        put(rotated(rect(tx - 2.6, ty - 2.6, tx + 2.6, ty + 2.6), tx, ty, tilt + math.pi / 4), paper)
    put(rosette(sx, sy, 14, 18, 1.5), lambda x, y: mix(hexc('ffe38a'), hexc('b8860b'),
                                                      (y - sy + 15) / 30))
    put(ring(sx, sy, 9.5, 1), hexc('8a6508'))
    put(rosette(sx, sy, 5, 5, 2), hexc('b3242c'))
    put(segment(x1 - 56, y1 - 24, x1 - 18, y1 - 24, 0.8), (95, 85, 75))
    put(wave(x1 - 54, x1 - 22, y1 - 30, 3, 9, 0, 1.1), hexc('1d2f6b'))


def draw_patent():
    cv = Canvas(244, 212)
    cv.draw(rect(0, 0, 244, 212), lambda x, y: mix(hexc('eef2f6'), hexc('c7d0da'), y / 212))
    draw_certificate(cv, 78, 100, 112, 158, -0.16, hexc('5a2d62'))
    draw_certificate(cv, 168, 100, 112, 158, 0.13, hexc('2a5a3c'))
    draw_certificate(cv, 122, 110, 124, 176, 0.0, hexc('1f4e6e'))
    return cv


def draw_disc(turn):
    cv = Canvas(100, 100, hexc('d8d8d8'))
    cx = cy = 50
    big, hub, hole = 45, 15, 7

    def surface(x, y):
        r = math.hypot(x - cx, y - cy) / big
        a = math.atan2(y - cy, x - cx) - turn
        sheen = 0.5 + 0.5 * math.cos(2 * a)
        base = 158 + 70 * sheen ** 3 - 18 * r
        col = (base - 4, base, base + 8)
        bow = max(0.0, math.cos(2 * (a - 0.45))) ** 6
        rainbow = [255 * v for v in colorsys.hsv_to_rgb((0.1 + 1.3 * r) % 1.0, 0.7, 1.0)]
        col = mix(col, rainbow, 0.75 * bow)
        return mix(col, (255, 255, 255), 0.85 * max(0.0, math.cos(2 * (a + 0.2))) ** 60)
    cv.draw(circle(cx + 2, cy + 3, big), (0, 0, 0), 0.4, soft=5)
    cv.draw(circle(cx, cy, big), surface)
    cv.draw(ring(cx, cy, big - 0.6, 1.2), (110, 110, 120), 0.7)
    cv.draw(ring(cx, cy, hub + 2.5, 1), (120, 120, 130), 0.35)
    cv.draw(circle(cx, cy, hub), hexc('e4eaf0'), 0.9)
    cv.draw(ring(cx, cy, 11, 1.2), (150, 155, 165), 0.5)
    cv.draw(circle(cx, cy, hole), hexc('d8d8d8'))
    cv.draw(ring(cx, cy, hole, 1), (90, 90, 100), 0.6)
    return cv


def draw_video_icon():
    cv = Canvas(32, 32, alpha=0.0)
    cv.draw(rect(2, 4, 30, 28, 2), hexc('2c2d33'))
    for i in range(6):
        for y in (5.5, 24.5):
            cv.draw(rect(4.5 + i * 4.2, y, 6.5 + i * 4.2, y + 2, 0.4), hexc('e6e6e6'))
    cv.draw(rect(4, 9, 28, 23, 1), lambda x, y: mix(hexc('2f6fd0'), hexc('7fd6f8'), (y - 9) / 14))
    note = (255, 214, 64)
    for hx, hy in ((11.5, 20), (21, 18.5)):
        cv.draw(rotated(ellipse(hx, hy, 3, 2.2), hx, hy, -0.45), note)
        cv.draw(segment(hx + 2.4, hy - 0.5, hx + 2.4, hy - 8.5, 1.4), note)
    cv.draw(segment(13.9, 11.5, 23.4, 10, 2.4), note)
    cv.draw(outline(rect(2, 4, 30, 28, 2), 1), (0, 0, 0), 0.6)
    return cv


HAND = [
    "        ##",
    "       #oo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#####",
    "      #oooo#oooo#####",
    "      #oooo#oooo#oooo#",
    "      #oooo#oooo#oooo####",
    " ###  #oooo#oooo#oooo#ooo#",
    "#ooo# #oooo#oooo#oooo#ooo#",
    "#oooo##oooo#oooo#oooo#ooo#",
    " #oooo#oooooooooooooooooo#",
    " #ooooooooooooooooooooooo#",
    "  #oooooooooooooooooooooo#",
    "  #oooooooooooooooooooooo#",
    "   #ooooooooooooooooooooo#",
    "   #oooooooooooooooooooo#",
    "    #ooooooooooooooooooo#",
    "     #ooooooooooooooooo#",
    "      #ooooooooooooooo#",
    "      #################",
    "      #ooooooooooooooo#",
    "      #################",
]
HOTSPOT = (8, 0)   # the fingertip


def main():
    global OUT
    if len(sys.argv) > 1:
        OUT = sys.argv[1]
    save_bmp24('title.bmp', draw_title())
    save_bmp8('patent.bmp', draw_patent())
    for n in range(4):
        save_bmp24('load%d.bmp' % (n + 1), draw_disc(n * math.pi / 4))
    save_ico32('video.ico', draw_video_icon())
    save_cur1('autor.cur', HAND, HOTSPOT)


if __name__ == '__main__':
    main()
