#!/usr/bin/env python3
"""Draws the Windows program's icons and writes them as .ico files.

  res/icons/mainframe.ico  IDR_MAINFRAME: 32x32 and 16x16, 16 colours (4 bpp)
  res/icons/about.ico      IDI_ABOUT:     16x16 and 32x32, 256 colours (8 bpp)

The picture: a telegram form carrying the character 中, with a strip of yellow
telegraph tape pasted across it, marked with dots and dashes and, at the large
size, printed with the character's code 0022. The About icon draws the same
scene with the shading that the 16-colour palette cannot hold.

The images are classic BMP-format icon images (BITMAPINFOHEADER, colour table,
XOR bitmap, AND mask), written byte by byte so that the output is the same on
every machine. tests/resources checks that the committed files are current.

Usage: gen_icons.py [--out DIR]   (default: res/icons beside this script)
"""
import argparse
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The standard 16-colour Windows palette, in its usual order. Index 0 must be
# black: transparent pixels are black in the XOR bitmap and set in the mask.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, SILVER, GRAY, RED, YELLOW, WHITE = (
    VGA[0], VGA[3], VGA[4], VGA[7], VGA[8], VGA[9], VGA[11], VGA[15])

# Three-by-five pixel digits, one string per row.
DIGITS = {
    "0": ("###", "#.#", "#.#", "#.#", "###"),
    "1": (".#.", "##.", ".#.", ".#.", "###"),
    "2": ("###", "..#", "###", "#..", "###"),
    "3": ("###", "..#", ".##", "..#", "###"),
    "4": ("#.#", "#.#", "###", "..#", "..#"),
    "5": ("###", "#..", "###", "..#", "###"),
    "6": ("###", "#..", "###", "#.#", "###"),
    "7": ("###", "..#", ".#.", ".#.", ".#."),
    "8": ("###", "#.#", "###", "#.#", "###"),
    "9": ("###", "#.#", "###", "..#", "###"),
}


