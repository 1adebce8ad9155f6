#!/usr/bin/env python3
"""Builds the Windows icon data/icons/quillscan.ico from the program's icon drawn as PNGs.

Each PNG (8-bit RGBA or RGB, as the icon renderer writes them) gives three images of its size:
32-bit colour with alpha, and 8-bit and 4-bit colour with a palette of their own (median cut,
then the nearest palette colour per pixel) and a transparency mask. So the four sizes 16, 32,
48 and 64 give the twelve images of the program's icon group.

    make_ico.py [--check] OUTPUT.ico IMAGE.png...

With --check nothing is written: the exit status says whether OUTPUT.ico holds exactly these
images. The build runs it both ways (targets quillscan_windows_icon and the test
windows_icon_is_current). Python standard library only; the output depends on nothing but the
input pixels.
"""

import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
OPAQUE_FROM = 128  # alpha at and above which a pixel of a palette image is drawn
PALETTE_DEPTHS = (8, 4)


def read_png(path):
    """Returns (width, height, rows of (r, g, b, a) tuples)."""
    with open(path, "rb") as file:
        data = file.read()
    if not data.startswith(PNG_SIGNATURE):
        sys.exit(f"{path}: not a PNG file")
    position, idat, header = len(PNG_SIGNATURE), b"", None
    while position < len(data):
        (length, kind), position = struct.unpack(">I4s", data[position:position + 8]), position + 8
        body, position = data[position:position + length], position + length + 4  # skip CRC
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, bit_depth, colour_type, _, _, interlace = header
    if bit_depth != 8 or colour_type not in (2, 6) or interlace:
        sys.exit(f"{path}: only 8-bit RGB or RGBA PNGs without interlacing are read")
    channels = 4 if colour_type == 6 else 3
    return width, height, unfilter(zlib.decompress(idat), width, height, channels)


def unfilter(raw, width, height, channels):
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(left, up, up_left)) & 0xFF
        previous = line
        pixels = [tuple(line[x * channels:(x + 1) * channels]) for x in range(width)]
        rows.append([p if channels == 4 else p + (255,) for p in pixels])
    return rows


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def median_cut(colours, count):
    """Up to `count` colours standing for `colours` (a list of (r, g, b), repeats counting)."""
    if len(set(colours)) <= count:
        return sorted(set(colours))
    boxes = [sorted(colours)]
    while len(boxes) < count:
        def spread(box):
            return max(max(c[k] for c in box) - min(c[k] for c in box) for k in range(3))
        box = max((b for b in boxes if len(set(b)) > 1), key=spread, default=None)
        if box is None:
            break
        channel = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box.sort(key=lambda c: c[channel])
        middle = len(box) // 2
        boxes.remove(box)
        boxes += [box[:middle], box[middle:]]
    return sorted({tuple(sum(c[k] for c in b) // len(b) for k in range(3)) for b in boxes})


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def and_mask(rows, width):
    """1 for every pixel that lets the background through; bottom row first."""
    lines = []
    for row in reversed(rows):
        bits = bytearray((width + 7) // 8)
        for x, pixel in enumerate(row):
            if pixel[3] < OPAQUE_FROM:
                bits[x // 8] |= 0x80 >> (x % 8)
        lines.append(padded(bytes(bits)))
    return b"".join(lines)


def bitmap_header(width, height, depth, image_size):
    # The height counts the colour image and the mask.
    return struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, depth, 0, image_size, 0, 0, 0, 0)


def true_colour_image(width, height, rows):
    pixels = b"".join(padded(b"".join(bytes((b, g, r, a)) for r, g, b, a in row))
                      for row in reversed(rows))
    mask = and_mask(rows, width)
    return bitmap_header(width, height, 32, len(pixels) + len(mask)) + pixels + mask


def palette_image(width, height, rows, depth):
    opaque = [p[:3] for row in rows for p in row if p[3] >= OPAQUE_FROM]
    # Black is kept for the transparent pixels: drawn through the mask, black leaves the
    # background as it is.
    palette = [(0, 0, 0)] + [c for c in median_cut(opaque, 2 ** depth - 1) if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (2 ** depth - len(palette))
    lookup = {}
    lines = []
    for row in reversed(rows):
        indices = [lookup.setdefault(p[:3], nearest(palette, p[:3])) if p[3] >= OPAQUE_FROM else 0
                   for p in row]
        if depth == 4:
            indices += [0] * (len(indices) % 2)
            line = bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(indices), 2))
        else:
            line = bytes(indices)
        lines.append(padded(line))
    pixels = b"".join(lines)
    mask = and_mask(rows, width)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return bitmap_header(width, height, depth, len(pixels) + len(mask)) + colours + pixels + mask


def build_icon(pngs):
    images = []  # (width, height, depth, data)
    for depth in (32,) + PALETTE_DEPTHS:
        for path in pngs:
            width, height, rows = read_png(path)
            if width > 255 or height > 255:
                sys.exit(f"{path}: icon images here are at most 255 pixels")
            data = (true_colour_image(width, height, rows) if depth == 32
                    else palette_image(width, height, rows, depth))
            images.append((width, height, depth, data))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, depth, data in images:
        colour_count = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", width, height, colour_count, 0, 1, depth, len(data),
                               offset + len(bodies))
        bodies += data
    return directory + entries + bodies


def main(arguments):
    check = arguments[:1] == ["--check"]
    arguments = arguments[1:] if check else arguments
    if len(arguments) < 2:
        sys.exit("usage: make_ico.py [--check] OUTPUT.ico IMAGE.png...")
    output, pngs = arguments[0], arguments[1:]
    icon = build_icon(pngs)
    if not check:
        with open(output, "wb") as file:
            file.write(icon)
        return
    try:
        with open(output, "rb") as file:
            current = file.read() == icon
    except OSError:
        current = False
    if not current:
        sys.exit(f"{output} does not show the program's icon as drawn now; rebuild it with "
                 "`cmake --build BUILD-FOLDER --target quillscan_windows_icon`")


if __name__ == "__main__":
    main(sys.argv[1:])
