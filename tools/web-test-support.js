// What the browser tests share: a tally with its closing line "N passed, N failed" (the soak's,
// the bench's), polling, and what they read off the page's screenshots (the pixels, the colours of
// the bars and of the cleared surface); Chromium and WebKit as one kind of page, the page's mirror
// as a screen reader reads it, and the players, who read each bar from its button's words.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { serve } = require('./serve-web.js');

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

// FOLDER served on this machine on PORT (0: a free one) until stop().
const serving = (folder, port = 0) => new Promise((resolve) => {
  const s = serve(folder, port, (at) => resolve({ url: `http://127.0.0.1:${at}/`, port: at,
                                                  stop() { s.close(); s.closeAllConnections(); } }));
});

// A child that lives as long as this script, and does not keep it running.
const children = [];
function start(command, args, env) {
  const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: 'ignore' });
  child.unref();
  children.push(child);
  return child;
}
process.on('exit', () => children.forEach((child) => child.kill()));

// What the page says of its program, where WebKit gives no console: "running", or the loader's
// words and, for a program that has stopped, why.
const pageStateScript = "return document.getElementById('notice').hidden ? 'running' : " +
  "document.getElementById('status').textContent + ' ' + (document.documentElement.dataset.stopped || '')";

// Polls test() until it gives something true, and gives that; throws where it has not within
// seconds.
async function until(test, what, seconds = 30) {
  const value = await poll(test, seconds, 50);
  if (!value)
    throw new Error(`${what}: not within ${seconds} s`);
  return value;
}

// A virtual X server of its own with WebKitGTK's WebDriver on it; answers the driver's port.
async function startWebKitDriver() {
  let display = 90;
  while (fs.existsSync(`/tmp/.X11-unix/X${display}`))
    ++display;
  start('Xvfb', [`:${display}`, '-screen', '0', '1400x800x24', '-nolisten', 'tcp']);
  await until(async () => fs.existsSync(`/tmp/.X11-unix/X${display}`), 'the virtual X server', 10);
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
  const screenshot = async () => Buffer.from(await command('GET', '/screenshot'), 'base64');
  return {
    async open() {
      ({ sessionId: session } = await call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                                      args: ['--automation'] } } } }));
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
    screenshot: async () => decodePng(await screenshot()),
    save: async (file) => fs.writeFileSync(file, await screenshot()),
  };
}

// Chromium's tab (puppeteer's page) as the WebKit driver's page: the same scripts, clicks and keys.
function chromiumPage(tab) {
  const script = (source) => tab.evaluate(`(async () => { ${source} })()`);
  return {
    close: () => tab.close(),
    go: (url) => tab.goto(url),
    refresh: () => tab.reload(),
    script,
    state: () => script(pageStateScript),
    click: ({ x, y }) => tab.mouse.click(x, y),
    tap: ({ x, y }) => tab.touchscreen.tap(x, y),
    async tab(back = false) {
      if (back)
        await tab.keyboard.down('Shift');
      await tab.keyboard.press('Tab');
      if (back)
        await tab.keyboard.up('Shift');
    },
    space: () => tab.keyboard.press('Space'),
    enter: () => tab.keyboard.press('Enter'),
    screenshot: async () => decodePng(Buffer.from(await tab.screenshot({ type: 'png' }))),
    save: (file) => tab.screenshot({ path: file }),
  };
}

// The page's mirror, as a screen reader reads it: each control's role, name, words (its
// description), text, states and rectangle.
const readMirror = `
  const words = (e) => { const id = e.getAttribute('aria-describedby'); return id ? document.getElementById(id).textContent : ''; };
  return [...document.querySelectorAll('#mirror [data-role]')].map((e) => {
    const r = e.getBoundingClientRect();
    return { role: e.dataset.role, name: e.getAttribute('aria-label') || e.textContent, words: words(e),
             text: e.textContent, disabled: e.getAttribute('aria-disabled') === 'true',
             checked: e.getAttribute('aria-checked') === 'true', focused: e === document.activeElement,
             left: r.left, top: r.top, right: r.right, bottom: r.bottom, x: r.x + r.width / 2, y: r.y + r.height / 2 };
  });`;
const mirrorOf = (page) => page.script(readMirror);
const find = (mirror, role, name) => mirror.find((n) => n.role === role && n.name === name);
const boxOpen = (mirror) => mirror.some((n) => n.role === 'alertdialog');
const countIn = (mirror) => Number(find(mirror, 'textbox', '回数').text);

// Runs a function on the element of the control named, as its `this`: a screen reader's press
// ('function () { this.click(); }'), its move ('... this.focus() ...').
const onElement = (page, role, name, fn) => page.script(
  `const e = [...document.querySelectorAll('#mirror [data-role=${JSON.stringify(role)}]')]
     .find((e) => (e.getAttribute('aria-label') || e.textContent) === ${JSON.stringify(name)}); (${fn}).call(e);`);
const pressElement = (page, role, name) => onElement(page, role, name, 'function () { this.click(); }');

