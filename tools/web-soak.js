// node tools/web-soak.js SITE [VISITS [BROWSER...]]: the page opened again and again in WebKit
// and in Chromium (or the browsers named), a new browser every 25 visits, each visit a game of puzzle 1 played to its box and
// the box closed, by real clicks, by the keys, by a screen reader's presses, and in Chromium by
// taps; the program's stops counted, each with what the page says of it (its notice, and why
// its program stopped). VISITS for each browser, or WEB_SOAK, else 10. Closing line
// "N passed, N failed": one check for each browser, that its program never stopped.
'use strict';
const path = require('path');
const { serve } = require('./serve-web.js');
const { launchChromium, check, poll, run, startWebKitDriver, webKit, pageStateScript, readMirror, find, boxOpen,
  playHalving, byKeys } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const visits = Number(process.argv[3] || process.env.WEB_SOAK || 10);
const perBrowser = 25;

// Chromium through puppeteer, as the WebKit driver's page: the same scripts, clicks and keys.
async function chromium() {
  const browser = await launchChromium();
  const page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 700, hasTouch: true });
  const script = (source) => page.evaluate(`(() => { ${source} })()`);
  return {
    close: () => browser.close(),
    go: (url) => page.goto(url),
    script,
    state: () => script(pageStateScript),
    click: ({ x, y }) => page.mouse.click(x, y),
    tap: ({ x, y }) => page.touchscreen.tap(x, y),
    async tab(back = false) {
      if (back)
        await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      if (back)
        await page.keyboard.up('Shift');
    },
    space: () => page.keyboard.press('Space'),
    enter: () => page.keyboard.press('Enter'),
  };
}

async function webKitPage(port) {
  const page = webKit(port);
  await poll(async () => { await page.open(); return true; }, 30, 200); // the driver started
  await page.size(1366, 700);
  return page;
}

const wait = (test, what, seconds = 30) => poll(test, seconds, 100);
const mirrorOf = (page) => page.script(readMirror);
// A screen reader's press and move: on the element itself.
const onElement = (page, role, name, what) => page.script(
  `const e = [...document.querySelectorAll('#mirror [data-role="${role}"]')]
     .find((e) => (e.getAttribute('aria-label') || e.textContent) === '${name}'); e.${what}();`);

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
    begin: (page) => onElement(page, 'button', '開始', 'click'),
    bar: (page) => (i) => onElement(page, 'button', String(i), 'click'),
    close: (page) => onElement(page, 'button', 'OK', 'click'),
  },
  keys: {
    async begin(page) {
      await onElement(page, 'button', '開始', 'focus');
      await wait(async () => find(await mirrorOf(page), 'button', '開始').focused);
      await page.space();
    },
    bar: (page) => byKeys(page, wait),
    async close(page) { // once the box has the focus
      await wait(async () => (find(await mirrorOf(page), 'button', 'OK') || {}).focused);
      await page.enter();
    },
  },
};

// One visit: the page opened, a game played the given way to its box, the box closed. Answers
// what went wrong, or nothing.
async function visit(page, url, way) {
  await page.go(url);
  if (!await wait(async () => find(await mirrorOf(page), 'img', '棒グラフ').words.startsWith('例：'), '', 60))
    return 'no example';
  await ways[way].begin(page);
  if (!await wait(async () => !find(await mirrorOf(page), 'button', '1').disabled))
    return '開始 not pressed';
  const probes = await playHalving(page, ways[way].bar(page), wait);
  if (probes === 0 || probes > 10)
    return `no box after ${probes || 'an unanswered'} probe`;
  await ways[way].close(page);
  if (!await wait(async () => !boxOpen(await mirrorOf(page))))
    return 'the box not closed';
  return '';
}

async function soak(name, open, wayNames) {
  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({ s, port }));
  });
  const url = `http://127.0.0.1:${server.port}/`;
  const stops = [];
  let page = null;
  for (let n = 0; n < visits; ++n) {
    const way = wayNames[n % wayNames.length];
    if (page === null || n % perBrowser === 0) {
      if (page)
        await page.close().catch(() => {});
      page = await open();
      if (n > 0 && n % perBrowser === 0)
        console.log(`web: soak: ${name}: ${n} visits, ${stops.length} stops so far`);
    }
    let wrong;
    try {
      wrong = await visit(page, url, way);
    } catch (error) {
      wrong = `the browser: ${error.message.split('\n')[0]}`;
    }
    // A stop: the program ended, the browser lost the page, or a step's answer never came.
    const state = await page.state().catch((error) => `lost: ${error.message.split('\n')[0]}`);
    if (wrong || state !== 'running') {
      stops.push(`visit ${n + 1} (${way}): ${wrong || 'after the game'}; the page: ${state}`);
      console.log(`web: soak: ${name}: ${stops[stops.length - 1]}`);
      await page.close().catch(() => {});
      page = null;
    }
  }
  if (page)
    await page.close().catch(() => {});
  server.s.close();
  server.s.closeAllConnections();
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
