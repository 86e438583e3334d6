// The WebGL page in headless Chromium: playback, the start view, the view's limits and every way
// of moving it. The test video's bands tell the yaw (45 degrees each) and its stripes the pitch.
// Yaw 0 faces the frame's centre column, so a view yaw y looks at the frame's column (y + 180)/360.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { suiteOf } from './lib/suite.mjs';
import { openPlaying, openPaused, currentTime, coloursAt, nextFrames, nearTime, pageDelay }
  from './lib/viewer.mjs';

const STAGE = { stage: [128, 128, 128] };
const hotSpot = { slot: 2, yaw: 20, pos: 0.1, time: 100, self: 1, title: 'Near', link: 'a.html' };

const suite = suiteOf([
  { name: 'east', yaw: 210, hotspots: [hotSpot] },
  { name: 'up', yaw: 60, pitch: 30, controls: false },
  { name: 'down', yaw: 300, pitch: -30, panningMode: 1 },
  // A cylindrical picture (45 degrees above and below the horizon) looked at from 30 up.
  { name: 'black', video: 'band', yaw: 330, pitch: 30, viewMode: 1, stageColor: '#808080' },
  { name: 'classic', video: 'band', yaw: 330, pitch: 30, viewMode: 0, stageColor: '#808080' },
]);
const newPage = (options) => suite.newPage(options);
const url = (name) => `${suite.site.url}${name}.webgl.html`;

test('the video plays and the start view has the configured yaw and pitch', async () => {
  const page = await newPage();
  await openPlaying(page, url('east'));
  const t1 = await currentTime(page);
  await page.waitForFunction((t) => document.querySelector('video').currentTime > t + 0.1, t1);
  // Yaw 210 looks at the frame's 30 degrees, in the first band (0..45); the view's left edge at -5.
  assert.deepEqual(await coloursAt(page, { centre: [0.5, 0.5], left: [0.01, 0.5] }),
    { centre: 'red', left: 'purple' });

  // Yaw 60 (the frame's 240), pitch 30: the black stripe (22.5..39.4 up) in the middle, band 5 above and below it.
  await openPaused(page, url('up'));
  assert.deepEqual(
    await coloursAt(page, { centre: [0.5, 0.5], above: [0.5, 0.2], below: [0.5, 0.8] }),
    { centre: 'black', above: 'magenta', below: 'magenta' });

  // Yaw 300 (the frame's 120), pitch -30: the white stripe in the middle, band 2 above it.
  await openPaused(page, url('down'));
  assert.deepEqual(await coloursAt(page, { centre: [0.5, 0.5], above: [0.5, 0.2] }),
    { centre: 'white', above: 'green' });
  await page.context().close();
});

test('a frame larger than the GPU takes goes through a scaled copy, same view', async () => {
  const page = await newPage();
  await page.addInitScript(() => {
    // A GPU whose textures stop at 512 pixels, half the test video's width.
    const get = WebGLRenderingContext.prototype.getParameter;
    WebGLRenderingContext.prototype.getParameter = function (name) {
      return name === this.MAX_TEXTURE_SIZE ? 512 : get.call(this, name);
    };
  });
  await openPaused(page, url('east'));
  assert.deepEqual(await coloursAt(page, { centre: [0.5, 0.5], left: [0.01, 0.5] }),
    { centre: 'red', left: 'purple' });
  await page.context().close();
});

test('the control bar is there only when controls is on, and it works', async () => {
  const page = await newPage();
  await openPlaying(page, url('east'));
  const bar = page.locator('.qx-bar');
  assert.deepEqual(await bar.getByRole('button').evaluateAll((b) => b.map((x) => x.ariaLabel)),
    ['Pause', 'Mute', 'Copy link to this view', 'Full screen']);
  assert.match(await bar.locator('.qx-time').textContent(), /^0:0\d \/ 0:08$/);
  assert.equal(await bar.getByRole('slider', { name: 'Volume' }).inputValue(), '50');
  assert.equal(await page.evaluate(() => document.querySelector('video').volume), 0.5);

  const pause = async () => {
    await bar.getByRole('button', { name: 'Pause' }).click();
    await page.waitForFunction(() => document.querySelector('video').paused);
  };
  await pause();
  const paused = await currentTime(page);
  await pageDelay(page, 300);
  nearTime(await currentTime(page), paused, 'paused video stands still');
  await bar.getByRole('button', { name: 'Play' }).click();
  await page.waitForFunction((t) => document.querySelector('video').currentTime > t + 0.2, paused);

  await bar.getByRole('button', { name: 'Mute' }).click();
  assert.equal(await page.evaluate(() => document.querySelector('video').muted), true);

  // The position slider moves by seconds from the keyboard, and says the time in words.
  await pause();
  const slider = bar.getByRole('slider', { name: 'Position' });
  await page.evaluate(() => { document.querySelector('video').currentTime = 1; });
  await slider.focus();
  await page.keyboard.press('ArrowRight');
  nearTime(await currentTime(page), 6, 'ArrowRight on the slider', 0.2);
  await page.keyboard.press('Home');
  nearTime(await currentTime(page), 0, 'Home on the slider');
  await page.waitForFunction(() =>
    /^0:00 of 0:08$/.test(document.querySelector('.qx-seek').getAttribute('aria-valuetext')));

  // Full screen: the page's border goes, the view fills the screen.
  await bar.getByRole('button', { name: 'Full screen' }).click();
  await page.waitForFunction(() => {
    const root = document.fullscreenElement;
    return root && getComputedStyle(root).borderTopWidth === '0px' &&
      root.querySelector('canvas').clientWidth === innerWidth;
  });

  await openPlaying(page, url('up'));
  assert.equal(await page.locator('.qx-bar').count(), 0);
  assert.equal(await page.getByRole('button').count(), 0);
  await page.context().close();
});

