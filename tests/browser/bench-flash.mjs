// Benchmark of the published Flash page in Ruffle (not a test): for 1280x640 and 1920x960 videos
// in H.264 and Sorenson Spark FLV, the time from loading the page to the first video frame shown,
// and the frames the viewer draws per second while the view turns (dragged with the mouse; the
// perspective view is drawn anew on every frame then, not only when the video has a new picture),
// side by side for the stage quality the viewer draws with (low) and the page's own (high, the
// flash variable quality=high, as viewers drew before). Then, for each stage size, the yardstick:
// the frames per second of a movie with one still picture over the whole stage and no
// video (swf/StillPicture.hx, built with Haxe when it is there), the most that the renderer gives
// any page that fills its stage with a picture. Also the viewers' sizes.
// Run by scripts/bench/flash-viewer.sh, which gives QX_CLI and QX_REDIRECT.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync, spawnSync } from 'node:child_process';
import { makeBandsVideo } from './lib/testVideo.mjs';
import { defaultPage, projectFileText, serveWithRedirect } from './lib/site.mjs';
import { launchChromium } from './lib/chromium.mjs';
import { playerBox, viewerState, waitForState } from './lib/flash.mjs';

const SECONDS = Number(process.env.QX_BENCH_SECONDS || 8);
// QX_BENCH_TURN=0: the view stands still and only new video frames are drawn.
const TURN = process.env.QX_BENCH_TURN !== '0';
// QX_BENCH_SMOOTH=1: the pages (and the yardstick) smooth the picture, as the viewer's "quality"
// setting asks; without it they do not, as a new project does not.
const SMOOTH = process.env.QX_BENCH_SMOOTH === '1';
// Videos at 25 frames per second, on the 640 x 480 stage (window 8, the example's) and the
// 800 x 600 one (window 11): software GL's cost grows with the stage's pixels.
const videos = [
  { name: 'h264-1280', width: 1280, height: 640, codec: 'h264' },
  { name: 'h264-1920', width: 1920, height: 960, codec: 'h264' },
  { name: 'sorenson-1280', width: 1280, height: 640, codec: 'flv1' },
  { name: 'sorenson-1920', width: 1920, height: 960, codec: 'flv1' },
];
const windows = { 8: '640x480', 11: '800x600' };
// QX_BENCH_CASES=h264: only the cases whose name holds that text.
const cases = videos.flatMap((v) => Object.entries(windows)
  .map(([window, stage]) => ({ ...v, video: v.name, name: `${v.name}@${stage}`, window })))
  .filter((c) => c.name.includes(process.env.QX_BENCH_CASES || ''));

const otherViewers = Object.fromEntries((process.env.QX_BENCH_VIEWERS || '').split(':').filter(Boolean)
  .map((folder) => [path.basename(path.resolve(folder)), path.resolve(folder)]));
// QX_BENCH_ROUNDS=N: each case's pages N times, alternated, so that a drift of the machine falls
// on all of them alike.
const ROUNDS = Number(process.env.QX_BENCH_ROUNDS || 1);
// QX_BENCH_PAGES=low,vA: only those pages of each case (high, low, or a viewer build's folder name).
const only = (name) => !process.env.QX_BENCH_PAGES || process.env.QX_BENCH_PAGES.split(',').includes(name);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-bench-flash-'));
const dir = path.join(work, 'site');
for (const c of cases) {
  const video = path.join(work, `${c.video}.flv`);
  if (!fs.existsSync(video)) {
    makeBandsVideo(video, { width: c.width, height: c.height, codec: c.codec, seconds: 20 });
  }
  // Each page in a folder of its own: it reads the config.xml beside it.
  const project = path.join(work, `${c.name}.pp`);
  fs.writeFileSync(project, projectFileText({ ...defaultPage, name: c.name, smooth: SMOOTH }, video)
    .replace('<WINDOW>4</WINDOW>', `<WINDOW>${c.window}</WINDOW>`), 'latin1');
  const page = path.join(dir, c.name, 'page.html');
  execFileSync(process.env.QX_CLI, ['publish', project, page]);
  // The same page asking the viewer to keep the page's quality.
  fs.writeFileSync(path.join(dir, c.name, 'high.html'), fs.readFileSync(page, 'latin1')
    .replaceAll('"qx_flash_hs.swf"', '"qx_flash_hs.swf?quality=high"'), 'latin1');
  // QX_BENCH_VIEWERS=FOLDER[:FOLDER...] (each built by scripts/build-viewers.py FOLDER): the same
  // page with those builds of the viewer, measured beside the stored one.
  for (const [name, folder] of Object.entries(otherViewers)) {
    fs.copyFileSync(path.join(folder, `VIEWER1${c.window.padStart(2, '0')}.swf`),
      path.join(dir, c.name, `${name}.swf`));
    fs.writeFileSync(path.join(dir, c.name, `${name}.html`), fs.readFileSync(page, 'latin1')
      .replaceAll('"qx_flash_hs.swf"', `"${name}.swf"`), 'latin1');
  }
}
// The yardstick movie at each stage size, where Haxe is there to build it.
const stages = [...new Set(cases.map((c) => windows[c.window]))];
const haxe = spawnSync('haxe', ['-version']).status === 0;
if (haxe) {
  for (const stage of stages) {
    const [width, height] = stage.split('x');
    const folder = path.join(dir, `still-${stage}`);
    fs.mkdirSync(folder, { recursive: true });
    execFileSync('haxe', ['-cp', path.resolve('swf'), '-main', 'StillPicture', '-swf',
      path.join(folder, 'still.swf'), '-swf-version', '11.4', '-swf-header', `${width}:${height}:65:FFFFFF`]);
    fs.writeFileSync(path.join(folder, 'page.html'), '<!DOCTYPE html><html><body>' +
      `<object type="application/x-shockwave-flash" data="still.swf" width="${width}" height="${height}">` +
      `<param name="quality" value="high"><param name="flashvars" value="smooth=${SMOOTH ? 1 : 0}">` +
      '</object></body></html>');
  }
}
const site = await serveWithRedirect(dir, true);
const browser = await launchChromium();
console.log(`Ruffle in headless Chromium (software GL), ${SECONDS} s ` +
  (TURN ? 'turning (dragged with the mouse)' : 'looking ahead') + (SMOOTH ? ', smoothed' : ', not smoothed'));
