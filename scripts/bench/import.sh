#!/usr/bin/env bash
# Benchmark of the import of camera videos (not a test):
#  1. a 5760 x 2880 H.265/AAC video imported to 3840 with qx_flash_hs-import, against the ffmpeg
#     command running the same filter chain and encoder settings, one run each; the import
#     should take at most 1.05 x the time of ffmpeg;
#  2. a copy-only import of a large H.264/AAC MP4 (COPY_MIB, default 1024) against cp;
#  3. the peak memory (resident set) of a 7680 x 3840 import (the goal: under 1.5 GB).
# Usage: scripts/bench/import.sh [BUILD_DIR]   (default build; a Release build when missing; rebuilt when stale)
# SECONDS_LONG (default 60) shortens the 5760 x 2880 video on a slow machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/bench/release-build.sh
build=${1:-build}
release_build "$build" -DQX_BUILD_GUI=OFF -- qx_flash_hs-import
import=$(realpath "$build/tools/cli/qx_flash_hs-import")
length=${SECONDS_LONG:-60}
copy_mib=${COPY_MIB:-1024}
work=$(mktemp -d "${TMPDIR:-/tmp}/qx_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
threads=$(($(nproc) < 4 ? $(nproc) : 4))

echo "== making a ${length} s 5760 x 2880 H.265/AAC video"
ff -f lavfi -i testsrc2=size=5760x2880:rate=30 -f lavfi -i sine=frequency=440:sample_rate=48000 \
  -t "$length" -c:v libx265 -preset ultrafast -x265-params log-level=none -pix_fmt yuv420p \
  -c:a aac "$work/camera.mp4"
# What the import runs for it: the chain of FilterChain.cpp and the encoder of VideoImport.cpp.
chain='[0:v]scale=3840:1920:flags=bicubic,setsar=1,format=yuv420p[out]'
sync
t0=$(now)
ff -threads "$threads" -i "$work/camera.mp4" -filter_complex "$chain" -filter_complex_threads "$threads" \
  -map '[out]' -map 0:a -c:v libx264 -preset veryfast -crf 21 -profile:v high -g 60 \
  -rc-lookahead 10 -maxrate 18M -bufsize 36M -threads:v "$threads" -c:a copy -f flv "$work/ffmpeg.flv"
t1=$(now)
"$import" "$work/camera.mp4" "$work/import.flv"
t2=$(now)
ffmpeg_s=$(calc "$t1 - $t0")
import_s=$(calc "$t2 - $t1")
ratio=$(calc "$import_s / $ffmpeg_s")
printf 'ffmpeg: %.1f s   import: %.1f s   import / ffmpeg = %.3f (goal 1.05): %s\n' \
  "$ffmpeg_s" "$import_s" "$ratio" "$(calc "$ratio <= 1.05 ? \"within\" : \"OVER\"")"
rm -f "$work"/camera.mp4 "$work"/*.flv

echo "== making a ${copy_mib} MiB H.264/AAC MP4"
ff -f lavfi -i testsrc2=size=3840x1920:rate=30 -f lavfi -i sine=frequency=440:sample_rate=48000 \
  -t 10 -c:v libx264 -preset ultrafast -qp 10 -pix_fmt yuv420p -c:a aac "$work/clip.mp4"
clip=$(stat -c %s "$work/clip.mp4")
loops=$(((copy_mib * 1048576 + clip - 1) / clip - 1))
ff -stream_loop "$loops" -i "$work/clip.mp4" -c copy "$work/large.mp4"
rm -f "$work/clip.mp4"
echo "   $(($(stat -c %s "$work/large.mp4") / 1048576)) MiB; probe: $("$import" --probe "$work/large.mp4" | grep copy=)"
# Both read the file once from the page cache warmed here.
cat "$work/large.mp4" >/dev/null
sync
t0=$(now); cp "$work/large.mp4" "$work/copy.mp4"; sync; t1=$(now)
rm -f "$work/copy.mp4"; sync
t2=$(now); "$import" "$work/large.mp4" "$work/large.flv"; sync; t3=$(now)
cp_s=$(calc "$t1 - $t0")
copy_s=$(calc "$t3 - $t2")
printf 'cp: %.1f s   copy-only import: %.1f s   import / cp = %.2f\n' "$cp_s" "$copy_s" \
  "$(calc "$copy_s / $cp_s")"
rm -f "$work"/large.*

echo "== peak memory of a 7680 x 3840 import (2 s)"
ff -f lavfi -i testsrc2=size=7680x3840:rate=30 -t 2 -c:v libx265 -preset ultrafast \
  -x265-params log-level=none -pix_fmt yuv420p "$work/8k.mp4"
/usr/bin/time -f '%M' -o "$work/rss" "$import" "$work/8k.mp4" "$work/8k.flv"
rss_kib=$(tail -1 "$work/rss")
printf 'peak resident set: %.0f MiB (goal under 1.5 GB = 1430 MiB): %s\n' "$(calc "$rss_kib / 1024")" \
  "$(calc "$rss_kib * 1024 < 1.5e9 ? \"within\" : \"OVER\"")"
