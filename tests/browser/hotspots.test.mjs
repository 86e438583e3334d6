// Hot spots of the WebGL page: shown at their yaw for their time, announced, opened with the right
// target by mouse and by keyboard.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { suiteOf } from './lib/suite.mjs';
import { openPlaying, openPaused, coloursAt } from './lib/viewer.mjs';

const target = (title) => `<!DOCTYPE html><title>${title}</title><p>${title}</p>\n`;

const suite = suiteOf([{
  name: 'tour',
  title: 'Hot spots',
  yaw: 210, // the frame's 30 degrees
  hotspots: [
    { slot: 1, yaw: 40, pos: 1.5, time: 2, self: 0, title: 'Timed', link: 'timed.html' },
    { slot: 3, yaw: 10, pos: 0.2, time: 7.5, self: 1, title: 'Same window', link: 'same.html' },
    // Behind the start view: -160 is the frame's column 0.555, the blue band.
    { slot: 10, yaw: -160, pos: 0.2, time: 7.5, self: 0, title: '', link: 'behind.html' },
  ],
}], {
  'timed.html': target('Timed'), 'same.html': target('Same'), 'behind.html': target('Behind'),
});
const url = () => `${suite.site.url}tour.webgl.html`;

/**
 * Records, in the page, the video time at which each hot spot is shown or hidden, and the time
 * of the frame before (this page's frame callback runs before the viewer's in every frame).
 */
function recordHotSpots(page) {
  return page.addInitScript(() => {
    window.hotSpotLog = [];
    const frames = [NaN, NaN];
    const video = () => document.querySelector('#qx-viewer video');
    const tick = () => {
      frames.shift();
      frames.push(video() ? video().currentTime : NaN);
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
    new MutationObserver((changes) => {
      for (const { target } of changes) {
        if (!target.classList.contains('qx-hs')) continue;
        window.hotSpotLog.push({ title: target.querySelector('.qx-title').textContent,
          shown: !target.hidden, time: video().currentTime, before: frames[0],
          left: parseFloat(target.style.left) });
      }
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ['hidden'] });
  });
}

test('a hot spot shows at its yaw from pos for time seconds, and is announced', async () => {
  const context = await suite.browser.newContext();
  const page = await context.newPage();
  await recordHotSpots(page);
  await openPlaying(page, url());
  const status = page.getByRole('status').filter({ hasText: 'Hot spot: Timed' });
  await status.waitFor({ state: 'attached' });
  await page.waitForFunction(() => window.hotSpotLog.some((e) => e.title === 'Timed' && !e.shown),
    null, { timeout: 15000 });
  const log = (await page.evaluate(() => window.hotSpotLog)).filter((e) => e.title === 'Timed');
  const [shown, hidden] = log;
  // Never early, and in the first frame drawn at or after its time, however few frames a busy
  // machine draws (a frame's time may move a little while it runs: 0.05 s).
  const onTime = (entry, at, what) => assert.ok(entry.time >= at && entry.before < at + 0.05,
    `${what} at ${entry.time} s, the frame before at ${entry.before} s`);
  assert.equal(shown.shown, true);
  onTime(shown, 1.5, 'shown');
  assert.equal(hidden.shown, false);
  onTime(hidden, 3.5, 'hidden');

  // config.xml's yaw 40 (the frame's 40) in a 70 degree view looking at the frame's 30: 0.626
  // of the width; yaw 10: 0.24.
  const same = await page.getByRole('link', { name: 'Same window' }).boundingBox();
  const canvas = await page.locator('canvas').boundingBox();
  assert.ok(Math.abs(shown.left - 0.626 * canvas.width) < 3, `Timed at x ${shown.left}`);
  assert.ok(Math.abs(same.x + same.width / 2 - canvas.x - 0.24 * canvas.width) < 3);
  // The icon loaded, and a link without a title shows the link instead.
  assert.equal(await page.locator('.qx-hs img').first().evaluate((i) => i.naturalWidth), 48);
  assert.equal(await page.getByRole('link', { name: /^behind\.html/ }).count(), 1);
  await context.close();
});

test('self 1 opens the link in the same window', async () => {
  const context = await suite.browser.newContext();
  const page = await context.newPage();
  await openPlaying(page, url());
  await page.getByRole('link', { name: 'Same window' }).click();
  await page.waitForURL('**/same.html');
  assert.equal(context.pages().length, 1);
  await context.close();
});

test('Tab reaches the hot spots in view and out of it, Enter opens them', async () => {
  const context = await suite.browser.newContext();
  const page = await context.newPage();
  await openPaused(page, url());
  // At 0.5 s two hot spots are showing ("Timed" starts at 1.5 s).
  await page.evaluate(() => new Promise((resolve) => {
    const video = document.querySelector('#qx-viewer video');
    video.addEventListener('seeked', resolve, { once: true });
    video.currentTime = 0.5;
  }));
  await page.waitForFunction(() => document.querySelectorAll('.qx-hs:not([hidden])').length === 2);
  await page.locator('canvas').focus();
  const focused = () => page.evaluate(() => document.activeElement.textContent);

  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'Same window');
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'behind.html (opens in a new window)');
  // Out of view when reached, so the view turned to it (the icon now hides the very middle).
  assert.deepEqual(await coloursAt(page, { middle: [0.5, 0.25] }), { middle: 'blue' });

  const popup = context.waitForEvent('page');
  await page.keyboard.press('Enter');
  const opened = await popup;
  await opened.waitForURL('**/behind.html');
  assert.equal(page.url(), url());

  await page.bringToFront();
  await page.keyboard.press('Shift+Tab');
  assert.equal(await focused(), 'Same window');
  assert.deepEqual(await coloursAt(page, { middle: [0.5, 0.25] }), { middle: 'red' });
  await page.keyboard.press('Enter');
  await page.waitForURL('**/same.html');
  await context.close();
});
