#!/usr/bin/python3
"""Reads the stored viewers and icons with readers that are not ours.

The viewers go through exiftool (header, stage size, frame rate) and yaswfp's SWF parser (every
tag of the inflated movie must parse, and it must carry ActionScript 3 code and its main class);
the icons through `file` and ffmpeg's GIF decoder (the picture must decode, and its centre must
show the icon's colour).

Usage: check_resources.py RESOURCES_FOLDER
Exits 0 when all is well, 1 with the faults listed otherwise.
"""
import json
import pathlib
import shutil
import subprocess
import sys
import zlib

from yaswfp import swfparser

STAGES = [(266, 200), (300, 230), (320, 480), (400, 300), (480, 360), (480, 800), (600, 400),
          (640, 480), (700, 300), (800, 480), (800, 600), (1000, 600), (1200, 720)]


def check_viewers(folder, faults):
    files = sorted(folder.glob('VIEWER*.swf'))
    names = [f.stem for f in files]
    wanted = [f'VIEWER{p}{i:02d}' for p in (1, 2, 3) for i in range(1, 14)]
    if names != wanted:
        faults.append(f'viewers present: {names}')
    info = json.loads(subprocess.run(['exiftool', '-j', '-n', *map(str, files)], check=True,
                                     capture_output=True, text=True).stdout)
    for f, tags in zip(files, info):
        player, index = int(f.stem[6]), int(f.stem[7:])
        width, height = STAGES[index - 1]
        expect = {'FileType': 'SWF', 'FlashVersion': 17 if player == 1 else 10,
                  'Compressed': True, 'ImageWidth': width, 'ImageHeight': height,
                  'FrameRate': 65}
        for key, value in expect.items():
            if tags.get(key) != value:
                faults.append(f'{f.name}: exiftool {key} = {tags.get(key)!r}, expected {value!r}')
        parsed = swfparser.parsefile(str(f))
        if parsed.header.Signature != 'CWS' or parsed.header.FrameRate != 65 * 256:
            faults.append(f'{f.name}: swfparser header {parsed.header}')
        names = [t.name for t in parsed.tags]
        if not names or names[0] != 'FileAttributes' or 'FailingObject' in names or \
                'UnknownObject' in names or 'ShowFrame' not in names or 'DoABC' not in names or \
                'SymbolClass' not in names:
            faults.append(f'{f.name}: swfparser tags {names}')


def check_one_program(folder, faults):
    """Every viewer of one SWF version is the same program: its movie after the stage RECT is
    byte for byte that of the others, so a browser test that plays a few of them plays them all."""
    bodies = {}
    for f in sorted(folder.glob('VIEWER*.swf')):
        data = f.read_bytes()
        movie = zlib.decompress(data[8:])
        nbits = movie[0] >> 3
        rect_bytes = (5 + 4 * nbits + 7) // 8
        bodies.setdefault(data[3], set()).add(movie[rect_bytes:])
    for version, found in sorted(bodies.items()):
        if len(found) != 1:
            faults.append(f'SWF version {version}: {len(found)} different programs, expected one')


def check_icons(folder, faults):
    colours = {'151': 'red', '152': 'blue'}
    for name, colour in colours.items():
        path = folder / f'{name}.gif'
        kind = subprocess.run(['file', '-b', str(path)], check=True, capture_output=True,
                              text=True).stdout.strip()
        if kind != 'GIF image data, version 89a, 48 x 48':
            faults.append(f'{path.name}: file says {kind!r}')
        if not shutil.which('ffmpeg'):
            continue
        rgb = subprocess.run(['ffmpeg', '-v', 'error', '-xerror', '-i', str(path), '-f', 'rawvideo',
                              '-pix_fmt', 'rgb24', '-'], check=True, capture_output=True).stdout
        if len(rgb) != 48 * 48 * 3:
            faults.append(f'{path.name}: ffmpeg decoded {len(rgb)} bytes')
            continue
        # A point of the marker's face, left of the arrow.
        r, g, b = rgb[(24 * 48 + 14) * 3:(24 * 48 + 14) * 3 + 3]
        seen = 'red' if r > 2 * b else 'blue' if b > 2 * r else f'rgb({r},{g},{b})'
        if seen != colour:
            faults.append(f'{path.name}: face is {seen}, expected {colour}')


def main():
    folder = pathlib.Path(sys.argv[1]) / 'RCDATA'
    faults = []
    check_viewers(folder, faults)
    check_one_program(folder, faults)
    check_icons(folder, faults)
    for fault in faults:
        print(fault)
    print(f'{len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
