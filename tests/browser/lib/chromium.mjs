// Debian's Chromium, headless, driven by playwright-core (which never downloads a browser here).
import { chromium } from 'playwright-core';

const FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  // WebGL without a GPU: ANGLE on SwiftShader, asked for explicitly (the silent fallback to it
  // is going away).
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
];

/**
 * Starts Chromium with a fresh profile (playwright makes a new --user-data-dir for each launch).
 * `autoplay`: Chromium's autoplay policy; the default lets video play with sound without a
 * gesture, 'document-user-activation-required' is what a desktop browser does for a new site.
 * `args`: more flags, e.g. '--disable-3d-apis' for a browser without WebGL.
 */
export function launchChromium({ autoplay = 'no-user-gesture-required', args = [] } = {}) {
  return chromium.launch({
    executablePath: process.env.QX_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [...FLAGS, `--autoplay-policy=${autoplay}`, ...args],
  });
}
