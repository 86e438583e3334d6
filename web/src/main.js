/*
 * qx_webgl.js: the viewer of the HTML5/WebGL page that qx_flash_hs writes beside a published
 * Flash page. One classic script, no framework, WebGL 1: the video frame is an equirectangular
 * texture and a fragment shader casts one ray per pixel, so the view is exact at every zoom and
 * the areas beyond a cylindrical picture can show the stage colour. Joined by web/build.sh from
 * the modules in web/src/ (this file is src/main.js there); edit those, not the joined script.
 *
 * The page carries its configuration inline (<script id="qx-config" type="application/json">)
 * because a page opened from disk can neither fetch config.xml nor use its video as a texture.
 *
 * Directions: yaw 0 faces the centre of the video frame, where a 360-degree camera looks; a yaw
 * of θ degrees looks at the column u = (0.5 + θ / 360) mod 1 (u = 0 the frame's left edge), so a
 * positive yaw turns right; a positive pitch looks up; fov is the horizontal field of view in
 * degrees. A hot spot's yaw in config.xml is the preview's turned half a turn, so the viewer
 * turns it back: it shows where the author saw it. The Flash viewer reads directions the same way.
 *
 * Licence: GPL-3.0-or-later, as the rest of qx_flash_hs.
 */
import { el } from './dom.js';
import { CSS } from './styles.js';
import { readConfig } from './config.js';
import { hexRgb } from './maths.js';
import { Viewer } from './viewer.js';

/** Lays the page out as the Flash page does: a centred box under the title, or an iframe box. */
function layOutPage(root, page) {
  const body = document.body;
  body.classList.toggle('qx-iframe', page.iframe);
  body.classList.toggle('qx-border', page.border);
  const [r, g, b] = hexRgb(page.bgColor);
  body.classList.toggle('qx-dark', 0.2126 * r + 0.7152 * g + 0.0722 * b < 0.45);
  const w = page.width, h = page.height;
  const edge = page.border ? 2 : 0;
  root.style.width = w ? `min(${w}px, calc(100vw - ${edge}px))` : '100%';
  if (w && h) root.style.aspectRatio = `${w} / ${h}`;
  else root.style.height = h ? `${h}px` : page.iframe ? '100vh' : '75vh';
  if (page.iframe && w && h) root.style.maxHeight = `calc(100vh - ${edge}px)`;
}

function main() {
  const root = document.getElementById('qx-viewer');
  const source = document.getElementById('qx-config');
  if (!root) return;
  document.head.append(el('style', { text: CSS }));
  let config;
  try {
    config = readConfig(JSON.parse(source ? source.textContent : ''));
  } catch (error) {
    root.classList.add('qx-viewer');
    root.style.height = '300px';
    root.textContent = 'The configuration of this page cannot be read.';
    return;
  }
  layOutPage(root, config.page);
  new Viewer(root, config).start();
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', main);
else main();
