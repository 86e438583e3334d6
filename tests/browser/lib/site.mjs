// Builds a folder of published pages for the browser tests and serves it.
//
// With QX_CLI and QX_REDIRECT set (the ctest run), every page goes through the real tools: a
// project file is published with `qx_flash_hs-cli publish`, converted with `qx_flash_hs-cli
// webgl`, and the folder is served by `velmora_redirect --serve`. Without them (a quick developer
// loop on the page alone: `npm test`), the same pages are made here by filling the templates the
// way the converter does, and served by a small node server.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';
import { makeBandsVideo } from './testVideo.mjs';
import { serveFolder } from './staticServer.mjs';

const WEB = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../../web/WEB');
const usesTools = () => Boolean(process.env.QX_CLI && process.env.QX_REDIRECT);

/**
 * One page as its author sets it up, in the viewer's terms (degrees, percent, '#RRGGBB').
 * Hot-spot yaws are those the page sees (config.xml's, with the publisher's half turn applied).
 */
export const defaultPage = {
  name: 'tour', video: 'sphere', title: '', bgColor: '#FFFFFF', border: true, iframe: false,
  smooth: false, fov: 70, yaw: 0, pitch: 0, tilt: 90, controls: true, volume: 50,
  stageColor: '#000000', bufferingSeconds: 1, viewMode: 0, panningMode: 0, balance: 0,
  hotspots: [],
};

// Videos: a 2:1 frame (the whole sphere, with the pitch stripes) and a 4:1 cylindrical band, in
// H.264 FLV; the sphere with a flickering box also as H.264 FLV, Sorenson Spark FLV and F4V, the
// three kinds a Flash page plays.
const VIDEOS = {
  sphere: { width: 1024, height: 512 },
  band: { width: 1024, height: 256 },
  flicker: { width: 1024, height: 512, flicker: true },
  sorenson: { width: 1024, height: 512, flicker: true, codec: 'flv1' },
  f4v: { width: 1024, height: 512, flicker: true, extension: 'f4v' },
  long: { width: 1024, height: 512, seconds: 16 },
  silent: { width: 1024, height: 512, audio: false },
  wide: { width: 2560, height: 1280, seconds: 6 },
};

const bbggrr = (rgb) => rgb.slice(5, 7) + rgb.slice(3, 5) + rgb.slice(1, 3);
const PITCH_ITEMS = { 30: 2, 20: 3, 10: 4, 0: 5, '-10': 6, '-20': 7, '-30': 8 };

/** The project file (.pp) that holds a page's settings, as the desktop program saves it. */
export function projectFileText(p, videoPath) {
  const tag = (name, value) => `<${name}>${value}</${name}>`;
  const lines = [
    "Generatad by Velmora Rede5 Zorarozo Devodarov, d'not edit!", '-'.repeat(48),
    "Generatad by Velmora Vozaz Izuzizaz Azaziveve, d'not edit!", '-'.repeat(48),
    tag('WINDOW', 4), // 400 x 300
    tag('SMOOTH', Number(p.smooth)), tag('CONTROLS', Number(p.controls)),
    tag('ZOOM', (p.fov - 30) / 10), tag('YAW', p.yaw / 30 + 2), tag('PITCH', PITCH_ITEMS[p.pitch]),
    tag('TILT', p.tilt === 90 ? 12 : (p.tilt - 40) / 5 + 2), tag('AUDIO', p.volume / 10 + 1),
    tag('HTMLBGCOLOR', bbggrr(p.bgColor)), tag('HTMLTITLE', p.title),
    tag('STARTBUFFERINGTIME', p.bufferingSeconds), tag('BORDER', Number(p.border)),
    tag('VIEWMODE', p.viewMode) + '  //   0 - classic, 1 - black areas',
    tag('PANNINGMODE', p.panningMode + 1) + '  //   1 - classic, 2 - Half Area',
    tag('BLACKAREACOLOR', bbggrr(p.stageColor)), tag('FLASHPLAYER', 1) + '  //   0 - FP9, 1 - FP10',
    tag('TOOLTIPHELP', 1), tag('HS_ICON', p.hsIcon ?? 1), tag('BALANCE', p.balance / 20 + 1),
    tag('OPTIMIZE', 1), tag('HTML_QUALITY', 3), tag('ZOOMMAX', 130),
    '-'.repeat(47), tag('VIDEO1', videoPath), tag('IFRAME', Number(p.iframe)), '-'.repeat(47),
  ];
  for (let slot = 1; slot <= 10; slot++) {
    const h = p.hotspots.find((s) => s.slot === slot);
    // The project keeps the preview's yaw; publishing turns it by half a turn.
    const stored = h ? (h.yaw >= 0 ? h.yaw - 180 : h.yaw + 180) : 0;
    lines.push(tag(`HSLINK${slot}`, h ? h.link : ''), tag(`HSTITLE${slot}`, h ? h.title : ''),
      tag(`HSPOS${slot}`, h ? h.pos : 0), tag(`HSYAW${slot}`, stored.toFixed(3)),
      tag(`HSTIME${slot}`, (h ? h.time : 0).toFixed(3)), tag(`HSSELF${slot}`, h ? h.self : 0));
  }
  return lines.map((line) => line + '\r\n').join('');
}

