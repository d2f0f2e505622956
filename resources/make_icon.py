#!/usr/bin/env python3
"""Draws the program's icon, a window with a green resize arrow, as
ambrisk2.ico: 16 x 16 and 32 x 32 pixels, 256 colours. Run it again after a
change to the drawing; the build uses the committed .ico."""
import struct
import sys

TRANSPARENT, OUTLINE, TITLE, BODY, ARROW = range(5)
PALETTE = [(0, 0, 0), (40, 40, 56), (0, 84, 166), (255, 255, 255), (9, 106, 0)]


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def draw(size):
    """Colour indices, top row first, drawn on a 32-unit grid scaled to size."""
    scale = size / 32.0
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            ux, uy = (x + 0.5) / scale, (y + 0.5) / scale  # pixel centre in units
            colour = TRANSPARENT
            if 1 <= ux <= 31 and 3 <= uy <= 29:
                edge = ux < 1 + 1 / scale or ux > 31 - 1 / scale or uy < 3 + 1 / scale or uy > 29 - 1 / scale
                colour = OUTLINE if edge else TITLE if uy < 10 else BODY
            shaft = distance_to_segment(ux, uy, 9, 25, 24, 13) <= 1.6
            heads = inside_triangle(ux, uy, (5, 28), (6, 19), (14, 27)) or \
                inside_triangle(ux, uy, (28, 10), (19, 11), (26, 18))
            if colour == BODY and (shaft or heads):
                colour = ARROW
            row.append(colour)
        pixels.append(row)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in
                       PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)))
    colour_rows = b''.join(bytes(row) for row in reversed(pixels))  # rows of 16, 32: already 4-aligned
    mask_stride = ((size + 31) // 32) * 4
    mask_rows = b''
    for row in reversed(pixels):
        bits = 0
        for x, colour in enumerate(row):
            if colour == TRANSPARENT:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        mask_rows += bits.to_bytes(mask_stride, 'big')
    return header + palette + colour_rows + mask_rows


def icon(sizes):
    images = [image(size) for size in sizes]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b''
    for size, data in zip(sizes, images):
        entries += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return directory + entries + b''.join(images)


if __name__ == '__main__':
    target = sys.argv[1] if len(sys.argv) > 1 else 'ambrisk2.ico'
    with open(target, 'wb') as out:
        out.write(icon([16, 32]))
