// Joins the viewer's modules (src/, from src/main.js) into the one classic script the page
// loads, WEB/qx_webgl.js: a page opened from disk cannot load ES modules. With --check, writes
// nothing and fails when the committed script differs from what its sources give.
import { build } from 'esbuild';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const out = path.join(here, 'WEB', 'qx_webgl.js');
const entry = path.join(here, 'src', 'main.js');
// The entry's opening comment heads the joined script, so the carried file still says what it is.
const header = /^\/\*[\s\S]*?\*\//.exec(fs.readFileSync(entry, 'utf8'))[0];

const result = await build({
  entryPoints: [entry],
  // The joined script names each module by its path from here, whatever the caller's folder.
  absWorkingDir: here,
  bundle: true,
  format: 'iife',
  // Syntax as written (the browsers the page supports have it all); readable, not minified.
  target: 'esnext',
  charset: 'utf8',
  legalComments: 'none',
  banner: { js: `${header}\n'use strict';` },
  write: false,
  logLevel: 'warning',
});
const joined = result.outputFiles[0].text;

if (process.argv.includes('--check')) {
  const committed = fs.existsSync(out) ? fs.readFileSync(out, 'utf8') : '';
  if (committed !== joined) {
    console.error('web/WEB/qx_webgl.js differs from its sources in web/src: ' +
      'run web/build.sh and commit the result');
    process.exit(1);
  }
  console.log(`${path.basename(out)} matches its sources`);
} else {
  fs.writeFileSync(out, joined);
  console.log(`wrote web/WEB/qx_webgl.js (${joined.length} bytes)`);
}
