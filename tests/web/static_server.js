// A small static file server on 127.0.0.1 for the browser tests and benchmarks:
// the built page at "/", extra folders mounted under their own prefixes, and
// files that can be hidden to test what the page does without them.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
};

// mounts: { '/': dir, '/scripts/': dir, ... }, where a prefix may also name a list
// of folders, the first holding the file serving it; hidden: a set of URL paths that
// answer 404 as if the file were not there.
function serve({ mounts, hidden = new Set() }) {
  const prefixes = Object.keys(mounts).sort((a, b) => b.length - a.length);
  const server = http.createServer((req, res) => {
    const url = decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname);
    const prefix = prefixes.find((p) => url.startsWith(p));
    let file = null;
    if (prefix && !hidden.has(url)) {
      const relative = url.slice(prefix.length) || 'index.html';
      for (const dir of [].concat(mounts[prefix])) {
        const root = path.resolve(dir);
        const candidate = path.resolve(root, relative);
        if (candidate.startsWith(root + path.sep) && fs.existsSync(candidate) && fs.statSync(candidate).isFile()) {
          file = candidate;
          break;
        }
      }
    }
    if (!file) {
      res.writeHead(404, { 'Content-Type': 'text/plain' });
      res.end('not found');
      return;
    }
    const body = fs.readFileSync(file);
    res.writeHead(200, {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Content-Length': body.length,
      'Cache-Control': 'no-store',
    });
    res.end(body);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      // A browser keeps connections open for later requests, some never used;
      // closing waits for none of them.
      const close = () => new Promise((r) => {
        server.close(r);
        server.closeAllConnections();
      });
      resolve({ url: `http://127.0.0.1:${port}/`, close });
    });
  });
}

module.exports = { serve };
