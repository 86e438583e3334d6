#!/usr/bin/env python3
"""Times the CLI on the three input shapes that once made the readers quadratic.

Usage: scripts/bench/hostile-readers.py CLI [SIZE_KB ...]
Prints one line per shape and size: the seconds the command took, on the clock and in
processor time (the second is steadier on a busy machine).
"""
import os
import resource
import subprocess
import sys
import tempfile
import time

SHAPES = {
    "config.xml of open <hotspot": lambda n: b"<main></main>" + b"<hotspot" * (n // 8),
    "config.xml value of bare &": lambda n: b"<main><movie>" + b"&" * n + b"</movie></main>",
    "project file of </": lambda n: b"</" * (n // 2),
}


def run(cli, shape, data):
    with tempfile.TemporaryDirectory() as folder:
        if shape.startswith("project"):
            target = os.path.join(folder, "p.pp")
            with open(target, "wb") as f:
                f.write(data)
            command = [cli, "show", target]
        else:
            with open(os.path.join(folder, "config.xml"), "wb") as f:
                f.write(data)
            target = os.path.join(folder, "tour.html")
            with open(target, "wb") as f:
                f.write(b"<html></html>")
            command = [cli, "webgl", target]
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.monotonic()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
        return time.monotonic() - start, cpu


def main():
    cli = sys.argv[1]
    sizes = [int(s) for s in sys.argv[2:]] or [125, 250, 1024, 4096]
    for shape, make in SHAPES.items():
        for kb in sizes:
            wall, cpu = run(cli, shape, make(kb * 1024))
            print(f"{shape:32} {kb:6} KB  {wall:7.2f} s  ({cpu:.2f} s cpu)", flush=True)


if __name__ == "__main__":
    main()
