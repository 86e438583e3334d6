#!/usr/bin/env python3
"""Draws the two hot-spot icons, resources/RCDATA/151.gif (red) and 152.gif (blue).

Each is a 48 x 48 GIF89a: a round marker in the icon's colour with a white ring, a dark outline
and a white arrow pointing up, on a transparent background, so that it reads well over any
video. Edges are smoothed by supersampling into a small palette of blends.

Usage: scripts/make-icons.py [OUTPUT_FOLDER]   (default: resources/RCDATA beside this script)
Only the Python standard library is used, and the output is the same on every run.
"""
import math
import pathlib
import struct
import sys

SIZE = 48
SUPER = 4  # samples per pixel along each axis
LEVELS = 5  # coverage steps between a colour and its neighbour

ICONS = {'151': (0xD8, 0x1E, 0x1E), '152': (0x1E, 0x5A, 0xD8)}
WHITE = (0xFF, 0xFF, 0xFF)
OUTLINE = (0x20, 0x20, 0x28)


def inside_arrow(x, y):
    """Arrow pointing up, centred on the marker: a triangle head over a stem."""
    c = SIZE / 2
    dx, dy = x - c, y - c
    if -10 <= dy <= -1 and abs(dx) <= (dy + 10) * 0.8:
        return True
    return -1 <= dy <= 9 and abs(dx) <= 2.5


def layer(x, y, colour):
    """Colour of one sample point, None outside the marker."""
    r = math.hypot(x - SIZE / 2, y - SIZE / 2)
    if r > 22.5:
        return None
    if r > 21:
        return OUTLINE
    if r > 17.5:
        return WHITE
    if r > 16.5:
        return OUTLINE
    return WHITE if inside_arrow(x, y) else colour


def draw(colour):
    """Pixels as (r, g, b) or None, smoothed: partial coverage blends towards the outline."""
    pixels = []
    for py in range(SIZE):
        for px in range(SIZE):
            samples = [layer(px + (sx + 0.5) / SUPER, py + (sy + 0.5) / SUPER, colour)
                       for sy in range(SUPER) for sx in range(SUPER)]
            solid = [s for s in samples if s is not None]
            if len(solid) * 2 < len(samples):
                pixels.append(None)
                continue
            mix = tuple(sum(s[i] for s in solid) / len(solid) for i in range(3))
            pixels.append(nearest_blend(mix, colour))
    return pixels


def palette_for(colour):
    """Transparent slot, then blends along outline-colour-white, LEVELS steps each."""
    colours = [(0, 0, 0)]
    for a, b in ((OUTLINE, colour), (colour, WHITE), (OUTLINE, WHITE)):
        for k in range(LEVELS + 1):
            t = k / LEVELS
            c = tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))
            if c not in colours:
                colours.append(c)
    while len(colours) < 32:
        colours.append((0, 0, 0))
    return colours


def nearest_blend(mix, colour):
    pal = palette_for(colour)[1:]
    return min(pal, key=lambda c: sum((c[i] - mix[i]) ** 2 for i in range(3)))


def lzw(indices, min_code_size):
    """GIF's variable-length LZW, least-significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def fresh():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, size = fresh()
    emit(clear, size)
    run = (indices[0],)
    for i in indices[1:]:
        grown = run + (i,)
        if grown in table:
            run = grown
            continue
        emit(table[run], size)
        if next_code == 4096:
            emit(clear, size)
            table, next_code, size = fresh()
        else:
            table[grown] = next_code
            if next_code == (1 << size) and size < 12:
                size += 1
            next_code += 1
        run = (i,)
    emit(table[run], size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(colour):
    pal = palette_for(colour)
    index = {c: i for i, c in reversed(list(enumerate(pal)))}
    indices = [0 if p is None else index[p] for p in draw(colour)]
    data = lzw(indices, 5)
    blocks = b''.join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return b''.join([
        b'GIF89a', struct.pack('<HH', SIZE, SIZE), bytes([0xF4, 0, 0]),  # 32-colour table
        b''.join(bytes(c) for c in pal),
        b'\x21\xF9\x04\x01\x00\x00\x00\x00',  # graphic control: index 0 is transparent
        b'\x2C', struct.pack('<HHHH', 0, 0, SIZE, SIZE), b'\x00',
        bytes([5]), blocks, b'\x00', b'\x3B',
    ])


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / 'resources' / 'RCDATA'
    out.mkdir(parents=True, exist_ok=True)
    for name, colour in ICONS.items():
        (out / f'{name}.gif').write_bytes(gif(colour))
    print(f'icons 151.gif (red) and 152.gif (blue) written to {out}')


if __name__ == '__main__':
    main()
