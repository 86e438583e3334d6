// The published Flash page in today's browsers, played by Ruffle: an F4V plays as the FLV made
// from it, and where that FLV is missing the viewer asks for the F4V itself; the full-screen
// button fills the screen; without WebGL the frame is shown flat.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { launchChromium } from './lib/chromium.mjs';
import { suiteOf } from './lib/suite.mjs';
import { bandAt } from './lib/testVideo.mjs';
import { openFlash, playerBox, stageColourAt, waitForState } from './lib/flash.mjs';

const tools = Boolean(process.env.QX_CLI && process.env.QX_REDIRECT);
const skip = !tools && 'the Flash pages are made by qx_flash_hs-cli (run through ctest)';
const flashPage = { webgl: false, video: 'f4v', yaw: 150 };
const suite = tools ? suiteOf([
  { ...flashPage, name: 'f4v', publishWithRuffle: true },
  { ...flashPage, name: 'nofallback' },
], {}, { withRuffle: true }) : null;
const url = (name) => `${suite.site.url}${name}/${name}.html`;
const publishedMovie = (name) => {
  const xml = fs.readFileSync(path.join(suite.site.dir, name, 'config.xml'), 'utf8');
  return xml.match(/<movie>([^<]*)<\/movie>/)[1];
};

// Done once, before the first test (suiteOf's own set-up must have run).
let prepared = false;
function prepareSite() {
  if (prepared) return;
  prepared = true;
  // Publishing for today's web wrote the FLV beside the F4V, and the page loads Ruffle itself.
  const f4v = path.join(suite.site.dir, 'f4v');
  assert.ok(fs.existsSync(path.join(f4v, `${publishedMovie('f4v')}.flv`)), 'the FLV was published');
  assert.match(fs.readFileSync(path.join(f4v, 'f4v.html'), 'latin1'), /allowFullscreen: true/);
  // A cut-short upload: no FLV beside it, and none can be made from it.
  const cut = path.join(suite.site.dir, 'nofallback', publishedMovie('nofallback'));
  fs.truncateSync(cut, 2000);
  fs.rmSync(`${cut}.flv`, { force: true });
}

test('an F4V plays as the FLV beside it: frames drawn, time moving, facing the start', { skip },
  async () => {
    prepareSite();
    const page = await suite.newPage();
    const start = await openFlash(page, url('f4v'));
    assert.equal(start.video, `${publishedMovie('f4v')}.flv`);
    assert.equal(await stageColourAt(page, 0.15, 0.3), bandAt(124));
    // Compared with a margin: under load a frame can come a little late.
    const later = await waitForState(page, (s) => s.time > start.time + 0.5 &&
      s.framesDrawn > start.framesDrawn + 5, 'the F4V\'s time moving', 20000);
    assert.ok(later.framesDrawn > start.framesDrawn);
    await page.context().close();
  });

test('without the FLV the viewer asks for the F4V itself', { skip }, async () => {
  prepareSite();
  const page = await suite.newPage();
  const asked = [];
  page.on('request', (request) => asked.push(decodeURIComponent(new URL(request.url()).pathname)));
  await page.goto(url('nofallback'), { waitUntil: 'domcontentloaded' });
  const movie = publishedMovie('nofallback');
  const state = await waitForState(page, (s) => s.video === movie, 'the F4V asked for', 60000);
  assert.equal(state.error, null);
  const flv = asked.indexOf(`/nofallback/${movie}.flv`);
  const f4v = asked.indexOf(`/nofallback/${movie}`);
  assert.ok(flv >= 0 && f4v > flv, `the FLV first, then the F4V: ${asked.join(' ')}`);
  await page.context().close();
});

test('the full-screen button fills the screen with the panorama, and Esc leaves it', { skip },
  async () => {
    prepareSite();
    const page = await suite.newPage({ viewport: { width: 1280, height: 720 } });
    await openFlash(page, url('f4v'));
    const box = await playerBox(page);
    // The bar's last button, at the stage's bottom right. A fresh Ruffle may drop the first
    // pointer events, so the click is tried again until it takes.
    let full = null;
    for (let attempt = 0; attempt < 5 && !full; attempt++) {
      await page.mouse.click(box.x + box.width - 15, box.y + box.height - 13);
      full = await waitForState(page, (s) => s.fullScreen && s.stageWidth === 1280, 'full screen',
        5000).catch(() => null);
    }
    assert.ok(full, 'the button made the stage full screen');
    assert.equal(await page.evaluate(() => document.fullscreenElement?.localName), 'ruffle-object');
    // Drawn anew at the screen's size, not the page's picture scaled up inside bars: the 70
    // degrees around yaw 150 reach both edges of the wide screen (yaws 116 and 184 there).
    const drawn = await waitForState(page, (s) => s.framesDrawn > full.framesDrawn + 2, 'drawing');
    assert.equal(drawn.stageHeight, 720);
    assert.equal(await stageColourAt(page, 0.02, 0.3), bandAt(116));
    assert.equal(await stageColourAt(page, 0.98, 0.3), bandAt(184));

    await page.keyboard.press('Escape');
    const back = await waitForState(page, (s) => !s.fullScreen && s.stageWidth === 400,
      'the page again', 15000);
    assert.equal(back.stageHeight, 300);
    assert.equal(await page.evaluate(() => document.fullscreenElement), null);
    await page.context().close();
  });

test('without WebGL the frame plays flat, and the viewer says so in one line', { skip }, async () => {
  prepareSite();
  const browser = await launchChromium({ args: ['--disable-3d-apis'] });
  try {
    const page = await browser.newPage();
    const start = await openFlash(page, url('f4v'));
    assert.equal(await page.evaluate(() => document.createElement('canvas').getContext('webgl')),
      null, 'no WebGL in this browser');
    assert.ok(start.simplified && /simplified view/.test(start.notice), JSON.stringify(start));
    // Flat, the view's 70 degrees spread evenly: yaw 125 at 0.15, yaw 171 at 0.8, both 16
    // degrees above the horizon (clear of the flickering box).
    assert.equal(await stageColourAt(page, 0.15, 0.2), bandAt(125));
    assert.equal(await stageColourAt(page, 0.8, 0.2), bandAt(171));
    const later = await waitForState(page, (s) => s.time > start.time + 0.5, 'time moving', 20000);
    assert.equal(later.error, null);
  } finally {
    await browser.close();
  }
});