console.log(`load: ${os.loadavg().map((l) => l.toFixed(1)).join(' ')} (1, 5, 15 min) on ` +
  `${os.cpus().length} cores`);
console.log('case                     quality   first frame   frames drawn/s   per CPU s   video time/s');

/**
 * CPU seconds used so far by this process's descendants (Chromium and its renderer and GPU
 * processes), in all and by Chromium's process type: on a machine others share, frames per CPU
 * second are steadier than per second, and the types say which process is the limit.
 */
function childrenCpuSeconds() {
  const parent = new Map();
  const cpu = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    let stat;
    try {
      stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    } catch {
      continue; // ended meanwhile
    }
    // Fields after the command name (which may hold spaces): state ppid ... utime(14) stime(15).
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    parent.set(Number(pid), Number(fields[1]));
    cpu.set(Number(pid), Number(fields[11]) + Number(fields[12]));
  }
  const ours = (pid) => {
    for (let p = parent.get(pid); p; p = parent.get(p)) if (p === process.pid) return true;
    return false;
  };
  const byType = { all: 0 };
  for (const [pid, ticks] of cpu) {
    if (!ours(pid)) continue;
    let type = 'browser';
    try {
      type = /--type=([a-z-]+)/.exec(fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1'))?.[1] ?? type;
    } catch {
      continue;
    }
    byType[type] = (byType[type] ?? 0) + ticks / 100; // USER_HZ
    byType.all += ticks / 100;
  }
  return byType;
}

/** Cores used between two readings of childrenCpuSeconds, by process type. */
function coresUsed(before, after, seconds) {
  return ['gpu-process', 'renderer', 'browser'].map((type) =>
    `${type.replace('-process', '')} ${(((after[type] ?? 0) - (before[type] ?? 0)) / seconds).toFixed(2)}`).join(', ');
}

/** One run of a page: { firstFrame, fps, perCpu, rate, shown, turned, cores }. */
async function measure(url) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
  try {
    const page = await context.newPage();
    const loadStart = Date.now();
    await page.goto(url);
    await waitForState(page, (s) => s.ready && s.framesDrawn > 0 && s.time > 0, 'first frame', 90000);
    const firstFrame = (Date.now() - loadStart) / 1000;
    // Dragged to and fro with the button held, a step about every 40 ms: the view keeps turning,
    // so every frame is drawn anew. (Arrow keys are not used: headless Chromium drops most.)
    const box = await playerBox(page);
    const x0 = box.x + box.width / 2, y = box.y + box.height / 3;
    await page.mouse.click(x0, y); // Ruffle takes the first press for itself
    await page.waitForTimeout(300);
    await page.mouse.move(x0, y);
    await page.mouse.down();
    // The page's animation frames are counted too: Ruffle draws the stage at most once in each,
    // however many of the movie's frames (and draws of the viewer) it runs there.
    await page.evaluate(() => {
      window.qxAnimationFrames = 0;
      const count = () => { window.qxAnimationFrames++; requestAnimationFrame(count); };
      requestAnimationFrame(count);
    });
    const before = await viewerState(page);
    const frames0 = await page.evaluate(() => window.qxAnimationFrames);
    const cpu0 = childrenCpuSeconds();
    const t0 = Date.now();
    // How far the view turned in all (every fifth step it is asked where it looks).
    let turned = 0;
    let yaw = before.yaw;
    if (TURN) {
      for (let step = 1; Date.now() - t0 < SECONDS * 1000; step++) {
        await page.mouse.move(x0 + box.width / 4 * Math.sin(step / 8), y);
        await page.waitForTimeout(40);
        if (step % 5 === 0) {
          const now = (await viewerState(page)).yaw;
          turned += Math.abs(((now - yaw + 540) % 360) - 180);
          yaw = now;
        }
      }
    } else {
      await page.waitForTimeout(SECONDS * 1000);
    }
    const after = await viewerState(page);
    const frames = await page.evaluate(() => window.qxAnimationFrames) - frames0;
    const wall = (Date.now() - t0) / 1000;
    await page.mouse.up();
    const cpu1 = childrenCpuSeconds();
    const perCpu = (after.framesDrawn - before.framesDrawn) / (cpu1.all - cpu0.all);
    const fps = (after.framesDrawn - before.framesDrawn) / wall;
    const rate = (after.time - before.time) / wall;
    return { firstFrame, fps, perCpu, rate, shown: frames / wall, turned: `${turned.toFixed(0)}°`,
      cores: coresUsed(cpu0, cpu1, wall) };
  } finally {
    await context.close();
  }
}

