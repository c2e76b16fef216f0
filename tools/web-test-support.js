// What the browser tests share: their tally with its closing line "N passed, N failed", their
// polling, and what they read off the page's screenshots (the pixels, the colours of the bars and of the cleared
// surface); WebKit through W3C WebDriver, the page's mirror as a screen reader reads it, and a
// player of puzzle 1 by halving.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

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

// Asks answer() again and again, Pause ms apart, for at most seconds, until it gives something
// true; gives that, or its last answer. An answer that throws (a page between two states) is a no.
async function poll(answer, seconds, pause = 0) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const value = await Promise.resolve().then(answer).catch(() => false);
    if (value || Date.now() > end)
      return value;
    if (pause > 0)
      await new Promise((resolve) => setTimeout(resolve, pause));
  }
}

// Runs the test, then says how it went and ends the process with its verdict.
function run(test) {
  test().catch((error) => check(false, error.stack)).then(() => {
    console.log(`${passed} passed, ${failed} failed`);
    process.exit(failed === 0 ? 0 : 1);
  });
}

// A browser's screenshot: PNG, 8 bits, RGB or RGBA, not interlaced.
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



// A child that lives as long as this script.
const children = [];
function start(command, args, env) {
  const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: 'ignore' });
  children.push(child);
  return child;
}
process.on('exit', () => children.forEach((child) => child.kill()));

// What the page says of its program, where WebKit gives no console: "running", or the loader's
// words and, for a program that has stopped, why.
const pageStateScript = "return document.getElementById('notice').hidden ? 'running' : " +
  "document.getElementById('status').textContent + ' ' + (document.documentElement.dataset.stopped || '')";
let watched = null; // the page a wait that fails reports on

async function untilTrue(test, what, seconds = 30) {
  const value = await poll(test, seconds, 100);
  if (!value) {
    const state = watched ? await watched.script(pageStateScript).catch((e) => e.message) : 'not open';
    check(false, `${what}: not within ${seconds} s (the page: ${state})`);
  }
  return value;
}

// A virtual X server of its own with WebKitGTK's WebDriver on it; answers the driver's port.
async function startWebKitDriver() {
  let display = 90;
  while (fs.existsSync(`/tmp/.X11-unix/X${display}`))
    ++display;
  start('Xvfb', [`:${display}`, '-screen', '0', '1400x800x24', '-nolisten', 'tcp']);
  await untilTrue(async () => fs.existsSync(`/tmp/.X11-unix/X${display}`), 'the virtual X server', 10);
  const port = 4400 + display;
  start('WebKitWebDriver', [`--port=${port}`], { DISPLAY: `:${display}` });
  return port;
}

// WebKitGTK's MiniBrowser through W3C WebDriver over HTTP: one session, its commands, and the
// page's state read by scripts.
function webKit(port) {
  const base = `http://127.0.0.1:${port}`;
  async function call(method, where, body) {
    // A browser that has gone leaves its driver without an answer: a command waits a minute.
    const response = await fetch(base + where, { method, headers: { 'Content-Type': 'application/json' },
                                                 body: body === undefined ? undefined : JSON.stringify(body),
                                                 signal: AbortSignal.timeout(60000) });
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
  const page = {
    async open() {
      ({ sessionId: session } = await call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                                      args: ['--automation'] } } } }));
      watched = page;
    },
    close: () => command('DELETE', ''),
    go: (url) => command('POST', '/url', { url }),
    refresh: () => command('POST', '/refresh', {}),
    size: (width, height) => command('POST', '/window/rect', { width, height }),
    script,
    state: () => script(pageStateScript),
    click: ({ x, y }) => actions([{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
      { type: 'pointerMove', x: Math.round(x), y: Math.round(y) }, { type: 'pointerDown', button: 0 },
      { type: 'pointerUp', button: 0 }] }]),
    tab: (back = false) => key('\uE004', back),
    space: () => key(' '),
    enter: () => key('\uE007'),
    screenshot: async () => decodePng(Buffer.from(await command('GET', '/screenshot'), 'base64')),
    save: async (file) => fs.writeFileSync(file, Buffer.from(await command('GET', '/screenshot'), 'base64')),
  };
  return page;
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

// A pupil at the keyboard, the focus on "開始" as the game begins: press(i) for playHalving, Tab
// (or Shift+Tab) to bar i, passing the two counters and "説明を隠す" on the way to bar 1, then
// Space once the bar has the focus.
function byKeys(page, wait = untilTrue) {
  let focus = 0;
  return async (i) => {
    for (; focus < i + 3; ++focus)
      await page.tab();
    for (; focus > i + 3; --focus)
      await page.tab(true);
    await wait(async () => find(await page.script(readMirror), 'button', String(i)).focused, `the focus on bar ${i}`);
    await page.space();
  };
}

// A whole game of puzzle 1, halving; press(i, mirror) probes bar i. Answers the probes made, 11
// where the game did not end, 0 where an answer did not come (wait said so).
async function playHalving(page, press, wait = untilTrue) {
  let leftEnd = 0;
  let rightEnd = 32;
  for (let probes = 1; probes <= 10; ++probes) {
    const i = Math.trunc((leftEnd + rightEnd) / 2);
    await press(i, await page.script(readMirror));
    const mirror = await wait(async () => {
      const now = await page.script(readMirror);
      return (boxOpen(now) || find(now, 'button', String(i)).words.startsWith(`${probes}回目：`)) && now;
    }, `the answer to probe ${probes}`);
    if (!mirror)
      return 0;
    if (boxOpen(mirror))
      return probes;
    if (find(mirror, 'button', String(i)).words.includes('右上がり'))
      leftEnd = i;
    else
      rightEnd = i;
  }
  return 11;
}

// Debian's Chromium, headless, through npm's puppeteer-core (YAMARUKA_BROWSER_MODULES): WebGL
// drawn in software, Japanese as the browser's language.
function launchChromium() {
  const puppeteer = require(path.resolve(process.env.YAMARUKA_BROWSER_MODULES, 'puppeteer-core'));
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--lang=ja-JP'],
  });
}

module.exports = {
  launchChromium, check, poll, run, decodePng, white, aqua, untilTrue, startWebKitDriver, webKit, pageStateScript,
  readMirror, find, boxOpen, playHalving, byKeys,
};
