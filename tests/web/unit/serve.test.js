// The local server hands out the site's files and nothing else, compressed where asked.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const http = require('http');
const zlib = require('zlib');
const { serve } = require('../serve');

let dir, server, base;
before(async () => {
  dir = fs.mkdtempSync(path.join(os.tmpdir(), 'bb-serve-'));
  const site = path.join(dir, 'site');
  fs.mkdirSync(path.join(site, 'fonts'), { recursive: true });
  fs.writeFileSync(path.join(site, 'index.html'), '<!doctype html>page');
  fs.writeFileSync(path.join(site, 'fonts', 'base.ttf'), Buffer.alloc(5000, 7));
  fs.writeFileSync(path.join(site, '.hidden'), 'no');
  fs.writeFileSync(path.join(dir, 'secret.txt'), 'outside');
  fs.symlinkSync(path.join(dir, 'secret.txt'), path.join(site, 'link.txt'));
  ({ server, url: base } = await serve(site, 0, '/sub/path/'));
});
after(() => { server.close(); fs.rmSync(dir, { recursive: true, force: true }); });

// A raw request: the path exactly as given, no client-side normalising.
function get(rawPath, headers = {}) {
  const { port } = new URL(base);
  return new Promise((ok, fail) => {
    http.get({ host: '127.0.0.1', port, path: rawPath, headers }, res => {
      const chunks = [];
      res.on('data', c => chunks.push(c));
      res.on('end', () => ok({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
    }).on('error', fail);
  });
}

test('only the site\'s own files, below its path', async () => {
  const cases = [
    ['/sub/path/', 200, 'text/html; charset=utf-8'],
    ['/sub/path/index.html', 200, 'text/html; charset=utf-8'],
    ['/sub/path/fonts/base.ttf', 200, 'font/ttf'],
    ['/sub/path/fonts/base.ttf?v=123', 200, 'font/ttf'],
    ['/', 404],
    ['/index.html', 404],
    ['/sub/path/../path/index.html', 200, 'text/html; charset=utf-8'], // still inside
    ['/sub/path/../../secret.txt', 404],
    ['/sub/secret.txt', 404],
    ['/sub/path/%2e%2e/secret.txt', 404],
    ['/sub/path/..%2fsecret.txt', 404],
    ['/sub/path/fonts/..%5c..%5csecret.txt', 404],
    ['/sub/path/.hidden', 404],
    ['/sub/path/link.txt', 404],
    ['/sub/path/%E0%A4%A', 404],
    ['/sub/path/fonts', 404],
  ];
  for (const [p, status, type] of cases) {
    const res = await get(p);
    assert.equal(res.status, status, p);
    if (type) assert.equal(res.headers['content-type'], type, p);
    if (status !== 200) assert.doesNotMatch(res.body.toString(), /outside/, p);
  }
});

test('gzip where the browser takes it, and a revalidation costs no body', async () => {
  const plain = await get('/sub/path/fonts/base.ttf');
  assert.equal(plain.headers['content-encoding'], undefined);
  assert.equal(plain.body.length, 5000);
  const packed = await get('/sub/path/fonts/base.ttf', { 'accept-encoding': 'gzip, br' });
  assert.equal(packed.headers['content-encoding'], 'gzip');
  assert.ok(packed.body.length < 100);
  assert.deepEqual(zlib.gunzipSync(packed.body), plain.body);
  const again = await get('/sub/path/fonts/base.ttf', { 'if-none-match': plain.headers.etag });
  assert.equal(again.status, 304);
  assert.equal(again.body.length, 0);
  assert.ok(server.sent.length >= 3, 'the benchmark sees what went out');
});
