// The page's extras: the poster and the buffering spinner, links to a view, the embedding API,
// captions, and what phones get (looking around by moving the phone, a full-window fallback).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { suiteOf } from './lib/suite.mjs';
import { openPlaying, openPaused, coloursAt, nextFrames, pageDelay, waitForColours }
  from './lib/viewer.mjs';
import { decodePng } from './lib/png.mjs';

const hotSpot = { slot: 2, yaw: 20, pos: 0.1, time: 100, self: 1, title: 'Near', link: 'a.html' };
const CAPTIONS = 'WEBVTT\n\n00:00.000 --> 00:02.000\nFirst <b>words</b>\n\n' +
  '00:02.000 --> 00:30.000\nLater\non two lines\n';
// A parent page that embeds the viewer and keeps every message it hears from it.
const EMBED = '<!DOCTYPE html><script>window.heard = []; addEventListener("message", ' +
  '(e) => heard.push(e.data));</script><iframe src="east.webgl.html" width="400" height="300" ' +
  'allow="autoplay"></iframe>';

const suite = suiteOf([
  { name: 'east', yaw: 210, hotspots: [hotSpot] },
  { name: 'captioned', video: 'silent', captions: CAPTIONS },
  { name: 'wide', video: 'wide' },
], { 'embed.html': EMBED });
const url = (name) => `${suite.site.url}${name}.webgl.html`;
const state = (page) => page.evaluate(() => window.qxViewerState());
const near = (a, b, what) => assert.ok(Math.abs(a - b) < 0.5, `${what}: ${a}, not ${b}`);

/**
 * Answers the range requests for the video named by `pattern` from the file itself: the first
 * `share` of its bytes, then nothing until release(more) lets `more` of it (all by default) go.
 */
async function serveVideoUntil(page, share, pattern = /^sphere.*\.mp4$/) {
  const file = fs.readdirSync(suite.site.dir).find((n) => pattern.test(n));
  const bytes = fs.readFileSync(path.join(suite.site.dir, file));
  let limit = Math.floor(bytes.length * share);
  let held = [];
  // A range request answered up to `last` at most: the browser asks again for the rest.
  const answer = (route, last) => {
    const [, from, to] = /bytes=(\d+)-(\d*)/.exec(route.request().headers().range || 'bytes=0-');
    const start = Number(from);
    const end = Math.min(to ? Number(to) : Infinity, last, bytes.length - 1);
    return route.fulfill({ status: 206, body: bytes.subarray(start, end + 1), headers: {
      'content-type': 'video/mp4', 'accept-ranges': 'bytes',
      'content-range': `bytes ${start}-${end}/${bytes.length}` } }).catch(() => {});
  };
  const from = (route) =>
    Number((/bytes=(\d+)/.exec(route.request().headers().range || '') || [0, 0])[1]);
  await page.route((u) => u.pathname.endsWith(`/${file}`), (route) =>
    (from(route) >= limit ? held.push(route) : answer(route, limit - 1)));
  return {
    release: (more = 1) => {
      limit = more >= 1 ? Infinity : Math.floor(bytes.length * more);
      const now = held.filter((r) => from(r) < limit);
      held = held.filter((r) => from(r) >= limit);
      return Promise.all(now.map((r) => answer(r, limit - 1)));
    },
  };
}

test('the poster shows through the start view before the video, and a stall shows a spinner', async () => {
  const page = await suite.newPage();
  await serveVideoUntil(page, 0);
  await page.goto(url('east'));
  await page.waitForFunction(() => window.qxViewerState().framesDrawn > 0);
  // No byte of video yet: what is seen is the poster, turned to yaw 210 as the video would be
  // (the middle holds the loading note), once the poster has come.
  await waitForColours(page, { inner: [0.2, 0.5], left: [0.01, 0.5] },
    { inner: 'red', left: 'purple' });
  assert.equal((await state(page)).ready, false);
  await page.context().close();

  // Half the file plays (Chromium takes the download in 32 KiB blocks: the 84 KB test video gives
  // it one), then the download stops: the spinner shows until the data comes.
  const slow = await suite.newPage();
  const video = await serveVideoUntil(slow, 0.5);
  await openPlaying(slow, url('east'));
  const spinner = slow.locator('.qx-buffering');
  // Looked at in one go in the page: on a busy machine the half may already have played out.
  const playing = await slow.evaluate(() => {
    const v = document.querySelector('#qx-viewer video');
    return { hasData: v.readyState >= 3 && !v.paused,
      spinner: !document.querySelector('.qx-buffering').hidden };
  });
  assert.ok(!(playing.hasData && playing.spinner), 'no spinner while playing');
  await spinner.waitFor({ state: 'visible', timeout: 15000 });
  await video.release();
  await spinner.waitFor({ state: 'hidden', timeout: 15000 });
  await slow.context().close();
});

