#!/usr/bin/env python3
"""Checks the artwork files: formats, sizes, icon/cursor layout, and that they
are exactly what draw_art.py draws today (run it twice; both runs must match).

    python3 check_art.py          exit status 0 when everything holds
"""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ART = ['title.bmp', 'patent.bmp', 'load1.bmp', 'load2.bmp', 'load3.bmp', 'load4.bmp',
       'video.ico', 'autor.cur']
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


def read(name, folder=HERE):
    with open(os.path.join(folder, name), 'rb') as f:
        return f.read()


def info(data, at):
    return struct.unpack_from('<IiiHHIIiiII', data, at)


def rle8_rows(data, w, h):
    """Decodes BI_RLE8 data into bottom-up rows of w indexes; None when malformed."""
    rows, row, i = [], [], 0
    while i + 1 < len(data):
        count, value = data[i], data[i + 1]
        i += 2
        if count:
            row += [value] * count
        elif value == 0 or value == 1:
            rows.append(row)
            row = []
            if value == 1:
                break
        elif value >= 3:
            row += list(data[i:i + value])
            i += value + value % 2
        else:
            return None
    ok = len(rows) == h and all(len(r) == w for r in rows) and i == len(data)
    return rows if ok else None


def bmp_pixels(name, w, h, bits, rle=False):
    """Checks a BMP's headers and returns its pixels as top-down rows of (r, g, b)."""
    d = read(name)
    magic, size, _, _, off = struct.unpack_from('<2sIHHI', d, 0)
    size_hdr, bw, bh, planes, bpp, comp, img, _, _, used, _ = info(d, 14)
    stride = (w * bits + 31) // 32 * 4
    pal_len = 256 if bits == 8 else 0
    ok = check((magic, size, size_hdr, bw, bh, planes, bpp, comp) ==
               (b'BM', len(d), 40, w, h, 1, bits, 1 if rle else 0), name + ': header')
    ok &= check((rle or img == stride * h) and off == 54 + 4 * pal_len and off + img == len(d),
                name + ': data size/offset')
    if bits == 8:
        ok &= check(used == 256, name + ': 256 palette entries')
    coded = rle8_rows(d[off:], w, h) if rle else None
    if rle:
        ok &= check(coded is not None, name + ': run-length encoding')
    if not ok:
        return None
    pal = [tuple(d[54 + 4 * i:57 + 4 * i][::-1]) for i in range(pal_len)]
    rows = []
    for y in range(h):
        if rle:
            rows.append([pal[i] for i in coded[h - 1 - y]])
            continue
        row = d[off + (h - 1 - y) * stride:]
        rows.append([pal[row[x]] if bits == 8 else tuple(row[3 * x:3 * x + 3][::-1])
                     for x in range(w)])
    return rows


def colours(rows):
    return len({p for row in rows for p in row})


def check_bitmaps():
    title = bmp_pixels('title.bmp', 640, 154, 24)
    if title:
        check(colours(title) > 500, 'title.bmp: a drawn picture, not a flat fill')
    patent = bmp_pixels('patent.bmp', 244, 212, 8, rle=True)
    if patent:
        check(colours(patent) > 100, 'patent.bmp: palette actually used')
    frames = [bmp_pixels('load%d.bmp' % n, 100, 100, 24) for n in range(1, 5)]
    if None in frames:
        return
    # Each frame is the one before turned by 45 degrees (the disc's sheen repeats
    # every half turn, so four frames close the loop).
    def at(f, r, a):
        return f[int(50 + r * math.sin(a))][int(50 + r * math.cos(a))]

    def diff(f, g, shift):
        total = 0
        for r in range(20, 42, 3):
            for k in range(72):
                a = k * math.pi / 36
                total += sum(abs(p - q) for p, q in zip(at(f, r, a), at(g, r, a - shift)))
        return total / (8 * 72 * 3)
    for n in range(4):
        nxt, cur = frames[(n + 1) % 4], frames[n]
        turned, still = diff(nxt, cur, math.pi / 4), diff(nxt, cur, 0)
        check(turned < 6 and still > 4 * turned,
              'load%d -> load%d: turned by 45 degrees (diff %.1f vs %.1f)' %
              (n + 1, (n + 1) % 4 + 1, turned, still))


