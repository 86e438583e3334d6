#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Usage: scripts/deps.sh [core|gui|windows|all]   (default: all)
set -euo pipefail
what=${1:-all}
pkgs=(build-essential cmake ninja-build pkg-config libgtest-dev googletest python3)
# The browser version's converter (qxwebgl), the import of camera videos (qximport, with
# libavfilter's v360) and their tests: FFmpeg's libraries and the ffmpeg command that makes the
# test videos.
pkgs+=(libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev libavfilter-dev
       ffmpeg)
if [[ $what != core ]]; then
  pkgs+=(qt6-base-dev qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
         gstreamer1.0-plugins-bad gstreamer1.0-libav xvfb xauth ffmpeg)
  # The browser tests of the HTML5 page: Debian's Chromium and Node.js. npm comes with some
  # Node.js builds; Debian's own nodejs needs its npm package beside it.
  pkgs+=(chromium nodejs)
  command -v npm >/dev/null || pkgs+=(npm)
fi
# The Windows build: MinGW-w64 to cross-build, Wine to run the result, googletest's sources.
if [[ $what == all || $what == windows ]]; then
  pkgs+=(g++-mingw-w64-x86-64-posix wine64 googletest)
fi
if [[ $what == windows ]]; then
  pkgs=(build-essential cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest)
fi
if [[ $what == all ]]; then
  pkgs+=(clang-14 libclang-rt-14-dev python3-yaswfp libimage-exiftool-perl file)
  # The viewer SWFs are built from viewer/ with Haxe; ctest checks the committed ones match.
  pkgs+=(haxe)
  # Fonts a desktop machine commonly has besides DejaVu (Ghostscript's and Google's): the GUI
  # tests then show that the window measures the same with its own fonts whatever else is there.
  pkgs+=(fonts-urw-base35 fonts-noto-core)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Ruffle, the open Flash runtime the published Flash page is tested and shown with, pinned by
# third_party/ruffle's lockfile; installed again only when the lockfile is newer.
if [[ $what != core ]]; then
  ruffle="$(dirname "$0")/../third_party/ruffle"
  if [[ ! -f $ruffle/node_modules/.package-lock.json ||
        $ruffle/package-lock.json -nt $ruffle/node_modules/.package-lock.json ]]; then
    (cd "$ruffle" && npm ci --no-audit --no-fund --loglevel=error)
  fi
fi
