// Benchmark of the lighter copy of a wide video (not a test). Converts a 3840x1920 clip of about
// 35 Mbit/s with and without the 1920-wide copy and times both; then plays the page over an
// emulated line, with the copy offered and without it, and counts the stalls (waits for data
// after the start) and their length. The viewer is made 2000 device pixels wide, so that its
// size alone would pick the full video. Run by scripts/bench/webgl-renditions.sh.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { defaultPage, projectFileText, serveWithRedirect } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { makeHeavy4kVideo } from './lib/testVideo.mjs';

const SECONDS = Number(process.env.QX_BENCH_SECONDS || 60);
const PLAY = Number(process.env.QX_BENCH_PLAY || 30);
const MBIT = Number(process.env.QX_BENCH_MBIT || 15);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-bench-renditions-'));
const dir = path.join(work, 'site');
const video = path.join(work, 'tour.flv');
makeHeavy4kVideo(video, { seconds: SECONDS, audio: true });
const project = path.join(work, 'tour.pp');
fs.writeFileSync(project, projectFileText({ ...defaultPage, bufferingSeconds: 2 }, video), 'latin1');
const page = path.join(dir, 'tour.html');
execFileSync(process.env.QX_CLI, ['publish', project, page]);
const timed = (args) => {
  const start = process.hrtime.bigint();
  execFileSync(process.env.QX_CLI, ['webgl', ...args, page]);
  return Number(process.hrtime.bigint() - start) / 1e9;
};
const without = timed(['--no-renditions']);
const withCopy = timed([]);
const size = (name) => (fs.statSync(path.join(dir, name)).size / 1e6).toFixed(1);
console.log(`${SECONDS} s clip: tour.mp4 ${size('tour.mp4')} MB, tour.1920.mp4 ` +
  `${size('tour.1920.mp4')} MB`);
console.log(`conversion without the copy ${without.toFixed(1)} s, with it ${withCopy.toFixed(1)} s ` +
  `(the copy costs ${(withCopy - without).toFixed(1)} s, ` +
  `${((withCopy - without) / SECONDS).toFixed(2)} s per second of video)`);
const html = fs.readFileSync(path.join(dir, 'tour.webgl.html'), 'utf8');
fs.writeFileSync(path.join(dir, 'single.webgl.html'),
  html.replace(/"renditions": \[[^\]]*\]/, '"renditions": []'));
// Without the poster the link is not measured: the size picks the full video, stalls change it.
fs.writeFileSync(path.join(dir, 'unmeasured.webgl.html'),
  html.replace(/"poster": "[^"]*"/, '"poster": null'));
const LABELS = { tour: 'copy offered              ', unmeasured: 'copy offered, no poster   ',
  single: 'full video only           ' };

const site = await serveWithRedirect(dir);
const browser = await launchChromium();
try {
  for (const name of (process.env.QX_BENCH_PAGES || Object.keys(LABELS).join(' ')).split(' ')) {
    const context = await browser.newContext({ viewport: { width: 1000, height: 700 },
      deviceScaleFactor: 5 });
    const tab = await context.newPage();
    const cdp = await context.newCDPSession(tab);
    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 40,
      downloadThroughput: (MBIT * 1e6) / 8, uploadThroughput: (5 * 1e6) / 8 });
    await tab.addInitScript(() => {
      window.stalls = [];
      document.addEventListener('qx-renditionchange', () => { window.switched = performance.now(); },
        true);
      // A wait that is still open (a switch of copies inside it) is one stall.
      document.addEventListener('waiting', (e) => {
        const last = window.stalls[window.stalls.length - 1];
        if (!e.target.paused && (!last || last.end)) window.stalls.push({ at: performance.now(), end: 0 });
      }, true);
      document.addEventListener('playing', () => {
        const last = window.stalls[window.stalls.length - 1];
        if (last && !last.end) last.end = performance.now();
      }, true);
    });
    await tab.goto(`${site.url}${name}.webgl.html`);
    await tab.waitForFunction(() => window.qxViewerState && window.qxViewerState().ready,
      null, { timeout: 120000 });
    const started = await tab.evaluate(() => performance.now());
    await tab.waitForTimeout(PLAY * 1000);
    const r = await tab.evaluate((from) => {
      const now = performance.now();
      const after = window.stalls.filter((s) => s.at >= from);
      return { count: after.length, waited: after.reduce((t, s) => t + ((s.end || now) - s.at), 0),
        file: window.qxViewerState().video || 'tour.mp4',
        detail: after.map((s) => `${((s.at - from) / 1000).toFixed(1)}+` +
          `${(((s.end || now) - s.at) / 1000).toFixed(1)}`).join(' ') +
          (window.switched ? `; switched at ${((window.switched - from) / 1000).toFixed(1)}` : '') };
    }, started);
    console.log(`${LABELS[name]} first frame ` +
      `${(started / 1000).toFixed(1)} s; in ${PLAY} s: ${r.count} stalls, ` +
      `${(r.waited / 1000).toFixed(1)} s waiting, ended on ${r.file} (${r.detail})`);
    await context.close();
  }
} finally {
  await browser.close();
  await site.close();
  fs.rmSync(work, { recursive: true, force: true });
}
