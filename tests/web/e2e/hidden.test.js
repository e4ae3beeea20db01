// A hidden page pauses the game: no mole comes or goes while it is hidden, and the game
// goes on where it was when the page is shown again.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { SITE, AT, launch, openGame, touch, trace, waitForTrace, sleep } = require('../lib');
const { serve } = require('../serve');

async function setHidden(page, hidden) {
  await page.evaluate(h => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (h ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

test('a hidden page stands still and plays on when shown', async () => {
  const context = await launch();
  const { server, url } = await serve(SITE, 0, '/');
  try {
    const page = await openGame(context, url);
    await touch(page, AT.start);
    await waitForTrace(page, 'timer-set 10 990');
    await sleep(300);
    const before = (await trace(page)).length;
    await setHidden(page, true);
    const hiddenAt = await waitForTrace(page, 'hidden', { after: before });
    // Unpaused, five seconds of misses would end the game.
    await sleep(6000);
    const whileHidden = (await trace(page)).slice(hiddenAt + 1);
    assert.deepEqual(whileHidden.filter(l => /^(show|hide) 20\d$|^list 261$/.test(l)), [],
                     'nothing moved while hidden');
    await setHidden(page, false);
    const shownAt = await waitForTrace(page, 'shown', { after: hiddenAt });
    await waitForTrace(page, /^(show|hide) 20\d$/, { after: shownAt, timeout: 3000 });
    assert.equal((await trace(page)).slice(shownAt).includes('list 261'), false, 'not over');
    assert.deepEqual(page.errors, []);
  } finally {
    server.close();
    await context.close();
  }
});