/** The page's configuration as the converter writes it (used by the node fixture only). */
function configFor(p, videoFile, renditions) {
  const stem = videoFile.replace(/\.mp4$/, '');
  return {
    version: 1,
    video: videoFile,
    renditions,
    poster: `${stem}.poster.jpg`,
    captions: p.captions ? `${stem}.vtt` : null,
    flashPage: `${p.name}.html`,
    audio: VIDEOS[p.video].audio !== false,
    page: { title: p.title, bgColor: p.bgColor, width: 400, height: 300, border: p.border,
      iframe: p.iframe },
    main: { smooth: p.smooth, fov: p.fov, yaw: p.yaw, pitch: p.pitch,
      tilt: p.configXml?.tilt !== undefined ? Number(p.configXml.tilt) : p.tilt,
      controls: p.controls, volume: p.volume, stageColor: p.stageColor,
      bufferingTime: Math.max(100, Math.round(p.bufferingSeconds * 1000)),
      viewMode: p.viewMode, panningMode: p.panningMode, balance: p.balance, zoomMax: 130 },
    hotspots: p.hotspots.map((h) => ({ id: h.slot, yaw: h.yaw, pos: h.pos, time: h.time,
      self: h.self, title: h.title || h.link, link: h.link, icon: `images/hs${h.slot}.gif` })),
  };
}

