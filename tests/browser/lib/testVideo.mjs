// Test videos made with ffmpeg: eight vertical colour bands, one per 45 degrees of yaw, so that
// the colour in the middle of the view tells the direction; a black stripe 22.5..39.4 degrees
// above the horizon and a white one as far below tell the pitch; a 440 Hz tone for the sound.
import { execFileSync } from 'node:child_process';

// Band k covers the frame's columns k/8 .. (k+1)/8: view yaws 45k - 180 .. 45(k+1) - 180.
export const BANDS = [
  ['red', [255, 0, 0]], ['yellow', [255, 255, 0]], ['green', [0, 255, 0]],
  ['cyan', [0, 255, 255]], ['blue', [0, 0, 255]], ['magenta', [255, 0, 255]],
  ['orange', [255, 128, 0]], ['purple', [128, 0, 255]],
];
export const STRIPES = [['black', [0, 0, 0]], ['white', [255, 255, 255]]];

/** The name of the band that a view yaw (degrees; 0 faces the frame's centre) looks at. */
export const bandAt = (yaw) => BANDS[Math.floor(((((yaw + 180) % 360) + 360) % 360) / 45)][0];

const hex = ([r, g, b]) => '0x' + [r, g, b].map((c) => c.toString(16).padStart(2, '0')).join('');

/**
 * Writes an 8-second video of the bands to `file`: H.264/AAC (.mp4 with the index first, .flv or
 * .f4v), or with `codec: 'flv1'` Sorenson Spark/MP3 in an FLV, as old Flash videos are.
 * A 2:1 frame covers the whole sphere and carries the stripes; a wider one is a cylindrical band.
 */
export function makeBandsVideo(file, { width = 1024, height = 512, seconds = 8, codec = 'h264',
  flicker = false, audio = true } = {}) {
  const bandWidth = width / 8;
  const sources = BANDS.map(([, rgb], k) =>
    `color=c=${hex(rgb)}:s=${bandWidth}x${height}:r=25:d=${seconds}[b${k}]`);
  const stack = BANDS.map((_, k) => `[b${k}]`).join('') + 'hstack=inputs=8';
  // Rows of a 2:1 frame: v = 0.5 - latitude / 180.
  const row = (latitude) => Math.round((0.5 - latitude / 180) * height);
  const stripes = width === 2 * height
    ? `,drawbox=x=0:y=${row(39.4)}:w=${width}:h=${row(22.5) - row(39.4)}:color=black:t=fill` +
      `,drawbox=x=0:y=${row(-22.5)}:w=${width}:h=${row(-39.4) - row(-22.5)}:color=white:t=fill`
    : '';
  // `flicker`: a box on the horizon in band 7 (view yaws 146..169), white for the first half of
  // every second and purple the rest: pixels that prove the picture moves.
  const box = flicker && width === 2 * height
    ? `,drawbox=x=${width * 29 / 32}:y=${row(10)}:w=${width / 16}:h=${row(-10) - row(10)}` +
      `:color=white:t=fill:enable='lt(mod(t,1),0.5)'`
    : '';
  const graph = `${sources.join(';')};${stack}${stripes}${box},format=yuv420p[v]`;
  const container = file.endsWith('.flv') ? ['-f', 'flv']
    : file.endsWith('.f4v') ? ['-f', 'f4v'] : ['-movflags', '+faststart'];
  const codecs = codec === 'flv1'
    ? ['-c:v', 'flv1', '-q:v', '3', '-g', '25', '-c:a', 'libmp3lame', '-ar', '44100', '-b:a', '64k']
    : ['-c:v', 'libx264', '-preset', 'veryfast', '-crf', '23', '-g', '25',
      '-c:a', 'aac', '-ac', '2', '-b:a', '64k'];
  execFileSync('ffmpeg', [
    '-hide_banner', '-loglevel', 'error', '-y',
    '-f', 'lavfi', '-i', `sine=frequency=440:sample_rate=44100:duration=${seconds}`,
    '-filter_complex', graph, '-map', '[v]', ...(audio ? ['-map', '0:a'] : ['-an']), ...codecs,
    ...container, file,
  ]);
}

/**
 * Writes a 3840x1920 H.264 FLV of about 35 Mbit/s, as a 360-degree camera records: noise keeps the
 * encoder from making the picture small. With `audio`, a 440 Hz AAC tone too.
 */
export function makeHeavy4kVideo(file, { seconds = 6, audio = false } = {}) {
  execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
    'testsrc2=size=3840x1920:rate=30,noise=alls=30:allf=t',
    ...(audio ? ['-f', 'lavfi', '-i', 'sine=frequency=440:sample_rate=44100'] : []),
    '-t', String(seconds), '-c:v', 'libx264', '-preset', 'ultrafast', '-b:v', '35M',
    '-maxrate', '35M', '-bufsize', '35M', ...(audio ? ['-c:a', 'aac'] : []), '-f', 'flv', file]);
}
