// node tools/web-browser-test.js SITE: the page played in Debian's Chromium, headless, as pupils
// play it: loaded from a server on this machine, a whole game of each puzzle by taps and clicks
// on a Chromebook's tab, one by the keyboard, an iPad turned in the middle of a game, and the
// page again with the server stopped. What the screen shows is read off screenshots: the
// window's place and scale, the revealed bars' aqua columns and slants, the count, the end box.
// Prints the time from navigation to the first frame with the example, and a closing line
// "N passed, N failed".
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require(path.resolve(process.env.YAMARUKA_BROWSER_MODULES, 'puppeteer-core'));
const { serve } = require('./serve-web.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const shots = path.join(site, '..', 'screenshots');
let passed = 0;
let failed = 0;
function check(ok, what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    console.log(`FAILED: ${what}`);
  }
  return ok;
}

// The window's layout at k pixels to the unit, as the program builds it: lengths by their
// edges, halves to even, the window centred in the page without a frame.
function scaled(k, v) {
  const twice = 2 * ((v * k) % 30);
  const q = Math.floor((v * k) / 30);
  return twice > 30 || (twice === 30 && q % 2 === 1) ? q + 1 : q;
}
function layout(width, height) {
  let k = 30;
  while (k > 15 && (scaled(k, 1120) > width || scaled(k, 641) > height))
    --k;
  const S = (v) => scaled(k, v);
  const w = S(1120);
  const h = S(641);
  const x0 = Math.trunc((width - w) / 2);
  const y0 = Math.trunc((height - h) / 2);
  const main = x0 + S(935);
  const trayTop = y0 + h - 1 - (S(640) - S(599));
  const box = (x, y, l, t, r, b) => ({ x: x + (S(l) + S(r)) / 2, y: y + (S(t) + S(b)) / 2 });
  return {
    k, x0, y0,
    surface: { left: x0 + 1, top: y0 + 1, bottom: trayTop - 1 }, // bottom: the first row below
    bar: (i) => box(x0 + 1, trayTop, (i - 1) * 30 + 2, 6, (i - 1) * 30 + 31, 35),
    begin: box(main, y0, 16, 232, 167, 272),
    item: (i) => ({ x: main + S(40), y: y0 + 1 + S(83) * (i === 0 ? 0.41 : 0.76) }),
    count: { left: main + S(87), top: y0 + S(125) + S(6), right: main + S(116), bottom: y0 + S(125) + S(35) },
  };
}

// Chromium's screenshots: PNG, 8 bits, RGB or RGBA, not interlaced.
function decodePng(png) {
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; ++x) {
      const v = raw[y * (stride + 1) + 1 + x];
      const a = x >= channels ? pixels[y * stride + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c;
      const paeth = Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c)
        ? a : Math.abs(p - b) <= Math.abs(p - c) ? b : c;
      pixels[y * stride + x] = (v + [0, a, b, (a + b) >> 1, paeth][filter]) & 255;
    }
  }
  const at2 = (x, y) => (Math.round(y) * width + Math.round(x)) * channels;
  return {
    width, height,
    rgb: (x, y) => [...pixels.subarray(at2(x, y), at2(x, y) + 3)],
    region: (r) => {
      const rows = [];
      for (let y = Math.round(r.top); y < r.bottom; ++y)
        rows.push(pixels.subarray(at2(r.left, y), at2(r.right, y)).toString('hex'));
      return rows.join();
    },
  };
}

const white = ([r, g, b]) => r > 245 && g > 245 && b > 245;
const aqua = ([r, g, b]) => r < 40 && g > 215 && b > 215;
// A message box is a window of its own, with the title bar Qt draws in a page.
const titleBlue = ([r, g, b]) => b > 150 && r < 110 && g > 80 && g < 180;

async function screen(page) {
  return decodePng(Buffer.from(await page.screenshot({ type: 'png' })));
}
// The top row of the drawing in page column x, read up from the surface's bottom edge.
function top(shot, L, x) {
  let y = L.surface.bottom - 1;
  while (y > L.surface.top && !white(shot.rgb(x, y)))
    --y;
  return y + 1;
}
function aquaColumns(shot, L) {
  let n = 0;
  for (let i = 1; i <= 31; ++i)
    n += aqua(shot.rgb(L.surface.left + L.k * (i - 0.5), L.surface.bottom - 3)) ? 1 : 0;
  return n;
}
function boxShown(shot) {
  let n = 0;
  for (let y = 0; y < shot.height; y += 2)
    for (let x = 0; x < shot.width; x += 4)
      n += titleBlue(shot.rgb(x, y)) ? 1 : 0;
  return n > 50;
}
async function until(page, test, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const shot = await screen(page);
    if (test(shot))
      return shot;
    if (Date.now() > end) {
      check(false, `${what}: not seen within ${seconds} s`);
      return shot;
    }
  }
}

