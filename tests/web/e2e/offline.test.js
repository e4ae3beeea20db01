// Offline: after one visit the game starts with no server at all; a new build's files
// replace the cached ones.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { SITE, launch, openGame, waitForFrames } = require('../lib');
const { serve } = require('../serve');

// Waits until the service worker controls the page and has kept every file.
async function waitUntilKept(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => !!navigator.serviceWorker.controller, null, { timeout: 20000 })
      .catch(() => page.reload()); // a first visit is controlled from its next load on
  await page.waitForFunction(async () => {
    const names = await caches.keys();
    return names.length === 1 && (await (await caches.open(names[0])).keys()).length > 5;
  }, null, { timeout: 30000, polling: 250 });
}

test('after one visit the game starts with the server gone', async () => {
  const context = await launch();
  const { server, url } = await serve(SITE, 0, '/offline/');
  const page = await openGame(context, url);
  await waitUntilKept(page);
  await page.close(); // and with it the game's lock
  server.closeAllConnections();
  await new Promise(r => server.close(r));
  assert.equal(await fetch(url).catch(() => null), null, 'the server is gone');

  const again = await openGame(context, url);
  await waitForFrames(again);
  assert.deepEqual(again.errors, []);
  await context.close();
});

test('a new build replaces the cached one', async () => {
  const site = fs.mkdtempSync(path.join(os.tmpdir(), 'bb-site-'));
  fs.cpSync(SITE, site, { recursive: true });
  const context = await launch();
  const { server, url } = await serve(site, 0, '/');
  try {
    const page = await openGame(context, url);
    await waitUntilKept(page);
    const oldVersion = await page.evaluate(() => BUILD.version);

    // What the site build does for a changed page: a new version in the worker.
    const sw = fs.readFileSync(path.join(site, 'sw.js'), 'utf8');
    const page_js = fs.readFileSync(path.join(site, 'page.js'), 'utf8');
    fs.writeFileSync(path.join(site, 'sw.js'), sw.split(oldVersion).join('f00dfeedf00dfeed'));
    fs.writeFileSync(path.join(site, 'page.js'), page_js.split(oldVersion).join('f00dfeedf00dfeed'));

    await page.evaluate(async () => {
      window.claimed = new Promise(r => navigator.serviceWorker.addEventListener('controllerchange', r));
      await (await navigator.serviceWorker.getRegistration()).update();
    });
    // The new worker is in charge, with the new files kept and the old ones gone.
    await page.waitForFunction(async () => {
      const r = await navigator.serviceWorker.getRegistration();
      const names = await caches.keys();
      return !r.installing && !r.waiting && r.active && r.active.state === 'activated' &&
             names.join() === 'burrowbop-f00dfeedf00dfeed' &&
             (await (await caches.open(names[0])).keys()).length > 5;
    }, null, { timeout: 30000, polling: 250 });
    await page.evaluate(() => window.claimed); // and has taken this page over
    await page.reload();
    await waitForFrames(page);
    assert.equal(await page.evaluate(() => BUILD.version), 'f00dfeedf00dfeed');
  } finally {
    server.close();
    await context.close();
    fs.rmSync(site, { recursive: true, force: true });
  }
});
