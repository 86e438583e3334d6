#!/bin/sh
# Joins web/src/ into web/WEB/qx_webgl.js with the esbuild pinned in package-lock.json, installed
# from the lockfile when node_modules is missing or older than it. --check: only compare.
set -eu
cd "$(dirname "$0")"
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
exec node build.mjs "$@"
