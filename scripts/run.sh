#!/usr/bin/env bash
# Installs what is missing and builds the programs. Where a display is available it opens the
# main window, started in examples/demo so that its file dialogs begin beside the bundled example
# (File > Load Project > demo.pp). Without a display it publishes the bundled example headless:
# examples/demo/demo.pp becomes a web page with its viewer, config.xml, icons and video in
# build/demo-site, and the files written are listed. It says which of the two it does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh gui
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_GUI=ON
cmake --build build -j "$(nproc)"

if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
  echo "A display is available: opening the main window (build/src/qx_flash_hs)."
  echo "File > Load Project > demo.pp shows the bundled example with its hot spots."
  program=$(realpath build/src/qx_flash_hs)
  cd examples/demo
  exec "$program"
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): publishing the bundled example headless."
site=build/demo-site
mkdir -p "$site"
build/tools/cli/qx_flash_hs-cli publish examples/demo/demo.pp "$site/index.html"
echo
echo "Published into $site:"
find "$site" -type f -printf '%10s  %p\n' | sort -k2
echo
echo "To see the page in a browser (Ruffle plays its Flash viewer), serve the folder on this"
echo "computer and open the address it prints, followed by index.html:"
echo "  build/src/velmora_redirect --serve $site --with-ruffle"