class Canvas:
    """A square of RGB pixels; None marks a transparent pixel."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners x0,y0 and x1,y1 (inclusive)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour(x, y) if callable(colour) else colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def digits(self, x, y, text, colour):
        for ch in text:
            for dy, row in enumerate(DIGITS[ch]):
                for dx, cell in enumerate(row):
                    if cell == "#":
                        self.put(x + dx, y + dy, colour)
            x += 4


def mix(a, b, t):
    """The colour a fraction t of the way from a to b."""
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def paint(shade, y0, y1):
    """A plain colour, or a (top, bottom) pair shaded from row y0 to row y1."""
    if isinstance(shade[0], int):
        return shade
    top, bottom = shade
    return lambda x, y: mix(top, bottom, (y - y0) / max(1, y1 - y0))


class Style:
    """The colours of one rendering of the scene."""

    def __init__(self, rich):
        if rich:
            self.paper = ((255, 253, 244), (236, 228, 204))
            self.paper_edge = (128, 116, 96)
            self.shadow = (150, 150, 150)
            self.glyph = (196, 32, 24)
            self.code = (24, 48, 128)
            self.tape = ((255, 226, 120), (236, 178, 48))
            self.tape_edge = (164, 112, 24)
            self.mark = (64, 40, 16)
        else:
            self.paper = WHITE
            self.paper_edge = GRAY
            self.shadow = SILVER
            self.glyph = RED
            self.code = NAVY
            self.tape = YELLOW
            self.tape_edge = OLIVE
            self.mark = BLACK


def torn_tape(c, s, y0, y1):
    """A strip of tape pasted across the whole width, its ends torn."""
    n = c.size
    c.rect(0, y0, n - 1, y1, paint(s.tape, y0, y1))
    c.rect(0, y0, n - 1, y0, s.tape_edge)
    c.rect(0, y1, n - 1, y1, s.tape_edge)
    for y in range(y0, y1 + 1):  # a zigzag tear at either end
        if (y - y0) % 2:
            c.put(0, y, None)
            c.put(n - 1, y, None)


def morse(c, s, x, y, height, pattern):
    """Marks a pattern of dots and dashes, such as ".-..", from x onwards."""
    for sign in pattern:
        length = 1 if sign == "." else 3
        length *= height
        c.rect(x, y, x + length - 1, y + height - 1, s.mark)
        x += length + height


def telegram_form(c, s, x0, y0, x1, y1):
    c.rect(x0 + 1, y0 + 1, x1 + 1, y1 + 1, s.shadow)
    c.rect(x0, y0, x1, y1, paint(s.paper, y0, y1))
    c.frame(x0, y0, x1, y1, s.paper_edge)


def draw_large(s):
    """32x32: a telegram form with 中, a printed tape strip pasted across it
    printed with the code 0022 and marked with a dot and a dash."""
    c = Canvas(32)
    telegram_form(c, s, 3, 0, 28, 30)
    # 中: a box two strokes thick, crossed by the long vertical stroke.
    c.frame(8, 5, 23, 12, s.glyph)
    c.frame(9, 6, 22, 11, s.glyph)
    c.rect(15, 1, 16, 17, s.glyph)
    torn_tape(c, s, 19, 27)
    c.digits(3, 21, "0022", s.code)
    morse(c, s, 20, 22, 2, ".-")
    return c


def draw_small(s):
    """16x16: the telegram form with 中 and the tape with dots and dashes."""
    c = Canvas(16)
    telegram_form(c, s, 1, 0, 13, 14)
    c.frame(3, 3, 11, 6, s.glyph)
    c.rect(7, 1, 7, 8, s.glyph)
    torn_tape(c, s, 9, 13)
    morse(c, s, 2, 11, 1, ".-.-")
    return c


def bmp_rows(width, height, row_bytes):
    """Bottom-up rows, each padded to a multiple of four bytes."""
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = row_bytes(y)
        out += row + bytes(-len(row) % 4)
    return bytes(out)


def pack_bits(values, bits):
    """Packs small integers into bytes, most significant bits first."""
    out = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bits * (j + 1))
        out.append(byte)
    return bytes(out)


def palette_for(canvas, bits):
    if bits == 4:
        return VGA
    colours = sorted({p for row in canvas.px for p in row if p is not None} - {BLACK})
    palette = [BLACK] + colours
    if len(palette) > 256:
        raise SystemExit(f"gen_icons: {len(palette)} colours do not fit 8 bits per pixel")
    return palette + [BLACK] * (256 - len(palette))


def icon_image(canvas, bits):
    """One icon image: BITMAPINFOHEADER, colour table, XOR bitmap, AND mask."""
    n = canvas.size
    palette = palette_for(canvas, bits)
    index = {colour: i for i, colour in reversed(list(enumerate(palette)))}

    def colour_index(p):
        if p is None:
            return 0
        if p not in index:
            raise SystemExit(f"gen_icons: colour {p} is not in the {bits}-bit palette")
        return index[p]

    xor = bmp_rows(n, n, lambda y: pack_bits([colour_index(p) for p in canvas.px[y]], bits))
    mask = bmp_rows(n, n, lambda y: pack_bits([int(p is None) for p in canvas.px[y]], 1))
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + xor + mask


def ico_file(images):
    """An .ico file holding (canvas, bits) images in the given order."""
    blobs = [icon_image(c, bits) for c, bits in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (c, bits), blob in zip(images, blobs):
        colours = 1 << bits if bits < 8 else 0
        out += struct.pack("<BBBBHHII", c.size % 256, c.size % 256, colours, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def icons():
    plain, rich = Style(rich=False), Style(rich=True)
    return {
        "mainframe.ico": ico_file([(draw_large(plain), 4), (draw_small(plain), 4)]),
        "about.ico": ico_file([(draw_small(rich), 8), (draw_large(rich), 8)]),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "res", "icons"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, data in icons().items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