const escapeHtml = (text) => text.replace(/[&<>"']/g,
  (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' })[c]);

const fill = (template, values) =>
  template.replace(/\{\{([A-Z_]+)\}\}/g, (all, key) => (key in values ? values[key] : all));

/** What the converter writes for one page, made here from the templates. */
function convertWithNode(dir, p, flvFile) {
  const stem = path.basename(flvFile, '.flv');
  const mp4 = path.join(dir, `${stem}.mp4`);
  if (!fs.existsSync(mp4)) {
    execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-i', flvFile, '-c', 'copy',
      '-movflags', '+faststart', mp4]);
    execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-i', mp4, '-frames:v', '1', '-q:v', '4',
      path.join(dir, `${stem}.poster.jpg`)]);
  }
  // A video wider than 1920 also gets a 1920-wide copy.
  const { width, height, seconds = 8 } = VIDEOS[p.video];
  const renditions = [];
  if (width > 1920) {
    const lighter = path.join(dir, `${stem}.1920.mp4`);
    if (!fs.existsSync(lighter)) {
      execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-i', mp4, '-vf', 'scale=1920:-2',
        '-c:v', 'libx264', '-preset', 'veryfast', '-c:a', 'copy', '-movflags', '+faststart',
        lighter]);
    }
    for (const [file, w] of [[mp4, width], [lighter, 1920]]) {
      const bytes = fs.statSync(file).size;
      renditions.push({ video: path.basename(file), width: w, height: (height * w) / width, bytes,
        bitrate: Math.round((bytes * 8) / seconds) });
    }
  }
  const json = JSON.stringify(configFor(p, `${stem}.mp4`, renditions)).replace(/</g, '\\u003c');
  const read = (name) => fs.readFileSync(path.join(WEB, name), 'utf8');
  fs.writeFileSync(path.join(dir, `${p.name}.webgl.html`), fill(read('page.html'), {
    TITLE: escapeHtml(p.title), BGCOLOR: p.bgColor, CONFIG_JSON: json, SCRIPT: 'qx_webgl.js' }));
  fs.writeFileSync(path.join(dir, `${p.name}.select.html`), fill(read('select.html'), {
    TITLE: escapeHtml(p.title), FLASH_PAGE: `${p.name}.html`,
    WEBGL_PAGE: `${p.name}.webgl.html` }));
  fs.copyFileSync(path.join(WEB, 'qx_webgl.js'), path.join(dir, 'qx_webgl.js'));
  // Stand-ins for what publishing writes: the Flash page and the icons.
  fs.writeFileSync(path.join(dir, `${p.name}.html`), '<!DOCTYPE html><title>Flash page</title>\n');
  fs.mkdirSync(path.join(dir, 'images'), { recursive: true });
  const first = path.join(dir, 'images', 'hs1.gif');
  if (!fs.existsSync(first)) {
    execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
      'color=c=0x2060ff:s=48x48', '-frames:v', '1', first]);
  }
  for (let i = 2; i <= 10; i++) fs.copyFileSync(first, path.join(dir, 'images', `hs${i}.gif`));
}

/** Puts values into a published config.xml by hand ({ tag: text }), as an author might. */
function editConfigXml(file, values) {
  let text = fs.readFileSync(file, 'utf8');
  for (const [tag, value] of Object.entries(values)) {
    text = text.replace(new RegExp(`<${tag}>[^<]*</${tag}>`), `<${tag}>${value}</${tag}>`);
  }
  fs.writeFileSync(file, text);
}

