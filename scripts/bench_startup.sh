#!/usr/bin/env bash
# Start-up time of the desktop program: from the moment its process is started to the moment its
# main window is first exposed on screen, on an X server of its own (Xvfb), over several runs.
# The program prints the time at which its window was shown when QX_STARTUP_BENCHMARK is set,
# and then ends.
# Usage: scripts/bench_startup.sh [BUILD_FOLDER] [RUNS]   (defaults: build-release, 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
runs=${2:-10}
if [[ ! -x $build/src/qx_flash_hs ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_GUI=ON >/dev/null
  cmake --build "$build" --target qx_flash_hs -j 2 >/dev/null
fi
program=$(realpath "$build/src/qx_flash_hs")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"  # the options file lies beside the program; the current folder only starts dialogs

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  program=$1 runs=$2
  QX_STARTUP_BENCHMARK=1 "$program" >/dev/null 2>&1 || true   # warm the file cache once
  for ((i = 1; i <= runs; i++)); do
    start=$(date +%s%N)
    shown=$(QX_STARTUP_BENCHMARK=1 "$program" 2>/dev/null | sed -n "s/^shown //p")
    echo $(( (shown - start) / 1000000 ))
  done' bench "$program" "$runs" > times.txt
sort -n times.txt | awk '
  { t[NR] = $1; sum += $1 }
  END {
    printf "start-up to window shown over %d runs: median %d ms, min %d ms, max %d ms, mean %.0f ms\n",
           NR, t[int((NR + 1) / 2)], t[1], t[NR], sum / NR
  }'
