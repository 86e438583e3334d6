// Helpers for the published Flash page played by Ruffle: the viewer's own account of what it shows
// (qxViewerState, answered through ExternalInterface) and the pixels of its stage.
import { decodePng } from './png.mjs';
import { colourName } from './viewer.mjs';

const PLAYER = 'ruffle-object, ruffle-embed';
const NOTICE_CLOSE = '#hardware-acceleration-modal:not(.hidden) .close-modal';

/** What the viewer says it shows: { yaw, pitch, fov, time, framesDrawn, visible, ready, error }. */
export const viewerState = (page) => page.evaluate((selector) => {
  const player = document.querySelector(selector);
  try {
    return player ? player.qxViewerState() : null;
  } catch {
    return null; // Ruffle is there, the movie not yet
  }
}, PLAYER);

/** Waits until `predicate(state)` holds, polling the viewer; fails with the last state seen. */
export async function waitForState(page, predicate, what, timeout = 45000) {
  const end = Date.now() + timeout;
  let state = null;
  while (Date.now() < end) {
    state = await viewerState(page);
    if (state?.error) throw new Error(`viewer error while waiting for ${what}: ${state.error}`);
    if (state && predicate(state)) return state;
    await page.waitForTimeout(100);
  }
  throw new Error(`timed out waiting for ${what}; last state ${JSON.stringify(state)}`);
}

/** Waits until the viewer has drawn `count` more frames: what it shows then matches its state. */
export async function settle(page, count = 2) {
  const start = (await viewerState(page)).framesDrawn;
  return waitForState(page, (s) => s.framesDrawn >= start + count, `${count} more frames`, 15000);
}

/** Opens a Flash page and waits until its video has played past `atLeast` seconds. */
export async function openFlash(page, url, atLeast = 0.3) {
  // Not waiting for "load": that waits for Ruffle's WebAssembly too, which the state below covers.
  await page.goto(url, { waitUntil: 'domcontentloaded', timeout: 60000 });
  const state = await waitForState(page, (s) => s.ready && s.time > atLeast && s.framesDrawn > 1,
    `${url} playing`);
  await dismissRuffleNotice(page);
  return state;
}

/**
 * Ruffle running on a software renderer (as here, without a GPU) opens a notice about hardware
 * acceleration over the movie the first time the pointer enters it: let it open, and close it.
 */
async function dismissRuffleNotice(page) {
  const box = await playerBox(page);
  await page.mouse.move(box.x + 1, box.y + 1);
  const close = page.locator(NOTICE_CLOSE);
  try {
    await close.click({ timeout: 2000 });
  } catch {
    // no notice: a renderer with a GPU behind it
  }
  await page.mouse.move(0, 0);
}

/**
 * The stage as a pixel reader (Ruffle draws the movie into the player element). A busy machine
 * may open Ruffle's notice only after openFlash has looked for it: it is closed here then.
 */
export async function stageShot(page) {
  const close = page.locator(NOTICE_CLOSE);
  if (await close.isVisible()) await close.click();
  return decodePng(await page.locator(PLAYER).first().screenshot());
}

/** The test colour at a point given as fractions of the stage. */
export async function stageColourAt(page, fx, fy, extra) {
  const shot = await stageShot(page);
  return colourName(shot.at(fx * (shot.width - 1), fy * (shot.height - 1)), extra);
}

/** Pixels near `rgb` (within `tolerance` per channel) and their centre, in stage pixels. */
export function findColour(shot, rgb, tolerance = 40) {
  let count = 0, sx = 0, sy = 0;
  for (let y = 0; y < shot.height; y++) {
    for (let x = 0; x < shot.width; x++) {
      const p = shot.at(x, y);
      if (rgb.every((c, i) => Math.abs(c - p[i]) <= tolerance)) [count, sx, sy] = [count + 1, sx + x, sy + y];
    }
  }
  return { count, x: count ? sx / count : NaN, y: count ? sy / count : NaN };
}

/** The player element's place on the page, for mouse input. */
export const playerBox = (page) => page.locator(PLAYER).first().boundingBox();