// The moment a page's first seek took its video to: a link's t, before any of it has played.
const recordFirstSeek = (page) => page.addInitScript(() => document.addEventListener('seeked',
  (e) => { window.firstSeek ??= e.target.currentTime; }, true));

test('a link opens its view and moment; "copy link" gives the link to the view shown', async () => {
  const page = await suite.newPage({ permissions: ['clipboard-read', 'clipboard-write'] });
  await recordFirstSeek(page);
  await openPaused(page, `${url('east')}#yaw=100&pitch=10&fov=50&t=3`);
  let s = await state(page);
  near(s.yaw, 100, 'yaw');
  near(s.pitch, 10, 'pitch');
  near(s.fov, 50, 'fov');
  const opened = await page.evaluate(() => window.firstSeek);
  assert.ok(opened >= 3 && opened < 3.1, `opened at ${opened} s`);
  assert.ok(s.time >= 3, `time ${s.time}`);

  // Turned by hand, then copied from the keyboard: the link holds the new view.
  await page.evaluate(() => document.querySelector('#qx-viewer canvas').focus());
  await page.keyboard.press('ArrowRight');
  const turned = await state(page);
  await page.getByRole('button', { name: 'Copy link to this view' }).focus();
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent ===
    'Link copied');
  const link = await page.evaluate(() => navigator.clipboard.readText());
  assert.match(link, /east\.webgl\.html#yaw=[\d.]+&pitch=10&fov=50&t=[\d.]+$/);

  const again = await suite.newPage();
  await recordFirstSeek(again);
  await openPaused(again, link);
  s = await state(again);
  near(s.yaw, turned.yaw, 'yaw from the copied link');
  near(await again.evaluate(() => window.firstSeek), turned.time, 'time from the copied link');
  await again.context().close();
  await page.context().close();
});

test('keyboard focus shows on the picture, the viewer is in the main landmark, a copy says so',
  async () => {
    const page = await suite.newPage({ permissions: ['clipboard-read', 'clipboard-write'] });
    await openPaused(page, url('east'));
    assert.equal(await page.evaluate(() =>
      document.querySelector('main').contains(document.getElementById('qx-viewer'))), true);

    // The ring is drawn over the picture: white at the canvas's edge, black just inside it.
    const canvas = page.locator('#qx-viewer canvas');
    const edge = async () => {
      await nextFrames(page);
      const shot = decodePng(await canvas.screenshot());
      const y = shot.height / 2;
      return [shot.at(1, y), shot.at(4, y), shot.at(shot.width - 2, y)];
    };
    const white = (rgb) => rgb.every((c) => c > 230);
    const black = (rgb) => rgb.every((c) => c < 25);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.tagName), 'CANVAS');
    const [outer, inner, right] = await edge();
    assert.ok(white(outer) && black(inner) && white(right), `ring ${outer} ${inner} ${right}`);
    await page.evaluate(() => document.activeElement.blur());
    const [unfocused, within] = await edge();
    assert.ok(!(white(unfocused) && black(within)), `no ring: ${unfocused} ${within}`);

    // "Copy link to this view": a visible note, and the status region says it too.
    await page.getByRole('button', { name: 'Copy link to this view' }).click();
    const note = page.locator('.qx-toast');
    await note.waitFor({ state: 'visible' });
    assert.equal(await note.textContent(), 'Link copied');
    await page.waitForFunction(() =>
      document.querySelector('#qx-viewer [role=status]').textContent === 'Link copied');
    await note.waitFor({ state: 'detached' });
    await page.context().close();
  });

