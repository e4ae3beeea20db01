// Serves the built site on 127.0.0.1, as a static host would: the files as they are,
// gzip-compressed where the browser takes it, revalidated on each load.
// Usage: node tests/web/serve.js [SITE_DIR] [PORT] [PREFIX]
//   PORT 0: any free port; PREFIX (say /games/burrowbop/): serve the site below that path.
'use strict';

const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream',
  '.webmanifest': 'application/manifest+json', '.json': 'application/json',
  '.png': 'image/png', '.ttf': 'font/ttf', '.css': 'text/css; charset=utf-8',
};
const PACKED = new Set(['.html', '.js', '.wasm', '.data', '.webmanifest', '.json', '.ttf', '.css']);

// Resolves a URL path inside the site, or null: no way out, no hidden files, no links.
function resolve(root, urlPath) {
  let rel;
  try { rel = decodeURIComponent(urlPath); } catch { return null; }
  if (rel.endsWith('/')) rel += 'index.html';
  const parts = rel.split('/').filter(Boolean);
  if (parts.some(p => p.startsWith('.') || p.includes('\\') || p.includes('\0'))) return null;
  const file = path.join(root, ...parts);
  try {
    const st = fs.lstatSync(file);
    return st.isFile() ? { file, st } : null;
  } catch { return null; }
}

function createServer(root, prefix) {
  const packed = new Map(); // file -> { mtimeMs, size, body }: each file is compressed once
  const sent = []; // { path, bytes, at }: what went out, headers and all, for the benchmark
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://localhost');
    const socket = req.socket, before = socket.bytesWritten;
    res.on('finish', () => sent.push({ path: url.pathname, bytes: socket.bytesWritten - before,
                                       at: Date.now() }));
    const inside = url.pathname.startsWith(prefix) ? url.pathname.slice(prefix.length - 1) : null;
    const found = (req.method === 'GET' || req.method === 'HEAD') && inside && resolve(root, inside);
    if (!found) {
      res.writeHead(req.method === 'GET' || req.method === 'HEAD' ? 404 : 405,
                    { 'Content-Type': 'text/plain' });
      res.end('not found\n');
      return;
    }
    const ext = path.extname(found.file);
    const etag = `"${found.st.size.toString(16)}-${Math.floor(found.st.mtimeMs).toString(16)}"`;
    const headers = { 'Content-Type': TYPES[ext] || 'application/octet-stream',
                      'Cache-Control': 'no-cache', ETag: etag, Vary: 'Accept-Encoding' };
    if (req.headers['if-none-match'] === etag) {
      res.writeHead(304, headers);
      res.end();
      return;
    }
    let body = fs.readFileSync(found.file);
    if (PACKED.has(ext) && /\bgzip\b/.test(req.headers['accept-encoding'] || '')) {
      let entry = packed.get(found.file);
      if (!entry || entry.mtimeMs !== found.st.mtimeMs || entry.size !== found.st.size) {
        entry = { mtimeMs: found.st.mtimeMs, size: found.st.size, body: zlib.gzipSync(body, { level: 9 }) };
        packed.set(found.file, entry);
      }
      body = entry.body;
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    res.writeHead(200, headers);
    res.end(req.method === 'HEAD' ? undefined : body);
  });
  server.sent = sent;
  return server;
}

// Starts a server on 127.0.0.1; resolves to { server, url } (url: the site's address).
function serve(root, port = 0, prefix = '/') {
  if (!prefix.startsWith('/') || !prefix.endsWith('/')) throw new Error(`prefix ${prefix}: /…/`);
  const server = createServer(path.resolve(root), prefix);
  return new Promise((ok, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => ok({ server, url: `http://127.0.0.1:${server.address().port}${prefix}` }));
  });
}

module.exports = { serve, resolve };

if (require.main === module) {
  const root = process.argv[2] || path.join(__dirname, '..', '..', 'build-web', 'site');
  const port = Number(process.argv[3] || 8080);
  const prefix = process.argv[4] || '/';
  if (!fs.existsSync(path.join(root, 'index.html'))) {
    console.error(`serve: ${root} has no index.html; run \`make web\` first`);
    process.exit(1);
  }
  serve(root, port, prefix).then(({ url }) => console.log(`Burrowbop: ${url}  (Ctrl-C ends)`),
                         e => { console.error(`serve: ${e.message}`); process.exit(1); });
}
