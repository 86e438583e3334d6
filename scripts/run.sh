#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh gui
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_GUI=ON
cmake --build build -j "$(nproc)"
