#!/usr/bin/env bash
# Start-up time of the desktop program against a bare Qt window: from the moment a process is
# started to the moment its window is first exposed, on one X server of their own (Xvfb), the two
# started in turn over several runs. Both print the time at which their window was shown (the
# program when QX_STARTUP_BENCHMARK is set) and then end.
# Usage: scripts/bench/startup.sh [BUILD_FOLDER] [RUNS]   (defaults: build-release, 10)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build-release}
runs=${2:-10}
release_build "$build" -DQX_BUILD_GUI=ON -- qx_flash_hs bare_window
program=$(realpath "$build/src/qx_flash_hs")
bare=$(realpath "$build/tests/gui/bare_window")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"  # the options file lies beside the program; the current folder only starts dialogs

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  program=$1 bare=$2 runs=$3
  time_to_shown() {
    local start shown
    start=$(date +%s%N)
    shown=$(QX_STARTUP_BENCHMARK=1 "$1" 2>/dev/null | sed -n "s/^shown //p")
    echo $(( (shown - start) / 1000000 ))
  }
  time_to_shown "$program" >/dev/null; time_to_shown "$bare" >/dev/null  # warm the file cache
  for ((i = 1; i <= runs; i++)); do
    echo "window $(time_to_shown "$program")"
    echo "bare $(time_to_shown "$bare")"
  done' bench "$program" "$bare" "$runs" > times.txt
median() { awk -v k="$1" '$1 == k { print $2 }' times.txt | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
summary() {
  awk -v k="$1" '$1 == k { v = $2; s += v; n++; if (n == 1 || v < lo) lo = v; if (v > hi) hi = v }
    END { printf "min %d ms, max %d ms, mean %.0f ms", lo, hi, s / n }' times.txt
}
window=$(median window)
bare=$(median bare)
echo "start-up to window shown over $runs runs each, on one Xvfb server:"
echo "  qx_flash_hs:        median $window ms ($(summary window))"
echo "  bare 910x640 window: median $bare ms ($(summary bare))"
awk -v w="$window" -v b="$bare" 'BEGIN { printf "  ratio: %.2f (aim: at most 2)\n", w / b }'
