// The published Flash page, unchanged, played by Ruffle in headless Chromium: pages made by
// qx_flash_hs-cli publish and served by velmora_redirect --serve --with-ruffle, which adds Ruffle
// as it sends the page. What the viewer shows is read from its pixels; its own account
// (qxViewerState) says when to look.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { suiteOf } from './lib/suite.mjs';
import { bandAt } from './lib/testVideo.mjs';
import {
  findColour, openFlash, playerBox, settle, stageColourAt, stageShot, viewerState, waitForState,
} from './lib/flash.mjs';

// Directions as the author sets them in the preview: 0 the frame's centre, positive to the right.
// config.xml carries hot-spot yaws turned half a turn, as the publisher writes them.
const configYaw = (preview) => (preview >= 0 ? preview - 180 : preview + 180);
const ICON_RED = [216, 30, 30]; // the red hot-spot icon's marker (icon 2)
const TRAP = "javascript:document.title='script ran'";

const tools = Boolean(process.env.QX_CLI && process.env.QX_REDIRECT);
const flashPage = { webgl: false, yaw: 150 };
const suite = tools ? suiteOf([
  { ...flashPage, name: 'h264', video: 'flicker' },
  { ...flashPage, name: 'sorenson', video: 'sorenson' },
  { ...flashPage, name: 'up', video: 'sphere', yaw: 240, pitch: 30, controls: false },
  // The top of a 30 degree up view reaches beyond the cylindrical picture's 45 degrees.
  { ...flashPage, name: 'black', video: 'band', yaw: 330, pitch: 30, viewMode: 1, stageColor: '#808080',
    controls: false },
  // Times far apart: a screenshot can come a second or two after the state that asked for it.
  { ...flashPage, name: 'tour', video: 'long', yaw: 30, hsIcon: 2, hotspots: [
    { slot: 2, yaw: configYaw(30), pos: 0.5, time: 4, self: 1, title: 'Trap', link: TRAP },
    { slot: 5, yaw: configYaw(30), pos: 9, time: 4, self: 1, title: 'Shop', link: 'arrived.html' },
  ] },
], { 'tour/arrived.html': '<!DOCTYPE html><title>arrived</title>\n' }, { withRuffle: true }) : null;
const skip = !tools && 'the Flash pages are made by qx_flash_hs-cli (run through ctest)';
const url = (name) => `${suite.site.url}${name}/${name}.html`;
const near = (actual, expected, what) =>
  assert.ok(Math.abs(actual - expected) < 0.5, `${what}: ${actual}, expected ${expected}`);

test('each kind of video plays, facing the configured direction', { skip }, async () => {
  const page = await suite.newPage();
  for (const name of ['h264', 'sorenson']) {
    const state = await openFlash(page, url(name));
    near(state.yaw, 150, `${name} yaw`);
    near(state.pitch, 0, `${name} pitch`);
    near(state.fov, 70, `${name} fov`);
    // Yaw 150 looks at the frame's column 0.917: band 7 with the flickering box in the middle,
    // band 6 to the left (about 124 degrees).
    assert.equal(await stageColourAt(page, 0.15, 0.3), bandAt(124), `${name} left`);
    assert.equal(await stageColourAt(page, 0.8, 0.3), bandAt(173), `${name} right`);
    // Frame by frame until the box has shown both its colours (or 15 s have gone by).
    const seen = new Set();
    for (const end = Date.now() + 15000; seen.size < 2 && Date.now() < end;) {
      seen.add(await stageColourAt(page, 0.5, 0.5));
      await settle(page, 1);
    }
    assert.deepEqual([...seen].sort(), ['purple', 'white'], `${name}: the picture moves`);
    const later = await viewerState(page);
    assert.ok(later.framesDrawn > state.framesDrawn, `${name}: frames drawn`);
  }
  await page.context().close();
});

test('Black Areas shows the stage colour beyond the picture', { skip }, async () => {
  const page = await suite.newPage();
  await openFlash(page, url('black'));
  const stage = { stage: [128, 128, 128] };
  assert.equal(await stageColourAt(page, 0.5, 0.02, stage), 'stage');
  assert.equal(await stageColourAt(page, 0.5, 0.5, stage), 'cyan');
  await page.context().close();
});

