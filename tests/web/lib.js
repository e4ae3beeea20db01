// What the page's suite and benchmark share: Debian's Chromium on a fresh profile, the
// built site served on 127.0.0.1, and ways to see and play the game in the page.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');

const SITE = process.env.BURROWBOP_SITE || path.join(__dirname, '..', '..', 'build-web', 'site');
const REPO = path.join(__dirname, '..', '..');
const CONFIG = '/device/Disk/Programs/Games/burrowbop/config.ini';
// headless: true adds --headless itself.
const ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const sleep = ms => new Promise(r => setTimeout(r, ms));

// Places in the 720×480 picture (centres of the game's controls).
const AT = { start: [364, 251], about: [364, 311], exit: [364, 371], sound: [695, 25] };
// The nine holes: row r lower, larger and wider apart; hole k = 3 * r + c.
const HOLES = [];
for (let r = 0; r < 3; r++) {
  for (let c = 0; c < 3; c++) {
    const x = 175 + c * (120 + 32 * r) - (180 * r) / 3, y = 120 + r * (60 + 15 * r);
    HOLES.push([x + (135 + 32 * r) / 2, y + Math.floor((80 + 20 * r) * 1.2) / 2]);
  }
}
const MOLE_ID = 200, GAME_OVER_ID = 261, NAME_TOOLBAR_ID = 351;

// Every browser still open when a test file ends is closed, so that a failed check
// never leaves one running (and the run hanging).
const browsers = new Set();
if (process.env.NODE_TEST_CONTEXT) {
  require('node:test').after(() => Promise.all([...browsers].map(b => b.close().catch(() => {}))));
}

// A browser on a profile of its own (kept across launches when `profile` is given).
async function launch({ profile, viewport = { width: 720, height: 480 }, touch = true, dpr = 1 } = {}) {
  const dir = profile || fs.mkdtempSync(path.join(os.tmpdir(), 'bb-web-'));
  const context = await chromium.launchPersistentContext(dir, {
    executablePath: '/usr/bin/chromium', headless: true, args: ARGS,
    viewport, deviceScaleFactor: dpr, hasTouch: touch, serviceWorkers: 'allow',
  });
  context.profile = dir;
  browsers.add(context);
  context.on('close', () => browsers.delete(context));
  return context;
}

// Opens the game with the platform trace on; resolves once the first frame is shown.
async function openGame(context, url, { trace = true, wait = true } = {}) {
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', e => page.errors.push(e.message));
  page.on('console', m => { if (m.type() === 'error') page.errors.push(m.text()); });
  if (trace) await page.addInitScript(() => { window.BURROWBOP_TEST_TRACE = true; });
  await page.goto(url);
  if (wait) await waitForFrames(page);
  return page;
}

async function waitForFrames(page, count = 1, timeout = 30000) {
  await page.waitForFunction(n => window.Module && Module.burrowbop &&
                             Module.burrowbop.framesPresented >= n, count, { timeout });
}

// Waits until nothing new is presented for `quietMs`.
async function waitForStill(page, quietMs = 400, timeout = 10000) {
  const end = Date.now() + timeout;
  let last = -1;
  while (Date.now() < end) {
    const n = await page.evaluate(() => Module.burrowbop.framesPresented);
    if (n === last) return;
    last = n;
    await sleep(quietMs);
  }
  throw new Error('the picture kept changing');
}

// A point of the picture in page coordinates.
async function pagePoint(page, [x, y]) {
  const box = await page.locator('#canvas').boundingBox();
  return [box.x + x * box.width / 720, box.y + y * box.height / 480];
}
async function click(page, at) {
  const [x, y] = await pagePoint(page, at);
  await page.mouse.click(x, y);
}
async function touch(page, at) {
  const [x, y] = await pagePoint(page, at);
  await page.touchscreen.tap(x, y);
}

