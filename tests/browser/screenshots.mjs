// Takes screenshots of the WebGL page for a look by eye: node screenshots.mjs [OUT_DIR]
// (uses the tools when QX_CLI and QX_REDIRECT are set, like the tests).
import path from 'node:path';
import { buildSite } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { openPaused } from './lib/viewer.mjs';

const out = path.resolve(process.argv[2] || '.');
const site = await buildSite([{
  name: 'tour', title: 'Harbour walk', yaw: 210, hotspots: [
    { slot: 1, yaw: 40, pos: 0.2, time: 7, self: 0, title: 'Ticket office', link: 'tickets.html' },
    { slot: 2, yaw: 10, pos: 0.2, time: 7, self: 1, title: 'Next stop', link: 'next.html' },
  ],
}]);
const browser = await launchChromium({ autoplay: 'document-user-activation-required' });
try {
  const shots = [
    ['webgl-page.png', { width: 800, height: 520 }, async (page) => {
      await openPaused(page, site.url + 'tour.webgl.html');
      await page.locator('canvas').focus();
      await page.keyboard.press('Tab'); // keyboard focus on the first hot spot
    }],
    ['webgl-focus.png', { width: 800, height: 520 }, async (page) => {
      await openPaused(page, site.url + 'tour.webgl.html');
      await page.keyboard.press('Tab'); // keyboard focus on the picture: its ring
    }],
    ['webgl-copied.png', { width: 800, height: 520 }, async (page) => {
      await openPaused(page, site.url + 'tour.webgl.html');
      await page.getByRole('button', { name: 'Copy link to this view' }).click();
    }],
    ['webgl-phone.png', { width: 390, height: 700 }, async (page) => {
      await page.goto(site.url + 'tour.webgl.html');
      await page.getByRole('button', { name: 'Turn the sound on' }).waitFor();
    }],
    ['webgl-file.png', { width: 800, height: 520 }, async (page) => {
      await page.goto(`file://${site.dir}/tour.webgl.html`);
    }],
  ];
  for (const [name, viewport, prepare] of shots) {
    const page = await browser.newPage({ viewport });
    await prepare(page);
    await page.waitForTimeout(300);
    await page.screenshot({ path: path.join(out, name) });
    await page.close();
    console.log(path.join(out, name));
  }
} finally {
  await browser.close();
  await site.close();
}
