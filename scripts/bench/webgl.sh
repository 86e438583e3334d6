#!/usr/bin/env bash
# Benchmark of the HTML5 version's video conversion (not a test):
#  1. remuxing a 1 GiB H.264/AAC FLV into MP4 (moov first) with `qx_flash_hs-cli webgl`, against
#     `cp` of the same file; the remux should take at most 1.5 x the time of cp;
#  2. the re-encoding speed of a 60 s 1920 x 960 Sorenson Spark/MP3 FLV.
# Usage: scripts/bench/webgl.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build}
release_build "$build" -DQX_BUILD_GUI=OFF -- qx_flash_hs-cli qx_flash_hs-webgl
cli=$(realpath "$build/tools/cli/qx_flash_hs-cli")
work=$(mktemp -d "${TMPDIR:-/tmp}/qx_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
now() { date +%s.%N; }
# A folder as publishing leaves it: the page, config.xml naming the video, the video.
site() {
  mkdir -p "$1"
  printf '<html>\r\n<head>\r\n    <title>Bench</title>\r\n<body>\r\n    <center>\r\n' >"$1/tour.html"
  printf '\xEF\xBB\xBF<config>\r\n<main>\r\n<movie>%s</movie>\r\n</main>\r\n</config>\r\n' "$2" >"$1/config.xml"
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
calc() { awk "BEGIN { print $1 }"; }

echo "== making a 1 GiB H.264/AAC FLV"
ff -f lavfi -i testsrc2=size=1920x960:rate=30 -f lavfi -i sine=frequency=440 -t 10 \
  -c:v libx264 -preset ultrafast -qp 0 -pix_fmt yuv420p -c:a aac -f flv "$work/clip.flv"
clip=$(stat -c %s "$work/clip.flv")
loops=$(((1073741824 + clip - 1) / clip - 1))
site "$work/remux" tour.flv
ff -stream_loop "$loops" -i "$work/clip.flv" -c copy -f flv "$work/remux/tour.flv"
size=$(stat -c %s "$work/remux/tour.flv")
echo "   $((size / 1048576)) MiB"

cp_times=() remux_times=()
for round in 1 2 3; do
  sync
  t0=$(now); cp "$work/remux/tour.flv" "$work/copy.flv"; t1=$(now)
  cp_times+=("$(calc "$t1 - $t0")")
  rm -f "$work/copy.flv"; sync
  t0=$(now); "$cli" webgl "$work/remux/tour.html" >/dev/null; t1=$(now)
  remux_times+=("$(calc "$t1 - $t0")")
  rm -f "$work/remux/tour.mp4"; sync
done
cp_s=$(printf '%s\n' "${cp_times[@]}" | median)
remux_s=$(printf '%s\n' "${remux_times[@]}" | median)
ratio=$(calc "$remux_s / $cp_s")
printf 'cp:    %.2f s (median of %s)\n' "$cp_s" "${cp_times[*]}"
printf 'remux: %.2f s (median of %s)\n' "$remux_s" "${remux_times[*]}"
printf 'remux / cp = %.2f (limit 1.5): %s\n' "$ratio" "$(calc "$ratio <= 1.5 ? \"within\" : \"OVER\"")"
rm -rf "$work/remux" "$work/clip.flv"

echo "== re-encoding a 60 s 1920 x 960 Sorenson Spark/MP3 FLV"
site "$work/encode" old.flv
ff -f lavfi -i testsrc2=size=1920x960:rate=25 -f lavfi -i sine=frequency=440 -t 60 \
  -c:v flv1 -q:v 4 -c:a libmp3lame -ar 44100 -f flv "$work/encode/old.flv"
t0=$(now); "$cli" webgl "$work/encode/tour.html" >/dev/null; t1=$(now)
enc_s=$(calc "$t1 - $t0")
printf 'transcode: %.1f s for 60 s of video = %.2f x real time, %.1f frames/s (%d cores)\n' \
  "$enc_s" "$(calc "60 / $enc_s")" "$(calc "1500 / $enc_s")" "$(nproc)"
