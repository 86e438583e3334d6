#!/bin/sh
# Runs the browser tests: installs playwright-core from the lockfile when node_modules is missing
# or older than the lockfile, then node's test runner over the test files given (all *.test.mjs
# when none is), one file at a time (each drives its own Chromium; two at once only slow each
# other down on a small machine).
set -eu
cd "$(dirname "$0")"
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
[ $# -gt 0 ] || set -- ./*.test.mjs
exec node --test --test-concurrency=1 --test-reporter=spec "$@"
