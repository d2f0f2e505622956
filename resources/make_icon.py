#!/usr/bin/env python3
"""Draws the program's icon, a window with a green resize arrow: as
ambrisk2.ico (16 x 16 and 32 x 32 pixels, 256 colours) for Windows, and with
--linux DIR as the PNGs and the SVG that the Linux edition installs
(ambrisk2-<n>.png, smoothed, and ambrisk2.svg). Run it again after a change to
the drawing; the builds use the committed files."""
import os
import struct
import sys
import zlib

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


def colour_at(ux, uy, outline):
    """The colour index at a point of the 32-unit grid; outline is the frame's width in units."""
    colour = TRANSPARENT
    if 1 <= ux <= 31 and 3 <= uy <= 29:
        edge = ux < 1 + outline or ux > 31 - outline or uy < 3 + outline or uy > 29 - outline
        colour = OUTLINE if edge else TITLE if uy < 10 else BODY
    shaft = distance_to_segment(ux, uy, 9, 25, 24, 13) <= 1.6
    heads = inside_triangle(ux, uy, (5, 28), (6, 19), (14, 27)) or \
        inside_triangle(ux, uy, (28, 10), (19, 11), (26, 18))
    if colour == BODY and (shaft or heads):
        colour = ARROW
    return colour


def outline_width(size):
    """One pixel, and no thinner than half a unit on large icons."""
    return max(32.0 / size, 0.5)


def draw(size):
    """Colour indices, top row first, drawn on a 32-unit grid scaled to size."""
    scale = size / 32.0
    return [[colour_at((x + 0.5) / scale, (y + 0.5) / scale, outline_width(size)) for x in range(size)]
            for y in range(size)]


def draw_smooth(size, samples=4):
    """RGBA rows, top row first: each pixel the mean of samples x samples points."""
    scale = size / 32.0
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            red = green = blue = alpha = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = colour_at((x + (sx + 0.5) / samples) / scale, (y + (sy + 0.5) / samples) / scale,
                                       outline_width(size))
                    if colour != TRANSPARENT:
                        r, g, b = PALETTE[colour]
                        red, green, blue, alpha = red + r, green + g, blue + b, alpha + 1
            count = samples * samples
            row += bytes((red // alpha, green // alpha, blue // alpha, 255 * alpha // count) if alpha else (0, 0, 0, 0))
        rows.append(bytes(row))
    return rows


def png(size):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    raw = b''.join(b'\0' + row for row in draw_smooth(size))   # filter type 0 on every row
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


def svg():
    def rgb(index):
        return '#%02x%02x%02x' % PALETTE[index]
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <clipPath id="body"><rect x="1.5" y="10" width="29" height="18.5"/></clipPath>
  <rect x="1" y="3" width="30" height="26" fill="{rgb(OUTLINE)}"/>
  <rect x="1.5" y="3.5" width="29" height="6.5" fill="{rgb(TITLE)}"/>
  <rect x="1.5" y="10" width="29" height="18.5" fill="{rgb(BODY)}"/>
  <g clip-path="url(#body)" fill="{rgb(ARROW)}">
    <line x1="9" y1="25" x2="24" y2="13" stroke="{rgb(ARROW)}" stroke-width="3.2" stroke-linecap="round"/>
    <polygon points="5,28 6,19 14,27"/>
    <polygon points="28,10 19,11 26,18"/>
  </g>
</svg>
'''


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


LINUX_SIZES = [16, 32, 48, 64, 128, 256]

if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == '--linux':
        for size in LINUX_SIZES:
            with open(os.path.join(sys.argv[2], f'ambrisk2-{size}.png'), 'wb') as out:
                out.write(png(size))
        with open(os.path.join(sys.argv[2], 'ambrisk2.svg'), 'w') as out:
            out.write(svg())
    else:
        target = sys.argv[1] if len(sys.argv) > 1 else 'ambrisk2.ico'
        with open(target, 'wb') as out:
            out.write(icon([16, 32]))
