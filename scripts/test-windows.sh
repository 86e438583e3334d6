#!/usr/bin/env bash
# The Windows build, tested here: cross-builds qxcore, the publisher and the core and CLI tests
# with MinGW-w64, runs the tests under Wine, then publishes the bundled example with the Windows
# publisher into a folder with a Cyrillic name and compares every file with what the Linux
# publisher writes, byte for byte.
# Usage: scripts/test-windows.sh LINUX_CLI   (test.sh passes the one it built)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_cli=$(realpath "$1")
scripts/deps.sh windows
build=build-win
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_GUI=OFF -DQX_BUILD_WEBGL=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target qx_flash_hs-cli core_tests cli_tests

# Wine keeps its set-up in a prefix of its own, made once in the build folder; no display needed.
export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
       LC_ALL=C.UTF-8
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
[[ -d $WINEPREFIX ]] || "$wine" wineboot --init >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/Проекты 360"
"$linux_cli" publish examples/demo/demo.pp "$work/linux/index.html" >/dev/null
"$wine" "$build/tools/cli/qx_flash_hs-cli.exe" publish examples/demo/demo.pp \
  "$work/Проекты 360/index.html" >/dev/null
diff -r "$work/linux" "$work/Проекты 360"
echo "Windows publisher under Wine: same $(find "$work/linux" -type f | wc -l) files, byte for byte"