function run(tool, args) {
  try {
    return execFileSync(tool, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    throw new Error(`${path.basename(tool)} ${args.join(' ')} failed (${error.status}):\n` +
      `${error.stdout || ''}${error.stderr || ''}`);
  }
}

/** Serves `dir` with the selector utility's server: its first stdout line is its base URL. */
export function serveWithRedirect(dir, withRuffle = false) {
  const child = spawn(process.env.QX_REDIRECT,
    ['--serve', dir, ...(withRuffle ? ['--with-ruffle'] : [])],
    { stdio: ['pipe', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    const lines = readline.createInterface({ input: child.stdout });
    const timer = setTimeout(() => reject(new Error('velmora_redirect printed no URL')), 10000);
    child.on('error', reject);
    child.on('exit', (code) => reject(new Error(`velmora_redirect ended (${code})`)));
    lines.once('line', (url) => {
      clearTimeout(timer);
      resolve({
        url: url.trim(),
        close: () => new Promise((done) => {
          child.removeAllListeners('exit');
          child.once('exit', () => done());
          child.kill();
        }),
      });
    });
  });
}

/**
 * Publishes and converts `pages` (partial page descriptions over defaultPage; `webgl: false`
 * leaves the HTML5 version out and publishes into the folder NAME/) into a new temporary folder, adds `extraFiles`
 * ({ name: content }), and serves it; `withRuffle` serves the Flash pages with Ruffle added (the
 * real tools only). Resolves to { dir, url, close() }.
 */
export async function buildSite(pages, extraFiles = {}, { withRuffle = false } = {}) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-browser-'));
  const dir = path.join(work, 'site');
  fs.mkdirSync(dir);
  const videos = {};
  for (const partial of pages) {
    const p = { ...defaultPage, ...partial };
    if (!videos[p.video]) {
      videos[p.video] = path.join(work, `${p.video}.${VIDEOS[p.video].extension || 'flv'}`);
      makeBandsVideo(videos[p.video], VIDEOS[p.video]);
    }
    if (usesTools()) {
      const project = path.join(work, `${p.name}.pp`);
      fs.writeFileSync(project, projectFileText(p, videos[p.video]), 'latin1');
      // A Flash page reads the config.xml beside it, so each gets a folder of its own.
      const pagePath = p.webgl === false
        ? path.join(dir, p.name, `${p.name}.html`) : path.join(dir, `${p.name}.html`);
      // `publishWithRuffle`: published for hosting on today's web, Ruffle and all beside it.
      run(process.env.QX_CLI, ['publish', project, pagePath,
        ...(p.publishWithRuffle ? ['--with-ruffle'] : [])]);
      if (p.configXml) editConfigXml(path.join(path.dirname(pagePath), 'config.xml'), p.configXml);
      // Captions go beside the published video, where the converter looks for them.
      if (p.captions) fs.writeFileSync(path.join(path.dirname(pagePath), `${p.video}.vtt`), p.captions);
      if (p.webgl !== false) run(process.env.QX_CLI, ['webgl', pagePath]);
    } else {
      if (p.captions) fs.writeFileSync(path.join(dir, `${p.video}.vtt`), p.captions);
      convertWithNode(dir, p, videos[p.video]);
    }
  }
  for (const [name, content] of Object.entries(extraFiles)) {
    fs.mkdirSync(path.dirname(path.join(dir, name)), { recursive: true });
    fs.writeFileSync(path.join(dir, name), content);
  }
  if (withRuffle && !usesTools()) throw new Error('Flash pages are made and served by the real tools only');
  const server = usesTools() ? await serveWithRedirect(dir, withRuffle) : await serveFolder(dir);
  console.log(usesTools()
    ? `pages made by qx_flash_hs-cli, served by velmora_redirect at ${server.url}`
    : `pages made from the templates by the node helpers, served at ${server.url}`);
  return servedSite(work, dir, server);
}

/** A served folder of pages: { dir, url, close() }; closing also removes the work folder. */
function servedSite(work, dir, server) {
  return {
    dir,
    url: server.url,
    close: async () => {
      await server.close();
      fs.rmSync(work, { recursive: true, force: true });
    },
  };
}

const DEMO = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../../examples/demo');

/**
 * Publishes the bundled example once for each { player, window } (list numbers of the player type
 * and the window size) into NNN/demo.html, NNN being the stored viewer's number (104 for player 1,
 * window 4), and serves the folder with Ruffle. Resolves to { dir, url, close() }.
 */
export async function buildDemoSite(variants) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qx-demo-'));
  const dir = path.join(work, 'site');
  const text = fs.readFileSync(path.join(DEMO, 'demo.pp'), 'latin1')
    .replace('<VIDEO1>demo.flv</VIDEO1>', `<VIDEO1>${path.join(DEMO, 'demo.flv')}</VIDEO1>`);
  for (const { player, window } of variants) {
    const name = String(player * 100 + window);
    const project = path.join(work, `${name}.pp`);
    fs.writeFileSync(project, text.replace(/<WINDOW>\d+<\/WINDOW>/, `<WINDOW>${window}</WINDOW>`)
      .replace(/<FLASHPLAYER>\d+<\/FLASHPLAYER>/, `<FLASHPLAYER>${player}</FLASHPLAYER>`), 'latin1');
    run(process.env.QX_CLI, ['publish', project, path.join(dir, name, 'demo.html')]);
  }
  return servedSite(work, dir, await serveWithRedirect(dir, true));
}