// One bar as the pupil reads it: its height in pixels and, in puzzle 1, its slant.
function readBar(shot, L, i) {
  const left = top(shot, L, L.surface.left + L.k * (i - 1) + 3);
  const right = top(shot, L, L.surface.left + L.k * i - 3);
  return { height: L.surface.bottom - top(shot, L, L.surface.left + L.k * (i - 0.5)),
           slope: Math.abs(left - right) < 2 ? 0 : right < left ? 1 : -1 };
}

// A whole game, probed by press(i); the next bar is a good player's: halving in puzzle 1,
// a Fibonacci opening and the mirror of the best bar in puzzle 2. Answers the probes made.
async function playGame(page, L, slopes, press) {
  let leftEnd = 0;
  let rightEnd = 32;
  const heights = new Map();
  let before = await screen(page);
  for (let probes = 1; probes <= 10; ++probes) {
    let i;
    if (slopes) {
      i = Math.trunc((leftEnd + rightEnd) / 2);
    } else {
      // Fibonacci search over 0..34: bars 32 and 33 stand beyond the wall, lower than any, and
      // are known without a click.
      for (i = 13; heights.size > 0; heights.set(i, -1)) {
        const known = [...heights.keys()].sort((a, b) => a - b);
        const best = known.reduce((a, b) => (heights.get(b) > heights.get(a) ? b : a));
        const at = known.indexOf(best);
        i = (at > 0 ? known[at - 1] : 0) + (at + 1 < known.length ? known[at + 1] : 34) - best;
        if (i < 32)
          break;
      }
    }
    await press(i);
    const shot = await until(page, (s) => aqua(s.rgb(L.surface.left + L.k * (i - 0.5), L.surface.bottom - 3)),
                             `bar ${i} revealed`);
    check(shot.region(L.count) !== before.region(L.count), `the count shown after probe ${probes}`);
    if (boxShown(shot) || boxShown(await screen(page)))
      return probes;
    const bar = readBar(shot, L, i);
    if (slopes) {
      if (bar.slope > 0)
        leftEnd = i;
      else
        rightEnd = i;
    }
    heights.set(i, bar.height);
    if (process.env.YAMARUKA_WEB_TRACE)
      console.log(`probe ${probes}: bar ${i} height ${bar.height} slope ${bar.slope}`);
    before = shot;
  }
  return 11;
}

async function closeBox(page) {
  await page.keyboard.press('Enter');
  await until(page, (s) => !boxShown(s), 'the box closed');
}

