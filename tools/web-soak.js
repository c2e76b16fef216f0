// node tools/web-soak.js SITE [VISITS [BROWSER...]]: the page opened again and again in WebKit
// and in Chromium (or the browsers named), a new browser every 25 visits, each visit a game of puzzle 1 played to its box and
// the box closed, by real clicks, by the keys, by a screen reader's presses, and in Chromium by
// taps; the program's stops counted, each with what the page says of it (its notice, and why
// its program stopped). VISITS for each browser, or WEB_SOAK, else 10. Closing line
// "N passed, N failed": one check for each browser, that its program never stopped.
'use strict';
const fs = require('fs');
const path = require('path');
const { launchChromium, check, poll, run, until, serving, webKit, startWebKitDriver, chromiumPage, mirrorOf, find,
  boxOpen, pressElement, focusByTab, closeByEnter, byKeys, player, playGame } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
// The program's functions by number, as the link named them beside the page's build
// (build/web/app), so that a stop's stack names the program's own functions.
const symbolFile = path.join(site, '../app/yamaruka.js.symbols');
const symbols = new Map(fs.existsSync(symbolFile)
  ? fs.readFileSync(symbolFile, 'utf8').split('\n').map((line) => line.split(/:(.*)/s)) : []);
const named = (text) => text.replace(/wasm-function\[(\d+)\]/g, (all, n) => symbols.get(n) || all);
const visits = Number(process.argv[3] || process.env.WEB_SOAK || 10);
const perBrowser = 25;

// Chromium through puppeteer, as the WebKit driver's page: the same scripts, clicks and keys.
async function chromium() {
  const browser = await launchChromium();
  const tab = await browser.newPage();
  await tab.setViewport({ width: 1366, height: 700, hasTouch: true });
  return { ...chromiumPage(tab), close: () => browser.close() };
}

async function webKitPage(port) {
  const page = webKit(port);
  await poll(async () => { await page.open(); return true; }, 30, 200); // the driver started
  await page.size(1366, 700);
  return page;
}

// The ways a pupil plays: how 開始 and a bar are pressed and how the box is closed.
const ways = {
  clicks: {
    begin: async (page) => page.click(find(await mirrorOf(page), 'button', '開始')),
    bar: (page) => (i, mirror) => page.click(find(mirror, 'button', String(i))),
    close: async (page) => page.click(find(await mirrorOf(page), 'button', 'OK')),
  },
  taps: {
    begin: async (page) => page.tap(find(await mirrorOf(page), 'button', '開始')),
    bar: (page) => (i, mirror) => page.tap(find(mirror, 'button', String(i))),
    close: async (page) => page.tap(find(await mirrorOf(page), 'button', 'OK')),
  },
  reader: {
    begin: (page) => pressElement(page, 'button', '開始'),
    bar: (page) => (i) => pressElement(page, 'button', String(i)),
    close: (page) => pressElement(page, 'button', 'OK'),
  },
  keys: {
    async begin(page) {
      await focusByTab(page, 'button', '開始');
      await page.space();
    },
    bar: byKeys,
    close: closeByEnter,
  },
};

// One visit: the page opened, a game played the given way to its box, the box closed. Throws
// what went wrong.
async function visit(page, url, way) {
  await page.go(url);
  await until(async () => find(await mirrorOf(page), 'img', '棒グラフ').words.startsWith('例：'), 'the example', 60);
  await ways[way].begin(page);
  await until(async () => !find(await mirrorOf(page), 'button', '1').disabled, '開始 pressed');
  const { probes } = await playGame(page, player(true), ways[way].bar(page));
  if (probes > 10)
    throw new Error(`no box after ${probes - 1} probes`);
  await ways[way].close(page);
  await until(async () => !boxOpen(await mirrorOf(page)), 'the box closed');
}

async function soak(name, open, wayNames) {
  const server = await serving(site);
  const stops = [];
  let page = null;
  for (let n = 0; n < visits; ++n) {
    const way = wayNames[n % wayNames.length];
    if (page === null || n % perBrowser === 0) {
      if (page)
        await page.close().catch(() => {});
      if (n > 0 && n % perBrowser === 0)
        console.log(`web: soak: ${name}: ${n} visits, ${stops.length} stops so far`);
      // A browser that will not open loses this visit, not the rest of the soak.
      page = await open().catch((error) => {
        stops.push(`visit ${n + 1} (${way}): no browser: ${error.message.split('\n')[0]}`);
        console.log(`web: soak: ${name}: ${stops[stops.length - 1]}`);
        return null;
      });
      if (page === null)
        continue;
    }
    let wrong = '';
    try {
      await visit(page, server.url, way);
    } catch (error) {
      wrong = error.message.split('\n')[0];
    }
    // A stop: the program ended, the browser lost the page, or a step's answer never came.
    const state = named(await page.state().catch((error) => `lost: ${error.message.split('\n')[0]}`));
    if (wrong || state !== 'running') {
      stops.push(`visit ${n + 1} (${way}): ${wrong || 'after the game'}; the page: ${state}`);
      console.log(`web: soak: ${name}: ${stops[stops.length - 1]}`);
      await page.close().catch(() => {});
      page = null;
    }
  }
  if (page)
    await page.close().catch(() => {});
  server.stop();
  console.log(`web: soak: ${name}: ${visits} visits, ${stops.length} stops`);
  check(stops.length === 0, `${name}: the program never stopped in ${visits} visits`);
}

async function main() {
  const only = process.argv.slice(4);
  if (only.length === 0 || only.includes('WebKit')) {
    const driverPort = await startWebKitDriver();
    await soak('WebKit', () => webKitPage(driverPort), ['clicks', 'reader', 'keys']);
  }
  if (only.length === 0 || only.includes('Chromium'))
    await soak('Chromium', chromium, ['clicks', 'taps', 'reader', 'keys']);
}

run(main);
