#!/usr/bin/env bash
# Benchmark of the HTML5 page's start in headless Chromium (not a test): time to the first
# picture and to the first video frame of a 4K 35 Mbit/s video over an emulated 15 Mbit/s line,
# with and without the poster. QX_BENCH_ROUNDS and QX_BENCH_MBIT change the rounds and the line.
# Usage: scripts/bench/webgl-first-frame.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build}
release_build "$build" -- qx_flash_hs-cli qx_flash_hs-webgl velmora_redirect
export QX_CLI=$(realpath "$build/tools/cli/qx_flash_hs-cli")
export QX_REDIRECT=$(realpath "$build/src/velmora_redirect")
cd tests/browser
[[ -f node_modules/.package-lock.json ]] || npm ci --no-audit --no-fund --loglevel=error
node "bench-${QX_BENCH:-first-frame}.mjs"