test('an embedding page drives the viewer by messages and hears its events', async () => {
  const page = await suite.newPage();
  await page.goto(suite.site.url + 'embed.html');
  const heard = (type, test = '() => true') => page.waitForFunction(
    ([t, f]) => window.heard.find((m) => m.type === t && eval(f)(m)), [type, test]);
  await heard('qx-ready');
  await heard('qx-hotspotshown', '(m) => m.slot === 2 && m.title === "Near"');
  await heard('qx-timeupdate', '(m) => m.time > 0');
  const frame = page.frames()[1];
  const send = (message) => page.evaluate((m) => document.querySelector('iframe')
    .contentWindow.postMessage(m, '*'), message);

  await send({ type: 'qx-pause' });
  await frame.waitForFunction(() => document.querySelector('video').paused);
  await send({ type: 'qx-seek', t: 2 });
  await send({ type: 'qx-set-view', yaw: 45, pitch: -10, fov: 60 });
  await heard('qx-viewchange', '(m) => Math.abs(m.yaw - 45) < 0.01 && Math.abs(m.pitch + 10) < 0.01');
  await frame.waitForFunction(() => Math.abs(window.qxViewerState().time - 2) < 0.1);
  // A message from a window that is not the parent changes nothing.
  await frame.evaluate(() => window.postMessage({ type: 'qx-set-view', yaw: 90 }, '*'));
  await nextFrames(frame.page());
  near((await frame.evaluate(() => window.qxViewerState())).yaw, 45, 'yaw after a stranger');
  await send({ type: 'qx-play' });
  await frame.waitForFunction(() => !document.querySelector('video').paused);

  // Clicking the hot spot (turned into view first) is heard before the frame follows it.
  await send({ type: 'qx-set-view', yaw: 200, pitch: 0 });
  await frame.locator('.qx-hs').click();
  await heard('qx-hotspotclicked', '(m) => m.slot === 2 && m.link === "a.html"');
  await page.context().close();
});

test('captions show the cue of the moment over the picture, and the button hides them', async () => {
  const page = await suite.newPage();
  await openPaused(page, url('captioned'));
  const box = page.locator('.qx-captions');
  const seek = (t) => page.evaluate((to) => { document.querySelector('video').currentTime = to; }, t);
  await seek(1);
  await page.waitForFunction(() => document.querySelector('.qx-captions').textContent ===
    'First words');
  assert.equal(await box.locator('b').textContent(), 'words', 'markup is kept');
  assert.equal(await box.getAttribute('aria-live'), 'off');
  await seek(3);
  await page.waitForFunction(() => document.querySelector('.qx-captions').innerText ===
    'Later\non two lines');
  const toggle = page.getByRole('button', { name: 'Captions' });
  await toggle.click();
  assert.equal(await toggle.getAttribute('aria-pressed'), 'false');
  assert.equal(await box.isVisible(), false);
  await toggle.click();
  assert.equal(await box.isVisible(), true);
  await page.context().close();
});

test('phones: moving the phone turns the view once allowed; full window where full screen is missing', async () => {
  const page = await suite.newPage({ hasTouch: true });
  await page.addInitScript(() => {
    // As on iOS: the permission is asked for, from the tap.
    window.asked = 0;
    DeviceOrientationEvent.requestPermission = async () => { window.asked++; return 'granted'; };
    delete Element.prototype.requestFullscreen;
    delete Element.prototype.webkitRequestFullscreen;
  });
  await openPaused(page, url('east'));
  const tilt = (alpha, beta, gamma) => page.evaluate(([a, b, g]) => window.dispatchEvent(
    new DeviceOrientationEvent('deviceorientation', { alpha: a, beta: b, gamma: g })),
  [alpha, beta, gamma]);
  const motion = page.getByRole('button', { name: 'Look around by moving the phone' });
  await tilt(0, 90, 0);
  near((await state(page)).yaw, 210, 'no turning before the button');
  await motion.click();
  assert.equal(await motion.getAttribute('aria-pressed'), 'true');
  assert.equal(await page.evaluate(() => window.asked), 1);
  // Upright facing the alpha origin, then turned 30 degrees right and tipped 30 degrees up.
  await tilt(0, 90, 0);
  near((await state(page)).pitch, 0, 'upright');
  await tilt(330, 120, 0);
  let s = await state(page);
  near(s.yaw, 240, 'turned right');
  near(s.pitch, 30, 'tipped up');
  await motion.click();
  assert.equal(await motion.getAttribute('aria-pressed'), 'false');
  await tilt(0, 90, 0);
  s = await state(page);
  near(s.yaw, 240, 'off again');

  const full = page.getByRole('button', { name: 'Full screen' });
  const size = () => page.locator('#qx-viewer').boundingBox();
  const before = await size();
  await full.click();
  assert.deepEqual(await size(), { x: 0, y: 0, ...page.viewportSize() });
  await page.getByRole('button', { name: 'Leave full screen' }).waitFor();
  await page.keyboard.press('Escape');
  assert.deepEqual(await size(), before);
  await page.context().close();
});

