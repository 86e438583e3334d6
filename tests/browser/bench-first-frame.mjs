// Benchmark of the HTML5 page's start (not a test): over an emulated 15 Mbit/s line, the time
// from loading the page to the first picture (the poster, when the page has one) and to the first
// video frame, for a 3840x1920 video of about 35 Mbit/s, with and without the poster.
// Run by scripts/bench/webgl-first-frame.sh, which gives QX_CLI and QX_REDIRECT.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { defaultPage, projectFileText, serveWithRedirect } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { makeHeavy4kVideo } from './lib/testVideo.mjs';

const ROUNDS = Number(process.env.QX_BENCH_ROUNDS || 3);
const MBIT = Number(process.env.QX_BENCH_MBIT || 15);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-bench-first-'));
const dir = path.join(work, 'site');
const video = path.join(work, 'tour.flv');
makeHeavy4kVideo(video, { seconds: 6 });
const project = path.join(work, 'tour.pp');
fs.writeFileSync(project, projectFileText({ ...defaultPage, bufferingSeconds: 2 }, video), 'latin1');
execFileSync(process.env.QX_CLI, ['publish', project, path.join(dir, 'tour.html')]);
execFileSync(process.env.QX_CLI, ['webgl', path.join(dir, 'tour.html')]);
const page = fs.readFileSync(path.join(dir, 'tour.webgl.html'), 'utf8');
fs.writeFileSync(path.join(dir, 'bare.webgl.html'), page.replace(/"poster": "[^"]*"/, '"poster": null'));
const size = (name) => (fs.statSync(path.join(dir, name)).size / 1e6).toFixed(1);
console.log(`video ${size('tour.mp4')} MB, poster ${size('tour.poster.jpg')} MB; ${MBIT} Mbit/s, ` +
  `40 ms latency; median of ${ROUNDS}`);

const site = await serveWithRedirect(dir);
const browser = await launchChromium();
const median = (xs) => xs.sort((a, b) => a - b)[Math.floor(xs.length / 2)];
try {
  for (const name of ['tour', 'bare']) {
    const picture = [], frame = [];
    for (let round = 0; round < ROUNDS; round++) {
      const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
      const tab = await context.newPage();
      const cdp = await context.newCDPSession(tab);
      await cdp.send('Network.enable');
      await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 40,
        downloadThroughput: (MBIT * 1e6) / 8, uploadThroughput: (5 * 1e6) / 8 });
      await tab.goto(`${site.url}${name}.webgl.html`);
      await tab.waitForFunction(() => window.qxViewerState && window.qxViewerState().ready,
        null, { timeout: 120000, polling: 10 });
      const t = await tab.evaluate(() => {
        const now = performance.now();
        const poster = performance.getEntriesByType('resource').find((e) => /poster/.test(e.name));
        return { poster: poster ? poster.responseEnd : null, frame: now };
      });
      frame.push(t.frame);
      picture.push(t.poster ?? t.frame);
      await context.close();
    }
    console.log(`${name === 'tour' ? 'with poster   ' : 'without poster'}  first picture ` +
      `${(median(picture) / 1000).toFixed(2)} s   first video frame ${(median(frame) / 1000).toFixed(2)} s`);
  }
} finally {
  await browser.close();
  await site.close();
  fs.rmSync(work, { recursive: true, force: true });
}