// Tab (Shift+Tab back along the bars) until the mirror says the control named has the focus,
// each key once the focus has moved on from where it was.
async function focusByTab(page, role, name) {
  for (let keys = 0; keys < 60; ++keys) {
    const now = (await mirrorOf(page)).find((n) => n.focused) || {};
    if (now.role === role && now.name === name)
      return;
    await page.tab(now.role === 'button' && role === 'button' && Number(now.name) > Number(name));
    await until(async () => {
      const next = (await mirrorOf(page)).find((n) => n.focused) || {};
      return next.role !== now.role || next.name !== now.name;
    }, `the focus moved on from ${now.role ? `${now.role} "${now.name}"` : 'nowhere'}`);
  }
  throw new Error(`the focus on ${role} "${name}": not within 60 keys`);
}

// Enter closes the box once its OK has the focus, as a pupil sees it (and a reader says it).
async function closeByEnter(page) {
  await until(async () => (find(await mirrorOf(page), 'button', 'OK') || {}).focused, "the focus on the box's OK");
  await page.enter();
  await until(async () => !boxOpen(await mirrorOf(page)), 'the box closed by Enter');
}

// A pupil at the keyboard: press(i) for playGame, Tab to bar i, then Space.
const byKeys = (page) => async (i) => {
  await focusByTab(page, 'button', String(i));
  await page.space();
};

// One bar as its button's words tell it: its height and, in puzzle 1, its slant.
function barOf(words) {
  const [, height, slant] = /高さ(\d+)(?:，(右上がり|右下がり|水平))?/.exec(words) || [];
  return { height: Number(height), slope: slant === '右上がり' ? 1 : slant === '右下がり' ? -1 : 0 };
}

// A good player: halving in puzzle 1, a Fibonacci opening and the mirror of the best bar in
// puzzle 2. It names each next bar, and reads each bar from its button's words.
function player(slopes) {
  let leftEnd = 0;
  let rightEnd = 32;
  const heights = new Map();
  return {
    next() {
      if (slopes)
        return Math.trunc((leftEnd + rightEnd) / 2);
      // Fibonacci search over 0..34: bars 32 and 33 stand beyond the wall, lower than any, and
      // are known without a click.
      let i = 13;
      for (; heights.size > 0; heights.set(i, -1)) {
        const known = [...heights.keys()].sort((a, b) => a - b);
        const best = known.reduce((a, b) => (heights.get(b) > heights.get(a) ? b : a));
        const at = known.indexOf(best);
        i = (at > 0 ? known[at - 1] : 0) + (at + 1 < known.length ? known[at + 1] : 34) - best;
        if (i < 32)
          break;
      }
      return i;
    },
    read(i, words) {
      const { height, slope } = barOf(words);
      if (slopes && slope > 0)
        leftEnd = i;
      else if (slopes)
        rightEnd = i;
      heights.set(i, height);
    },
  };
}

// A pupil who climbs: always the bar farthest from the tallest yet, between that bar's nearest
// revealed neighbours. In puzzle 2 each new tallest bar stands higher than the last, until one
// is too tall for the program (in all but a few games in a thousand, within 31 probes).
function climber() {
  const heights = new Map();
  return {
    next() {
      const known = [...heights.keys()];
      const best = known.reduce((a, b) => (heights.get(b) > (heights.get(a) ?? 0) ? b : a), 0);
      const left = Math.max(0, ...known.filter((i) => i < best));
      const right = Math.min(32, ...known.filter((i) => i > best));
      return best - left > right - best ? left + 1 : right - 1;
    },
    read(i, words) {
      heights.set(i, barOf(words).height);
    },
  };
}

// A game from its first probe: good names each bar, press(i, mirror) probes it, and once the
// count and the bar's words answer (or a box opens) answered(i, probes, mirror) may look
// further and good reads the bar. Until a box opens, at most `most` probes; answers the probes
// made (most + 1 where no box opened), the mirror then and the last bar probed.
async function playGame(page, good, press, { most = 10, answered = async () => {} } = {}) {
  let mirror = await mirrorOf(page);
  const before = countIn(mirror);
  for (let probes = 1; probes <= most; ++probes) {
    const i = good.next();
    await press(i, mirror);
    mirror = await until(async () => {
      const now = await mirrorOf(page);
      return (boxOpen(now) || (countIn(now) === before + probes &&
                               find(now, 'button', String(i)).words.startsWith(`${before + probes}回目：`))) && now;
    }, `the answer to probe ${probes}, bar ${i}`);
    await answered(i, probes, mirror);
    if (boxOpen(mirror))
      return { probes, mirror, bar: i };
    good.read(i, find(mirror, 'button', String(i)).words);
  }
  return { probes: most + 1, mirror };
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
  launchChromium, check, poll, run, until, serving, decodePng, white, aqua, startWebKitDriver, webKit, chromiumPage,
  mirrorOf, find, boxOpen, countIn, onElement, pressElement, focusByTab, closeByEnter, byKeys, barOf, player, climber,
  playGame,
};
