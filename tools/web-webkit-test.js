// node tools/web-webkit-test.js SITE: the page in WebKit, the engine of every browser on an iPad:
// WebKitGTK's MiniBrowser on a virtual X server, driven through W3C WebDriver by Debian's
// WebKitWebDriver. The example shows; puzzle 1 played by clicks and then by the keyboard alone,
// each game to its box, closed by Enter; the page again from its offline copy with the server
// stopped. The controls are found through the page's mirror of the program's accessibility tree,
// each bar read from its button's words; the example off a screenshot. WebKitGTK has no real
// touch events and reports no console under automation: touch and the console stay Chromium's.
// Closing line "N passed, N failed".
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const { serve } = require('./serve-web.js');
const { check, poll, run, decodePng, aqua } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const shots = path.join(site, '..', 'screenshots');
const browserBinary = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// A child that lives as long as this script.
const children = [];
function start(command, args, env) {
  const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: 'ignore' });
  children.push(child);
  return child;
}
process.on('exit', () => children.forEach((child) => child.kill()));

// What the page says of its program, where WebKit gives no console: "running", or the
// loader's words (a program that has stopped says so). Set once the page is open.
let pageState = async () => 'not open';

async function untilTrue(test, what, seconds = 30) {
  const value = await poll(test, seconds, 100);
  if (!value)
    check(false, `${what}: not within ${seconds} s (the page: ${await pageState().catch((e) => e.message)})`);
  return value;
}

// W3C WebDriver over HTTP: one session, its commands and the page's state read by scripts.
function driver(port) {
  const base = `http://127.0.0.1:${port}`;
  async function call(method, where, body) {
    const response = await fetch(base + where, { method, headers: { 'Content-Type': 'application/json' },
                                                 body: body === undefined ? undefined : JSON.stringify(body) });
    const { value } = await response.json();
    if (!response.ok)
      throw new Error(`${method} ${where}: ${JSON.stringify(value)}`);
    return value;
  }
  let session = '';
  const command = (method, where, body) => call(method, `/session/${session}${where}`, body);
  const script = (source, ...args) => command('POST', '/execute/sync', { script: source, args });
  const actions = (list) => command('POST', '/actions', { actions: list });
  const key = (value, shift = false) => actions([{ type: 'key', id: 'keys', actions: [
    ...(shift ? [{ type: 'keyDown', value: '\uE008' }] : []), { type: 'keyDown', value }, { type: 'keyUp', value },
    ...(shift ? [{ type: 'keyUp', value: '\uE008' }] : [])] }]);
  return {
    async open() {
      ({ sessionId: session } = await call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: browserBinary, args: ['--automation'] } } } }));
    },
    close: () => command('DELETE', ''),
    go: (url) => command('POST', '/url', { url }),
    refresh: () => command('POST', '/refresh', {}),
    size: (width, height) => command('POST', '/window/rect', { width, height }),
    script,
    click: ({ x, y }) => actions([{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
      { type: 'pointerMove', x: Math.round(x), y: Math.round(y) }, { type: 'pointerDown', button: 0 },
      { type: 'pointerUp', button: 0 }] }]),
    tab: (back = false) => key('\uE004', back),
    space: () => key(' '),
    enter: () => key('\uE007'),
    screenshot: async () => decodePng(Buffer.from(await command('GET', '/screenshot'), 'base64')),
    save: async (file) => fs.writeFileSync(file, Buffer.from(await command('GET', '/screenshot'), 'base64')),
  };
}

// The page's mirror, as a screen reader reads it: each control's role, words and rectangle.
const readMirror = `
  const words = (e) => { const id = e.getAttribute('aria-describedby'); return id ? document.getElementById(id).textContent : ''; };
  return [...document.querySelectorAll('#mirror [data-role]')].map((e) => {
    const r = e.getBoundingClientRect();
    return { role: e.dataset.role, name: e.getAttribute('aria-label') || e.textContent, words: words(e),
             disabled: e.getAttribute('aria-disabled') === 'true', focused: e === document.activeElement,
             x: r.x + r.width / 2, y: r.y + r.height / 2, bottom: r.bottom };
  });`;
const find = (mirror, role, name) => mirror.find((n) => n.role === role && n.name === name);
const boxOpen = (mirror) => mirror.some((n) => n.role === 'alertdialog');

// A whole game of puzzle 1, halving; press(i, mirror) probes bar i. Answers the probes made.
async function playHalving(page, press) {
  let leftEnd = 0;
  let rightEnd = 32;
  for (let probes = 1; probes <= 10; ++probes) {
    const i = Math.trunc((leftEnd + rightEnd) / 2);
    await press(i, await page.script(readMirror));
    const mirror = await untilTrue(async () => {
      const now = await page.script(readMirror);
      return (boxOpen(now) || find(now, 'button', String(i)).words.startsWith(`${probes}回目：`)) && now;
    }, `the answer to probe ${probes}`);
    if (!mirror || boxOpen(mirror))
      return probes;
    if (find(mirror, 'button', String(i)).words.includes('右上がり'))
      leftEnd = i;
    else
      rightEnd = i;
  }
  return 11;
}

async function closeBoxByEnter(page, what) {
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
  let display = 90;
  while (fs.existsSync(`/tmp/.X11-unix/X${display}`))
    ++display;
  start('Xvfb', [`:${display}`, '-screen', '0', '1400x800x24', '-nolisten', 'tcp']);
  await untilTrue(async () => fs.existsSync(`/tmp/.X11-unix/X${display}`), 'the virtual X server', 10);
  const driverPort = 4400 + display;
  start('WebKitWebDriver', [`--port=${driverPort}`], { DISPLAY: `:${display}` });
  const page = driver(driverPort);
  await untilTrue(async () => { await page.open(); return true; }, 'a WebDriver session', 30);
  pageState = () => page.script("return document.getElementById('notice').hidden ? 'running' : " +
                                "document.getElementById('status').textContent + ' ' + " +
                                "(document.documentElement.dataset.stopped || '')");
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
  let focus = 0; // 0: "開始"; then Tab passes the two counters and "説明を隠す" to bar 1
  const keys = await playHalving(page, async (i) => {
    for (; focus < i + 3; ++focus)
      await page.tab();
    for (; focus > i + 3; --focus)
      await page.tab(true);
    await untilTrue(async () => find(await page.script(readMirror), 'button', String(i)).focused, `the focus on bar ${i}`);
    await page.space();
  });
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
