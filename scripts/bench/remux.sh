#!/usr/bin/env bash
# Benchmark of the F4V to FLV remux that publishing for today's web does (not a test): a 1 GiB
# H.264/AAC F4V with B-frames (made once, kept in QX_BENCH_DIR), published with and without
# --with-ruffle, against `cp` + `sync` of the same file. Both publish runs copy the video; the
# difference between them is the remux. Each step is run QX_BENCH_ROUNDS times (3), best kept.
# Usage: scripts/bench/remux.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build}
release_build "$build" -DQX_BUILD_GUI=OFF -- qx_flash_hs-cli
cli=$(realpath "$build/tools/cli/qx_flash_hs-cli")
dir=${QX_BENCH_DIR:-/tmp/qx-bench-remux}
rounds=${QX_BENCH_ROUNDS:-3}
mkdir -p "$dir"
video=$dir/big.f4v
if [[ ! -f $video ]]; then
  echo "making $video (once)..."
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1280x640:rate=30 \
    -f lavfi -i sine=frequency=440:sample_rate=44100 -t 30 -c:v libx264 -preset ultrafast -bf 2 \
    -g 60 -b:v 28M -pix_fmt yuv420p -c:a aac -b:a 128k -f f4v "$dir/part.f4v"
  ffmpeg -hide_banner -loglevel error -y -stream_loop 20 -i "$dir/part.f4v" -c copy -f f4v "$video"
  rm -f "$dir/part.f4v"
fi
mkdir -p "$dir/ruffle"
[[ -f $dir/ruffle/ruffle.js ]] || echo "// stand-in: the bench times the video, not Ruffle" >"$dir/ruffle/ruffle.js"
sed 's|<VIDEO1>[^<]*</VIDEO1>|<VIDEO1>big.f4v</VIDEO1>|' examples/demo/demo.pp >"$dir/tour.pp"

best() {  # best wall time in seconds of "$@" over the rounds
  local t b=
  for ((i = 0; i < rounds; i++)); do
    rm -rf "$dir/out"
    mkdir -p "$dir/out"
    /usr/bin/time -f %e -o "$dir/time" "$@" >/dev/null 2>&1
    t=$(tail -1 "$dir/time")
    if [[ -z $b ]] || (($(echo "$t < $b" | bc))); then b=$t; fi
  done
  echo "$b"
}
cat "$video" >/dev/null  # into the page cache for every step alike
size=$(stat -c %s "$video")
cp_time=$(best sh -c "cp '$video' '$dir/out/copy.f4v' && sync '$dir/out/copy.f4v'")
plain=$(best "$cli" publish "$dir/tour.pp" "$dir/out/index.html")
ruffle=$(best env QX_RUFFLE_DIR="$dir/ruffle" "$cli" publish "$dir/tour.pp" "$dir/out/index.html" --with-ruffle)
remux=$(echo "$ruffle - $plain" | bc)
printf 'video:                   %d MiB\n' $((size / 1048576))
printf 'cp + sync:               %6.2f s\n' "$cp_time"
printf 'publish (copy):          %6.2f s\n' "$plain"
printf 'publish --with-ruffle:   %6.2f s\n' "$ruffle"
printf 'remux (the difference):  %6.2f s  = %.2f x cp, %.0f MiB/s\n' "$remux" \
  "$(echo "$remux / $cp_time" | bc -l)" "$(echo "$size / 1048576 / $remux" | bc -l)"
