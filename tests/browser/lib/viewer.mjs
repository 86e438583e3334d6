// Helpers for driving the WebGL page: waiting for playback and reading the colours on screen.
// They wait for states (playing, paused, frames drawn), never for a stretch of time: a busy
// machine makes every step slower, and a test that waits for a state only takes longer there.
import assert from 'node:assert/strict';
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
 * Waits until the colours at `points` are the `expected` names (for a picture that comes in on
 * its own, such as a poster still loading), and fails with the last ones seen.
 */
export async function waitForColours(page, points, expected, extra, timeout = 15000) {
  const end = Date.now() + timeout;
  let seen;
  do {
    seen = await coloursAt(page, points, extra);
    if (Object.entries(expected).every(([key, name]) => seen[key] === name)) return;
  } while (Date.now() < end);
  assert.deepEqual(seen, expected);
}

/**
 * Opens a page, waits until its video has played for `atLeast` seconds and pauses it: checks of
 * the view then do not race the video (and a busy machine does less work per frame). The pause
 * comes from the video's own time updates, not from a poll a slow frame may hold back.
 */
export async function openPaused(page, url, atLeast = 0.3) {
  await page.goto(url);
  await page.evaluate((t) => {
    const check = () => {
      const video = document.querySelector('#qx-viewer video');
      if (window.qxTestPaused || !video || video.paused || video.currentTime <= t) return;
      video.pause();
      window.qxTestPaused = true;
    };
    for (const type of ['playing', 'timeupdate']) document.addEventListener(type, check, true);
    check();
  }, atLeast);
  await page.waitForFunction(() => window.qxTestPaused);
}

/**
 * Asserts that a video time is within `tolerance` seconds of the one expected: a browser
 * reports a seek's target at first and the frame it found once the seek is done (a video's
 * first frame may sit at 0.05 s).
 */
export function nearTime(actual, expected, what, tolerance = 0.1) {
  assert.ok(Math.abs(actual - expected) < tolerance, `${what}: ${actual} s, expected ${expected} s`);
}

/**
 * For checks that something does not happen: lets `ms` go by on the page's own clock, so that
 * every timer the page had started for a shorter time has fired first, however busy the machine.
 */
export const pageDelay = (page, ms) =>
  page.evaluate((t) => new Promise((resolve) => setTimeout(resolve, t)), ms);
