#!/usr/bin/env python3
"""Draws the program's bitmaps and icons (our own artwork) into a folder.

Usage: make_images.py OUTPUT_DIR
Only the standard library is used: shapes are tested per pixel with 4x4 supersampling.
"""
import math
import os
import struct
import sys

# --- shapes: functions of (x, y) in a unit square, True when inside --------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def ring(cx, cy, r1, r2):
    return lambda x, y: r1 * r1 <= (x - cx) ** 2 + (y - cy) ** 2 <= r2 * r2

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1

def shield(cx, top, w, h):
    # Flat top, straight sides for 45% of the height, then a curve down to a point.
    def inside(x, y):
        t = (y - top) / h
        if t < 0 or t > 1:
            return False
        half = w / 2 if t < 0.45 else (w / 2) * math.cos((t - 0.45) / 0.55 * math.pi / 2)
        return abs(x - cx) <= half
    return inside

def thick_line(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside

def triangle(ax, ay, bx, by, cx, cy):
    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)
    def inside(x, y):
        d1, d2, d3 = side(ax, ay, bx, by, x, y), side(bx, by, cx, cy, x, y), side(cx, cy, ax, ay, x, y)
        return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))
    return inside

def gear(cx, cy, r_in, r_out, teeth):
    def inside(x, y):
        a = math.atan2(y - cy, x - cx)
        d = math.hypot(x - cx, y - cy)
        r = r_out if math.cos(a * teeth) > 0 else r_in
        return d <= r and d >= r_in * 0.45
    return inside

# --- tiny 5x7 font for the banner texts ------------------------------------------------------

FONT = {
    'A': "01110 10001 10001 11111 10001 10001 10001", 'B': "11110 10001 10001 11110 10001 10001 11110",
    'C': "01111 10000 10000 10000 10000 10000 01111", 'D': "11110 10001 10001 10001 10001 10001 11110",
    'E': "11111 10000 10000 11110 10000 10000 11111", 'F': "11111 10000 10000 11110 10000 10000 10000",
    'G': "01111 10000 10000 10111 10001 10001 01111", 'H': "10001 10001 10001 11111 10001 10001 10001",
    'I': "11111 00100 00100 00100 00100 00100 11111", 'L': "10000 10000 10000 10000 10000 10000 11111",
    'M': "10001 11011 10101 10101 10001 10001 10001", 'N': "10001 11001 10101 10011 10001 10001 10001",
    'O': "01110 10001 10001 10001 10001 10001 01110", 'P': "11110 10001 10001 11110 10000 10000 10000",
    'R': "11110 10001 10001 11110 10100 10010 10001", 'S': "01111 10000 10000 01110 00001 00001 11110",
    'T': "11111 00100 00100 00100 00100 00100 00100", 'U': "10001 10001 10001 10001 10001 10001 01110",
    'V': "10001 10001 10001 10001 01010 01010 00100", 'Y': "10001 10001 01010 00100 00100 00100 00100",
    'K': "10001 10010 10100 11000 10100 10010 10001", 'W': "10001 10001 10001 10101 10101 11011 10001",
    ' ': "00000 00000 00000 00000 00000 00000 00000", '.': "00000 00000 00000 00000 00000 01100 01100",
}

def text_shape(text, x0, y0, px_w, px_h):
    """A text as a shape; each font cell is px_w x px_h in unit coordinates."""
    def inside(x, y):
        col = int((x - x0) / px_w)
        row = int((y - y0) / px_h)
        if row < 0 or row > 6 or col < 0:
            return False
        ch, cx = divmod(col, 6)
        if ch >= len(text) or cx == 5:
            return False
        rows = FONT.get(text[ch].upper(), FONT[' ']).split()
        return rows[row][cx] == '1'
    return inside

# --- rendering -------------------------------------------------------------------------------

def render(width, height, background, layers, ss=4):
    """Returns rows of (r, g, b, a), top row first. background(x, y) gives RGBA or None."""
    pixels = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / width
                    y = (py + (sy + 0.5) / ss) / height
                    color = background(x, y) if background else (0, 0, 0, 0)
                    for shape, fill in layers:
                        if shape(x, y):
                            color = fill(x, y) if callable(fill) else fill
                    a = color[3] / 255.0
                    acc[0] += color[0] * a
                    acc[1] += color[1] * a
                    acc[2] += color[2] * a
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            if alpha > 0:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(alpha * 255)),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels

