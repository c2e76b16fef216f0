// node tools/web-webkit-test.js SITE: the page in WebKit, the engine of every browser on an iPad:
// WebKitGTK's MiniBrowser on a virtual X server, driven through W3C WebDriver by Debian's
// WebKitWebDriver, one scenario of node's test runner in a session of its own, from a server of
// its own. The example shows; puzzle 1 played by clicks and by the keyboard alone, each game to
// its box, closed by Enter; the page again from its offline copy with the server stopped. The
// controls are found through the page's mirror of the program's accessibility tree, each bar read
// from its button's words; the example off a screenshot. WebKitGTK has no real touch events and
// reports no console under automation: touch and the console stay Chromium's.
'use strict';
const assert = require('assert/strict');
const path = require('path');
const { before, test } = require('node:test');
const { serving, until, aqua, startWebKitDriver, webKit, mirrorOf, find, focusByTab, closeByEnter, byKeys, player,
  playGame } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const shots = path.join(site, '..', 'screenshots');

// The example's 31 aqua columns, each above its bar button.
async function exampleShown(page) {
  const mirror = await mirrorOf(page);
  const shot = await page.screenshot();
  const bottom = find(mirror, 'img', '棒グラフ').bottom;
  return Array.from({ length: 31 }, (_, i) => aqua(shot.rgb(find(mirror, 'button', String(i + 1)).x, bottom - 3)))
    .every(Boolean);
}

let driver;
before(async () => { driver = await startWebKitDriver(); });

// A scenario in a browser of its own, from the example on the screen; play(page, server, the
// milliseconds from navigation to the example).
function scenario(name, play) {
  test(name, { timeout: 300000 }, async () => {
    const page = webKit(driver);
    await until(async () => { await page.open(); return true; }, 'a WebDriver session');
    const server = await serving(site);
    try {
      await page.size(1366, 700);
      const started = Date.now();
      await page.go(server.url);
      await until(() => exampleShown(page), 'the example in WebKit', 60);
      await play(page, server, Date.now() - started).catch(async (error) => {
        error.message += ` (the page: ${await page.state().catch((e) => e.message)})`;
        throw error;
      });
    } finally {
      server.stop();
      await page.close().catch(() => {});
    }
  });
}

scenario('the example in WebKit, on the screen and in words', async (page, server, ms) => {
  console.log(`web: WebKit: the example on the screen ${ms} ms after navigation`);
  await page.save(path.join(shots, 'webkit.png'));
  assert.match(find(await mirrorOf(page), 'img', '棒グラフ').words, /^例：頂点は/);
});

scenario('puzzle 1 by clicks in WebKit in 5, to the box, closed by Enter, the focus then on 開始', async (page) => {
  await page.click(find(await mirrorOf(page), 'button', '開始'));
  await until(async () => !find(await mirrorOf(page), 'button', '1').disabled, '開始 by a click');
  const { probes } = await playGame(page, player(true), (i, mirror) => page.click(find(mirror, 'button', String(i))));
  assert.equal(probes, 5);
  await closeByEnter(page);
  await until(async () => find(await mirrorOf(page), 'button', '開始').focused, 'the focus on 開始 after the box');
});

scenario('puzzle 1 by the keyboard alone in WebKit in 5, from 開始 by Space, to the box, closed by Enter', async (page) => {
  await focusByTab(page, 'button', '開始');
  await page.space();
  await until(async () => !find(await mirrorOf(page), 'button', '1').disabled, '開始 by Space');
  const { probes } = await playGame(page, player(true), byKeys(page));
  assert.equal(probes, 5);
  await page.save(path.join(shots, 'webkit-end.png'));
  await closeByEnter(page);
});

scenario('the page again in WebKit from its offline copy, with the server stopped', async (page, server) => {
  await until(() => page.script('return navigator.serviceWorker.ready.then(() => true)'), 'the offline copy in WebKit');
  server.stop();
  await page.refresh();
  await until(() => exampleShown(page), 'the example in WebKit with the server stopped', 60);
});
