// Whole games in the page: started by touch, moles hit by mouse and by touch, game over,
// new records under a Latin and a Chinese name, and the record and the sound setting
// kept across a reload and a browser closed right after the record.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { SITE, AT, launch, openGame, click, touch, trace, readConfig, waitForConfig, iniValue,
        playGame, sleep } = require('../lib');
const { serve } = require('../serve');

let server, url;
before(async () => { ({ server, url } = await serve(SITE, 0, '/burrowbop/')); });
after(() => server.close());

// Types a name into the name window as an input method would, and confirms it.
async function enterName(page, name) {
  await page.keyboard.insertText(name);
  await sleep(200);
  await page.keyboard.press('Enter');
}

test('games by mouse and touch set records that a reload keeps, with the sound setting', async () => {
  const context = await launch();
  const page = await openGame(context, url);
  assert.notEqual(iniValue(await readConfig(page), 'isSoundOn'), '1', 'a fresh browser starts without sound');

  await click(page, AT.sound); // sound on, kept in the settings
  await waitForConfig(page, { isSoundOn: '1' });

  // The default record is 5: seven hits beat it, by mouse and touch in turn.
  await playGame(page, { hits: 7, taps: [click, touch], record: true });
  const sounds = (await trace(page)).filter(l => l.startsWith('sound '));
  assert.ok(sounds.length >= 7, `the hits were heard: ${sounds.length} sounds`);
  // The first tap let the page's audio start.
  assert.equal(await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
                                   Module.SDL2.audioContext.state), 'running');
  await enterName(page, 'Ada');
  await waitForConfig(page, { Name: 'Ada', Score: '7' });

  // A reload (300 ms on, as a player might): the game reads the record and the sound
  // setting back.
  await sleep(300);
  await page.reload();
  await page.waitForFunction(() => Module.burrowbop.framesPresented > 0);
  const ini = await readConfig(page);
  assert.deepEqual([iniValue(ini, 'Name'), iniValue(ini, 'Score'), iniValue(ini, 'isSoundOn')],
                   ['Ada', '7', '1']);

  // Eight touch hits beat 7: a Chinese name this time, and the sound is still on.
  const start = (await trace(page)).length;
  await playGame(page, { hits: 8, taps: [touch], record: true });
  assert.ok((await trace(page)).slice(start).some(l => l.startsWith('sound ')), 'sound after the reload');
  await enterName(page, '地鼠王');
  await waitForConfig(page, { Name: '地鼠王', Score: '8' });
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a browser closed 300 ms after a record keeps it', async () => {
  let context = await launch();
  let page = await openGame(context, url);
  await playGame(page, { hits: 6, taps: [touch], record: true });
  await enterName(page, 'Quick 龘');
  await sleep(300);
  const profile = context.profile;
  await context.close();

  context = await launch({ profile });
  page = await openGame(context, url);
  const ini = await readConfig(page);
  assert.deepEqual([iniValue(ini, 'Name'), iniValue(ini, 'Score')], ['Quick 龘', '6']);
  // 龘 is outside GB2312: kept as typed, and drawn on the game screen without a crash.
  await playGame(page, { hits: 0 });
  await context.close();
});
