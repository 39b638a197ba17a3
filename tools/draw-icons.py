#!/usr/bin/env python3
"""Draws Kuvella's tray icons: a whole heart (active) and a broken one (paused).

Usage: draw-icons.py [--png DIR] OUTDIR

Writes OUTDIR/kuvella.ico and OUTDIR/paused.ico, each with a 32x32 and a
16x16 image in 16 colours. With --png, also writes enlarged previews to DIR.
Everything is computed here, so the output is the same on every run.
"""

import math
import os
import struct
import sys
import zlib

# Standard 16-colour VGA palette, as (r, g, b).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GREY, WHITE = 0, 7, 8, 15
CLEAR = None  # transparent pixel

# The heart is two overlapping discs over a kite whose sides are tangent to
# them, meeting in a point below. Units: disc centres at x = +-A, y = 0, y up.
A, R, TIP = 0.50, 0.555, 1.40


def _tangent(cx):
    """Where the line from the tip touches the disc centred at (cx, 0)."""
    px, py = 0.0, -TIP
    vx, vy = px - cx, py
    dist = math.hypot(vx, vy)
    ang = math.acos(R / dist) * (1 if cx > 0 else -1)
    ux, uy = vx / dist, vy / dist
    c, s = math.cos(ang), math.sin(ang)
    return cx + R * (ux * c - uy * s), R * (ux * s + uy * c)


_TR = _tangent(A)
_TL = _tangent(-A)
KITE = [(0.0, -TIP), _TR, (A, 0.0), (-A, 0.0), _TL]
HX = A + R          # half the width
HY0, HY1 = -TIP, R  # bottom and top


def _seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    ex, ey = ax + dx * t - px, ay + dy * t - py
    return (ex * ex + ey * ey) ** 0.5


def _kite_sd(x, y):
    inside = True
    best = 1e9
    n = len(KITE)
    for i in range(n):
        ax, ay = KITE[i]
        bx, by = KITE[(i + 1) % n]
        # Counter-clockwise: inside is to the left of every edge.
        if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
            inside = False
        best = min(best, _seg_dist(x, y, ax, ay, bx, by))
    return -best if inside else best


def heart(x, y):
    """Signed distance to the heart's edge, negative inside."""
    dl = ((x + A) ** 2 + y * y) ** 0.5 - R
    dr = ((x - A) ** 2 + y * y) ** 0.5 - R
    return min(dl, dr, _kite_sd(x, y))


class Layout:
    """Where the heart sits in a square image of the given size."""

    def __init__(self, size):
        self.size = size
        if size == 32:
            # 30 px wide, centred on the line between columns 15 and 16, so
            # shifting the halves one pixel apart still fits in 32 columns.
            self.left, self.width = 1.0, 30.0
            self.gap = (-1, 1)
            self.rim = (2.2, 5.2)
        else:
            self.left, self.width = 1.0, 14.0
            self.gap = (0, 1)
            self.rim = (1.4, 3.0)
        self.scale = self.width / (2 * HX)
        self.height = (HY1 - HY0) * self.scale
        self.top = (size - self.height) / 2

    def to_heart(self, px, py):
        """Image coordinates (y down) to heart coordinates (y up)."""
        x = (px - self.left) / self.scale - HX
        y = HY1 - (py - self.top) / self.scale
        return x, y

    def crack_x(self, py):
        """Image x of the zig-zag crack at image row py (continuous)."""
        # (row, offset from the middle) from the top notch down to the point;
        # mostly 45-degree runs, which stay clean lines when rasterised.
        if self.size == 32:
            pts = [(5.5, 0), (9.5, -4), (16.5, 3), (21.5, -2), (23.5, 0)]
        else:
            pts = [(2.5, 0), (5.5, -2), (9.5, 1), (11.5, 0)]
        mid = self.left + self.width / 2
        if py <= pts[0][0]:
            return mid + pts[0][1]
        for (y0, x0), (y1, x1) in zip(pts, pts[1:]):
            if py <= y1:
                return mid + x0 + (x1 - x0) * (py - y0) / (y1 - y0)
        return mid + pts[-1][1]


def coverage_mask(lay, samples=8):
    """Pixels at least half covered by the heart."""
    n = lay.size
    mask = [[False] * n for _ in range(n)]
    for py in range(n):
        for px in range(n):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    fx = px + (sx + 0.5) / samples
                    fy = py + (sy + 0.5) / samples
                    if heart(*lay.to_heart(fx, fy)) <= 0:
                        hits += 1
            mask[py][px] = hits * 2 >= samples * samples
    return mask


def rim_distance(lay, px, py):
    """How far, in pixels, the heart's edge lies toward the lower right."""
    step = 0.1
    d = 0.0
    fx, fy = px + 0.5, py + 0.5
    while d < 64:
        d += step
        if heart(*lay.to_heart(fx + d * 0.7071, fy + d * 0.7071)) > 0:
            return d
    return d


def shade(lay, px, py):
    d = rim_distance(lay, px, py)
    near, far = lay.rim
    if d < near:
        return GREY
    if d < far:
        return SILVER
    return WHITE