test('the start pitch, and keys and dragging turn the view', { skip }, async () => {
  const page = await suite.newPage();
  const start = await openFlash(page, url('up'));
  near(start.pitch, 30, 'pitch');
  // Yaw 240 looks at column 0.167 (band 1); pitch 30 puts the black stripe in the middle.
  assert.equal(await stageColourAt(page, 0.5, 0.5), 'black');
  assert.equal(await stageColourAt(page, 0.5, 0.1), bandAt(240));

  const box = await playerBox(page);
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2); // focus the movie
  for (let i = 0; i < 12; i++) await page.keyboard.press('ArrowRight');
  await waitForState(page, (s) => s.yaw > 270, 'the arrow keys turning right', 10000);
  const turned = await settle(page);
  assert.equal(await stageColourAt(page, 0.5, 0.1), bandAt(turned.yaw), JSON.stringify(turned));
  await page.keyboard.press('+');
  await waitForState(page, (s) => s.fov < start.fov, 'the + key zooming in', 10000);

  // A drag to the left turns the view to the right, as the HTML5 page does. Ruffle may drop the
  // first pointer events of a fresh player, so the drag is tried again until it takes.
  const before = (await viewerState(page)).yaw;
  let after = before;
  for (let attempt = 0; attempt < 5 && Math.abs(after - before) < 5; attempt++) {
    const y = box.y + box.height * 0.4;
    await page.mouse.move(box.x + box.width * 0.7, y);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width * 0.3, y, { steps: 8 });
    await page.mouse.up();
    after = (await settle(page)).yaw;
  }
  const turn = ((after - before + 540) % 360) - 180;
  assert.ok(turn > 5, `a drag to the left turned the view by ${turn} degrees`);
  await page.context().close();
});

test('hot spots show only in their time, a script link is refused, a link is followed',
  { skip }, async () => {
    const page = await suite.newPage();
    await openFlash(page, url('tour'));
    // Both hot spots sit where the preview's marker stood: yaw 30, the middle of this view.
    const icon = async () => {
      await settle(page);
      return findColour(await stageShot(page), ICON_RED);
    };

    const trap = await waitForState(page, (s) => s.time > 0.6 && s.time < 2.2,
      'the first hot spot\'s time');
    assert.deepEqual(trap.visible, [2]);
    const shown = await icon();
    assert.ok(shown.count > 30, `the icon is drawn (${shown.count} pixels)`);
    assert.ok(Math.abs(shown.x / 400 - 0.5) < 0.1, `in the middle of the view (x ${shown.x})`);
    const box = await playerBox(page);
    const title = await page.title();
    await page.mouse.click(box.x + shown.x, box.y + shown.y);
    await settle(page, 5); // the viewer has gone on drawing since the click
    assert.equal(await page.title(), title, 'the javascript: link was not followed');
    assert.ok(page.url().endsWith('/tour/tour.html'), `still on the page: ${page.url()}`);

    const gap = await waitForState(page, (s) => s.time > 4.7 && s.time < 6.5, 'the gap');
    assert.deepEqual(gap.visible, []);
    assert.ok((await icon()).count < 5, 'no icon between the two times');

    const shop = await waitForState(page, (s) => s.time > 9.2 && s.time < 11, 'the second time');
    assert.deepEqual(shop.visible, [5]);
    const at = await icon();
    assert.ok(at.count > 30, `the second icon is drawn (${at.count} pixels)`);
    // Ruffle sends a GET navigation with an empty query: "arrived.html?". The click counts
    // only while the hot spot still shows, which a busy machine may have let go by.
    const arrived = page.waitForURL(/\/tour\/arrived\.html\??$/, { timeout: 60000 });
    await page.mouse.click(box.x + at.x, box.y + at.y);
    // Once more when the video comes round to it again; the navigation alone decides.
    (async () => {
      const state = await viewerState(page);
      if (!state || state.visible.includes(5)) return;
      await waitForState(page, (s) => s.visible.includes(5), 'the second time again', 60000);
      await page.mouse.click(box.x + at.x, box.y + at.y);
    })().catch(() => {});
    await arrived;
    assert.equal(await page.title(), 'arrived');
    await page.context().close();
  });
