// The page itself: the title frame as the desktop draws it, the picture fitted to the
// window, what a phone needs, full screen, and the words shown when the game cannot run.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const { SITE, REPO, AT, launch, openGame, waitForStill, touch, waitForTrace } = require('../lib');
const { serve } = require('../serve');

let server, url, context;
before(async () => {
  ({ server, url } = await serve(SITE, 0, '/games/burrowbop/'));
  context = await launch({ viewport: { width: 720, height: 480 } });
});
after(async () => { await context.close(); server.close(); });

// The game in a tab of the shared browser, closed afterwards whatever happens (an open
// tab holds the game's lock).
async function withGame(fn) {
  const page = await openGame(context, url);
  try { await fn(page); } finally { await page.close(); }
}

// Compares two PNG pictures in the page, the first scaled to the second's size;
// resolves to the share of pixels that differ by more than `tolerance` in some channel.
async function differingShare(page, a, b, tolerance) {
  return page.evaluate(async ([a, b, tolerance]) => {
    const bitmap = async b64 => createImageBitmap(await (await fetch('data:image/png;base64,' + b64)).blob());
    const pixels = (bm, w, h) => {
      const c = new OffscreenCanvas(w, h).getContext('2d');
      c.drawImage(bm, 0, 0, w, h);
      return c.getImageData(0, 0, w, h);
    };
    const [bmA, bmB] = [await bitmap(a), await bitmap(b)];
    const [x, y] = [pixels(bmA, bmB.width, bmB.height), pixels(bmB, bmB.width, bmB.height)];
    let bad = 0;
    for (let i = 0; i < x.data.length; i += 4) {
      for (let k = 0; k < 3; k++) {
        if (Math.abs(x.data[i + k] - y.data[i + k]) > tolerance) { bad++; break; }
      }
    }
    return bad / (x.width * x.height);
  }, [a.toString('base64'), b.toString('base64'), tolerance]);
}

test('the title frame is the desktop title screen, from a sub-path', () => withGame(async page => {
  await waitForStill(page);
  const shot = await page.locator('#canvas').screenshot({ style: '#fullscreen{display:none}' });
  const reference = fs.readFileSync(path.join(REPO, 'docs', 'title-screen.png'));
  const share = await differingShare(page, shot, reference, 24);
  if (share >= 0.01 || process.env.BURROWBOP_WEB_VERBOSE) {
    fs.writeFileSync(path.join(require('os').tmpdir(), 'bb-web-title.png'), shot);
    console.log(`title: ${(share * 100).toFixed(3)} % of the pixels differ`);
  }
  assert.ok(share < 0.01, `${(share * 100).toFixed(2)} % of the title's pixels differ`);
  assert.equal(await page.title(), '打地鼠 · Burrowbop');
  assert.deepEqual(page.errors, []);
}));

test('the title fills a letterboxed window at high density', async () => {
  const reference = fs.readFileSync(path.join(REPO, 'docs', 'title-screen.png'));
  for (const [w, h, dpr] of [[844, 390, 2], [1000, 800, 3]]) {
    const ctx = await launch({ viewport: { width: w, height: h }, dpr });
    try {
      const page = await openGame(ctx, url);
      await waitForStill(page);
      const shot = await page.locator('#canvas').screenshot({ style: '#fullscreen{display:none}' });
      const share = await differingShare(page, shot, reference, 48);
      assert.ok(share < 0.05, `${w}×${h}@${dpr}: ${(share * 100).toFixed(1)} % of the pixels differ`);
    } finally {
      await ctx.close();
    }
  }
});

test('the picture fills the window with its aspect kept, sharp at every density', async () => {
  const cases = [
    // window, density, the canvas's expected CSS box, crisp squares?
    { w: 720, h: 480, dpr: 1, box: [0, 0, 720, 480], pixelated: false },
    { w: 1000, h: 480, dpr: 1, box: [140, 0, 720, 480], pixelated: false },
    { w: 400, h: 800, dpr: 3, box: [0, 266.6667, 400, 266.6667], pixelated: false },
    { w: 844, h: 390, dpr: 3, box: [129.5, 0, 585, 390], pixelated: true },
    { w: 1440, h: 960, dpr: 2, box: [0, 0, 1440, 960], pixelated: true },
  ];
  for (const c of cases) {
    const ctx = await launch({ viewport: { width: c.w, height: c.h }, dpr: c.dpr, touch: false });
    try {
      const page = await ctx.newPage();
      await page.route('**/burrowbop.*', r => r.abort()); // the layout alone
      await page.goto(url);
      const got = await page.evaluate(() => {
        const r = document.getElementById('canvas').getBoundingClientRect();
        return { box: [r.left, r.top, r.width, r.height],
                 pixelated: document.getElementById('canvas').classList.contains('pixelated') };
      });
      got.box.forEach((v, i) => assert.ok(Math.abs(v - c.box[i]) < 0.5,
                                          `${c.w}×${c.h}@${c.dpr}: ${got.box} not ${c.box}`));
      // Whole device pixels: no resampling on top of the scaling.
      assert.ok(Math.abs(got.box[2] * c.dpr - Math.round(got.box[2] * c.dpr)) < 1e-6);
      assert.equal(got.pixelated, c.pixelated, `${c.w}×${c.h}@${c.dpr}`);
    } finally {
      await ctx.close();
    }
  }
});

