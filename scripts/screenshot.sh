#!/usr/bin/env bash
# Pictures of the main window on an X server of its own (Xvfb), with the real preview player:
#   OUT/window.png          the window as it starts
#   OUT/window_hotspot.png  a project loaded and its hot spot selected: the video paused at the
#                           hot spot's moment, the green marker at its yaw
# Usage: scripts/screenshot.sh [OUT_FOLDER] [BUILD_FOLDER] [VIDEO]
#   (defaults: shots, build; a 6-second test video made with ffmpeg)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-shots}
build=${2:-build}
video=${3:-}
mkdir -p "$out"
cmake --build "$build" --target window_shot -j 2 >/dev/null
if [[ -z $video ]]; then
  video=$(mktemp -d)/panorama.flv
  ffmpeg -loglevel error -f lavfi -i "testsrc2=size=640x320:rate=25" -t 6 -c:v flv1 -q:v 3 "$video"
fi
shot=$build/tests/gui/window_shot
xvfb-run -a -s "-screen 0 1280x800x24" "$shot" "$out/window.png"
xvfb-run -a -s "-screen 0 1280x800x24" "$shot" "$out/window_hotspot.png" "$video" 90 3.0
