#!/usr/bin/env bash
# clang-tidy-14 with the repository's .clang-tidy over the sources of src/ and tools/, using the
# compile commands of a configured build folder (default build-test; the generated files there
# are left out). Fails on any finding.
# Usage: scripts/tidy.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
[[ -f $build/compile_commands.json ]] || { echo "tidy.sh: configure $build first" >&2; exit 1; }
command -v run-clang-tidy-14 >/dev/null || { echo "tidy.sh: run-clang-tidy-14 is missing" >&2; exit 1; }
root=$PWD
# Moc's files and the embedded resources sit in the build folder: only our own sources.
run-clang-tidy-14 -p "$build" -j "${QX_TIDY_JOBS:-2}" -quiet \
  "^$root/(src|tools)/.*\\.cpp\$"
