#!/usr/bin/env bash
# Start-up cost of the command-line publisher: the shared libraries it loads, its peak memory and
# its wall time for `--version`, and for `show` on the bundled example (best of RUNS).
# Usage: scripts/bench/cli-start.sh [CLI] [RUNS]   (default: a release build in build-bench/, 20)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
cli=${1:-}
runs=${2:-20}
if [[ -z $cli ]]; then
  release_build build-bench -DQX_BUILD_GUI=OFF -DQX_SANITIZE=OFF -- qx_flash_hs-cli
  cli=build-bench/tools/cli/qx_flash_hs-cli
fi
cli=$(realpath "$cli")
libs=$(LD_TRACE_LOADED_OBJECTS=1 "$cli" | grep -c '=>\|ld-linux' || true)
peak=$(/usr/bin/time -f %M "$cli" --version 2>&1 >/dev/null | tail -1)
best() {
  local best_ns=999999999999
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    ((end - start < best_ns)) && best_ns=$((end - start))
  done
  awk -v ns="$best_ns" 'BEGIN { printf "%.1f ms", ns / 1e6 }'
}
echo "$cli"
echo "shared libraries: $libs"
echo "peak memory for --version: $((peak / 1024)).$(((peak % 1024) * 10 / 1024)) MiB"
echo "--version: $(best "$cli" --version) (best of $runs)"
echo "show examples/demo/demo.pp: $(best "$cli" show examples/demo/demo.pp) (best of $runs)"
