// The table of viewer cases shared with the Flash viewer's host tests (tests/conformance), run on
// the HTML5 page: the same config and time must give the same view and the same hot spots, and
// the same links must be refused.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { suiteOf } from './lib/suite.mjs';
import { openPaused, coloursAt, nextFrames } from './lib/viewer.mjs';
import { BANDS } from './lib/testVideo.mjs';

const table = JSON.parse(fs.readFileSync(path.resolve(path.dirname(fileURLToPath(import.meta.url)),
  '../conformance/viewer_cases.json'), 'utf8'));
const scriptLink = { slot: 1, yaw: -180, pos: 0.1, time: 7.5, self: 1, title: 'Script',
  link: 'javascript:document.title="ran"' };
const suite = suiteOf([
  ...table.cases.map((c) => ({ name: `conf-${c.name}`, ...c.page, configXml: c.configXml })),
  { name: 'conf-links', yaw: 0, hotspots: [scriptLink] },
]);

async function stateAt(page, name, time) {
  await openPaused(page, `${suite.site.url}conf-${name}.webgl.html`);
  await page.evaluate((t) => new Promise((resolve) => {
    const video = document.querySelector('#qx-viewer video');
    video.addEventListener('seeked', resolve, { once: true });
    video.currentTime = t;
  }), time);
  await nextFrames(page);
  return page.evaluate(() => window.qxViewerState());
}

test('every case of the shared table: view, centre column and hot spots', async () => {
  const page = await suite.newPage({ viewport: { width: 800, height: 600 } });
  for (const c of table.cases) {
    const s = await stateAt(page, c.name, c.time);
    const e = c.expect;
    const near = (a, b, what) => assert.ok(Math.abs(a - b) < 1e-3, `${c.name} ${what}: ${a}, expected ${b}`);
    near(s.yaw, e.yaw, 'yaw');
    near(s.pitch, e.pitch, 'pitch');
    near(s.fov, e.fov, 'fov');
    assert.deepEqual(s.visible, e.visible, `${c.name} visible hot spots`);
    const canvas = await page.locator('#qx-viewer canvas').boundingBox();
    for (const [slot, x] of Object.entries(e.hotspotX || {})) {
      const box = await page.locator('.qx-hs').nth(c.page.hotspots.findIndex((h) => h.slot === +slot))
        .locator('img').boundingBox();
      const at = (box.x + box.width / 2 - canvas.x) / canvas.width;
      assert.ok(Math.abs(at - x) < 0.01, `${c.name} hot spot ${slot} at ${at}, expected ${x}`);
    }
    if (Math.abs(e.pitch) < 15) {
      // The picture agrees: the band at the middle of the nearest band's column is where it should be.
      const band = Math.floor(e.column * 8) % 8;
      const turn = ((band + 0.5) / 8 - e.column) * 360;
      const x = 0.5 + 0.5 * Math.tan((turn * Math.PI) / 180) / Math.tan((e.fov * Math.PI) / 360);
      assert.deepEqual(await coloursAt(page, { at: [x, 0.5] }), { at: BANDS[band][0] }, c.name);
    }
  }
  await page.context().close();
});

test('links that would run script are never followed', async () => {
  const page = await suite.newPage();
  // Through the real publisher and converter: the hot spot shows, a click does nothing.
  await openPaused(page, `${suite.site.url}conf-links.webgl.html`);
  const spot = page.locator('.qx-hs').first();
  assert.equal(await spot.getAttribute('href'), null);
  // The click is handled (the viewer says so), and a frame later nothing has run or moved.
  await page.evaluate(() => document.getElementById('qx-viewer')
    .addEventListener('qx-hotspotclicked', () => { window.spotClicked = true; }));
  await spot.click();
  await page.waitForFunction(() => window.spotClicked);
  await nextFrames(page);
  assert.notEqual(await page.evaluate(() => document.title), 'ran');
  assert.match(page.url(), /conf-links\.webgl\.html$/);

  // Every link of the table, straight into the page's configuration.
  const file = path.join(suite.site.dir, 'conf-links.webgl.html');
  const html = fs.readFileSync(file, 'utf8');
  const direct = html.replace(/(<script id="qx-config" type="application\/json">)([\s\S]*?)(<\/script>)/,
    (all, open, json, close) => {
      const config = JSON.parse(json);
      config.hotspots = table.links.map((l, i) => ({ ...config.hotspots[0], id: i + 1, link: l.link, title: `L${i}` }));
      return open + JSON.stringify(config).replace(/</g, '\\u003c') + close;
    });
  assert.notEqual(direct, html);
  fs.writeFileSync(path.join(suite.site.dir, 'links-direct.webgl.html'), direct);
  await openPaused(page, `${suite.site.url}links-direct.webgl.html`);
  const hrefs = await page.locator('.qx-hs').evaluateAll((links) => links.map((a) => a.getAttribute('href')));
  assert.deepEqual(hrefs.map((h) => h !== null), table.links.map((l) => l.followed));
  await page.context().close();
});