async function main() {
  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({ s, port }));
  });
  const url = `http://127.0.0.1:${server.port}/`;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--lang=ja-JP'],
  });
  const page = await browser.newPage();
  page.on('pageerror', (error) => check(false, `page error: ${error.message}`));
  const elsewhere = new Set(); // the page asks only its own origin for anything
  page.on('request', (request) => {
    if (!request.url().startsWith(url) && !request.url().startsWith('data:'))
      elsewhere.add(request.url());
  });
  page.on('console', (message) => {
    if (message.type() === 'error')
      check(false, `console error: ${message.text()}`);
  });

  // A Chromebook's browser tab: the first frame with the example, then puzzle 1 by clicks.
  await page.setViewport({ width: 1366, height: 620 });
  let L = layout(1366, 620);
  // Watched through a strip along the bars' feet: a small screenshot is quick to take.
  const feet = { x: L.surface.left, y: L.surface.bottom - 3, width: 31 * L.k, height: 1 };
  const started = Date.now();
  await page.goto(url);
  for (let seen = 0; seen < 31 && Date.now() - started < 60000;) {
    const strip = decodePng(Buffer.from(await page.screenshot({ type: 'png', clip: feet })));
    seen = 0;
    for (let i = 1; i <= 31; ++i)
      seen += aqua(strip.rgb(L.k * (i - 0.5), 0)) ? 1 : 0;
  }
  const firstFrame = Date.now() - started;
  await until(page, (s) => aquaColumns(s, L) === 31, 'the example on a Chromebook', 5);
  console.log(`web: first frame with the example ${firstFrame} ms after navigation, the browser just started (k = ${L.k})`);
  await page.screenshot({ path: path.join(shots, 'chromebook.png') });
  check(await page.title() === 'ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）', 'the page title');
  const click = async (p) => page.mouse.click(p.x, p.y);
  await click(L.begin);
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始');
  check(await playGame(page, L, true, (i) => click(L.bar(i))) === 5, 'puzzle 1 in 5 clicks, to the box');
  await page.screenshot({ path: path.join(shots, 'chromebook-end.png') });
  await closeBox(page);

  // An iPad, by taps: puzzle 2, turned mid-game and back.
  await page.setViewport({ width: 1080, height: 740, hasTouch: true, isMobile: true });
  L = layout(1080, 740);
  await until(page, (s) => aqua(s.rgb(L.surface.left + L.k * 0.5, L.surface.bottom - 3)) ||
                           white(s.rgb(L.surface.left + L.k * 0.5, L.surface.bottom - 3)),
              'the window at the iPad\'s scale');
  const tap = async (p) => page.touchscreen.tap(p.x, p.y);
  await tap(L.item(1));
  await until(page, (s) => aquaColumns(s, L) === 31, 'the flat example on an iPad');
  await tap(L.begin);
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始 on an iPad');
  let turns = 0;
  const probes = await playGame(page, L, false, async (i) => {
    await tap(L.bar(i));
    if (turns++ > 0)
      return;
    // Turned after the first probe, and back: the bar stays, at each scale.
    await until(page, (s) => aquaColumns(s, L) === 1, `bar ${i} by a tap`);
    await page.setViewport({ width: 810, height: 1010, hasTouch: true, isMobile: true });
    const turned = layout(810, 1010);
    const shot = await until(page, (s) => aquaColumns(s, turned) === 1 &&
                                          aqua(s.rgb(turned.surface.left + turned.k * (i - 0.5), turned.surface.bottom - 3)),
                             `bar ${i} kept on the turned iPad`);
    await page.screenshot({ path: path.join(shots, 'ipad-turned.png') });
    check(shot.width === 810 && turned.k === 21, `the turned iPad at k = ${turned.k}`);
    await page.setViewport({ width: 1080, height: 740, hasTouch: true, isMobile: true });
  });
  check(probes <= 7, `puzzle 2 on an iPad in ${probes} probes, to the box`);
  await page.screenshot({ path: path.join(shots, 'ipad.png') });
  await closeBox(page);

  // The keyboard alone: puzzle 1 again, from the focus on "開始" (where the last box left it).
  await page.setViewport({ width: 1366, height: 620 });
  L = layout(1366, 620);
  await tap(L.item(0));
  await until(page, (s) => aquaColumns(s, L) === 31, 'puzzle 1 chosen again');
  await click(L.begin); // the focus on "開始"; the game by keys from here
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden for the keyboard game');
  let focus = 0; // 0: "開始"; then Tab passes the two counters and "説明を隠す" to bar 1
  const keys = await playGame(page, L, true, async (i) => {
    const target = i + 3;
    for (; focus < target; ++focus)
      await page.keyboard.press('Tab');
    for (; focus > target; --focus) {
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    }
    await page.keyboard.press('Space');
  });
  check(keys === 5, 'puzzle 1 by the keyboard in 5, to the box');
  await closeBox(page);

  // "終了": the page says so, in Japanese, and offers to start again.
  const close = { x: L.x0 + scaled(L.k, 935) + (scaled(L.k, 56) + scaled(L.k, 121)) / 2,
                  y: L.y0 + scaled(L.k, 641) - 1 - (scaled(L.k, 126) - (scaled(L.k, 86) + scaled(L.k, 111)) / 2) };
  await click(close);
  await page.waitForFunction(() => !document.getElementById('again').hidden, { timeout: 10000 })
    .catch(() => {});
  check(await page.evaluate(() => document.getElementById('status').textContent) === 'ヤマルカを終了しました。',
        'the page after "終了"');

  // A program that arrives cut short (a dropped connection): the page says so, in Japanese,
  // and offers to start again.
  const cut = await browser.createBrowserContext();
  const broken = await cut.newPage();
  await broken.setRequestInterception(true);
  broken.on('request', (request) => {
    if (!request.url().endsWith('.wasm'))
      return request.continue();
    const whole = fs.readFileSync(path.join(site, new URL(request.url()).pathname));
    return request.respond({ status: 200, contentType: 'application/wasm', body: whole.subarray(0, whole.length / 2) });
  });
  await broken.goto(url);
  await broken.waitForFunction(() => !document.getElementById('again').hidden, { timeout: 20000 })
    .catch(() => {});
  check(await broken.evaluate(() => document.getElementById('status').textContent) ===
        'ヤマルカを読み込めませんでした。ネットワークにつないで、もう一度お試しください。',
        'the page with its program cut short');
  await cut.close();

  // Without a network: the service worker's copy, the licences too.
  await page.evaluate(() => navigator.serviceWorker.ready);
  server.s.close();
  server.s.closeAllConnections();
  await page.reload();
  await until(page, (s) => aquaColumns(s, L) === 31, 'the example with the server stopped', 60);
  await page.screenshot({ path: path.join(shots, 'offline.png') });
  const licences = await page.goto(await page.$eval('#licences a', (a) => a.href));
  check(licences.ok() && await page.title() === 'ヤマルカ ライセンス', 'the licences with the server stopped');

  check(elsewhere.size === 0, `requests to other origins: ${[...elsewhere].join(' ')}`);
  await browser.close();
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error) => {
  console.log(`FAILED: ${error.stack}`);
  console.log(`${passed} passed, ${failed + 1} failed`);
  process.exit(1);
});
