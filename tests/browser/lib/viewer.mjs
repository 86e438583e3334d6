// Helpers for driving the WebGL page: waiting for playback and reading the colours on screen.
import { decodePng } from './png.mjs';
import { BANDS, STRIPES } from './testVideo.mjs';

/** Opens a page and waits until its video has played for `atLeast` seconds. */
export async function openPlaying(page, url, atLeast = 0.3) {
  await page.goto(url);
  await page.waitForFunction((t) => {
    const video = document.querySelector('#qx-viewer video');
    return video && !video.paused && video.currentTime > t;
  }, atLeast);
}

export const currentTime = (page) =>
  page.evaluate(() => document.querySelector('#qx-viewer video').currentTime);

/** Waits two frames: the viewer moves its picture and hot spots on the next frame. */
export const nextFrames = (page) => page.evaluate(() => new Promise((r) => {
  requestAnimationFrame(() => requestAnimationFrame(r));
}));

/** A screenshot of the viewer's canvas, as a pixel reader. */
export async function canvasShot(page) {
  await nextFrames(page);
  return decodePng(await page.locator('#qx-viewer canvas').screenshot());
}

/**
 * The name of the test colour nearest to `rgb` (bands, stripes and `extra` { name: [r, g, b] }),
 * or 'unknown' when none is near: video compression and filtering move colours a little.
 */
export function colourName(rgb, extra = {}) {
  let best = 'unknown', bestDistance = 80;
  for (const [name, ref] of [...BANDS, ...STRIPES, ...Object.entries(extra)]) {
    const distance = Math.max(...ref.map((c, i) => Math.abs(c - rgb[i])));
    if (distance < bestDistance) [best, bestDistance] = [name, distance];
  }
  return best;
}

/** Colour names at points given as fractions of the canvas ({ centre: [0.5, 0.5], ... }). */
export async function coloursAt(page, points, extra) {
  const shot = await canvasShot(page);
  const names = {};
  for (const [key, [fx, fy]] of Object.entries(points)) {
    names[key] = colourName(shot.at(fx * (shot.width - 1), fy * (shot.height - 1)), extra);
  }
  return names;
}

/**
 * Opens a page, waits for playback and pauses it: checks of the view then do not race the
 * video (and a busy machine does less work per frame).
 */
export async function openPaused(page, url) {
  await openPlaying(page, url);
  await page.evaluate(() => document.querySelector('#qx-viewer video').pause());
}