def mask_bit(d, at, x):
    return d[at + x // 8] >> (7 - x % 8) & 1


def check_icon():
    d = read('video.ico')
    reserved, kind, count = struct.unpack_from('<HHH', d, 0)
    w, h, ncol, res, planes, bits, size, off = struct.unpack_from('<BBBBHHII', d, 6)
    if not check((reserved, kind, count, w, h, ncol, planes, bits, off, off + size) ==
                 (0, 1, 1, 32, 32, 0, 1, 32, 22, len(d)), 'video.ico: directory'):
        return
    check(info(d, off)[:6] == (40, 32, 64, 1, 32, 0), 'video.ico: bitmap header')
    xor, andm = off + 40, off + 40 + 32 * 32 * 4
    check(andm + 32 * 4 == len(d), 'video.ico: image size')
    clear = 0
    for y in range(32):
        for x in range(32):
            alpha = d[xor + 4 * (32 * y + x) + 3]
            clear += alpha == 0
            check(mask_bit(d, andm + 4 * y, x) == (alpha == 0),
                  'video.ico: AND mask at %d,%d matches alpha' % (x, y))
    check(50 < clear < 500, 'video.ico: has both a shape and a clear margin')


def check_cursor():
    d = read('autor.cur')
    reserved, kind, count = struct.unpack_from('<HHH', d, 0)
    w, h, ncol, res, hx, hy, size, off = struct.unpack_from('<BBBBHHII', d, 6)
    if not check((reserved, kind, count, w, h, off, off + size) == (0, 2, 1, 32, 32, 22, len(d)),
                 'autor.cur: directory'):
        return
    check(info(d, off)[:6] == (40, 32, 64, 1, 1, 0), 'autor.cur: bitmap header')
    check(d[off + 40:off + 48] == bytes((0, 0, 0, 0, 255, 255, 255, 0)),
          'autor.cur: black/white palette')
    xor, andm = off + 48, off + 48 + 32 * 4
    check(andm + 32 * 4 == len(d), 'autor.cur: image size')
    # rows are stored bottom-up; px(x, y) uses screen rows
    def px(x, y):
        row = 31 - y
        return mask_bit(d, andm + 4 * row, x), mask_bit(d, xor + 4 * row, x)
    kinds = {px(x, y) for y in range(32) for x in range(32)}
    check(kinds == {(1, 0), (0, 0), (0, 1)}, 'autor.cur: clear, black and white only')
    top = min(y for y in range(32) for x in range(32) if px(x, y)[0] == 0)
    check(hy == top and px(hx, hy)[0] == 0, 'autor.cur: hotspot on the fingertip')


def check_fresh():
    """The files match a fresh drawing, and drawing twice gives the same bytes."""
    with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
        for out in (a, b):
            subprocess.run([sys.executable, os.path.join(HERE, 'draw_art.py'), out], check=True)
        for name in ART:
            check(read(name, a) == read(name, b), name + ': drawing is repeatable')
            check(read(name, a) == read(name), name + ': up to date with draw_art.py')


def check_script():
    rc = read('resources.rc').decode()
    named = re.findall(r'"([^"]+)"', rc)
    check(sorted(named) == sorted(ART + ['app.manifest']), 'resources.rc names every file')
    for name in named:
        check(os.path.exists(os.path.join(HERE, name)), 'resources.rc: %s exists' % name)


if __name__ == '__main__':
    check_bitmaps()
    check_icon()
    check_cursor()
    check_fresh()
    check_script()
    for f in failures:
        print('FAIL', f)
    print('%d problem(s)' % len(failures) if failures else 'artwork OK')
    sys.exit(1 if failures else 0)