test('Enter VR draws each eye turned by the headset (a stand-in WebXR), Leave VR returns', async () => {
  const page = await suite.newPage();
  await page.addInitScript(() => {
    // A headset looking 90 degrees right of ahead; one eye, 60 degrees high, its centre off to
    // the right as an eye's is (the middle of the picture looks atan(0.5) = 26.6 degrees right).
    const listeners = [];
    const eye = { transform: { orientation: { x: 0, y: -Math.SQRT1_2, z: 0, w: Math.SQRT1_2 } },
      projectionMatrix: [1, 0, 0, 0, 0, Math.sqrt(3), 0, 0, 0.5, 0, -1, -1, 0, 0, -0.2, 0] };
    const xrFrame = { getViewerPose: () => ({ views: [eye] }) };
    const session = {
      renderState: {},
      updateRenderState(state) { Object.assign(this.renderState, state); },
      requestReferenceSpace: async (type) => ({ type }),
      requestAnimationFrame: (callback) => requestAnimationFrame((t) => callback(t, xrFrame)),
      addEventListener: (type, listener) => listeners.push(listener),
      end: async () => listeners.forEach((listener) => listener()),
    };
    WebGLRenderingContext.prototype.makeXRCompatible = async () => {};
    window.XRWebGLLayer = class {
      constructor(s, gl) { this.framebuffer = null; this.canvas = gl.canvas; }
      getViewport() { return { x: 0, y: 0, width: this.canvas.width, height: this.canvas.height }; }
    };
    Object.defineProperty(navigator, 'xr', { value: {
      isSessionSupported: async (mode) => mode === 'immersive-vr',
      requestSession: async () => session,
    } });
  });
  await openPaused(page, url('east'));
  assert.equal((await coloursAt(page, { centre: [0.5, 0.5] })).centre, 'red');
  await page.getByRole('button', { name: 'Enter VR' }).click();
  await page.getByRole('button', { name: 'Leave VR' }).waitFor();
  // The page's yaw 210, the head's 90 and the eye's 26.6: the frame's column 146.6 in the middle.
  assert.deepEqual(await coloursAt(page, { centre: [0.5, 0.5], high: [0.5, 0.05] }),
    { centre: 'cyan', high: 'black' });
  await page.getByRole('button', { name: 'Leave VR' }).click();
  assert.equal((await coloursAt(page, { centre: [0.5, 0.5] })).centre, 'red');
  await page.context().close();
});

test('a small viewer plays the lighter copy; stalls switch to it at the same moment', async () => {
  const video = () => document.querySelector('#qx-viewer video');
  // 400 CSS pixels wide: the 1920-wide copy is enough.
  const small = await suite.newPage();
  await openPlaying(small, url('wide'));
  const picked = await state(small);
  assert.deepEqual([picked.video, picked.videoWidth], ['wide.1920.mp4', 1920]);
  await small.context().close();

  // At five device pixels per CSS pixel it is 2000 wide: the full video. Its download stops
  // twice (the 78 KB file is read in 32 KiB blocks: half gives one, nine tenths two); one stall
  // is borne, the second of over a second changes to the lighter copy.
  const big = await suite.newPage({ deviceScaleFactor: 5 });
  const full = await serveVideoUntil(big, 0.5, /^wide\.mp4$/);
  await openPlaying(big, url('wide'));
  assert.equal((await state(big)).video, 'wide.mp4');
  // Where the lighter copy will start: its first seek's end, seen in the page as it happens.
  await big.evaluate(() => document.addEventListener('seeked', (e) => {
    if (e.target.currentSrc.endsWith('/wide.1920.mp4')) window.switchedAt ??= e.target.currentTime;
  }, true));
  const stall = () => big.waitForFunction(`(${video})().readyState < 3`, null, { timeout: 15000 });
  await stall();
  // Past the viewer's one-second look at the stall, on the page's own clock.
  await pageDelay(big, 1500);
  assert.equal((await state(big)).video, 'wide.mp4', 'one stall is borne');
  await full.release(0.9);
  await big.waitForFunction(`(${video})().readyState >= 3`, null, { timeout: 15000 });
  await stall();
  const at = (await state(big)).time;
  assert.ok(at > 0.5, `stalled at ${at}`);
  await big.waitForFunction(`window.qxViewerState().video === 'wide.1920.mp4' &&
    window.switchedAt !== undefined`, null, { timeout: 15000 });
  const after = await big.evaluate(() => window.switchedAt);
  assert.ok(after >= at - 0.1 && after < at + 0.5, `went on at ${after}, not ${at}`);
  await big.waitForFunction(`!(${video})().paused && (${video})().currentTime > ${at + 0.3}`);
  await big.context().close();
});
