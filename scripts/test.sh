#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full build (with the
# desktop program when QX_BUILD_GUI is not OFF), the core alone without Qt, the Windows build of
# the core and the publisher under Wine (unless QX_WINDOWS=OFF), and the fuzz targets; before and
# after the first build, the formatting check and clang-tidy (unless QX_TIDY=OFF).
# QX_SANITIZE=ON|OFF (default ON) builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=${QX_SANITIZE:-ON}
gui=${QX_BUILD_GUI:-ON}
scripts/deps.sh all
jobs=$(nproc)
. scripts/ccache-env.sh

echo "== formatting (clang-format-14)"
scripts/format.sh --check

echo "== full build (GUI=$gui, sanitizers=$sanitize)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE="$sanitize" -DQX_BUILD_GUI="$gui"
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

echo "== clang-tidy over src/ and tools/ (QX_TIDY=OFF leaves it out)"
if [[ ${QX_TIDY:-ON} != OFF ]]; then
  QX_TIDY_JOBS=$jobs scripts/tidy.sh build-test
fi

if [[ $gui != OFF ]]; then
  echo "== core alone (GUI=OFF)"
  cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE="$sanitize" -DQX_BUILD_GUI=OFF
  cmake --build build-core -j "$jobs"
  ctest --test-dir build-core --output-on-failure -j "$jobs"
fi

if [[ ${QX_WINDOWS:-ON} != OFF ]]; then
  echo "== Windows build (MinGW-w64, tests under Wine)"
  scripts/test-windows.sh build-test/tools/cli/qx_flash_hs-cli
fi

echo "== fuzz targets (${QX_FUZZ_SECONDS:-30} s each)"
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE=ON \
  -DQX_BUILD_GUI=OFF -DQX_FUZZ=ON -DQX_FUZZ_SECONDS="${QX_FUZZ_SECONDS:-30}"
cmake --build build-fuzz -j "$jobs" --target fuzz_project_reader fuzz_options_reader fuzz_number_reading \
  fuzz_webgl_readers fuzz_http_request fuzz_video_content
ctest --test-dir build-fuzz --output-on-failure -R '^fuzz\.'
