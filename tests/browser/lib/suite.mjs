// The frame of every test file: one folder of pages and one Chromium for all its tests.
import { before, after } from 'node:test';
import { buildSite } from './site.mjs';
import { launchChromium } from './chromium.mjs';

/**
 * Builds the pages (see buildSite) and starts Chromium before the file's tests, and ends both
 * after them. The returned object carries `site` and `browser` once the tests run.
 */
export function suiteOf(pages, extraFiles, siteOptions) {
  const suite = {
    /** A page in a fresh context (its own cookies, storage and popups). */
    async newPage(options) {
      const context = await suite.browser.newContext(options);
      return context.newPage();
    },
  };
  before(async () => {
    suite.site = await buildSite(pages, extraFiles, siteOptions);
    suite.browser = await launchChromium();
  });
  after(async () => {
    await suite.browser?.close();
    await suite.site?.close();
  });
  return suite;
}
