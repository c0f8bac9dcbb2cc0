#!/usr/bin/env python3
"""Builds mailview.ico from its drawings, one XPM file per image.

    resources/make-icon.py resources/mailview.ico \
        resources/mailview-32.xpm resources/mailview-16.xpm

Each image is written as a classic 16-colour icon: a 4-bit bitmap over the
standard Windows palette plus a 1-bit transparency mask, the form every
32-bit Windows shows. ImageMagick writes a 32-bit image as soon as the
picture has a transparent colour, hence this script. The drawings may use
only "None" and the sixteen colours of PALETTE.
"""
import struct
import sys

# The standard 16-colour palette, in the order Windows uses it.
PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
    0x00FFFF, 0xFFFFFF,
]


def read_xpm(path):
    """Returns (width, height, rows) where rows[y][x] is a palette index,
    or None for a transparent pixel."""
    with open(path, encoding="ascii") as f:
        strings = [line.split('"')[1] for line in f if line.startswith('"')]
    width, height, ncolors, cpp = (int(n) for n in strings[0].split()[:4])
    colors = {}
    for entry in strings[1:1 + ncolors]:
        key, rest = entry[:cpp], entry[cpp:].split()
        if len(rest) != 2 or rest[0] != "c":
            sys.exit(f"{path}: unsupported colour line {entry!r}")
        value = rest[1]
        if value.lower() == "none":
            colors[key] = None
            continue
        rgb = int(value.lstrip("#"), 16)
        if not value.startswith("#") or len(value) != 7 or rgb not in PALETTE:
            sys.exit(f"{path}: {value} is not one of the 16 standard colours")
        colors[key] = PALETTE.index(rgb)
    pixels = strings[1 + ncolors:1 + ncolors + height]
    if len(pixels) != height or any(len(p) != width * cpp for p in pixels):
        sys.exit(f"{path}: the pixels do not make a {width}x{height} image")
    rows = [[colors[p[x:x + cpp]] for x in range(0, width * cpp, cpp)]
            for p in pixels]
    return width, height, rows


def padded(row_bytes):
    """Pads one bitmap row to a multiple of four bytes."""
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def icon_image(width, height, rows):
    """The bytes of one icon image: header, palette, colour bits, mask."""
    colour = b""
    mask = b""
    for row in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [0 if p is None else p for p in row] + [0]
        colour += padded(bytes(nibbles[x] << 4 | nibbles[x + 1]
                               for x in range(0, width, 2)))
        bits = [1 if p is None else 0 for p in row] + [0] * 7
        mask += padded(bytes(
            sum(bits[x + i] << (7 - i) for i in range(8))
            for x in range(0, width, 8)))
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF,
                                   c >> 16, 0) for c in PALETTE)
    return header + palette + colour + mask


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    images = []
    for path in argv[2:]:
        width, height, rows = read_xpm(path)
        if width != height or width not in (16, 32, 48):
            sys.exit(f"{path}: icons are 16, 32 or 48 pixels square")
        images.append((width, icon_image(width, height, rows)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data),
                           offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv)
