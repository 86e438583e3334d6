// The bundled example published with viewers of each player type, in several window sizes, and
// played by Ruffle: each viewer fills its stage with the panorama, sky above and ground below,
// facing the picture's front (the example's red 0-degree line in the middle).
import { before, after, test } from 'node:test';
import assert from 'node:assert/strict';
import { buildDemoSite } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { findColour, openFlash, playerBox, settle, stageShot } from './lib/flash.mjs';

// Stage sizes of the viewers tried: the smallest, one of each player type, the widest, the largest.
const VIEWERS = {
  101: [266, 200], 104: [400, 300], 202: [305, 230], // the page gives window 2 five more pixels
  209: [700, 300], 306: [480, 800],
  313: [1200, 720],
};
const tools = Boolean(process.env.QX_CLI && process.env.QX_REDIRECT);
const skip = !tools && 'the pages are made by qx_flash_hs-cli (run through ctest)';
let site, browser;
before(async () => {
  if (!tools) return;
  site = await buildDemoSite(Object.keys(VIEWERS).map((n) => ({ player: Math.floor(n / 100),
    window: n % 100 })));
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  await site?.close();
});

test('the example plays in viewers of every player type and several sizes', { skip }, async () => {
  for (const [number, [width, height]] of Object.entries(VIEWERS)) {
    // A context of its own for each page: no connection of the one before is still busy.
    const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
    const page = await context.newPage();
    await openFlash(page, `${site.url}${number}/demo.html`);
    const box = await playerBox(page);
    assert.deepEqual([Math.round(box.width), Math.round(box.height)], [width, height], number);
    // The mean colour of a row across the stage: labels and grid lines are thin.
    let shot;
    const row = (fy) => [0, 1, 2].map((c) => {
      let sum = 0;
      for (let x = 0; x < shot.width; x++) sum += shot.at(x, fy * (shot.height - 1))[c];
      return Math.round(sum / shot.width);
    });
    const sky = () => row(0.2)[2] > row(0.2)[0] + 40;
    const ground = () => row(0.62)[1] > row(0.62)[2] + 20;
    // Frame by frame until the picture is there: a busy machine may show Ruffle's own notice or
    // an empty stage a little longer.
    for (const end = Date.now() + 20000; ;) {
      shot = await stageShot(page);
      if ((sky() && ground()) || Date.now() > end) break;
      await settle(page, 1);
    }
    assert.ok(sky(), `${number}: sky above (${row(0.2)})`);
    assert.ok(ground(), `${number}: ground below (${row(0.62)})`);
    const front = findColour(shot, [220, 40, 40], 50);
    assert.ok(front.count > 20 && Math.abs(front.x / shot.width - 0.5) < 0.05,
      `${number}: the red front line in the middle (${JSON.stringify(front)})`);
    await context.close();
  }
});
