#!/usr/bin/env python3
"""Draws Tallyvane's two images and writes them where the resource script expects them:
res/tallyvane.ico (32 x 32, 16 colours: a calendar page with a tally of five) and
res/book.bmp (135 x 198, 24 bits: an upright closed book). Deterministic: running it
again gives the same bytes. Usage: tools/art/make_images.py [output-folder]"""

import math
import os
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, SILVER, NAVY, RED, WHITE, BLUE = 0, 1, 8, 7, 4, 9, 15, 12


def draw_icon():
    """Returns 32 rows of 32 palette indices (None for transparent), top row first."""
    size = 32
    px = [[None] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    fill(4, 5, 28, 29, BLACK)       # page outline
    fill(5, 6, 27, 28, WHITE)       # page
    fill(5, 6, 27, 11, RED)         # the calendar's header band
    fill(5, 11, 27, 11, DARK_RED)
    fill(6, 29, 29, 30, GREY)       # shadow below and right
    fill(29, 7, 30, 30, GREY)
    for ring_x in (10, 21):         # binding rings over the header
        fill(ring_x, 3, ring_x + 1, 8, BLACK)
        fill(ring_x, 3, ring_x + 1, 3, SILVER)
    for stroke_x in (9, 13, 17, 21):  # four tally strokes
        fill(stroke_x, 15, stroke_x + 1, 26, NAVY)
    for i in range(17):             # the fifth stroke across them
        x, y = 7 + i, 25 - (i * 9) // 16
        fill(x, y, min(x + 1, 27), y + 1, BLUE)
    return px


def write_icon(path, px):
    size = len(px)
    header = struct.pack('<3H', 0, 1, 1)
    xor_stride = size // 2                      # 4 bits a pixel, rows already 4-byte aligned
    and_stride = ((size + 31) // 32) * 4
    image_size = 40 + 16 * 4 + xor_stride * size + and_stride * size
    entry = struct.pack('<4B2H2I', size, size, 16, 0, 1, 4, image_size, 6 + 16)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                       xor_stride * size + and_stride * size, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<4B', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(px):                    # bottom-up, as DIBs are stored
        colours = [c if c is not None else 0 for c in row]
        xor_rows.append(bytes((colours[i] << 4) | colours[i + 1] for i in range(0, size, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        and_rows.append(bits.to_bytes(size // 8, 'big').ljust(and_stride, b'\0'))
    with open(path, 'wb') as out:
        out.write(header + entry + info + palette + b''.join(xor_rows) + b''.join(and_rows))


def draw_book(width=135, height=198):
    """Returns rows of (r, g, b), top row first."""
    face = (192, 192, 192)
    px = [[face] * width for _ in range(height)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(height - 1, y1) + 1):
            for x in range(max(0, x0), min(width - 1, x1) + 1):
                px[y][x] = colour

    left, top, right, bottom = 8, 6, 118, 186
    # The page block seen at the fore-edge and the foot, drawn behind the cover.
    for i in range(1, 9):
        shade = (250, 244, 226) if i % 2 else (228, 220, 198)
        fill(right + i - 1, top + i, right + i, bottom + i, shade)
        fill(left + 10 + i, bottom + i - 1, right + i, bottom + i, shade)
    fill(right + 8, top + 8, right + 9, bottom + 9, (90, 80, 64))
    fill(left + 18, bottom + 9, right + 9, bottom + 10, (90, 80, 64))

    cover, dark, light = (26, 84, 58), (16, 56, 38), (48, 118, 84)
    gold, gold_dark = (214, 174, 72), (150, 112, 36)
    fill(left, top, right, bottom, cover)
    fill(left, top, left + 13, bottom, dark)          # the spine's hinge
    fill(left + 14, top, left + 14, bottom, light)
    fill(left, top, right, top, light)                # light from the top left
    fill(left, top, left, bottom, light)
    fill(right, top, right, bottom, (12, 40, 28))
    fill(left, bottom, right, bottom, (12, 40, 28))
    for y in (top + 20, bottom - 20):                 # gilt bands across the spine
        fill(left + 2, y, left + 11, y + 2, gold)

    # Gilt frame on the cover, a title plate and a rising sun.
    fill(left + 22, top + 10, right - 8, top + 11, gold)
    fill(left + 22, bottom - 11, right - 8, bottom - 10, gold)
    fill(left + 22, top + 10, left + 23, bottom - 10, gold)
    fill(right - 9, top + 10, right - 8, bottom - 10, gold)
    fill(left + 34, top + 26, right - 20, top + 48, gold_dark)
    fill(left + 36, top + 28, right - 22, top + 46, gold)
    for y, inset in ((top + 33, 6), (top + 40, 14)):  # the title's lines of lettering
        fill(left + 36 + inset, y, right - 22 - inset, y + 2, gold_dark)
    cx, cy, radius = (left + 22 + right - 8) // 2, top + 118, 22
    for y in range(cy - radius - 16, cy + 1):
        for x in range(cx - radius - 16, cx + radius + 17):
            d = math.hypot(x - cx, y - cy)
            angle = math.degrees(math.atan2(cy - y, x - cx))
            if d <= radius:
                px[y][x] = gold
            elif d <= radius + 14 and d > radius + 4 and round(angle) % 30 < 8:
                px[y][x] = gold
    fill(cx - radius - 18, cy + 1, cx + radius + 18, cy + 2, gold)   # the horizon
    return px


def write_bmp(path, px):
    height, width = len(px), len(px[0])
    stride = (width * 3 + 3) & ~3
    pixels = b''.join(
        b''.join(struct.pack('<3B', b, g, r) for r, g, b in row).ljust(stride, b'\0')
        for row in reversed(px))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    with open(path, 'wb') as out:
        out.write(header + info + pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'res')
    write_icon(os.path.join(folder, 'tallyvane.ico'), draw_icon())
    write_bmp(os.path.join(folder, 'book.bmp'), draw_book())


if __name__ == '__main__':
    main()
