// One game per browser, and 退出: a second tab waits for the first to close or end its
// game; after 退出 the page rests until a tap starts the game again, settings kept.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { SITE, AT, launch, openGame, click, touch, readConfig, waitForConfig, iniValue,
        waitForFrames, sleep } = require('../lib');
const { serve } = require('../serve');

let server, url, context;
before(async () => {
  ({ server, url } = await serve(SITE, 0, '/'));
  context = await launch();
});
after(async () => { await context.close(); server.close(); });

test('a second tab says the game is open elsewhere, and starts when that tab closes', async () => {
  const first = await openGame(context, url);
  const second = await openGame(context, url, { wait: false });
  await second.waitForSelector('#waiting:not([hidden])');
  assert.match(await second.textContent('#waiting'), /另一个标签页/);
  await sleep(1500);
  assert.equal(await second.evaluate(() => !!window.Module), false, 'the second tab runs no game');
  await first.close();
  await waitForFrames(second);
  assert.equal(await second.isVisible('#waiting'), false);
  await second.close();
});

test('退出 shows the calm screen; a tap starts the game again with the settings kept', async () => {
  const page = await openGame(context, url);
  await click(page, AT.sound);
  await waitForConfig(page, { isSoundOn: '1' });
  const other = await openGame(context, url, { wait: false });
  await other.waitForSelector('#waiting:not([hidden])');

  await touch(page, AT.exit);
  await page.waitForSelector('#exit:not([hidden])');
  assert.equal((await page.textContent('#exit')).trim(), '已退出 · 点按重新开始');
  assert.equal(await page.isVisible('#canvas'), false);
  await sleep(500);
  assert.deepEqual(page.errors, [], 'the game ended cleanly');
  await waitForFrames(other); // the ended game let the waiting tab have it
  await other.close();

  await page.touchscreen.tap(360, 240);
  await page.waitForLoadState('load');
  await waitForFrames(page);
  assert.equal(iniValue(await readConfig(page), 'isSoundOn'), '1');
  await page.close();
});
