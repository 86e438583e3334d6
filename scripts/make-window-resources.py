#!/usr/bin/env python3
"""Makes the desktop window's own resources: the click sound, the window icon and the cursor.

  resources/sound3/tick.wav  a short click (sound "tick" of type "sound3"): 35 ms of a 2.2 kHz
                             tone with a fast decay, 22050 Hz, 16-bit mono PCM
  resources/ICON/video.png   the 32 x 32 window icon: a round 360-degree marker with a white
                             ring around a white play triangle, on a transparent background
  resources/CURSOR/autor.png the 32 x 32 link cursor of the About window: a white pointing
                             hand outlined in black, its hot spot at the fingertip (5, 0)

Usage: scripts/make-window-resources.py [RESOURCES_FOLDER]   (default: resources/ beside scripts/)
Only the Python standard library is used, and the output is the same on every run.
"""
import math
import pathlib
import struct
import sys
import wave
import zlib

RATE = 22050


def write_click(path):
    frames = bytearray()
    count = int(RATE * 0.035)
    for i in range(count):
        t = i / RATE
        envelope = math.exp(-t / 0.006) * min(1.0, i / 20)  # no pop at the start
        sample = int(20000 * envelope * math.sin(2 * math.pi * 2200 * t))
        frames += struct.pack('<h', sample)
    with wave.open(str(path), 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def icon_pixel(x, y, size=32, samples=4):
    """RGBA of one pixel, edges smoothed by supersampling."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples - size / 2
            py = y + (sy + 0.5) / samples - size / 2
            r = math.hypot(px, py)
            colour = None
            if r <= 15.5:
                colour = (0x1E, 0x5A, 0xD8)
                if 11.5 <= r <= 13.5:
                    colour = (0xFF, 0xFF, 0xFF)
                if r > 14.5:
                    colour = (0x20, 0x20, 0x28)
                # Play triangle pointing right.
                if -5.5 <= px <= 6.5 and abs(py) <= (6.5 - px) * 0.55:
                    colour = (0xFF, 0xFF, 0xFF)
            if colour:
                for k in range(3):
                    acc[k] += colour[k]
                acc[3] += 255
    n = samples * samples
    alpha = acc[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    cover = acc[3] / 255
    return tuple(int(round(acc[k] / cover)) for k in range(3)) + (int(round(alpha)),)


# The hand, row by row from the top: '#' outline, '.' white, anything else transparent.
HAND = [
    "    ##",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..###",
    "   #..#..###",
    "   #..#..#..##",
    "## #..#..#..#.#",
    "#..#........#..#",
    "#...#..........#",
    " #..#..........#",
    "  #............#",
    "  #...........#",
    "   #..........#",
    "   #.........#",
    "    #........#",
    "    #........#",
    "    ##########",
]


def cursor_pixel(x, y, size=32):
    row = HAND[y] if y < len(HAND) else ''
    mark = row[x] if x < len(row) else ' '
    return {'#': (0, 0, 0, 255), '.': (255, 255, 255, 255)}.get(mark, (0, 0, 0, 0))


def write_png(path, pixel, size=32):
    rows = b''
    for y in range(size):
        rows += b'\x00' + b''.join(bytes(pixel(x, y, size)) for x in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9))
    path.write_bytes(png + chunk(b'IEND', b''))


def main():
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / 'resources'
    for folder in ('sound3', 'ICON', 'CURSOR'):
        (root / folder).mkdir(parents=True, exist_ok=True)
    write_click(root / 'sound3' / 'tick.wav')
    write_png(root / 'ICON' / 'video.png', icon_pixel)
    write_png(root / 'CURSOR' / 'autor.png', cursor_pixel)


if __name__ == '__main__':
    main()