def bmp_bytes(pixels):
    """A 24-bit bottom-up BMP file."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)

def ico_image(pixels):
    """One 32-bit icon image (BITMAPINFOHEADER with double height, XOR then AND mask)."""
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)

def ico_bytes(draw):
    images = [(s, ico_image(render(s, s, None, draw()))) for s in (32, 16)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)

# --- artwork ---------------------------------------------------------------------------------

NAVY = (20, 45, 95, 255)
BLUE = (40, 110, 200, 255)
SKY = (120, 180, 240, 255)
GREEN = (40, 160, 70, 255)
RED = (200, 40, 40, 255)
ORANGE = (235, 140, 30, 255)
WHITE = (255, 255, 255, 255)
GREY = (110, 120, 130, 255)
GOLD = (240, 200, 60, 255)

def app_icon():
    return [(shield(0.5, 0.06, 0.78, 0.9), NAVY), (shield(0.5, 0.12, 0.64, 0.76), BLUE),
            (rect(0.44, 0.22, 0.56, 0.66), WHITE), (rect(0.28, 0.36, 0.72, 0.48), WHITE)]

def shield_icon():
    return [(shield(0.5, 0.06, 0.78, 0.9), NAVY), (shield(0.5, 0.12, 0.64, 0.76), GREEN),
            (thick_line(0.32, 0.46, 0.45, 0.6, 0.1), WHITE), (thick_line(0.45, 0.6, 0.7, 0.32, 0.1), WHITE)]

def scan_icon():
    return [(thick_line(0.6, 0.6, 0.88, 0.88, 0.16), GREY), (circle(0.42, 0.42, 0.34), NAVY),
            (circle(0.42, 0.42, 0.25), SKY), (circle(0.34, 0.34, 0.07), WHITE)]

def heal_icon():
    return [(circle(0.5, 0.5, 0.46), GREEN), (rect(0.4, 0.18, 0.6, 0.82), WHITE), (rect(0.18, 0.4, 0.82, 0.6), WHITE)]

def settings_icon():
    return [(gear(0.5, 0.5, 0.3, 0.44, 8), GREY), (circle(0.5, 0.5, 0.12), (0, 0, 0, 0))]

def threat_icon():
    return [(triangle(0.5, 0.05, 0.96, 0.92, 0.04, 0.92), RED), (triangle(0.5, 0.17, 0.86, 0.86, 0.14, 0.86), ORANGE),
            (rect(0.45, 0.35, 0.55, 0.65), (40, 20, 0, 255)), (circle(0.5, 0.76, 0.055), (40, 20, 0, 255))]

def help_file_icon():
    return [(rect(0.15, 0.1, 0.85, 0.9), NAVY), (rect(0.22, 0.14, 0.8, 0.86), WHITE),
            (rect(0.3, 0.28, 0.72, 0.33), GREY), (rect(0.3, 0.42, 0.72, 0.47), GREY), (rect(0.3, 0.56, 0.6, 0.61), GREY)]

def globe_icon():
    return [(circle(0.5, 0.5, 0.45), BLUE), (ring(0.5, 0.5, 0.0, 0.0), WHITE),
            (rect(0.05, 0.47, 0.95, 0.53), WHITE), (rect(0.47, 0.05, 0.53, 0.95), WHITE),
            (ring(0.5, 0.5, 0.3, 0.35), SKY)]

def envelope_icon():
    return [(rect(0.08, 0.22, 0.92, 0.78), GOLD), (thick_line(0.1, 0.25, 0.5, 0.55, 0.06), NAVY),
            (thick_line(0.5, 0.55, 0.9, 0.25, 0.06), NAVY)]

def gradient(top, bottom):
    return lambda x, y: tuple(int(top[i] + (bottom[i] - top[i]) * y) for i in range(3)) + (255,)

def banner(width, height, title, subtitle):
    aspect = width / height
    glyph_h = 0.42 / 7
    glyph_w = glyph_h / aspect
    sub_h = 0.2 / 7
    sub_w = sub_h / aspect
    x_text = 1.3 / aspect
    layers = [
        (shield(0.55 / aspect, 0.1, 0.7 / aspect, 0.8), WHITE),
        (shield(0.55 / aspect, 0.16, 0.56 / aspect, 0.64), BLUE),
        (text_shape(title, x_text, 0.14, glyph_w, glyph_h), WHITE),
        (text_shape(subtitle, x_text, 0.66, sub_w, sub_h), SKY),
    ]
    return bmp_bytes(render(width, height, gradient(NAVY, (10, 20, 50)), layers, ss=2))

def splash(width, height, title, subtitle):
    """Shield on the left, the title and a smaller subtitle beside it, all inside the picture."""
    cell_x, cell_y = 1.0 / width, 1.0 / height
    title_px = 4  # pixels per font cell: 8 letters of 6 cells fit in about 190 pixels
    sub_px = 3
    layers = [
        (shield(0.17, 0.18, 0.2, 0.64), WHITE),
        (shield(0.17, 0.23, 0.15, 0.52), BLUE),
        (text_shape(title, 0.33, 0.28, title_px * cell_x, title_px * cell_y), WHITE),
        (text_shape(subtitle, 0.33, 0.6, sub_px * cell_x, sub_px * cell_y), SKY),
    ]
    return bmp_bytes(render(width, height, gradient(NAVY, (10, 20, 50)), layers, ss=2))

def tray_picture(width, height):
    layers = [(rect(0.0, 0.0, 1.0, 1.0), (225, 230, 238, 255)),
              (shield(0.8, 0.15, 0.12, 0.7), BLUE), (rect(0.05, 0.35, 0.6, 0.65), GREY)]
    return bmp_bytes(render(width, height, None, layers, ss=2))

def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "banner.bmp": lambda: banner(674, 64, "TOLLIVAR", "USB SECURITY SHIELD"),
        "alert.bmp": lambda: banner(381, 52, "THREAT FOUND", "REMOVABLE DRIVE"),
        "splash.bmp": lambda: splash(300, 150, "TOLLIVAR", "LOADING"),
        "tray.bmp": lambda: tray_picture(117, 29),
        "app.ico": lambda: ico_bytes(app_icon),
        "shield.ico": lambda: ico_bytes(shield_icon),
        "scan.ico": lambda: ico_bytes(scan_icon),
        "heal.ico": lambda: ico_bytes(heal_icon),
        "settings.ico": lambda: ico_bytes(settings_icon),
        "threat.ico": lambda: ico_bytes(threat_icon),
        "help_file.ico": lambda: ico_bytes(help_file_icon),
        "help_support.ico": lambda: ico_bytes(envelope_icon),
        "help_news.ico": lambda: ico_bytes(globe_icon),
    }
    for name, make in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(make())

if __name__ == "__main__":
    main()
