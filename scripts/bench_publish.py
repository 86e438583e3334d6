#!/usr/bin/env python3
"""Publishing speed and memory against cp, with a large video.

Makes a project whose video is SIZE_MIB (default 1024): an FLV header and first tag, then
incompressible data. In turns, copies the video with cp followed by an fsync of the copy (the
publisher makes its copy durable before renaming it into place) and publishes the project with
qx_flash_hs-cli into fresh folders, three times each. Prints the best time of each, their
ratio, and the peak memory (maximum resident set) of every run. Exits 1 when publishing takes
more than 1.05 times as long as cp plus fsync or the publisher's peak memory reaches 20 MiB.

Usage: scripts/bench_publish.py [--cli PATH] [--size-mib N] [--dir FOLDER]
Without --cli a release build of the command-line publisher is made in build-bench/.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
TIME = '/usr/bin/time'  # Debian package "time"


def build_cli():
    build = ROOT / 'build-bench'
    subprocess.run(['cmake', '-S', str(ROOT), '-B', str(build), '-G', 'Ninja',
                    '-DCMAKE_BUILD_TYPE=Release', '-DQX_BUILD_GUI=OFF', '-DQX_SANITIZE=OFF'],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(['cmake', '--build', str(build), '-j2', '--target', 'qx_flash_hs-cli'],
                   check=True, stdout=subprocess.DEVNULL)
    return build / 'tools' / 'cli' / 'qx_flash_hs-cli'


# The publisher reads the video's first tags before copying it: a Sorenson video tag after the
# FLV header makes the rest pass for frames.
FLV_HEAD = (b'FLV\x01\x01' + (9).to_bytes(4, 'big') + bytes(4) + b'\x09' + (17).to_bytes(3, 'big')
            + bytes(7) + b'\x22' + bytes(16) + (28).to_bytes(4, 'big'))


def make_video(path, mib):
    chunk = memoryview(os.urandom(16 << 20))  # rotated copies: incompressible, quick to make
    with open(path, 'wb') as f:
        f.write(FLV_HEAD)
        for i in range(mib // 16):
            f.write(chunk[i % 4093:])
            f.write(chunk[:i % 4093])
        f.write(chunk[:(mib % 16) << 20])


def timed(argv, scratch):
    """Wall time in seconds and peak resident memory in MiB of one run.

    The peak comes from /usr/bin/time: a child forked straight from this Python process would be
    charged with the interpreter's own memory, since Linux counts it up to the exec.
    """
    report = scratch / 'rusage'
    start = time.perf_counter()
    done = subprocess.run([TIME, '-f', '%M', '-o', str(report), *argv], stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f'{argv[0]} failed with {done.returncode}')
    return elapsed, int(report.read_text().split()[-1]) / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--cli', type=pathlib.Path)
    parser.add_argument('--size-mib', type=int, default=1024)
    parser.add_argument('--dir', type=pathlib.Path, default=None)
    args = parser.parse_args()
    if not os.access(TIME, os.X_OK):
        sys.exit(f'{TIME} is needed for the peak memory (apt-get install time)')
    cli = args.cli or build_cli()

    with tempfile.TemporaryDirectory(dir=args.dir, prefix='qx_bench_') as tmp:
        tmp = pathlib.Path(tmp)
        video = tmp / 'big.flv'
        make_video(video, args.size_mib)
        project = tmp / 'big.pp'
        project.write_bytes(f'<VIDEO1>{video}</VIDEO1><WINDOW>4</WINDOW>'.encode())
        print(f'video: {args.size_mib} MiB, publisher: {cli}')

        runs = {'cp': [], 'publish': []}
        for turn in range(3):
            target = tmp / f'cp{turn}'
            target.mkdir()
            copy = str(target / 'big.flv')
            runs['cp'].append(timed(['sh', '-c', 'cp "$1" "$2" && sync "$2"', 'sh', str(video), copy],
                                    tmp))
            shutil.rmtree(target)
            site = tmp / f'site{turn}'
            runs['publish'].append(timed([str(cli), 'publish', str(project),
                                          str(site / 'index.html')], tmp))
            shutil.rmtree(site)
            os.sync()

        best = {k: min(t for t, _ in v) for k, v in runs.items()}
        peak = max(m for _, m in runs['publish'])
        ratio = best['publish'] / best['cp']
        for k, v in runs.items():
            times = ', '.join(f'{t:.3f} s / {m:.1f} MiB' for t, m in v)
            print(f'{k:8} {times}')
        print(f'best: cp+fsync {best["cp"]:.3f} s, publish {best["publish"]:.3f} s, '
              f'ratio {ratio:.2f} (limit 1.05)')
        print(f'publisher peak memory: {peak:.1f} MiB (limit 20)')
        ok = ratio <= 1.05 and peak < 20
        print('within limits' if ok else 'OUTSIDE LIMITS')
        return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
