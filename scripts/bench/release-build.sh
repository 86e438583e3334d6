# Sourced by the benchmarks. release_build BUILD [-DOPTION=VALUE ...] -- TARGET ...
# builds the targets in BUILD as Release (configured with the options when BUILD is new), every
# time, so that a benchmark never times a program older than its sources.
release_build() {
  local build=$1 options=()
  shift
  while [[ $# -gt 0 && $1 != -- ]]; do
    options+=("$1")
    shift
  done
  shift
  if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
  fi
  cmake --build "$build" -j 2 --target "$@" >/dev/null
}
