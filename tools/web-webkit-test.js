// node tools/web-webkit-test.js SITE: the page in WebKit, the engine of every browser on an iPad:
// WebKitGTK's MiniBrowser on a virtual X server, driven through W3C WebDriver by Debian's
// WebKitWebDriver. The example shows; puzzle 1 played by clicks and then by the keyboard alone,
// each game to its box, closed by Enter; the page again from its offline copy with the server
// stopped. The controls are found through the page's mirror of the program's accessibility tree,
// each bar read from its button's words; the example off a screenshot. WebKitGTK has no real
// touch events and reports no console under automation: touch and the console stay Chromium's.
// Closing line "N passed, N failed".
'use strict';
const fs = require('fs');
const path = require('path');
const { serve } = require('./serve-web.js');
const { check, run, aqua, untilTrue, startWebKitDriver, webKit, readMirror, find, boxOpen, playHalving,
  byKeys } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const shots = path.join(site, '..', 'screenshots');

// Enter goes to the box once it has the focus, as a pupil sees it (and a reader says it).
async function closeBoxByEnter(page, what) {
  await untilTrue(async () => (find(await page.script(readMirror), 'button', 'OK') || {}).focused,
                  `${what}: the focus on the box's OK`);
  await page.enter();
  check(await untilTrue(async () => !boxOpen(await page.script(readMirror)), `${what}: the box closed by Enter`), what);
}

// The example's 31 aqua columns, each above its bar button.
async function exampleShown(page) {
  const mirror = await page.script(readMirror);
  const surface = find(mirror, 'img', '棒グラフ');
  const shot = await page.screenshot();
  let columns = 0;
  for (let i = 1; i <= 31; ++i)
    columns += aqua(shot.rgb(find(mirror, 'button', String(i)).x, surface.bottom - 3)) ? 1 : 0;
  return columns === 31;
}

async function main() {
  const page = webKit(await startWebKitDriver());
  await untilTrue(async () => { await page.open(); return true; }, 'a WebDriver session', 30);
  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({ s, port }));
  });
  await page.size(1366, 700);
  const started = Date.now();
  await page.go(`http://127.0.0.1:${server.port}/`);
  await untilTrue(() => exampleShown(page), 'the example in WebKit', 60);
  console.log(`web: WebKit: the example on the screen ${Date.now() - started} ms after navigation`);
  await page.save(path.join(shots, 'webkit.png'));
  let mirror = await page.script(readMirror);
  check(find(mirror, 'img', '棒グラフ').words.startsWith('例：頂点は'), 'the example in words');

  // By clicks on the controls, where their elements stand.
  await page.click(find(mirror, 'button', '開始'));
  await untilTrue(async () => !find(await page.script(readMirror), 'button', '1').disabled, '開始 by a click');
  check(await playHalving(page, (i, now) => page.click(find(now, 'button', String(i)))) === 5,
        'puzzle 1 by clicks in WebKit in 5, to the box');
  await closeBoxByEnter(page, 'the box after the clicks');

  // By the keyboard alone, from "開始", where the box left the focus.
  mirror = await untilTrue(async () => {
    const now = await page.script(readMirror);
    return find(now, 'button', '開始').focused && now;
  }, 'the focus on 開始 after the box');
  await page.space();
  await untilTrue(async () => !find(await page.script(readMirror), 'button', '1').disabled, '開始 by Space');
  const keys = await playHalving(page, byKeys(page));
  check(keys === 5, `puzzle 1 by the keyboard in WebKit in ${keys}, to the box`);
  await page.save(path.join(shots, 'webkit-end.png'));
  await closeBoxByEnter(page, 'the box after the keys');

  // Without a network: the service worker's copy.
  await untilTrue(() => page.script('return navigator.serviceWorker.ready.then(() => true)'), 'the offline copy in WebKit');
  server.s.close();
  server.s.closeAllConnections();
  await page.refresh();
  await untilTrue(() => exampleShown(page), 'the example in WebKit with the server stopped', 60);
  await page.close();
}

run(main);
