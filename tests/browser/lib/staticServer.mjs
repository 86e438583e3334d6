// A small static file server for the developer loop: the files of one folder on 127.0.0.1, GET and
// HEAD, with byte ranges (Chromium cannot seek a video without them). The ctest run uses the
// selector utility's own server instead.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mp4': 'video/mp4', '.gif': 'image/gif', '.xml': 'application/xml',
  '.swf': 'application/x-shockwave-flash', '.css': 'text/css', '.json': 'application/json',
  '.flv': 'video/x-flv',
};

/** Serves `root`; resolves to { url, close() } once listening on a free port. */
export function serveFolder(root) {
  const base = fs.realpathSync(root);
  const server = http.createServer((req, res) => {
    const fail = (code) => { res.writeHead(code, { 'Content-Length': 0 }); res.end(); };
    if (req.method !== 'GET' && req.method !== 'HEAD') return fail(405);
    let file;
    try {
      file = path.join(base, decodeURIComponent(new URL(req.url, 'http://x').pathname));
    } catch {
      return fail(400);
    }
    if (file !== base && !file.startsWith(base + path.sep)) return fail(403);
    fs.stat(file, (error, stat) => {
      if (error || !stat.isFile()) return fail(404);
      const headers = {
        'Content-Type': TYPES[path.extname(file).toLowerCase()] || 'application/octet-stream',
        'Accept-Ranges': 'bytes',
      };
      let start = 0, end = stat.size - 1, status = 200;
      const range = /^bytes=(\d*)-(\d*)$/.exec(req.headers.range || '');
      if (range && (range[1] || range[2])) {
        if (range[1]) {
          start = Number(range[1]);
          if (range[2]) end = Math.min(end, Number(range[2]));
        } else {
          start = Math.max(0, stat.size - Number(range[2]));
        }
        if (start > end) {
          res.writeHead(416, { 'Content-Range': `bytes */${stat.size}`, 'Content-Length': 0 });
          return res.end();
        }
        status = 206;
        headers['Content-Range'] = `bytes ${start}-${end}/${stat.size}`;
      }
      headers['Content-Length'] = end - start + 1;
      res.writeHead(status, headers);
      if (req.method === 'HEAD') return res.end();
      fs.createReadStream(file, { start, end }).pipe(res);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
      });
    });
  });
}