// The platform trace so far, one event a line, without time stamps.
async function trace(page) {
  const text = await page.evaluate(() => {
    try { return FS.readFile('/tmp/ce-trace.txt', { encoding: 'utf8' }); } catch (e) { return ''; }
  });
  return text.split('\n').filter(Boolean).map(l => l.replace(/^[\d.]+ /, ''));
}
async function waitForTrace(page, line, { after = 0, timeout = 15000 } = {}) {
  const end = Date.now() + timeout;
  for (;;) {
    const lines = await trace(page);
    const i = lines.findIndex((l, k) => k >= after && (line instanceof RegExp ? line.test(l) : l === line));
    if (i >= 0) return i;
    if (Date.now() > end) throw new Error(`no "${line}" in the trace: ${lines.slice(-12).join(' | ')}`);
    await sleep(50);
  }
}

// The hole whose mole is up now, from the trace, or -1.
async function moleUp(page) {
  const lines = await trace(page);
  for (let i = lines.length - 1; i >= 0; i--) {
    const m = /^(show|hide) (\d+)$/.exec(lines[i]);
    if (m && +m[2] >= MOLE_ID && +m[2] < MOLE_ID + 9) {
      return m[1] === 'show' ? +m[2] - MOLE_ID : -1;
    }
  }
  return -1;
}

// Hits `count` moles, each with the given tap. A mole counts as hit when it goes down
// after the tap and no other comes up with it (that would be the mole timer's move).
async function hitMoles(page, count, tap) {
  for (let hits = 0, tries = 0; hits < count; tries++) {
    if (tries > count + 20) throw new Error(`only ${hits} of ${count} moles hit`);
    const hole = await moleUp(page);
    if (hole < 0) { await sleep(30); tries--; continue; }
    const before = (await trace(page)).length;
    await tap(page, HOLES[hole]);
    const i = await waitForTrace(page, `hide ${MOLE_ID + hole}`, { after: before, timeout: 3000 });
    const lines = await trace(page);
    if (!/^show /.test(lines[i + 1] || '')) hits++;
  }
}

// The settings file as the game wrote it (UTF-16), or null.
async function readConfig(page) {
  return page.evaluate(p => {
    try { return new TextDecoder('utf-16le').decode(FS.readFile(p)).replace(/^\ufeff/, ''); } catch (e) { return null; }
  }, CONFIG);
}
// Waits until the settings hold these values; resolves to the file.
async function waitForConfig(page, want, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    const ini = await readConfig(page);
    if (Object.keys(want).every(k => iniValue(ini, k) === want[k])) return ini;
    if (Date.now() > end) throw new Error(`settings not ${JSON.stringify(want)}: ${JSON.stringify(ini)}`);
    await sleep(50);
  }
}
function iniValue(ini, key) {
  const m = new RegExp('^[ \\t]*' + key + '=(.*?)\\r?$', 'm').exec(ini || '');
  return m ? m[1] : null;
}

// Plays a game to its end: `hits` moles hit by the given taps, then misses until the
// game is over; resolves when the name window is up (when `record`) or the game over.
async function playGame(page, { hits, taps = [click], record = false }) {
  const start = (await trace(page)).length;
  await touch(page, AT.start);
  await waitForTrace(page, `timer-set 10 990`, { after: start });
  for (let i = 0; i < hits; i++) await hitMoles(page, 1, taps[i % taps.length]);
  await waitForTrace(page, `list ${GAME_OVER_ID}`, { after: start, timeout: 20000 });
  if (!record) return;
  await waitForTrace(page, `list ${NAME_TOOLBAR_ID}`, { after: start });
  // The name window ignores what comes within 0.4 s of its slide's end, so that taps
  // still meant for the holes neither type nor cancel: a player sees it before typing.
  await waitForStill(page);
  await sleep(500);
}

async function withServer(fn, root = SITE, prefix = '/play/burrowbop/') {
  const { server, url } = await serve(root, 0, prefix);
  try { return await fn(url, server); } finally { server.close(); }
}

module.exports = {
  SITE, REPO, AT, HOLES, ARGS, sleep, launch, openGame, waitForFrames, waitForStill, click,
  touch, trace, waitForTrace, moleUp, hitMoles, readConfig, waitForConfig, iniValue, playGame,
  withServer,
  chromium,
};
