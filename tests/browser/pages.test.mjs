// The pages around the viewer: layout and escaping, the notice for a page opened from disk, the
// selector page, the start of playback (buffering, autoplay refused) and the audio panning.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { suiteOf } from './lib/suite.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { gzipSync } from 'node:zlib';
import { openPlaying, currentTime } from './lib/viewer.mjs';

const TITLE = 'Bands & <tones>';
const HOT_SPOT = 'Shop <b> & "co"';

const suite = suiteOf([
  { name: 'tour', title: TITLE, yaw: 210, hotspots: [
    { slot: 2, yaw: 30, pos: 0.1, time: 7.8, self: 1, title: HOT_SPOT, link: 'shop.html?a=1&b=2' },
  ] },
  { name: 'framed', title: 'Framed', iframe: true, border: false, bgColor: '#102030' },
  { name: 'slow', bufferingSeconds: 7 },
  { name: 'pan', yaw: 90, balance: 60 },
  { name: 'silent', video: 'silent' },
]);
const newPage = (options) => suite.newPage(options);

test('the page is laid out like the Flash page and shows texts exactly as written', async () => {
  const page = await newPage();
  const loaded = [];
  page.on('response', (response) => loaded.push(response));
  await openPlaying(page, suite.site.url + 'tour.webgl.html');
  assert.equal(await page.title(), TITLE);
  assert.equal(await page.getByRole('heading').textContent(), TITLE);
  // 400 x 300 with a one-pixel border, centred in the 1280 pixel wide window.
  const box = await page.locator('#qx-viewer').boundingBox();
  assert.deepEqual([box.width, box.height, box.x], [402, 302, 439]);
  const link = page.locator('.qx-hs');
  await link.and(page.locator(':not([hidden])')).waitFor();
  assert.equal(await link.locator('.qx-title').textContent(), HOT_SPOT);
  assert.equal(await link.getAttribute('href'), 'shop.html?a=1&b=2');
  // Everything the page loads but the video stays small.
  let gzipped = 0;
  for (const response of loaded) {
    if (!/^video\//.test(response.headers()['content-type'])) {
      gzipped += gzipSync(await response.body(), { level: 9 }).length;
    }
  }
  assert.ok(gzipped > 10000 && gzipped < 100 * 1024, `${gzipped} bytes gzipped`);

  // For a frame: no heading, the box at the top left, without a border.
  await page.goto(suite.site.url + 'framed.webgl.html');
  assert.equal(await page.getByRole('heading').isVisible(), false);
  const framed = await page.locator('#qx-viewer').boundingBox();
  assert.deepEqual([framed.x, framed.y, framed.width, framed.height], [0, 0, 400, 300]);
  assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor),
    'rgb(16, 32, 48)');
  await page.context().close();
});

test('opened from disk, the page says it must be served over HTTP', async () => {
  const page = await newPage();
  await page.goto(`file://${suite.site.dir}/tour.webgl.html`);
  assert.match(await page.getByRole('alert').textContent(), /must be served over HTTP/);
  assert.equal(await page.locator('video, canvas').count(), 0);
  await page.context().close();
});

test('the selector page opens the WebGL page, or the Flash page where Flash is present',
  async () => {
    let page = await newPage();
    await page.goto(suite.site.url + 'tour.select.html?x=1#y');
    await page.waitForURL(suite.site.url + 'tour.webgl.html?x=1#y');
    await page.context().close();

    page = await newPage();
    await page.addInitScript(() => {
      const flash = { type: 'application/x-shockwave-flash', enabledPlugin: { name: 'Flash' } };
      Object.defineProperty(Navigator.prototype, 'mimeTypes',
        { get: () => ({ length: 1, 0: flash, 'application/x-shockwave-flash': flash }) });
    });
    await page.goto(suite.site.url + 'tour.select.html');
    await page.waitForURL(suite.site.url + 'tour.html');
    await page.context().close();

    // Without script: plain links to both.
    page = await newPage({ javaScriptEnabled: false });
    await page.goto(suite.site.url + 'tour.select.html');
    assert.deepEqual(await page.getByRole('link').evaluateAll((a) => a.map((x) => x.href)),
      [suite.site.url + 'tour.webgl.html', suite.site.url + 'tour.html']);
    await page.context().close();
  });

