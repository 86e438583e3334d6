#!/usr/bin/env bash
# Benchmark of the published Flash page played by Ruffle in headless Chromium (not a test): time
# to the first video frame and frames drawn per second while the view is dragged round, for
# 1280x640 and 1920x960 H.264 and Sorenson Spark FLV, each with the viewer's low stage quality and
# the page's high one side by side (and the machine's load); the renderer's best for a stage filled
# with one still picture (built with Haxe, when it is there); the sizes of the stored viewers.
# Usage: scripts/bench/flash-viewer.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build}
scripts/deps.sh gui
release_build "$build" -- qx_flash_hs-cli velmora_redirect
export QX_CLI=$(realpath "$build/tools/cli/qx_flash_hs-cli")
export QX_REDIRECT=$(realpath "$build/src/velmora_redirect")
cd tests/browser
[[ -f node_modules/.package-lock.json ]] || npm ci --no-audit --no-fund --loglevel=error
node bench-flash.mjs