/**
 * The yardstick's frames per second: Ruffle draws the stage once per animation frame of the page,
 * so the page's animation frames are counted.
 */
async function measureStill(url) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
  try {
    const page = await context.newPage();
    await page.goto(url);
    await waitForState(page, (s) => s.framesDrawn > 0, 'the yardstick playing', 90000);
    await page.waitForTimeout(1000);
    const cpu0 = childrenCpuSeconds();
    const frames = await page.evaluate((ms) => new Promise((resolve) => {
      let n = 0;
      const start = performance.now();
      const count = () => {
        n++;
        if (performance.now() - start < ms) requestAnimationFrame(count);
        else resolve(n);
      };
      requestAnimationFrame(count);
    }), SECONDS * 1000);
    const cpu1 = childrenCpuSeconds();
    return { fps: frames / SECONDS, perCpu: frames / (cpu1.all - cpu0.all), cores: coresUsed(cpu0, cpu1, SECONDS) };
  } finally {
    await context.close();
  }
}

try {
  for (const c of cases) {
    const runs = {};
    // Each page's file bears its name, but for the stored viewer's: the published page.html.
    const pages = ['high', 'low', ...Object.keys(otherViewers)].filter(only);
    for (let round = 0; round < ROUNDS; round++) for (const quality of pages) {
      // A case that does not play in time (a heavy video on a busy machine) is reported, and
      // the others still run.
      const r = await measure(`${site.url}${c.name}/${quality === 'low' ? 'page' : quality}.html`)
        .catch((error) => ({ error }));
      (runs[quality] ??= []).push(r);
      if (r.error) {
        console.log(`${c.name.padEnd(24)} ${quality.padEnd(7)} failed: ${r.error.message.split('\n')[0]}`);
        continue;
      }
      console.log(`${c.name.padEnd(24)} ${quality.padEnd(7)} ${r.firstFrame.toFixed(2).padStart(8)} s ` +
        `${r.fps.toFixed(1).padStart(14)} ${r.perCpu.toFixed(1).padStart(11)} ${r.rate.toFixed(2).padStart(14)}` +
        `   (turned ${r.turned}, ${r.shown.toFixed(1)} animation frames/s; cores: ${r.cores})`);
    }
    // Ratios of the rounds' sums, where every round of both pages played.
    const sum = (quality, key) => runs[quality].reduce((total, r) => total + r[key], 0);
    const ratio = (a, b, key) => (sum(a, key) / sum(b, key)).toFixed(2);
    const played = (quality) => runs[quality] && runs[quality].every((r) => !r.error);
    for (const [a, b] of [['low', 'high'], ...Object.keys(otherViewers).map((n) => [n, 'low'])]) {
      if (played(a) && played(b)) {
        console.log(`${c.name.padEnd(24)} ${`${a}/${b}`.padEnd(9)} ${ratio(a, b, 'fps').padStart(25)}x ` +
          `${ratio(a, b, 'perCpu').padStart(10)}x`);
      }
    }
  }
  for (const stage of stages) {
    const name = `yardstick@${stage}`.padEnd(24);
    if (!haxe) {
      console.log(`${name} left out: haxe is missing (scripts/deps.sh all installs it)`);
      continue;
    }
    const r = await measureStill(`${site.url}still-${stage}/page.html`).catch((error) => ({ error }));
    console.log(r.error ? `${name} failed: ${r.error.message.split('\n')[0]}`
      : `${name} low     (one still picture, no video) ${r.fps.toFixed(1).padStart(5)} ${r.perCpu.toFixed(1).padStart(11)}` +
        `   (cores: ${r.cores})`);
  }
} finally {
  await browser.close();
  await site.close();
  fs.rmSync(work, { recursive: true, force: true });
}
const sizes = fs.readdirSync(path.resolve('../../resources/RCDATA'))
  .filter((f) => /^VIEWER\d+\.swf$/.test(f))
  .map((f) => fs.statSync(path.resolve('../../resources/RCDATA', f)).size);
console.log(`viewer sizes: ${Math.min(...sizes)} to ${Math.max(...sizes)} bytes (${sizes.length} viewers)`);
