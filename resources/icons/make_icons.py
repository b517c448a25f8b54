#!/usr/bin/env python3
"""Draws Setup's two icons and writes them as .ico files.

Printer.ico (resource 134): the printer of the model lists.
Setup.ico (resource 128): the same printer with a green arrow into it.

Each icon holds 16, 32, 48 and 256 pixel images: 32-bit BMP images with
an AND mask for the small sizes (every Windows version reads those), PNG
for 256. Only the standard library is used, so the icons can be redrawn on
any machine: python3 resources/icons/make_icons.py [--preview DIR]
"""

import argparse
import os
import struct
import zlib

SIZES = (16, 32, 48, 256)
# Shapes are drawn in a 256-unit square and sampled SUPERSAMPLE^2 times per
# pixel, which gives smooth edges at every size.
UNITS = 256.0


def supersample(size):
    return 2 if size >= 256 else 4


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, inside, colour, box):
        """Blends colour (r, g, b, a in 0..255, or a function of the unit
        y coordinate giving one) over every pixel whose samples fall inside."""
        n = supersample(self.size)
        scale = UNITS / self.size
        x0, y0, x1, y1 = box
        px0 = max(0, int(x0 / scale) - 1)
        py0 = max(0, int(y0 / scale) - 1)
        px1 = min(self.size, int(x1 / scale) + 2)
        py1 = min(self.size, int(y1 / scale) + 2)
        for py in range(py0, py1):
            row = self.pixels[py]
            for px in range(px0, px1):
                hits = 0
                for sy in range(n):
                    uy = (py + (sy + 0.5) / n) * scale
                    for sx in range(n):
                        ux = (px + (sx + 0.5) / n) * scale
                        if inside(ux, uy):
                            hits += 1
                if not hits:
                    continue
                cy = (py + 0.5) * scale
                r, g, b, a = colour(cy) if callable(colour) else colour
                coverage = hits / (n * n) * a / 255.0
                row[px] = over(row[px], (r, g, b), coverage)

    def rgba_rows(self):
        return [[tuple(int(round(c)) for c in p) for p in row] for row in self.pixels]


def over(dst, rgb, alpha):
    dr, dg, db, da = dst
    da /= 255.0
    out_a = alpha + da * (1.0 - alpha)
    if out_a <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)

    def mix(s, d):
        return (s * alpha + d * da * (1.0 - alpha)) / out_a

    return (mix(rgb[0], dr), mix(rgb[1], dg), mix(rgb[2], db), out_a * 255.0)


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return inside, (x0, y0, x1, y1)


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside, (min(xs), min(ys), max(xs), max(ys))


def circle(cx, cy, r):
    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return inside, (cx - r, cy - r, cx + r, cy + r)


