// The page's benchmark: each figure is the median of 5 cold loads (a new profile each,
// so no cache and no service worker) in headless Chromium on 127.0.0.1.
//   - navigation to the first title frame on screen;
//   - bytes sent by the server before that frame, and in all (headers included; the
//     service worker's checks of the files it keeps count too);
//   - the page's idle CPU on the title over 10 s (Performance.getMetrics TaskDuration),
//     as a share of one core;
//   - a tap to the game's present of its effect, and to the display frame that shows it
//     (the first animation frame after the present; the speaker button, 5 taps a load).
// Usage: node tests/web/bench.js   (BURROWBOP_SITE: the site, default build-web/site)
'use strict';

const { SITE, AT, launch, waitForStill, click, sleep } = require('./lib');
const { serve } = require('./serve');

const LOADS = 5, IDLE_SECONDS = 10, TAPS = 5;
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const mib = b => (b / 1048576).toFixed(2) + ' MiB';

async function oneLoad() {
  const { server, url } = await serve(SITE, 0, '/');
  const context = await launch({ touch: false });
  try {
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.Module && Module.burrowbop && Module.burrowbop.firstShownMs > 0,
                               null, { timeout: 60000, polling: 10 });
    const { shownMs, origin } = await page.evaluate(() =>
      ({ shownMs: Module.burrowbop.firstShownMs, origin: performance.timeOrigin }));
    const shownAt = origin + shownMs;

    // Idle: once the title and the service worker have settled.
    await waitForStill(page, 1000, 30000);
    await page.evaluate(() => navigator.serviceWorker && navigator.serviceWorker.ready);
    await sleep(1000);
    const cdp = await context.newCDPSession(page);
    await cdp.send('Performance.enable', { timeDomain: 'timeTicks' });
    const metric = async () => {
      const { metrics } = await cdp.send('Performance.getMetrics');
      const m = name => metrics.find(x => x.name === name).value;
      return { task: m('TaskDuration'), at: m('Timestamp') };
    };
    const a = await metric();
    await sleep(IDLE_SECONDS * 1000);
    const b = await metric();
    const idle = (b.task - a.task) / (b.at - a.at);

    // Tap to frame: from the pointer event the page got to the next frame shown.
    await page.evaluate(() => window.addEventListener('pointerdown', e => { window.lastTapMs = e.timeStamp; }, true));
    const taps = [];
    for (let i = 0; i < TAPS; i++) {
      const before = await page.evaluate(() => Module.burrowbop.framesPresented);
      await click(page, AT.sound);
      // The first frame presented after the tap, once it is on screen.
      const shown = await page.waitForFunction(n => {
        const f = Module.burrowbop.recent.find(r => r[0] > window.lastTapMs);
        return Module.burrowbop.framesPresented > n && f && f[1] > 0 &&
               [f[0] - window.lastTapMs, f[1] - window.lastTapMs];
      }, before, { polling: 5 });
      taps.push(await shown.jsonValue());
      await sleep(400);
    }
    const sent = server.sent;
    return {
      toTitle: shownMs,
      bytesBefore: sent.filter(s => s.at <= shownAt).reduce((n, s) => n + s.bytes, 0),
      bytesAll: sent.reduce((n, s) => n + s.bytes, 0),
      idle,
      tapPresent: median(taps.map(t => t[0])),
      tap: median(taps.map(t => t[1])),
    };
  } finally {
    await context.close();
    server.close();
  }
}

(async () => {
  const runs = [];
  for (let i = 0; i < LOADS; i++) {
    const r = await oneLoad();
    runs.push(r);
    console.log(`load ${i + 1}: title ${r.toTitle.toFixed(0)} ms, ${mib(r.bytesBefore)} before it, ` +
                `${mib(r.bytesAll)} in all, idle ${(r.idle * 100).toFixed(2)} %, tap ${r.tapPresent.toFixed(1)} ms ` +
                `to present, ${r.tap.toFixed(1)} ms to the frame`);
  }
  const m = k => median(runs.map(r => r[k]));
  console.log(`\nMedian of ${LOADS} cold loads (goal in brackets):`);
  console.log(`  navigation → first title frame   ${m('toTitle').toFixed(0)} ms   (≤ 1000 ms)`);
  console.log(`  transferred before it            ${mib(m('bytesBefore'))}   (≤ 2.50 MiB)`);
  console.log(`  transferred in all               ${mib(m('bytesAll'))}`);
  console.log(`  idle CPU on the title, ${IDLE_SECONDS} s      ${(m('idle') * 100).toFixed(2)} % of a core   (≤ 0.5 %)`);
  console.log(`  tap → the game's present         ${m('tapPresent').toFixed(1)} ms`);
  console.log(`  tap → the frame that shows it    ${m('tap').toFixed(1)} ms   (≤ 16.7 ms)`);
})().catch(e => { console.error(e); process.exit(1); });
