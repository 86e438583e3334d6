#!/usr/bin/env bash
# Builds the .deb packages in build-pkg/ (Release, Debian's hardening flags, stripped):
#   qx-flash-hs-cli  the command-line publisher alone (no Qt, no FFmpeg)
#   qx-flash-hs      the desktop program with its media module, the HTML5 converter, the selector
#                    utility, the guide
# then checks them with lintian when it is installed: no error or warning may remain.
# Usage: scripts/package.sh [--install]   (--install also installs both with dpkg -i / apt)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-pkg
scripts/deps.sh gui
command -v dpkg-buildflags >/dev/null || { echo "dpkg-dev is missing" >&2; exit 1; }
# Every hardening feature, bindnow included (lintian asks for it).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
. scripts/ccache-env.sh
# Given on every run: CMake keeps the flags of its first run otherwise.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_SANITIZE=OFF -DQX_BUILD_GUI=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
# Only what the packages hold, not the tests.
targets=(qx_flash_hs qx_flash_hs-media qx_flash_hs-cli qx_flash_hs-webgl qx_flash_hs-import
         velmora_redirect user_guide)
mapfile -t gz < <(ninja -C "$build" -t targets all | sed -n 's/^\(qx_gz_[^:]*\):.*/\1/p')
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" "${gz[@]}"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/*.deb
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$build"/*.deb
fi
if [[ ${1:-} == --install ]]; then
  # apt resolves the Depends that dpkg -i alone would leave unmet.
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "$(realpath "$build"/qx-flash-hs-cli_*.deb)" "$(realpath "$build"/qx-flash-hs_*.deb)" >/dev/null
fi