test('Classic keeps the view inside a cylindrical picture; Black Areas shows the stage colour',
  async () => {
    const page = await newPage();
    // The top of a 30 degree up view reaches 57.7 degrees, beyond the picture's 45.
    await openPaused(page, url('black'));
    assert.deepEqual(await coloursAt(page, { top: [0.5, 0.02], centre: [0.5, 0.5] }, STAGE),
      { top: 'stage', centre: 'cyan' });
    await openPaused(page, url('classic'));
    assert.deepEqual(await coloursAt(page, { top: [0.5, 0.02] }, STAGE), { top: 'cyan' });
    // Pressing up further changes nothing in Classic.
    await page.locator('canvas').focus();
    for (let i = 0; i < 5; i++) await page.keyboard.press('ArrowUp');
    assert.deepEqual(await coloursAt(page, { top: [0.5, 0.02] }, STAGE), { top: 'cyan' });
    await page.context().close();
  });

/** Horizontal distance (px) of the hot spot from the middle of the view. */
const hotSpotOffset = async (page) => {
  await nextFrames(page);
  return page.evaluate(() => {
    const link = document.querySelector('.qx-hs:not([hidden])');
    const canvas = document.querySelector('canvas');
    return Math.abs(parseFloat(link.style.left) - canvas.clientWidth / 2);
  });
};

test('arrow keys turn, + and - zoom, a mouse drag moves the picture with it', async () => {
  const page = await newPage();
  await openPaused(page, url('east'));
  const centre = { centre: [0.5, 0.5] };
  await page.locator('canvas').focus();
  for (let i = 0; i < 4; i++) await page.keyboard.press('ArrowRight'); // 30 -> 50
  assert.deepEqual(await coloursAt(page, centre), { centre: 'yellow' });
  for (let i = 0; i < 6; i++) await page.keyboard.press('ArrowUp'); // pitch 0 -> 30
  assert.deepEqual(await coloursAt(page, centre), { centre: 'black' });
  for (let i = 0; i < 6; i++) await page.keyboard.press('ArrowDown');

  // Dragging right by half the width turns the view left by half its field: 50 -> 15.
  const box = await page.locator('canvas').boundingBox();
  await page.mouse.move(box.x + 100, box.y + 150);
  await page.mouse.down();
  await page.mouse.move(box.x + 300, box.y + 150, { steps: 5 });
  await page.mouse.up();
  assert.deepEqual(await coloursAt(page, centre), { centre: 'red' });

  const wide = await hotSpotOffset(page);
  for (let i = 0; i < 3; i++) await page.keyboard.press('+');
  const zoomedIn = await hotSpotOffset(page);
  assert.ok(zoomedIn > wide * 1.2, `zooming in spreads the view (${wide} -> ${zoomedIn})`);
  for (let i = 0; i < 3; i++) await page.keyboard.press('-');
  assert.ok(Math.abs((await hotSpotOffset(page)) - wide) < 1, '- undoes +');
  await page.context().close();
});

test('touch: one finger drags, two fingers pinch to zoom', async () => {
  const page = await newPage({ hasTouch: true });
  await openPaused(page, url('east'));
  const cdp = await page.context().newCDPSession(page);
  const box = await page.locator('canvas').boundingBox();
  const y = box.y + 220; // below the hot spot: a finger on it would not move the view
  const touch = (type, xs) => cdp.send('Input.dispatchTouchEvent', {
    type, touchPoints: xs.map((x, id) => ({ x: box.x + x, y, id })),
  });
  const gesture = async (from, to) => {
    await touch('touchStart', from);
    for (let step = 1; step <= 5; step++) {
      await touch('touchMove', from.map((x, i) => x + ((to[i] - x) * step) / 5));
    }
    await touch('touchEnd', []);
  };
  const wide = await hotSpotOffset(page);
  await gesture([150, 250], [50, 350]); // fingers apart: closer in
  const zoomedIn = await hotSpotOffset(page);
  assert.ok(zoomedIn > wide * 1.5, `pinch zooms in (${wide} -> ${zoomedIn})`);

  // A finger moved left by three quarters of the view turns it right: frame 30 -> about 56.
  await gesture([350], [50]);
  assert.deepEqual(await coloursAt(page, { centre: [0.5, 0.5] }), { centre: 'yellow' });
  await page.context().close();
});

test('half-area panning turns while held, faster away from the middle', async () => {
  const page = await newPage();
  await openPaused(page, url('down'));
  const box = await page.locator('canvas').boundingBox();
  const start = (await page.evaluate(() => window.qxViewerState())).yaw;
  await page.mouse.move(box.x + box.width * 0.9, box.y + box.height / 2);
  await page.mouse.down();
  // Held until the view has turned 35 degrees either way: the speed depends on the frames the
  // machine draws, the direction does not.
  await page.waitForFunction((from) => {
    const turn = (window.qxViewerState().yaw - from + 360) % 360;
    return turn > 35 && turn < 325;
  }, start);
  await page.mouse.up();
  // The frame's 120 (green) turned right by tens of degrees, never left.
  const { above } = await coloursAt(page, { above: [0.5, 0.2] });
  assert.ok(['cyan', 'blue'].includes(above), `turned right, now ${above}`);
  await page.context().close();
});