def paint(lay, mask, dx=0):
    """Colours of one heart piece: a black edge round a shaded body."""
    n = lay.size
    img = [[CLEAR] * n for _ in range(n)]
    for py in range(n):
        for px in range(n):
            if not mask[py][px]:
                continue
            tx = px + dx
            if not 0 <= tx < n:
                raise SystemExit("heart piece does not fit in %dpx" % n)
            edge = False
            for qx, qy in ((px - 1, py), (px + 1, py), (px, py - 1), (px, py + 1)):
                if not (0 <= qx < n and 0 <= qy < n) or not mask[qy][qx]:
                    edge = True
            img[py][tx] = BLACK if edge else shade(lay, px, py)
    # Drop the inner corner pixel of each stair step, so the outline is a
    # clean one-pixel line; such a pixel touches no body pixel, so the body
    # stays closed in.
    def at(x, y):
        return img[y][x] if 0 <= x < n and 0 <= y < n else CLEAR
    for y in range(n):
        for x in range(n):
            if img[y][x] != BLACK:
                continue
            sides = [at(x - 1, y), at(x + 1, y), at(x, y - 1), at(x, y + 1)]
            if any(c not in (BLACK, CLEAR) for c in sides):
                continue
            h = (sides[0] == BLACK) + (sides[1] == BLACK)
            v = (sides[2] == BLACK) + (sides[3] == BLACK)
            if h == 1 and v == 1:
                img[y][x] = CLEAR
    return img


def whole_heart(size):
    lay = Layout(size)
    return paint(lay, coverage_mask(lay))


def broken_heart(size):
    lay = Layout(size)
    whole = coverage_mask(lay)
    # Split by pixel centres, so each row breaks at one clean column.
    left = [[m and px + 0.5 < lay.crack_x(py + 0.5) for px, m in enumerate(row)]
            for py, row in enumerate(whole)]
    right = [[m and not l for m, l in zip(mr, lr)] for mr, lr in zip(whole, left)]
    a = paint(lay, left, lay.gap[0])
    b = paint(lay, right, lay.gap[1])
    img = a
    for py in range(size):
        for px in range(size):
            if b[py][px] is not CLEAR:
                img[py][px] = b[py][px]
    return img


def dib(img):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colours, 1-bit mask."""
    n = len(img)
    xor_stride = ((n * 4 + 31) // 32) * 4
    and_stride = ((n + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            idx = BLACK if c is CLEAR else c
            if x % 2 == 0:
                line[x // 2] |= idx << 4
            else:
                line[x // 2] |= idx
            if c is CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + pal + bytes(xor) + bytes(mask)


def ico(images):
    blobs = [dib(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for img, blob in zip(images, blobs):
        n = len(img)
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def png(path, rows):
    """Writes RGB rows [(r, g, b), ...] as a PNG file."""
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def preview(path, images, zoom=10):
    """Images side by side, enlarged, on a checkerboard so clear pixels show;
    each is also shown at actual size, on light and on dark ground."""
    pad = 8
    width = sum(len(i) * zoom + pad for i in images) + pad
    small = sum(len(i) + pad for i in images) + pad
    width = max(width, small * 2)
    height = pad + max(len(i) for i in images) * zoom + pad + 32 + pad
    canvas = [[(96, 96, 96)] * width for _ in range(height)]
    x0 = pad
    for img in images:
        n = len(img)
        for y in range(n * zoom):
            for x in range(n * zoom):
                c = img[y // zoom][x // zoom]
                if c is CLEAR:
                    light = ((x // 5) + (y // 5)) % 2
                    rgb = (220, 220, 220) if light else (180, 200, 230)
                else:
                    rgb = PALETTE[c]
                canvas[pad + y][x0 + x] = rgb
        x0 += n * zoom + pad
    y0 = pad + max(len(i) for i in images) * zoom + pad
    x0 = pad
    for ground in ((0, 78, 152), (236, 233, 216)):
        for img in images:
            n = len(img)
            for y in range(n):
                for x in range(n):
                    c = img[y][x]
                    canvas[y0 + y][x0 + x] = ground if c is CLEAR else PALETTE[c]
            x0 += n + pad
    png(path, canvas)


def main(argv):
    pngdir = None
    args = []
    it = iter(argv)
    for a in it:
        if a == "--png":
            pngdir = next(it, None)
            if pngdir is None:
                raise SystemExit("--png needs a folder")
        else:
            args.append(a)
    if len(args) != 1:
        raise SystemExit("usage: draw-icons.py [--png DIR] OUTDIR")
    outdir = args[0]
    os.makedirs(outdir, exist_ok=True)
    icons = {
        "kuvella": [whole_heart(32), whole_heart(16)],
        "paused": [broken_heart(32), broken_heart(16)],
    }
    for name, images in icons.items():
        with open(os.path.join(outdir, name + ".ico"), "wb") as f:
            f.write(ico(images))
        if pngdir:
            os.makedirs(pngdir, exist_ok=True)
            preview(os.path.join(pngdir, name + ".png"), images)


if __name__ == "__main__":
    main(sys.argv[1:])
