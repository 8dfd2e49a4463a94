#!/usr/bin/env python3
"""Draws every picture the two programs carry and writes them next to this script.

Run it from anywhere: `python3 resources/draw.py`. Output is deterministic: the BMP, GIF and
ICO files are written byte by byte here; the JPEG goes through ImageMagick's `convert`
(libjpeg), which is deterministic for a given library version.

Only the Python standard library is used.
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

BLACK = (0, 0, 0)
GREEN = (0, 255, 0)

# ---------------------------------------------------------------------------------------------
# Pixel font: 5 rows wide at most, 7 rows high, '#' is ink. Narrow glyphs keep "1-Default"
# inside the narrowest preview (92 pixels) with room to spare.
# ---------------------------------------------------------------------------------------------

FONT = {
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "-": ["....", "....", "....", "####", "....", "....", "...."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##", ".#..", "###.", ".#..", ".#..", ".#..", ".#.."],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "t": [".#..", ".#..", "###.", ".#..", ".#..", ".#.#", "..#."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
}
FONT_HEIGHT = 7
LETTER_SPACING = 1


def text_width(text, scale=1):
    widths = [len(FONT[ch][0]) for ch in text]
    return (sum(widths) + LETTER_SPACING * (len(text) - 1)) * scale


def text_pixels(text, left, top, scale=1):
    """Yields the (x, y) of every ink pixel of `text` with its top-left corner at left, top."""
    x = left
    for ch in text:
        glyph = FONT[ch]
        for row, line in enumerate(glyph):
            for col, cell in enumerate(line):
                if cell == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            yield x + col * scale + dx, top + row * scale + dy
        x += (len(glyph[0]) + LETTER_SPACING) * scale


# ---------------------------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------------------------


def bmp24_bytes(width, height, pixel):
    """A 24-bit bottom-up BMP file with a BITMAPINFOHEADER; pixel(x, y) gives (r, g, b)."""
    row_size = (width * 3 + 3) & ~3
    image_size = row_size * height
    file_header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 0, 0, 0, 0)
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    return file_header + info_header + b"".join(rows)


def lzw_gif_codes(indices, min_code_size):
    """LZW-compresses palette indices the way GIF decoders expect; returns the packed bytes."""
    clear_code = 1 << min_code_size
    end_code = clear_code + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes((i,)): i for i in range(clear_code)}

    table = fresh_table()
    next_code = end_code + 1
    code_size = min_code_size + 1
    emit(clear_code, code_size)
    prefix = b""
    for index in indices:
        extended = prefix + bytes((index,))
        if extended in table:
            prefix = extended
            continue
        emit(table[prefix], code_size)
        # The decoder widens its codes once the next free code no longer fits.
        if next_code >= (1 << code_size) and code_size < 12:
            code_size += 1
        if next_code >= 4095:
            emit(clear_code, code_size)
            table = fresh_table()
            next_code = end_code + 1
            code_size = min_code_size + 1
        else:
            table[extended] = next_code
            next_code += 1
        prefix = bytes((index,))
    if prefix:
        emit(table[prefix], code_size)
        if next_code >= (1 << code_size) and code_size < 12:
            code_size += 1
    emit(end_code, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif89a_bytes(width, height, palette, indices):
    """One-image GIF89a with a 256-entry global colour table and no extensions."""
    assert len(palette) == 256 and len(indices) == width * height
    packed = 0x80 | (7 << 4) | 7  # global table present, 8-bit colour resolution, 2^(7+1) entries
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, packed, 0, 0)
    for r, g, b in palette:
        data += bytes((r, g, b))
    data += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = 8
    data.append(min_code_size)
    compressed = lzw_gif_codes(indices, min_code_size)
    for start in range(0, len(compressed), 255):
        block = compressed[start : start + 255]
        data.append(len(block))
        data += block
    data.append(0)
    data.append(0x3B)
    return bytes(data)


# The 16 colours every Windows display has; a 4-bit icon refers to them by index.
STANDARD_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # fmt: skip


def ico_bytes(images):
    """An ICO file of 4-bit images; each image is (size, rows) with rows of palette indices,
    None standing for a transparent pixel."""
    entries = bytearray()
    bodies = bytearray()
    offset = 6 + 16 * len(images)
    for size, rows in images:
        xor_row = (size * 4 + 31) // 32 * 4
        and_row = (size + 31) // 32 * 4
        image_size = (xor_row + and_row) * size
        body = bytearray(struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, image_size, 0, 0, 0, 0))
        for r, g, b in STANDARD_16:
            body += bytes((b, g, r, 0))
        for y in range(size - 1, -1, -1):
            row = bytearray(xor_row)
            for x, index in enumerate(rows[y]):
                value = 0 if index is None else index
                row[x // 2] |= value << (4 if x % 2 == 0 else 0)
            body += row
        for y in range(size - 1, -1, -1):
            row = bytearray(and_row)
            for x, index in enumerate(rows[y]):
                if index is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            body += row
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
        bodies += body
    return struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(bodies)


def write(path, data):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------
# One-bit drawing for the previews: a set of green pixels on black.
# ---------------------------------------------------------------------------------------------


class Ink:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.on = set()

    def dot(self, x, y):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.width and 0 <= y < self.height:
            self.on.add((x, y))

    def block(self, x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y)

    def line(self, x0, y0, x1, y1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r):
        x, y, err = r, 0, 1 - r
        while x >= y:
            for px, py in ((x, y), (y, x), (-y, x), (-x, y), (-x, -y), (-y, -x), (y, -x), (x, -y)):
                self.dot(cx + px, cy + py)
            y += 1
            if err < 0:
                err += 2 * y + 1
            else:
                x -= 1
                err += 2 * (y - x) + 1

    def disc(self, cx, cy, r):
        for y in range(-r, r + 1):
            for x in range(-r, r + 1):
                if x * x + y * y <= r * r + r:
                    self.dot(cx + x, cy + y)

    def arms(self, cx, cy, inner, outer, directions="lrud", thickness=1):
        """Straight arms of a cross from `inner` to `outer` pixels away from the centre."""
        half = thickness // 2
        for d in directions:
            for t in range(inner, outer + 1):
                for w in range(-half, thickness - half):
                    if d == "l":
                        self.dot(cx - t, cy + w)
                    elif d == "r":
                        self.dot(cx + t, cy + w)
                    elif d == "u":
                        self.dot(cx + w, cy - t)
                    else:
                        self.dot(cx + w, cy + t)

    def text(self, text, left, top):
        for x, y in text_pixels(text, left, top):
            self.dot(x, y)


# Crosshair shapes, each drawn around the centre (cx, cy) within 13 pixels of it.


def cr_cross_with_gap(ink, cx, cy):
    ink.arms(cx, cy, 4, 13)


def cr_plain_cross(ink, cx, cy):
    ink.arms(cx, cy, 0, 13)


def cr_dot(ink, cx, cy):
    ink.disc(cx, cy, 2)


def cr_circle(ink, cx, cy):
    ink.circle(cx, cy, 10)


def cr_circle_dot(ink, cx, cy):
    ink.circle(cx, cy, 10)
    ink.block(cx - 1, cy - 1, cx + 1, cy + 1)


def cr_circle_cross(ink, cx, cy):
    ink.circle(cx, cy, 9)
    ink.arms(cx, cy, 0, 13)


def cr_x(ink, cx, cy):
    for s in (-1, 1):
        ink.line(cx - 10, cy - 10 * s, cx + 10, cy + 10 * s)


def cr_chevron(ink, cx, cy):
    for dy in (0, 1):
        ink.line(cx - 11, cy + 7 + dy, cx, cy - 4 + dy)
        ink.line(cx, cy - 4 + dy, cx + 11, cy + 7 + dy)


def cr_t(ink, cx, cy):
    ink.arms(cx, cy, 3, 13, "lrd")
    ink.dot(cx, cy)


def cr_brackets(ink, cx, cy):
    for side in (-1, 1):
        x = cx + 11 * side
        ink.line(x, cy - 8, x, cy + 8)
        ink.line(x, cy - 8, x - 3 * side, cy - 8)
        ink.line(x, cy + 8, x - 3 * side, cy + 8)
    ink.block(cx - 1, cy - 1, cx + 1, cy + 1)


def cr_square(ink, cx, cy):
    r = 9
    ink.line(cx - r, cy - r, cx + r, cy - r)
    ink.line(cx - r, cy + r, cx + r, cy + r)
    ink.line(cx - r, cy - r, cx - r, cy + r)
    ink.line(cx + r, cy - r, cx + r, cy + r)
    ink.dot(cx, cy)


def cr_diamond(ink, cx, cy):
    r = 11
    ink.line(cx, cy - r, cx + r, cy)
    ink.line(cx + r, cy, cx, cy + r)
    ink.line(cx, cy + r, cx - r, cy)
    ink.line(cx - r, cy, cx, cy - r)
    ink.dot(cx, cy)


def cr_triangle(ink, cx, cy):
    top, bottom, half = cy - 10, cy + 8, 11
    ink.line(cx, top, cx + half, bottom)
    ink.line(cx + half, bottom, cx - half, bottom)
    ink.line(cx - half, bottom, cx, top)


def cr_bold_cross(ink, cx, cy):
    ink.arms(cx, cy, 4, 12, thickness=3)


def cr_ranging_cross(ink, cx, cy):
    ink.arms(cx, cy, 0, 13)
    for t in (4, 8, 12):
        ink.line(cx - t, cy - 1, cx - t, cy + 1)
        ink.line(cx + t, cy - 1, cx + t, cy + 1)
        ink.line(cx - 1, cy - t, cx + 1, cy - t)
        ink.line(cx - 1, cy + t, cx + 1, cy + t)


def cr_double_ring(ink, cx, cy):
    ink.circle(cx, cy, 5)
    ink.circle(cx, cy, 11)


def cr_circle_x(ink, cx, cy):
    ink.circle(cx, cy, 11)
    for s in (-1, 1):
        ink.line(cx - 7, cy - 7 * s, cx + 7, cy + 7 * s)


def cr_corners(ink, cx, cy):
    r, leg = 10, 4
    for sx in (-1, 1):
        for sy in (-1, 1):
            ink.line(cx + r * sx, cy + r * sy, cx + (r - leg) * sx, cy + r * sy)
            ink.line(cx + r * sx, cy + r * sy, cx + r * sx, cy + (r - leg) * sy)
    ink.dot(cx, cy)


def cr_dotted_ring(ink, cx, cy):
    for k in range(12):
        angle = 2 * math.pi * k / 12
        x = cx + round(10 * math.cos(angle))
        y = cy + round(10 * math.sin(angle))
        ink.block(x, y, x + 1, y + 1)
    ink.block(cx, cy, cx + 1, cy + 1)


def cr_ring_and_arms(ink, cx, cy):
    ink.circle(cx, cy, 3)
    ink.arms(cx, cy, 7, 13)


CROSSHAIRS = [
    cr_cross_with_gap, cr_plain_cross, cr_dot, cr_circle, cr_circle_dot,
    cr_circle_cross, cr_x, cr_chevron, cr_t, cr_brackets,
    cr_square, cr_diamond, cr_triangle, cr_bold_cross, cr_ranging_cross,
    cr_double_ring, cr_circle_x, cr_corners, cr_dotted_ring, cr_ring_and_arms,
]  # fmt: skip

CROSSHAIR_SIZES = [
    (92, 34), (93, 35), (94, 37), (94, 31), (93, 30), (94, 35), (94, 33), (94, 34), (94, 35), (94, 35),
    (94, 35), (94, 35), (94, 35), (94, 35), (94, 36), (94, 36), (94, 36), (94, 40), (94, 40), (94, 40),
]  # fmt: skip


# Reticles: a thumbnail shows only 33 columns, so these stay left of column 31.


def rt_gunsight(ink, cx, cy):
    ink.circle(cx, cy, 12)
    ink.arms(cx, cy, 4, 12, "lrd")
    ink.block(cx - 1, cy - 1, cx + 1, cy + 1)


def rt_stadia(ink, cx, cy):
    ink.line(cx - 6, cy + 3, cx, cy - 3)
    ink.line(cx, cy - 3, cx + 6, cy + 3)
    for step, half in ((1, 9), (2, 6), (3, 3)):
        y = cy + 2 + 3 * step
        ink.line(cx - half, y, cx + half, y)
    ink.line(cx, cy - 12, cx, cy - 7)


def rt_post(ink, cx, cy):
    ink.block(cx - 1, cy + 2, cx + 1, cy + 13)
    ink.dot(cx, cy + 1)
    ink.block(cx - 13, cy - 1, cx - 5, cy + 1)
    ink.block(cx + 5, cy - 1, cx + 13, cy + 1)


RETICLES = [rt_gunsight, rt_stadia, rt_post]
RETICLE_SIZES = [(98, 38), (99, 34), (99, 33)]

SHAPE_CENTRE_X = {"crosshair": 19, "reticle": 16}
LETTERING_LEFT = 40


def preview_bmp(kind, number, size, draw):
    width, height = size
    ink = Ink(width, height)
    cy = height // 2
    draw(ink, SHAPE_CENTRE_X[kind], cy)
    label = "1-Default" if number == 1 else str(number)
    ink.text(label, LETTERING_LEFT, (height - FONT_HEIGHT) // 2)
    return bmp24_bytes(width, height, lambda x, y: GREEN if (x, y) in ink.on else BLACK)


# ---------------------------------------------------------------------------------------------
# Smooth drawing for the full-colour pictures: shapes are tested at 4 x 4 points per pixel and
# blended by coverage.
# ---------------------------------------------------------------------------------------------

SUBSAMPLES = 4


class Canvas:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.px = [[background for _ in range(width)] for _ in range(height)]

    def fill(self, inside, colour, box=None):
        """Paints `colour` wherever inside(x, y) holds; colour may be a function of (x, y)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1)) + 1), min(self.height, int(math.ceil(y1)) + 1)
        n = SUBSAMPLES
        offsets = [(i + 0.5) / n for i in range(n)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(1 for oy in offsets for ox in offsets if inside(x + ox, y + oy))
                if not hits:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                a = hits / (n * n)
                old = self.px[y][x]
                self.px[y][x] = tuple(round(o + (v - o) * a) for o, v in zip(old, c))

    def ellipse(self, cx, cy, rx, ry, colour):
        inside = lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
        self.fill(inside, colour, (cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1))

    def ring(self, cx, cy, r_outer, r_inner, colour):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            return r_inner**2 <= d <= r_outer**2

        self.fill(inside, colour, (cx - r_outer - 1, cy - r_outer - 1, cx + r_outer + 1, cy + r_outer + 1))

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(lambda x, y: point_in_polygon(points, x, y), colour, (min(xs), min(ys), max(xs), max(ys)))

    def stroke(self, x0, y0, x1, y1, width, colour):
        half = width / 2

        def inside(x, y):
            return distance_to_segment(x, y, x0, y0, x1, y1) <= half

        self.fill(inside, colour, (min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half))

    def pixel(self, x, y):
        return self.px[y][x]


def point_in_polygon(points, x, y):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def distance_to_segment(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0 if length2 == 0 else max(0, min(1, ((px - x0) * dx + (py - y0) * dy) / length2))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ---------------------------------------------------------------------------------------------
# The About window's portrait: a cartoon soldier, head and shoulders.
# ---------------------------------------------------------------------------------------------


def portrait_canvas():
    c = Canvas(60, 60, (0, 0, 0))
    c.fill(lambda x, y: True, lambda x, y: mix((24, 60, 36), (6, 16, 10), y / 60))
    # Shoulders and tunic with an open collar.
    c.ellipse(30, 66, 28, 20, (74, 86, 52))
    c.polygon([(23, 46), (30, 56), (37, 46)], (196, 160, 128))
    c.stroke(23, 46, 30, 56, 2, (52, 62, 36))
    c.stroke(37, 46, 30, 56, 2, (52, 62, 36))
    # Neck, ears and face.
    c.polygon([(25, 36), (35, 36), (36, 48), (24, 48)], (206, 164, 130))
    c.ellipse(18, 30, 3, 4, (222, 178, 142))
    c.ellipse(42, 30, 3, 4, (222, 178, 142))
    c.ellipse(30, 30, 12, 14, (236, 192, 154))
    # Helmet: a dome with a brim.
    c.fill(
        lambda x, y: ((x - 30) / 16) ** 2 + ((y - 23) / 15) ** 2 <= 1 and y <= 23,
        lambda x, y: mix((110, 126, 74), (70, 84, 44), (x - 14) / 32),
        (13, 7, 47, 24),
    )
    c.polygon([(11, 22), (49, 22), (47, 26), (13, 26)], (60, 72, 38))
    c.stroke(22, 12, 27, 10, 1.5, (150, 166, 110))
    # Eyes, brows, nose and a smile.
    for ex in (25, 35):
        c.ellipse(ex, 31, 2.2, 2.4, (255, 255, 255))
        c.ellipse(ex + 0.4, 31.3, 1.2, 1.4, (30, 40, 30))
        c.stroke(ex - 2.5, 27.6, ex + 2.5, 27.9, 1.2, (90, 60, 40))
    c.stroke(30, 32, 29, 36, 1.2, (196, 140, 110))
    c.fill(
        lambda x, y: 1.5 <= math.hypot(x - 30, (y - 35.5) * 1.2) <= 2.6 * 2 and y >= 38.5,
        (150, 60, 60),
        (24, 37, 36, 43),
    )
    return c


def portrait_jpeg():
    c = portrait_canvas()
    ppm = b"P6 60 60 255\n" + b"".join(bytes(c.pixel(x, y)) for y in range(60) for x in range(60))
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else shutil.which("convert")
    if not convert:
        sys.exit("draw.py: ImageMagick's convert is needed for the JPEG")
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "portrait.ppm")
        dst = os.path.join(tmp, "portrait.jpg")
        with open(src, "wb") as f:
            f.write(ppm)
        subprocess.run(
            [convert, src, "-strip", "-sampling-factor", "2x2,1x1,1x1", "-quality", "92",
             "-density", "72", "-units", "PixelsPerInch", "-interlace", "none", "jpg:" + dst],
            check=True,
        )  # fmt: skip
        with open(dst, "rb") as f:
            data = f.read()
    return force_jfif_101(data)


def force_jfif_101(jpeg):
    """Makes sure the APP0 segment right after SOI says JFIF 1.01, 72 x 72 dots per inch."""
    if jpeg[:4] != b"\xff\xd8\xff\xe0" or jpeg[6:11] != b"JFIF\x00":
        sys.exit("draw.py: convert wrote no JFIF header")
    data = bytearray(jpeg)
    data[11:18] = bytes((1, 1, 1)) + struct.pack(">HH", 72, 72)
    return bytes(data)


# ---------------------------------------------------------------------------------------------
# The About window's emblem: a shield with a chevron, in greens. Palette entry i is (0, i, 0),
# so a pixel's index is its green level.
# ---------------------------------------------------------------------------------------------


def shield_points(scale, cx=32.0, top=4.0):
    pts = [(-24, 0), (24, 0), (24, 22)]
    # Lower half narrows to a point along a curve.
    for k in range(1, 12):
        t = k / 12
        pts.append((24 * math.cos(t * math.pi / 2), 22 + 34 * math.sin(t * math.pi / 2)))
    pts.append((0, 56))
    for k in range(11, 0, -1):
        t = k / 12
        pts.append((-24 * math.cos(t * math.pi / 2), 22 + 34 * math.sin(t * math.pi / 2)))
    pts.append((-24, 22))
    return [(cx + x * scale, top + y * scale) for x, y in pts]


def emblem_canvas():
    c = Canvas(64, 64, (0, 0, 0))
    c.polygon(shield_points(1.0), (0, 230, 0))
    c.polygon(shield_points(0.86, top=7.5), lambda x, y: (0, round(70 - y * 0.7), 0))
    # A "V" chevron and three stars above it.
    c.polygon([(17, 20), (24, 20), (32, 42), (40, 20), (47, 20), (35, 51), (29, 51)], (0, 255, 0))
    for sx in (22, 32, 42):
        star = []
        for k in range(10):
            r = 3.6 if k % 2 == 0 else 1.5
            a = -math.pi / 2 + k * math.pi / 5
            star.append((sx + r * math.cos(a), 13.5 + r * math.sin(a)))
        c.polygon(star, (0, 200, 0))
    return c


def emblem_gif():
    c = emblem_canvas()
    palette = [(0, i, 0) for i in range(256)]
    indices = [c.pixel(x, y)[1] for y in range(64) for x in range(64)]
    return gif89a_bytes(64, 64, palette, indices)


# ---------------------------------------------------------------------------------------------
# The tray window's picture: a fighter in a roundel above the mod's name.
# ---------------------------------------------------------------------------------------------


def tray_canvas():
    w, h = 125, 116
    c = Canvas(w, h, (0, 0, 0))
    cx, cy = 62.5, 50.0
    c.fill(lambda x, y: True, lambda x, y: mix((0, 34, 8), (0, 0, 0), math.hypot(x - cx, y - cy) / 62))
    c.ring(cx, cy, 43, 39, lambda x, y: mix((40, 255, 60), (0, 120, 20), (y - cy + 43) / 86))
    c.ring(cx, cy, 37, 36, (0, 110, 20))
    c.ellipse(cx, cy, 35.5, 35.5, lambda x, y: mix((0, 60, 16), (0, 18, 6), math.hypot(x - cx, y - cy + 12) / 44))

    def plane(dx, dy, colour):
        # Top view, nose up: elliptical wings and tailplane on a slim fuselage.
        c.ellipse(cx + dx, cy - 2 + dy, 31, 7.5, colour)
        c.ellipse(cx + dx, cy + 21 + dy, 11, 3.8, colour)
        c.ellipse(cx + dx, cy + dy, 4.4, 27, colour)
        c.ellipse(cx + dx, cy + 25 + dy, 1.4, 6, colour)

    plane(2, 3, (0, 8, 2))  # shadow
    plane(0, 0, lambda x, y: mix((190, 255, 170), (40, 190, 40), (y - cy + 27) / 54))
    c.ellipse(cx, cy - 8, 1.8, 4.5, (0, 60, 30))  # canopy
    c.stroke(cx - 9, cy - 27.5, cx + 9, cy - 27.5, 1.6, (200, 255, 200))  # propeller
    c.ellipse(cx, cy - 27.5, 1.6, 1.6, (0, 90, 20))

    name = "Vorlane"
    scale = 2
    left = (w - text_width(name, scale)) // 2
    top = 97
    ink = set(text_pixels(name, left, top, scale))
    for x, y in ink:
        if (x + 1, y + 1) not in ink and y + 1 < h and x + 1 < w:
            c.px[y + 1][x + 1] = (0, 50, 10)
    for x, y in ink:
        c.px[y][x] = mix((120, 255, 120), (0, 190, 30), (y - top) / 14)
    return c


def tray_bmp():
    c = tray_canvas()
    return bmp24_bytes(c.width, c.height, c.pixel)


# ---------------------------------------------------------------------------------------------
# The window icon: a magic wand with sparkles, drawn as art in the 16 standard colours.
# ---------------------------------------------------------------------------------------------

ICON_COLOURS = {".": None, "k": 0, "w": 15, "y": 11, "o": 3, "s": 7, "g": 8, "m": 13, "c": 14}

ICON_32 = [
    "................................",
    "......................y.........",
    "......................y.........",
    "..........c..........yyy........",
    ".........ccc.....yyyyywyyyyy....",
    "..........c..........yyy........",
    "......................y.........",
    ".................m....y.........",
    "................mwm.......c.....",
    ".................m.......ccc....",
    ".....................kk...c.....",
    "....................kwwk........",
    "...................kwwwk....y...",
    "..................kkwwk....yyy..",
    ".................skkkk......y...",
    "................skkk............",
    "...............skkk.....m.......",
    "..............skkk.....mwm......",
    ".............skkk.......m.......",
    "............skkk................",
    "...........skkk.................",
    "..........skkk........y.........",
    ".........skkk........ywy........",
    "........skkk..........y.........",
    ".......skkk.....................",
    "......skkk......................",
    ".....skkk.......................",
    "....skkk........................",
    "...skkk.........................",
    "...kkk..........................",
    "....k...........................",
    "................................",
]

ICON_16 = [
    "................",
    "............y...",
    "....c.......y...",
    "...ccc....yywyy.",
    "....c.......y...",
    "............y...",
    "........ww......",
    ".......ww.....m.",
    "......sk.....mwm",
    ".....sk.......m.",
    "....sk..........",
    "...sk.......y...",
    "..sk.......ywy..",
    ".sk.........y...",
    "kk..............",
    "................",
]


def icon_rows(art):
    return [[ICON_COLOURS[ch] for ch in line] for line in art]


def app_ico():
    for art, size in ((ICON_32, 32), (ICON_16, 16)):
        assert len(art) == size and all(len(line) == size for line in art), size
    return ico_bytes([(32, icon_rows(ICON_32)), (16, icon_rows(ICON_16))])


# ---------------------------------------------------------------------------------------------


def main():
    for n, (draw, size) in enumerate(zip(CROSSHAIRS, CROSSHAIR_SIZES), start=1):
        write(f"crosshairs/cr{n}.bmp", preview_bmp("crosshair", n, size, draw))
    for n, (draw, size) in enumerate(zip(RETICLES, RETICLE_SIZES), start=1):
        write(f"reticles/rt{n}.bmp", preview_bmp("reticle", n, size, draw))
    write("about/portrait.jpg", portrait_jpeg())
    write("about/emblem.gif", emblem_gif())
    write("vorlane/tray.bmp", tray_bmp())
    write("app.ico", app_ico())


if __name__ == "__main__":
    main()
