#!/usr/bin/env python3
"""Writes the 39 stored viewers resources/RCDATA/VIEWER101.swf ... VIEWER313.swf.

Each is a zlib-compressed SWF ("CWS") whose header carries what publishing and the page rely
on: version 17 for the Flash Player viewers (1nn), 10 for the AIR (2nn) and Flash Lite (3nn)
ones, the stage size of its window-size index and 65 frames per second. The movie itself is a
single frame that draws a sighting ring and cross on a dark stage.

Usage: scripts/make_viewers.py [OUTPUT_FOLDER]   (default: resources/RCDATA beside this script)
Only the Python standard library is used, and the output is the same on every run.
"""
import math
import pathlib
import struct
import sys
import zlib

# Stage sizes by window-size index 1..13, as the " Window Size" list names them.
STAGES = [(266, 200), (300, 230), (320, 480), (400, 300), (480, 360), (480, 800), (600, 400),
          (640, 480), (700, 300), (800, 480), (800, 600), (1000, 600), (1200, 720)]
VERSIONS = {1: 17, 2: 10, 3: 10}
FRAME_RATE = 65
TWIPS = 20


class Bits:
    """Most-significant-bit-first writer for the packed fields of SWF records."""

    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def unsigned(self, value, n):
        for i in range(n - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                self.acc = self.count = 0

    def signed(self, value, n):
        self.unsigned(value & ((1 << n) - 1), n)

    def flush(self):
        if self.count:
            self.unsigned(0, 8 - self.count)
        return bytes(self.out)


def signed_bits(*values):
    """Bits needed to hold every value as a two's-complement field."""
    return max(max(v.bit_length() for v in map(abs, values)) + 1, 2)


def rect(xmin, xmax, ymin, ymax):
    n = signed_bits(xmin, xmax, ymin, ymax)
    b = Bits()
    b.unsigned(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        b.signed(v, n)
    return b.flush()


def tag(code, body):
    if len(body) < 63:
        return struct.pack('<H', (code << 6) | len(body)) + body
    return struct.pack('<HI', (code << 6) | 0x3F, len(body)) + body


def edge(b, dx, dy):
    n = signed_bits(dx, dy)
    b.unsigned(1, 1)  # edge record
    b.unsigned(1, 1)  # straight
    b.unsigned(n - 2, 4)
    b.unsigned(1, 1)  # general line: both deltas
    b.signed(dx, n)
    b.signed(dy, n)


def move(b, x, y, line_style):
    n = signed_bits(x, y)
    b.unsigned(0, 1)  # style change record
    b.unsigned(0b01001 if line_style else 0b00001, 5)  # new line style?, move-to
    b.unsigned(n, 5)
    b.signed(x, n)
    b.signed(y, n)
    if line_style:
        b.unsigned(line_style, 1)  # one line style: a one-bit index


def polyline(b, points):
    x0, y0 = points[0]
    for x, y in points[1:]:
        edge(b, x - x0, y - y0)
        x0, y0 = x, y


def sight_shape(width, height):
    """DefineShape body: a ring of 48 edges and a cross through the stage's middle."""
    cx, cy = width * TWIPS // 2, height * TWIPS // 2
    r = min(width, height) * TWIPS // 5
    ring = [(cx + round(r * math.cos(2 * math.pi * k / 48)),
             cy + round(r * math.sin(2 * math.pi * k / 48))) for k in range(49)]
    arm = r * 3 // 2
    body = bytearray(struct.pack('<H', 1))
    body += rect(cx - arm - 40, cx + arm + 40, cy - arm - 40, cy + arm + 40)
    body += bytes([0])  # no fill styles
    body += bytes([1]) + struct.pack('<H', 40) + bytes([0x3C, 0xB4, 0xF0])  # one 2 px line
    b = Bits()
    b.unsigned(0, 4)  # fill index bits
    b.unsigned(1, 4)  # line index bits
    move(b, *ring[0], line_style=1)
    polyline(b, ring)
    move(b, cx - arm, cy, line_style=0)
    edge(b, 2 * arm, 0)
    move(b, cx, cy - arm, line_style=0)
    edge(b, 0, 2 * arm)
    b.unsigned(0, 6)  # end of shape
    return bytes(body + b.flush())


def viewer(player, index):
    width, height = STAGES[index - 1]
    name = f'VIEWER{player}{index:02d}'
    metadata = ('<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">'
                '<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/">'
                f'<dc:title>qx_flash_hs viewer {name}</dc:title>'
                f'<dc:description>stage {width}x{height} at {FRAME_RATE} frames per second'
                '</dc:description></rdf:Description></rdf:RDF>')
    tags = b''.join([
        tag(69, bytes([0x11, 0, 0, 0])),  # FileAttributes: has metadata, uses the network
        tag(77, metadata.encode() + b'\0'),
        tag(9, bytes([0x10, 0x10, 0x18])),  # SetBackgroundColor
        tag(2, sight_shape(width, height)),  # DefineShape, id 1
        tag(26, bytes([0x02]) + struct.pack('<HH', 1, 1)),  # PlaceObject2 id 1 at depth 1
        tag(1, b''),  # ShowFrame
        tag(0, b''),  # End
    ])
    body = rect(0, width * TWIPS, 0, height * TWIPS) + struct.pack('<HH', FRAME_RATE << 8, 1)
    body += tags
    header = b'CWS' + bytes([VERSIONS[player]]) + struct.pack('<I', 8 + len(body))
    return name, header + zlib.compress(body, 9)


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / 'resources' / 'RCDATA'
    out.mkdir(parents=True, exist_ok=True)
    for player in (1, 2, 3):
        for index in range(1, 14):
            name, data = viewer(player, index)
            (out / f'{name}.swf').write_bytes(data)
    print(f'39 viewers written to {out}')


if __name__ == '__main__':
    main()
