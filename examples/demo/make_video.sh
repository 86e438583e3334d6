#!/usr/bin/env bash
# Makes demo.flv, the bundled 360-degree test video: an 8-second equirectangular picture
# (1440 x 720, so one pixel is a quarter degree) with a grid every 30 degrees of yaw and pitch,
# the directions labelled, a marker running along the horizon and the time shown at the front.
# H.264 in FLV. Needs ffmpeg with drawtext and the DejaVu fonts (Debian: ffmpeg, fonts-dejavu-core).
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[[ -r $font ]] || { echo "missing $font (apt-get install fonts-dejavu-core)" >&2; exit 1; }

W=1440 H=720 SECONDS_LONG=8
# x of a yaw (degrees, 0 = front in the middle) and y of a pitch (degrees, up positive).
x() { echo $(( ($1 + 180) * W / 360 )); }
y() { echo $(( (90 - $1) * H / 180 )); }

label() {  # text, x, y, size, colour
  printf "drawtext=fontfile=%s:text='%s':x=%s-text_w/2:y=%s-text_h/2:fontsize=%s:fontcolor=%s:box=1:boxcolor=black@0.35:boxborderw=4," \
    "$font" "$1" "$2" "$3" "$4" "$5"
}

filters="drawgrid=w=$((W / 12)):h=$((H / 6)):t=1:c=white@0.45,"
filters+="drawbox=x=0:y=$(( $(y 0) - 2 )):w=$W:h=4:c=yellow@0.9:t=fill,"
filters+="drawbox=x=$(( $(x 0) - 2 )):y=0:w=4:h=$H:c=red@0.8:t=fill,"
for yaw in -180 -150 -120 -90 -60 -30 0 30 60 90 120 150 180; do
  filters+=$(label "${yaw/#-180/180}°" "$(x $yaw)" "$(( $(y 0) + 26 ))" 22 white)
done
filters+=$(label "FRONT" "$(x 0)" "$(y 15)" 44 white)
filters+=$(label "RIGHT" "$(x 90)" "$(y 15)" 44 white)
# The back straddles the seam: each edge shows half of it, and the viewer joins them.
filters+=$(label "BACK" "$(x -180)" "$(y 15)" 44 white)
filters+=$(label "BACK" "$(x 180)" "$(y 15)" 44 white)
filters+=$(label "LEFT" "$(x -90)" "$(y 15)" 44 white)
for pitch in 60 30 -30 -60; do
  for yaw in -90 0 90; do
    filters+=$(label "pitch ${pitch}°" "$(x $((yaw + 15)))" "$(y $pitch)" 18 white)
  done
done
filters+=$(label "UP" "$(x 0)" 24 28 white)
filters+=$(label "DOWN" "$(x 0)" $((H - 24)) 28 white)
# A marker that goes once round the horizon, and the clock at the front.
filters+="drawtext=fontfile=$font:text='%{pts\\:hms}':x=$(x 0)-text_w/2:y=$(y -15)-text_h/2:fontsize=40:fontcolor=yellow:box=1:boxcolor=black@0.5:boxborderw=6,"
filters+="format=yuv420p"

ffmpeg -v error -y \
  -f lavfi -i "color=c=0x3a6ea5:s=${W}x$((H / 2)):r=25:d=$SECONDS_LONG" \
  -f lavfi -i "color=c=0x4f6b2f:s=${W}x$((H / 2)):r=25:d=$SECONDS_LONG" \
  -f lavfi -i "color=c=orange:s=20x20:r=25:d=$SECONDS_LONG" \
  -filter_complex "[0][1]vstack[bg];[bg][2]overlay=x='mod(t*$W/$SECONDS_LONG,$W)-10':y=$(( $(y 0) - 10 )),$filters" \
  -c:v libx264 -preset slow -crf 30 -profile:v high -g 50 -an -f flv demo.flv
ls -l demo.flv