test('a video missing on the server is named as missing, with no controls left', async () => {
  const page = await newPage();
  await page.route('**/*.mp4', (route) => route.fulfill({ status: 404, body: 'Not found' }));
  await page.goto(suite.site.url + 'tour.webgl.html');
  const alert = page.getByRole('alert');
  await alert.waitFor();
  assert.match(await alert.textContent(), /^The video \S+\.mp4 is missing on the server \(HTTP 404\)\.$/);
  assert.equal(await page.locator('.qx-bar').count(), 0);
  await page.context().close();
});

test('playback waits for bufferingTime of video on a slow line', async () => {
  const page = await newPage();
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Network.enable');
  // About two seconds of video a second. Chromium itself would start with three or four
  // seconds loaded; the page waits for the seven it asks for.
  await cdp.send('Network.emulateNetworkConditions',
    { offline: false, latency: 20, downloadThroughput: 20000, uploadThroughput: 100000 });
  await page.addInitScript(() => {
    document.addEventListener('playing', (e) => {
      const b = e.target.buffered;
      window.bufferedAtStart ??= b.length ? b.end(b.length - 1) : 0;
    }, true);
  });
  await page.goto(suite.site.url + 'slow.webgl.html');
  await page.waitForFunction(() => window.bufferedAtStart !== undefined, null, { timeout: 30000 });
  const buffered = await page.evaluate(() => window.bufferedAtStart);
  assert.ok(buffered >= 6.9, `${buffered} s buffered when playback started`);
  await page.context().close();
});

test('where sound may not start by itself, the video plays muted with a button for sound',
  async () => {
    const strict = await launchChromium({ autoplay: 'document-user-activation-required' });
    try {
      const page = await strict.newPage();
      await openPlaying(page, suite.site.url + 'tour.webgl.html');
      const button = page.getByRole('button', { name: 'Turn the sound on' });
      await button.waitFor();
      assert.equal(await page.evaluate(() => document.querySelector('video').muted), true);
      await button.click();
      assert.equal(await button.count(), 0);
      const t = await currentTime(page);
      await page.waitForFunction((t0) => {
        const video = document.querySelector('video');
        return !video.muted && !video.paused && video.currentTime > t0 + 0.2;
      }, t);
    } finally {
      await strict.close();
    }
  });

test('a video without sound plays without a button for sound or sound controls', async () => {
  const strict = await launchChromium({ autoplay: 'document-user-activation-required' });
  try {
    const page = await strict.newPage();
    await openPlaying(page, suite.site.url + 'silent.webgl.html', 0.5);
    assert.equal(await page.getByRole('button', { name: 'Turn the sound on' }).count(), 0);
    assert.deepEqual(await page.locator('.qx-bar').getByRole('button')
      .evaluateAll((b) => b.map((x) => x.ariaLabel)),
      ['Pause', 'Copy link to this view', 'Full screen']);
  } finally {
    await strict.close();
  }
});

test('the sound pans with the view by the balance, once the user has touched the page',
  async () => {
    const page = await newPage();
    await page.addInitScript(() => {
      window.panners = [];
      const create = AudioContext.prototype.createStereoPanner;
      AudioContext.prototype.createStereoPanner = function () {
        const node = create.call(this);
        window.panners.push(node);
        return node;
      };
    });
    await openPlaying(page, suite.site.url + 'pan.webgl.html');
    assert.equal(await page.evaluate(() => window.panners.length), 0, 'no audio before a gesture');
    await page.locator('canvas').click({ position: { x: 40, y: 40 } });
    // Looking at yaw 90, the camera's front (yaw 0) is on the left: 60 % to the left.
    const pan = () => page.evaluate(() => window.panners[0].pan.value);
    await page.waitForFunction(() => window.panners.length === 1);
    await page.waitForFunction(() => Math.abs(window.panners[0].pan.value + 0.6) < 0.01);
    for (let i = 0; i < 18; i++) await page.keyboard.press('ArrowLeft'); // back to 0
    await page.waitForFunction(() => Math.abs(window.panners[0].pan.value) < 0.01);
    assert.ok(Math.abs(await pan()) < 0.01);

    // Balance 0: no audio graph at all.
    await openPlaying(page, suite.site.url + 'tour.webgl.html');
    await page.locator('canvas').click({ position: { x: 40, y: 40 } });
    assert.equal(await page.evaluate(() => window.panners.length), 0);
    await page.context().close();
  });
