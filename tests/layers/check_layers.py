#!/usr/bin/env python3
"""Fails when an include under src/ runs the wrong way.

Arrows point down only: a folder of src/ may include from its own layer and the layers below,
never from a higher one, and nothing under src/ includes from tools/ (programs stand on the
libraries, not the other way). The core and the HTML5 conversion never see Qt. The media module's
folder is included by no other: the program loads it at run time, never links it.

Usage: check_layers.py [SOURCE_ROOT]
"""
import pathlib
import re
import sys

# The one table of the layers, lowest first. Folders on one line share a layer.
LAYERS = [
    ("project", "resources", "media", "publish"),  # qxcore: standard library only
    ("webgl", "import", "serve"),                  # qxwebgl, qximport (FFmpeg); qxhttp, qxserve
    ("platform", "mediamodule"),                   # qxplatform; the media module
    ("fonts", "help"),                             # qxfonts, qxhelp
    ("preview",),                                  # qxgui
    ("app",),                                      # qxgui
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
TOP = len(LAYERS)  # src/main.cpp, the desktop program's start
NO_QT = {"project", "resources", "media", "publish", "webgl", "import"}
LOADED_ONLY = {"mediamodule"}
# Headers the build writes (cmake/EmbedResources.cmake, Qt's moc).
GENERATED = re.compile(r"^(qx\w+_resources\.h|qxwebgl_web\.h|\w+\.moc|moc_\w+\.cpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^qt\w*/")


def check(src: pathlib.Path) -> list[str]:
    faults = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        rel = file.relative_to(src)
        folder = rel.parts[0] if len(rel.parts) > 1 else None
        if folder is not None and folder not in LEVEL:
            faults.append(f"src/{rel}: folder {folder}/ is missing from the layer table")
            continue
        level = TOP if folder is None else LEVEL[folder]
        text = file.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            bracket, name = match.groups()
            line = text.count("\n", 0, match.start()) + 1
            where = f"src/{rel}:{line}"
            if bracket == "<":
                if folder in NO_QT and QT_HEADER.match(name):
                    faults.append(f"{where}: {folder}/ includes the Qt header <{name}>")
                continue
            if name.startswith("tools/") or "../" in name:
                faults.append(f'{where}: includes "{name}" from outside src/')
                continue
            if (file.parent / name).is_file() and "/" not in name:
                target = folder  # a neighbour in the same folder
            elif (src / name).is_file() and "/" in name:
                target = name.split("/")[0]
            elif GENERATED.match(name):
                continue
            else:
                faults.append(f'{where}: "{name}" is no file of src/ (from tools/?)')
                continue
            if target not in LEVEL:
                faults.append(f'{where}: "{name}" is in a folder missing from the layer table')
            elif LEVEL[target] > level:
                faults.append(f'{where}: {folder or "main"} includes "{name}" of a higher layer')
            elif target in LOADED_ONLY and target != folder:
                faults.append(f'{where}: "{name}" belongs to a module loaded at run time')
    return faults


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
    faults = check(root / "src")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layers (table in {pathlib.Path(__file__).name})")
        return 1
    print("src/: every include runs down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
