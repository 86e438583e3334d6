#!/usr/bin/env python3
"""Builds the 39 stored viewers resources/RCDATA/VIEWER101.swf ... VIEWER313.swf from viewer/.

One source, compiled by Haxe twice: SWF version 17 for the Flash Player viewers (1nn) and
version 10, with Flash Player 10 APIs only, for the AIR (2nn) and Flash Lite (3nn) ones. Each
build then gets the stage size of its window-size index (65 frames per second) written into its
header and is compressed ("CWS") here, so the output is the same bytes on every run: Haxe names
its boot class at random, and that name is made fixed.

Usage: scripts/build-viewers.py [--check] [OUTPUT_FOLDER]
  (default folder: resources/RCDATA). With --check, builds into a temporary folder and exits 1
  when any byte differs from the viewers in OUTPUT_FOLDER.
"""
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
# Stage sizes by window-size index 1..13, as the " Window Size" list names them.
STAGES = [(266, 200), (300, 230), (320, 480), (400, 300), (480, 360), (480, 800), (600, 400),
          (640, 480), (700, 300), (800, 480), (800, 600), (1000, 600), (1200, 720)]
# Haxe's -swf-version for each SWF version wanted.
HAXE_VERSIONS = {17: '11.4', 10: '10'}
FRAME_RATE = 65
TWIPS = 20


def rect(width, height):
    """A SWF RECT of (0, width, 0, height) in twips."""
    values = (0, width * TWIPS, 0, height * TWIPS)
    n = max(max(v.bit_length() for v in values) + 1, 2)
    bits = format(n, '05b') + ''.join(format(v & ((1 << n) - 1), f'0{n}b') for v in values)
    bits += '0' * (-len(bits) % 8)
    return int(bits, 2).to_bytes(len(bits) // 8, 'big')


def compile_body(version, work):
    """The inflated movie (everything after the 8-byte header) of one Haxe build."""
    out = work / f'v{version}.swf'
    subprocess.run(['haxe', 'build.hxml', '-swf', str(out), '-swf-version', HAXE_VERSIONS[version],
                    '-swf-header', f'400:300:{FRAME_RATE}:000000'], cwd=ROOT / 'viewer', check=True)
    data = out.read_bytes()
    if data[:3] == b'CWS':
        body = zlib.decompress(data[8:])
    elif data[:3] == b'FWS':
        body = data[8:]
    else:
        raise SystemExit(f'haxe wrote no SWF: {data[:3]!r}')
    if data[3] != version:
        raise SystemExit(f'haxe wrote SWF version {data[3]}, wanted {version}')
    names = set(re.findall(rb'boot_[0-9a-f]{4}', body))
    if len(names) > 1:
        raise SystemExit(f'more than one boot class name: {names}')
    for name in names:
        body = body.replace(name, b'boot_0000')
    return body


def with_stage(body, version, width, height):
    nbits = body[0] >> 3
    old = (5 + 4 * nbits + 7) // 8
    rest = body[old:]
    rest = struct.pack('<H', FRAME_RATE * 256) + rest[2:]
    movie = rect(width, height) + rest
    packed = zlib.compress(movie, 9)
    return b'CWS' + bytes([version]) + struct.pack('<I', 8 + len(movie)) + packed


def build(folder):
    folder.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        bodies = {v: compile_body(v, pathlib.Path(tmp)) for v in HAXE_VERSIONS}
    for player in (1, 2, 3):
        version = 17 if player == 1 else 10
        for index, (w, h) in enumerate(STAGES, start=1):
            (folder / f'VIEWER{player}{index:02d}.swf').write_bytes(
                with_stage(bodies[version], version, w, h))


def main(argv):
    check = '--check' in argv
    args = [a for a in argv if a != '--check']
    folder = pathlib.Path(args[0]) if args else ROOT / 'resources' / 'RCDATA'
    if not shutil.which('haxe'):
        raise SystemExit('haxe is missing: run scripts/deps.sh')
    if not check:
        build(folder)
        return 0
    with tempfile.TemporaryDirectory() as tmp:
        fresh = pathlib.Path(tmp)
        build(fresh)
        differ = [f.name for f in sorted(fresh.glob('VIEWER*.swf'))
                  if not (folder / f.name).exists() or (folder / f.name).read_bytes() != f.read_bytes()]
    for name in differ:
        print(f'{name} differs from a fresh build of viewer/ (run scripts/build-viewers.py)')
    print(f'{39 - len(differ)} of 39 viewers match the source')
    return 1 if differ else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
