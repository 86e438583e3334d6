import { buildSite } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
const site = await buildSite([{ name: 'slow', bufferingSeconds: 0.1 }, { name: 'slow7', bufferingSeconds: 7 }]);
const browser = await launchChromium();
for (const [rate, name] of [[20000, 'slow'], [20000, 'slow7']]) {
const page = await browser.newPage();
const cdp = await page.context().newCDPSession(page);
await cdp.send('Network.enable');
await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 20, downloadThroughput: rate, uploadThroughput: 100000 });
await page.addInitScript(() => {
  const t0 = performance.now();
  document.addEventListener('playing', (e) => { const b = e.target.buffered; window.info ??= [b.length ? b.end(b.length - 1) : 0, performance.now() - t0]; }, true);
});
const t0 = Date.now();
await page.goto(site.url + name + '.webgl.html');
await page.waitForFunction(() => window.info !== undefined, null, { timeout: 60000 });
console.log(rate, await page.evaluate(() => window.info), Date.now() - t0);
await page.close();
}
await browser.close(); await site.close();
