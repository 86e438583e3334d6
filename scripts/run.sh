#!/usr/bin/env bash
# Installs what is missing, builds the programs, and publishes the bundled example headless:
# examples/demo/demo.pp becomes a web page with its viewer, config.xml, icons and video in
# build/demo-site, and the files written are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh gui
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_GUI=ON
cmake --build build -j "$(nproc)"

site=build/demo-site
mkdir -p "$site"
build/tools/cli/qx_flash_hs-cli publish examples/demo/demo.pp "$site/index.html"
echo
echo "Published into $site:"
find "$site" -type f -printf '%10s  %p\n' | sort -k2