def gradient(top_y, top, bottom_y, bottom):
    def colour(y):
        t = min(max((y - top_y) / (bottom_y - top_y), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


OUTLINE = (44, 52, 64, 255)
PAPER = (252, 252, 250, 255)
INK = (150, 160, 175, 255)


def framed_rect(canvas, box, radius, fill, stroke):
    """A rectangle with an outline: the outline colour, then the fill inset
    by the stroke width."""
    x0, y0, x1, y1 = box
    shape, bounds = rounded_rect(x0, y0, x1, y1, radius)
    canvas.fill(shape, OUTLINE, bounds)
    shape, bounds = rounded_rect(x0 + stroke, y0 + stroke, x1 - stroke, y1 - stroke,
                                 max(0.0, radius - stroke))
    canvas.fill(shape, fill, bounds)


def text_lines(canvas, x0, x1, ys, stroke):
    for y in ys:
        shape, bounds = rounded_rect(x0, y, x1, y + stroke, 0)
        canvas.fill(shape, INK, bounds)


def draw_printer(canvas, dx=0.0, dy=0.0, k=1.0, lamp=True):
    """A desk printer: the sheet in the input tray behind, the body with its
    output slot and a green lamp, and a printed sheet coming out in front."""
    size = canvas.size
    stroke = max(7.0, 1.2 * UNITS / size) if size < 256 else 6.0

    def box(x0, y0, x1, y1):
        return (dx + x0 * k, dy + y0 * k, dx + x1 * k, dy + y1 * k)

    # The sheet waiting in the input tray.
    framed_rect(canvas, box(70, 20, 186, 120), 4 * k, PAPER, stroke)
    if size >= 48:
        text_lines(canvas, dx + 88 * k, dx + 168 * k, [dy + y * k for y in (44, 64, 84)], stroke * 0.8)
    # The body.
    body = box(14, 92, 242, 206)
    framed_rect(canvas, body, 22 * k,
                gradient(body[1], (226, 231, 238, 255), body[3], (142, 152, 168, 255)), stroke)
    # The top face, a little lighter, and the output slot.
    shape, bounds = rounded_rect(*box(28, 104, 228, 124), 8 * k)
    canvas.fill(shape, (240, 243, 247, 255), bounds)
    shape, bounds = rounded_rect(*box(56, 150, 200, 166), 4 * k)
    canvas.fill(shape, (36, 42, 52, 255), bounds)
    # The power lamp.
    if lamp:
        shape, bounds = circle(dx + 212 * k, dy + 136 * k, max(10.0, 1.6 * UNITS / size) * k)
        canvas.fill(shape, (40, 200, 70, 255), bounds)
    # The printed sheet in front.
    framed_rect(canvas, box(62, 158, 194, 242), 4 * k, PAPER, stroke)
    if size >= 32:
        text_lines(canvas, dx + 80 * k, dx + 176 * k, [dy + y * k for y in (184, 204, 222)], stroke * 0.8)
    return stroke


def draw_arrow(canvas, stroke):
    """A green arrow pointing down into the printer: setting it up. At the
    smallest size it is drawn wider, or it would be a thin line."""
    if canvas.size <= 16:
        left, right, top, neck, head_left, head_right, tip = 150, 238, 0, 66, 118, 256, 150
    else:
        left, right, top, neck, head_left, head_right, tip = 168, 226, 4, 72, 142, 252, 136
    middle = (head_left + head_right) / 2
    outline = [(left, top), (right, top), (right, neck), (head_right, neck), (middle, tip),
               (head_left, neck), (left, neck)]
    shape, bounds = polygon(outline)
    canvas.fill(shape, (20, 90, 30, 255), bounds)
    s = stroke
    inner = [(left + s, top + s), (right - s, top + s), (right - s, neck + s * 0.4),
             (head_right - s * 2.4, neck + s * 0.4), (middle, tip - s * 1.6),
             (head_left + s * 2.4, neck + s * 0.4), (left + s, neck + s * 0.4)]
    shape, bounds = polygon(inner)
    canvas.fill(shape, gradient(top, (120, 225, 110, 255), tip, (30, 160, 50, 255)), bounds)


def printer_icon(size):
    canvas = Canvas(size)
    draw_printer(canvas)
    return canvas.rgba_rows()


def setup_icon(size):
    canvas = Canvas(size)
    # At the smallest size the arrow covers the lamp.
    stroke = draw_printer(canvas, dx=0, dy=30, k=0.88, lamp=size > 16)
    draw_arrow(canvas, stroke)
    return canvas.rgba_rows()


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib(rows):
    """A 32-bit icon image: BITMAPINFOHEADER of double height, bottom-up BGRA
    pixels, then the AND mask (1 = transparent), rows padded to 32 bits."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def ico(images):
    """images: (size, bytes) pairs, written in the given order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + entries + b"".join(data for _, data in images)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--preview", help="also write each image as a PNG into this folder")
    args = parser.parse_args()
    for name, draw in (("Printer", printer_icon), ("Setup", setup_icon)):
        images = []
        for size in SIZES:
            rows = draw(size)
            images.append((size, png(rows) if size >= 256 else dib(rows)))
            if args.preview:
                os.makedirs(args.preview, exist_ok=True)
                with open(os.path.join(args.preview, f"{name}-{size}.png"), "wb") as f:
                    f.write(png(rows))
        with open(os.path.join(args.out, f"{name}.ico"), "wb") as f:
            f.write(ico(images))
        print(f"wrote {name}.ico ({', '.join(str(s) for s in SIZES)} pixels)")


if __name__ == "__main__":
    main()
