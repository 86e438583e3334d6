#!/usr/bin/env bash
# clang-format-14 with the repository's .clang-format over the tracked C++ files.
# Usage: scripts/format.sh          rewrites the files in place
#        scripts/format.sh --check  changes nothing; lists the files that differ and fails
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format-14}
command -v "$format" >/dev/null || { echo "format.sh: $format is missing" >&2; exit 1; }
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' ':!:third_party/**')
case ${1:-} in
  --check)
    if ! out=$("$format" --dry-run -Werror "${files[@]}" 2>&1); then
      sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error.*/\1/p' <<<"$out" | sort -u >&2
      echo "format.sh: these files differ from .clang-format; scripts/format.sh rewrites them" >&2
      exit 1
    fi
    echo "format.sh: ${#files[@]} files formatted"
    ;;
  "")
    "$format" -i "${files[@]}"
    ;;
  *)
    echo "Usage: scripts/format.sh [--check]" >&2
    exit 2
    ;;
esac