test('a phone: mobile viewport, no browser gestures, installable', () => withGame(async page => {
  const got = await page.evaluate(() => {
    const body = getComputedStyle(document.body), cv = getComputedStyle(document.getElementById('canvas'));
    return {
      viewport: document.querySelector('meta[name=viewport]').content,
      touchAction: [body.touchAction, cv.touchAction], select: body.userSelect,
      overscroll: body.overscrollBehaviorY, callout: body.webkitTouchCallout,
      menuBlocked: !document.body.dispatchEvent(new MouseEvent('contextmenu', { cancelable: true, bubbles: true })),
      moveBlocked: !document.body.dispatchEvent(new Event('touchmove', { cancelable: true, bubbles: true })),
      manifest: document.querySelector('link[rel=manifest]').href,
      icon: document.querySelector('link[rel=icon]').href,
    };
  });
  assert.match(got.viewport, /width=device-width/);
  assert.match(got.viewport, /user-scalable=no/);
  assert.deepEqual(got.touchAction, ['none', 'none']);
  assert.equal(got.select, 'none');
  assert.equal(got.overscroll, 'none');
  assert.ok(got.menuBlocked && got.moveBlocked);
  const manifest = await (await page.request.get(got.manifest)).json();
  assert.equal(manifest.start_url, './');
  for (const icon of manifest.icons) {
    const res = await page.request.get(new URL(icon.src, got.manifest).href);
    assert.equal(res.status(), 200, icon.src);
    const png = await res.body();
    const [w, h] = [png.readUInt32BE(16), png.readUInt32BE(20)];
    assert.equal(`${w}x${h}`, icon.sizes, icon.src);
  }
  assert.ok(manifest.icons.some(i => i.sizes === '512x512') && manifest.icons.some(i => i.sizes === '192x192'));
  assert.equal((await page.request.get(got.icon)).status(), 200);
}));

test('F11, Alt+Enter and the button switch full screen; the game never sees them', () => withGame(async page => {
  await page.evaluate(() => {
    window.keysSeen = [];
    window.addEventListener('keydown', e => window.keysSeen.push(e.key)); // as the game listens
  });
  const isFull = () => page.evaluate(() => !!document.fullscreenElement);
  for (const [how, act] of [['F11', () => page.keyboard.press('F11')],
                            ['Alt+Enter', () => page.keyboard.press('Alt+Enter')],
                            ['button', () => page.click('#fullscreen')]]) {
    const was = await isFull();
    await act();
    await page.waitForFunction(w => !!document.fullscreenElement !== w, was, { timeout: 3000 })
        .catch(() => assert.fail(`${how} did not switch full screen`));
  }
  const seen = await page.evaluate(() => window.keysSeen);
  assert.deepEqual(seen.filter(k => k === 'F11' || k === 'Enter'), [], `the game saw ${seen}`);
}));

test('the loading bar counts up to 100 % of the game\'s files', async () => {
  const page = await context.newPage();
  await page.addInitScript(() => {
    window.seen = [];
    new MutationObserver(() => {
      const t = document.getElementById('status');
      if (t && window.seen[window.seen.length - 1] !== t.textContent) window.seen.push(t.textContent);
    }).observe(document, { subtree: true, childList: true, characterData: true });
  });
  try {
    await page.goto(url);
    await page.waitForFunction(() => window.Module && Module.burrowbop.framesPresented > 0);
    const seen = await page.evaluate(() => window.seen.map(s => +(/(\d+)%/.exec(s) || [0, -1])[1]));
    assert.equal(seen[seen.length - 1], 100, `loading went ${seen.join(' ')}`);
    assert.deepEqual(seen, [...seen].sort((a, b) => a - b));
    assert.equal(await page.isVisible('#loading'), false);
  } finally {
    await page.close();
  }
});

test('the page says so when WebAssembly is missing or a file fails to load', async () => {
  const cases = [
    { what: 'no WebAssembly', setup: p => p.addInitScript(() => { delete window.WebAssembly; }),
      text: /不支持 WebAssembly/ },
    { what: 'the wasm fails', setup: p => p.route('**/burrowbop.wasm*', r => r.fulfill({ status: 404 })),
      text: /文件加载失败/ },
    { what: 'the data fails', setup: p => p.route('**/burrowbop.data*', r => r.abort()),
      text: /文件加载失败/ },
    { what: 'the script fails', setup: p => p.route('**/burrowbop.js*', r => r.fulfill({ status: 500 })),
      text: /文件加载失败/ },
  ];
  for (const c of cases) {
    const ctx = await launch();
    try {
      const page = await ctx.newPage();
      await c.setup(page);
      await page.goto(url);
      await page.waitForSelector('#error:not([hidden])', { timeout: 10000 })
          .catch(() => assert.fail(`${c.what}: no message`));
      assert.match(await page.textContent('#error'), c.text, c.what);
    } finally {
      await ctx.close();
    }
  }
});

test('a tap reaches the game as a touch, at the right place in a letterboxed picture', async () => {
  const ctx = await launch({ viewport: { width: 1000, height: 600 } });
  try {
    const page = await openGame(ctx, url);
    await touch(page, AT.sound);
    // The speaker's centre, give or take the rounding of a scaled tap.
    await waitForTrace(page, /^tap 69[4-6] 2[4-6]$/);
  } finally {
    await ctx.close();
  }
});
