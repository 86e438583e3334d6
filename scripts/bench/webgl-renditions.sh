#!/usr/bin/env bash
# Benchmark of the lighter copy of a wide video (not a test): the conversion time it costs for a
# 3840x1920 video of about 35 Mbit/s, and the stalls while playing it over an emulated 15 Mbit/s
# line with the copy offered and without it. QX_BENCH_SECONDS (60), QX_BENCH_PLAY (30 s of
# playing) and QX_BENCH_MBIT (15) change the clip, the watching time and the line.
# Usage: scripts/bench/webgl-renditions.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
QX_BENCH=renditions exec "$(dirname "$0")/webgl-first-frame.sh" "$@"
