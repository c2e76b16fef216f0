// node tools/web-browser-test.js SITE: the page played in Debian's Chromium, headless, as pupils
// play it: loaded from a server on this machine, a whole game of each puzzle by taps and clicks
// on a Chromebook's tab, one by the keyboard, an iPad turned in the middle of a game, both by a
// screen reader's words and presses alone, and the page again with the server stopped. The
// controls are found as a screen reader finds them, in Chromium's accessibility tree through the
// DevTools protocol, with their elements' rectangles; what the screen shows is read off
// screenshots: the revealed bars' aqua columns and slants, the count, the end box. Prints the
// time from navigation to the first frame with the example, and a closing line
// "N passed, N failed".
'use strict';
const fs = require('fs');
const path = require('path');
const { serve } = require('./serve-web.js');
const { check, poll, run, decodePng, white, aqua, launchChromium } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
// The next build of the page, served in the same place once this one has been visited.
const nextSite = process.argv[3] && path.resolve(process.argv[3]);
const buildOf = (folder) => /data-build="([0-9a-f]+)"/.exec(fs.readFileSync(path.join(folder, 'index.html'), 'utf8'))[1];
const shots = path.join(site, '..', 'screenshots');

// The page's accessibility tree as Chromium gives it to a screen reader: each node's role, name,
// description, value and states, and the element behind it.
async function axTree(cdp) {
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  return nodes.filter((node) => !node.ignored).map((node) => {
    const property = (name) => ((node.properties || []).find((p) => p.name === name) || {}).value;
    const state = (name) => (property(name) || {}).value;
    return {
      role: (node.role || {}).value, name: (node.name || {}).value || '',
      description: (node.description || {}).value || '', value: String((node.value || {}).value || ''),
      disabled: state('disabled') === true, checked: state('checked') === 'true',
      focused: state('focused') === true, modal: state('modal') === true, live: state('live'),
      backendNodeId: node.backendDOMNodeId,
    };
  });
}
const named = (tree, role, name) => tree.find((n) => n.role === role && n.name === name);

async function rectOf(cdp, node) {
  const { model } = await cdp.send('DOM.getBoxModel', { backendNodeId: node.backendNodeId });
  const [x1, y1, x2, , , y3] = model.border;
  return { left: x1, top: y1, right: x2, bottom: y3, x: (x1 + x2) / 2, y: (y1 + y3) / 2 };
}

// Runs a function on a node's element, as its `this`.
async function onElement(cdp, node, functionDeclaration) {
  const { object } = await cdp.send('DOM.resolveNode', { backendNodeId: node.backendNodeId });
  await cdp.send('Runtime.callFunctionOn', { objectId: object.objectId, functionDeclaration });
}

// A screen reader's press: a click dispatched on the element itself.
const pressElement = (cdp, node) => onElement(cdp, node, 'function () { this.click(); }');

// VoiceOver's double tap on an iPad: the pointer's events at the element's middle, then a click
// on it; one press.
const doubleTapElement = (cdp, node) => onElement(cdp, node, `function () {
  const r = this.getBoundingClientRect();
  const at = { clientX: r.x + r.width / 2, clientY: r.y + r.height / 2, bubbles: true, cancelable: true,
               pointerId: 1, pointerType: 'mouse', isPrimary: true, button: 0 };
  this.dispatchEvent(new PointerEvent('pointerdown', { ...at, buttons: 1 }));
  this.dispatchEvent(new MouseEvent('mousedown', { ...at, buttons: 1 }));
  this.dispatchEvent(new PointerEvent('pointerup', at));
  this.dispatchEvent(new MouseEvent('mouseup', at));
  this.click();
}`);

const itemNames = ['１（傾斜つき）', '２（傾斜なし）'];

// Where the controls stand, from their elements: the surface, each bar button (over its bar's
// column), the puzzle items, "開始", the count, "終了"; k, the pixels from one bar to the next.
async function layoutOf(cdp) {
  const tree = await axTree(cdp);
  const at = async (role, name) => {
    const node = named(tree, role, name);
    if (!node)
      throw new Error(`no ${role} "${name}" in the page's accessibility tree`);
    return rectOf(cdp, node);
  };
  const bars = [null];
  for (let i = 1; i <= 31; ++i)
    bars.push(await at('button', String(i)));
  const surface = await at('image', '棒グラフ');
  const items = [await at('radio', itemNames[0]), await at('radio', itemNames[1])];
  return {
    k: Math.round((bars[31].left - bars[1].left) / 30),
    surface: { left: surface.left, top: surface.top, bottom: surface.bottom }, // bottom: the first row below
    bar: (i) => bars[i],
    item: (i) => items[i],
    begin: await at('button', '開始'),
    count: await at('textbox', '回数'),
    close: await at('button', '終了'),
  };
}

// The layout once the window has settled at a new page size: the same twice running, and new.
async function settledLayout(cdp, page, before, what) {
  const end = Date.now() + 20000;
  let last = null;
  for (;;) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    const L = await layoutOf(cdp).catch(() => null);
    if (L && last && JSON.stringify(L) === JSON.stringify(last) && JSON.stringify(L) !== JSON.stringify(before))
      return L;
    if (Date.now() > end) {
      check(false, `${what}: the controls' elements did not move`);
      return L || last;
    }
    last = L;
  }
}


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
// Bar i's foot, above the middle of its button.
const foot = (shot, L, i) => shot.rgb(L.bar(i).x, L.surface.bottom - 3);
function aquaColumns(shot, L) {
  let n = 0;
  for (let i = 1; i <= 31; ++i)
    n += aqua(foot(shot, L, i)) ? 1 : 0;
  return n;
}
async function until(page, test, what, seconds = 20) {
  let shot;
  if (!await poll(async () => test(shot = await screen(page)), seconds))
    check(false, `${what}: not seen within ${seconds} s`);
  return shot;
}

// One bar as the pupil reads it: its height in pixels and, in puzzle 1, its slant.
function readBar(shot, L, i) {
  const left = top(shot, L, L.bar(i).left + 1);
  const right = top(shot, L, L.bar(i).right - 3);
  return { height: L.surface.bottom - top(shot, L, L.bar(i).x),
           slope: Math.abs(left - right) < 2 ? 0 : right < left ? 1 : -1 };
}

// A good player: halving in puzzle 1, a Fibonacci opening and the mirror of the best bar in
// puzzle 2. Tell it each bar read (its height, in puzzle 1 its slant); it names the next.
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
    read(i, height, slope) {
      if (slopes) {
        if (slope > 0)
          leftEnd = i;
        else
          rightEnd = i;
      }
      heights.set(i, height);
    },
  };
}

// The count and the box after probe n, as the page's tree tells them: a box makes the window
// behind it inert, and so leaves the tree.
async function answered(cdp, n, what) {
  return untilTree(cdp, (t) => t.some((node) => node.role === 'alertdialog') ||
                               named(t, 'textbox', '回数').value.trim() === String(n), what);
}
const boxIn = (tree) => tree.find((node) => node.role === 'alertdialog');

// A whole game as a sighted pupil plays it, probed by press(i), each bar read off the screen.
// Answers the probes made.
async function playGame(page, cdp, L, slopes, press) {
  const good = player(slopes);
  let before = await screen(page);
  for (let probes = 1; probes <= 10; ++probes) {
    const i = good.next();
    await press(i);
    const shot = await until(page, (s) => aqua(foot(s, L, i)), `bar ${i} revealed`);
    check(shot.region(L.count) !== before.region(L.count), `the count shown after probe ${probes}`);
    if (boxIn(await answered(cdp, probes, `the answer to probe ${probes}`)))
      return probes;
    const bar = readBar(shot, L, i);
    good.read(i, bar.height, bar.slope);
    if (process.env.YAMARUKA_WEB_TRACE)
      console.log(`probe ${probes}: bar ${i} height ${bar.height} slope ${bar.slope}`);
    before = shot;
  }
  return 11;
}

async function closeBox(page, cdp) {
  await page.keyboard.press('Enter');
  await untilTree(cdp, (t) => !boxIn(t), 'the box closed by Enter');
}

// Polls the accessibility tree until test(tree) holds; answers that tree. A node the test looks
// for may be missing from a tree taken while the page changes.
async function untilTree(cdp, test, what, seconds = 20) {
  let tree = [];
  if (!await poll(async () => test(tree = await axTree(cdp)), seconds))
    check(false, `${what}: not in the accessibility tree within ${seconds} s`);
  return tree;
}

// What a screen reader tells of every control at the start of a puzzle: roles, names, states,
// the bar buttons' words, the announcer's live region.
const controls = [
  ['region', 'ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）'], ['button', '終了'],
  ['radiogroup', 'パズル選択'], ['radio', itemNames[0]], ['radio', itemNames[1]], ['button', '開始'],
  ['textbox', '目標'], ['textbox', '回数'], ['button', '説明を隠す'], ['button', '棒グラフの例'],
  ['note', '説明'], ['image', '棒グラフ'], ...Array.from({ length: 31 }, (_, i) => ['button', String(i + 1)]),
];
const groups = ['region', 'radiogroup']; // their middles are their controls'

function checkControls(tree, item) {
  const missing = controls.filter(([role, name]) => !named(tree, role, name));
  check(missing.length === 0, `controls in the page's tree: missing ${JSON.stringify(missing)}`);
  check(named(tree, 'radio', itemNames[item]).checked && !named(tree, 'radio', itemNames[1 - item]).checked,
        `puzzle ${item + 1} checked`);
  check(named(tree, 'textbox', '目標').value.trim() === (item === 0 ? '5' : '7'), 'the target in words');
  check(named(tree, 'image', '棒グラフ').description.startsWith('例：頂点は'), 'the example in words');
  check(named(tree, 'button', '16').disabled && named(tree, 'button', '16').description.startsWith('例：高さ'),
        'a locked bar button with its example bar in words');
  check(tree.some((n) => n.role === 'StaticText' && n.name.includes('７回クリツクして，見つけることができます。     ［閉じる］')),
        'the explanation as text');
  check(tree.some((n) => n.role === 'status' && n.live === 'polite'), 'the announcer, a polite live region');
}

// What a finger exploring the screen finds, or a reader's pointer: the page's accessibility hit
// test at the middle of each control finds that control.
async function checkTouchFinds(cdp, tree) {
  const lost = [];
  for (const [role, name] of controls.filter(([role]) => !groups.includes(role))) {
    const { x, y } = await rectOf(cdp, named(tree, role, name));
    const { backendNodeId } = await cdp.send('DOM.getNodeForLocation', { x: Math.round(x), y: Math.round(y) });
    const { nodes } = await cdp.send('Accessibility.getAXNodeAndAncestors', { backendNodeId });
    const found = nodes.find((n) => !n.ignored) || {};
    if ((found.role || {}).value !== role || (found.name || {}).value !== name)
      lost.push(`${role} "${name}": ${(found.role || {}).value} "${(found.name || {}).value}"`);
  }
  check(lost.length === 0, `each control found by touch at its middle: ${lost.join('; ')}`);
}

// A whole game by a screen reader alone: every press a click on an element, each bar read from
// its button's words; the first probe by a move of the reader to the element and Space. At the
// box: the tree shows only the box, a press behind it does nothing, its OK closes it.
async function playByWords(cdp, page, item) {
  const slopes = item === 0;
  let tree = await axTree(cdp);
  // The example of the puzzle chosen: "棒グラフの例" where it is chosen already.
  const chosen = named(tree, 'radio', itemNames[item]).checked;
  await pressElement(cdp, chosen ? named(tree, 'button', '棒グラフの例') : named(tree, 'radio', itemNames[item]));
  tree = await untilTree(cdp, (t) => named(t, 'radio', itemNames[item]).checked &&
                                     named(t, 'image', '棒グラフ').description.startsWith('例：'),
                         `puzzle ${item + 1}'s example by its element`);
  checkControls(tree, item);
  await pressElement(cdp, named(tree, 'button', '開始'));
  tree = await untilTree(cdp, (t) => !named(t, 'button', '1').disabled, '開始 by its element');
  const good = player(slopes);
  for (let probes = 1; probes <= 10; ++probes) {
    const i = good.next();
    const bar = named(tree, 'button', String(i));
    if (probes === 1) {
      await cdp.send('DOM.focus', { backendNodeId: bar.backendNodeId });
      await untilTree(cdp, (t) => named(t, 'button', String(i)).focused, `the reader on bar ${i}`);
      await page.keyboard.press('Space');
      if (process.env.YAMARUKA_WEB_TRACE)
        console.log(`the reader on ${await page.evaluate(() => document.activeElement.outerHTML)}`);
    } else {
      await (probes === 2 ? doubleTapElement : pressElement)(cdp, bar);
    }
    tree = await answered(cdp, probes, `the answer to probe ${probes}`);
    const box = boxIn(tree);
    if (!box) {
      const words = named(tree, 'button', String(i)).description;
      check(words.startsWith(`${probes}回目：`), `bar ${i}'s words after probe ${probes}: ${words}`);
      const spoken = await poll(() => page.evaluate((said) => document.getElementById('announcer').textContent === said,
                                                    `${i}番，${words}`), 5, 50);
      check(spoken, `the answer to probe ${probes} spoken by the live region`);
      const [, height, slant] = /高さ(\d+)(?:，(右上がり|右下がり|水平))?/.exec(words) || [];
      good.read(i, Number(height), slant === '右上がり' ? 1 : slant === '右下がり' ? -1 : 0);
      continue;
    }
    check(box.modal && box.description.includes('おめでとう'), `the success box in words: ${box.description}`);
    check(!named(tree, 'button', '開始'), 'nothing but the box in the tree while it is open');
    await pressElement(cdp, named(tree, 'button', 'OK'));
    await pressElement(cdp, bar); // behind the box: nothing
    tree = await untilTree(cdp, (t) => !boxIn(t), 'the box closed by its OK');
    check(named(tree, 'textbox', '回数').value.trim() === String(probes) && named(tree, 'button', '1').disabled &&
          named(tree, 'button', String(i)).description.startsWith(`${probes}回目：`),
          'the last bar in words, and nothing pressed behind the box');
    return probes;
  }
  return 11;
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
    read(i, height) {
      heights.set(i, height);
    },
  };
}

async function begin(cdp, item) {
  let tree = await axTree(cdp);
  if (!named(tree, 'radio', itemNames[item]).checked) {
    await pressElement(cdp, named(tree, 'radio', itemNames[item]));
    tree = await untilTree(cdp, (t) => named(t, 'radio', itemNames[item]).checked, `puzzle ${item + 1} chosen`);
  }
  await pressElement(cdp, named(tree, 'button', '開始'));
  return untilTree(cdp, (t) => !named(t, 'button', '1').disabled && countIn(t) === 0, `puzzle ${item + 1} begun`);
}

// Probes by a reader's presses the bars good.next() names until a box opens, at most `most`
// times; each bar's height from its words goes to good.read. Answers the last tree and the
// probes made.
async function probeUntilBox(cdp, good, most = 31) {
  let tree = await axTree(cdp);
  let probes = 0;
  while (probes < most && !boxIn(tree)) {
    const i = good.next();
    await pressElement(cdp, named(tree, 'button', String(i)));
    tree = await answered(cdp, ++probes, `the answer to probe ${probes}`);
    if (!boxIn(tree))
      good.read(i, Number(/高さ(\d+)/.exec(named(tree, 'button', String(i)).description)[1]));
  }
  return { tree, probes };
}
const countIn = (tree) => Number(named(tree, 'textbox', '回数').value);

// The box in tree says words and waits, modal, the window behind it out of the tree, until
// close(its OK's node). Answers the tree once it has closed.
async function waited(cdp, tree, words, close, what) {
  const box = boxIn(tree);
  check(box && box.modal && box.description.includes(words) && !named(tree, 'button', '開始'),
        `${what}: a box saying ${words}, alone in the tree: ${box && box.description}`);
  await close(named(tree, 'button', 'OK'));
  return untilTree(cdp, (t) => !boxIn(t), `${what}: the box closed`);
}

// A probe of bar i after a box counts.
async function probeAfter(cdp, tree, i, what) {
  const before = countIn(tree);
  await pressElement(cdp, named(tree, 'button', String(i)));
  tree = await answered(cdp, before + 1, `${what}: a probe after the box`);
  check(!boxIn(tree) && countIn(tree) === before + 1, `${what}: a probe after the box counts`);
  return tree;
}

// Every box the program opens waits for its OK, whichever way the press that opened it came,
// and the game goes on after it: a wasted try by a click, a tap, Space, Enter and a reader's
// press, each box closed another way; the failure box of a pupil who tries each bar in turn; the
// height error of one who climbs. A drag from the explanation's chosen text starts a new
// choice, never a drag of the text out, which would need a loop of its own.
async function everyBox(cdp, page) {
  const note = named(await axTree(cdp), 'note', '説明');
  const text = await rectOf(cdp, note);
  await cdp.send('DOM.focus', { backendNodeId: note.backendNodeId });
  await untilTree(cdp, (t) => named(t, 'note', '説明').focused, 'the reader on the explanation');
  // Its context menu by the menu key, in Japanese, as a reader hears it; Escape closes it.
  const items = (t) => t.filter((n) => n.role === 'menuitem' && n.name).map((n) => n.name).join(' | ');
  for (const key of ['ContextMenu', 'Escape']) {
    await page.keyboard.press(key);
    const tree = await untilTree(cdp, (t) => t.some((n) => n.role === 'menu') === (key !== 'Escape'),
                                 `the explanation's menu after ${key}`);
    if (key !== 'Escape')
      check(items(tree) === 'コピー(C) | すべてを選択', `the explanation's menu in Japanese: ${items(tree)}`);
  }
  await page.keyboard.down('Control');
  await page.keyboard.press('a'); // all of it chosen
  await page.keyboard.up('Control');
  await page.mouse.move(text.left + 240, text.top + 14); // on the first line
  await page.mouse.down();
  for (let step = 1; step <= 10; ++step)
    await page.mouse.move(text.left + 240 + 10 * step, text.top + 14 + 20 * step);
  await page.mouse.up();

  await begin(cdp, 1); // bar 16 then the best: a wasted try again, and bar 8 not
  let { tree } = await probeUntilBox(cdp, { next: () => 16, read() {} }, 1);
  const bar = named(tree, 'button', '16');
  const at = await rectOf(cdp, bar);
  const onOk = (press) => async (ok) => { const r = await rectOf(cdp, ok); await press(r.x, r.y); };
  const keyOnBar = (key) => async () => {
    await cdp.send('DOM.focus', { backendNodeId: bar.backendNodeId });
    await untilTree(cdp, (t) => named(t, 'button', '16').focused, 'the reader on bar 16');
    await page.keyboard.press(key);
  };
  const click = (x, y) => page.mouse.click(x, y);
  const tap = (x, y) => page.touchscreen.tap(x, y);
  const ways = [['a click', () => click(at.x, at.y), onOk(click)],
                ['a tap', () => tap(at.x, at.y), onOk(tap)],
                ['Space', keyOnBar('Space'), () => page.keyboard.press('Enter')],
                ['Enter', keyOnBar('Enter'), () => page.keyboard.press('Space')],
                ["a reader's press", () => pressElement(cdp, bar), (ok) => pressElement(cdp, ok)]];
  for (const [way, press, close] of ways) {
    await press();
    tree = await untilTree(cdp, boxIn, `the wasted try by ${way}`);
    tree = await waited(cdp, tree, '無駄な試行です', close, `a wasted try by ${way}`);
    check(countIn(tree) === 1, `a wasted try by ${way}: not counted`);
  }
  await probeAfter(cdp, tree, 8, 'the wasted tries');

  await begin(cdp, 0);
  let next = 0;
  ({ tree } = await probeUntilBox(cdp, { next: () => ++next, read() {} }));
  await waited(cdp, tree, '残念でした', (ok) => pressElement(cdp, ok), 'each bar in turn');
  await probeAfter(cdp, await begin(cdp, 0), 16, 'each bar in turn');

  let error = false;
  for (let game = 1; game <= 3 && !error; ++game) {
    await begin(cdp, 1);
    const climb = await probeUntilBox(cdp, climber());
    error = boxIn(climb.tree).description.includes('範囲チェックエラー');
    tree = await waited(cdp, climb.tree, error ? '範囲チェックエラー' : '', (ok) => pressElement(cdp, ok), 'a climber');
    check(!error || countIn(tree) === climb.probes - 1, 'the too tall bar not counted');
  }
  check(error, 'the height error within three climbs');
  await probeAfter(cdp, await begin(cdp, 1), 16, 'the height error');
}

async function main() {
  const server = await new Promise((resolve) => {
    const s = serve(site, 0, (port) => resolve({ s, port }));
  });
  const url = `http://127.0.0.1:${server.port}/`;
  const browser = await launchChromium();
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  await cdp.send('Accessibility.enable');
  await cdp.send('DOM.enable');
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
  const started = Date.now();
  await page.goto(url);
  let L = null;
  for (let seen = 0; seen < 31 && Date.now() - started < 60000;) {
    L = L || await layoutOf(cdp).catch(() => null);
    if (!L)
      continue;
    // Watched through a strip along the bars' feet: a small screenshot is quick to take.
    const clip = { x: L.surface.left, y: L.surface.bottom - 3, width: L.bar(31).right - L.surface.left, height: 1 };
    const strip = decodePng(Buffer.from(await page.screenshot({ type: 'png', clip })));
    seen = 0;
    for (let i = 1; i <= 31; ++i)
      seen += aqua(strip.rgb(L.bar(i).x - L.surface.left, 0)) ? 1 : 0;
  }
  const firstFrame = Date.now() - started;
  await until(page, (s) => aquaColumns(s, L) === 31, 'the example on a Chromebook', 5);
  console.log(`web: first frame with the example ${firstFrame} ms after navigation, the browser just started (k = ${L.k})`);
  await page.screenshot({ path: path.join(shots, 'chromebook.png') });
  check(await page.title() === 'ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）', 'the page title');
  const shortTree = (await axTree(cdp)).filter((n) => n.role !== 'generic' && n.role !== 'StaticText' && n.role !== 'none')
    .map((n) => `${n.role} "${n.name}"${n.description ? ` (${n.description})` : ''}${n.value ? ` = "${n.value.slice(0, 20)}"` : ''}`);
  console.log(`web: the page's accessibility tree, ${shortTree.length} nodes: ${shortTree.join('; ')}`);
  checkControls(await axTree(cdp), 0);
  await checkTouchFinds(cdp, await axTree(cdp));
  check(L.k === 29, `a Chromebook's tab at k = ${L.k}`);
  const click = async (p) => page.mouse.click(p.x, p.y);
  await click(L.begin);
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始');
  check(await playGame(page, cdp, L, true, (i) => click(L.bar(i))) === 5, 'puzzle 1 in 5 clicks, to the box');
  await page.screenshot({ path: path.join(shots, 'chromebook-end.png') });
  await closeBox(page, cdp);

  // An iPad, by taps: puzzle 2, turned mid-game and back; the elements follow the controls.
  await page.setViewport({ width: 1080, height: 740, hasTouch: true, isMobile: true });
  L = await settledLayout(cdp, page, L, 'the iPad');
  const tap = async (p) => page.touchscreen.tap(p.x, p.y);
  await tap(L.item(1));
  await until(page, (s) => aquaColumns(s, L) === 31, 'the flat example on an iPad');
  await tap(L.begin);
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始 on an iPad');
  let turns = 0;
  const probes = await playGame(page, cdp, L, false, async (i) => {
    await tap(L.bar(i));
    if (turns++ > 0)
      return;
    // Turned after the first probe, and back: the bar stays, at each scale, under its button.
    await until(page, (s) => aquaColumns(s, L) === 1, `bar ${i} by a tap`);
    await page.setViewport({ width: 810, height: 1010, hasTouch: true, isMobile: true });
    const turned = await settledLayout(cdp, page, L, 'the turned iPad');
    const shot = await until(page, (s) => aquaColumns(s, turned) === 1 && aqua(foot(s, turned, i)),
                             `bar ${i} kept on the turned iPad`);
    await page.screenshot({ path: path.join(shots, 'ipad-turned.png') });
    check(shot.width === 810 && turned.k === 21, `the turned iPad at k = ${turned.k}`);
    await page.setViewport({ width: 1080, height: 740, hasTouch: true, isMobile: true });
    await settledLayout(cdp, page, turned, 'the iPad turned back');
  });
  check(probes <= 7, `puzzle 2 on an iPad in ${probes} probes, to the box`);
  await page.screenshot({ path: path.join(shots, 'ipad.png') });
  await closeBox(page, cdp);

  // The keyboard alone: puzzle 1 again, from the focus on "開始" (where the last box left it);
  // the screen reader's focus follows the window's.
  await page.setViewport({ width: 1366, height: 620 });
  L = await settledLayout(cdp, page, L, 'the Chromebook again');
  await tap(L.item(0));
  await until(page, (s) => aquaColumns(s, L) === 31, 'puzzle 1 chosen again');
  await click(L.begin); // the focus on "開始"; the game by keys from here
  await until(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden for the keyboard game');
  let focus = 0; // 0: "開始"; then Tab passes the two counters and "説明を隠す" to bar 1
  let followed = 0;
  const keys = await playGame(page, cdp, L, true, async (i) => {
    const target = i + 3;
    for (; focus < target; ++focus)
      await page.keyboard.press('Tab');
    for (; focus > target; --focus) {
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    }
    const tree = await untilTree(cdp, (t) => (named(t, 'button', String(i)) || {}).focused, `the reader's focus on bar ${i}`);
    followed += named(tree, 'button', String(i)).focused ? 1 : 0;
    await page.keyboard.press('Space');
  });
  check(keys === 5 && followed === 5, `puzzle 1 by the keyboard in ${keys}, to the box, the reader's focus on each bar`);
  await closeBox(page, cdp);

  // A blind pupil: both puzzles from the words alone, every press on an element.
  check(await playByWords(cdp, page, 0) === 5, 'puzzle 1 by a screen reader in 5, to the box');
  check(await playByWords(cdp, page, 1) <= 7, 'puzzle 2 by a screen reader in 7 or fewer, to the box');
  await everyBox(cdp, page);
  L = await layoutOf(cdp);

  // "終了": the page says so, in Japanese, and offers to start again.
  await click(L.close);
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

  // A new build on the server: the visit with a network fetches it, and the next visit is the new
  // build, with the old copy gone.
  if (nextSite) {
    const next = await new Promise((resolve) => {
      const s = serve(nextSite, server.port, () => resolve(s));
    });
    const cacheOf = (folder) => `yamaruka-${buildOf(folder)}`;
    await page.goto(url);
    await until(page, (s) => aquaColumns(s, L) === 31, 'the example on the visit that finds the next build', 60);
    check(await poll(() => page.evaluate(async (name) => {
      const worker = await navigator.serviceWorker.getRegistration();
      return !worker.installing && !worker.waiting && (await caches.keys()).includes(name);
    }, cacheOf(nextSite)), 30, 100), 'the next build fetched for the offline copy');
    await page.reload();
    await until(page, (s) => aquaColumns(s, L) === 31, 'the next build\'s example', 60);
    check(await page.evaluate(() => document.documentElement.dataset.build) === buildOf(nextSite),
          'the next visit shows the next build');
    const left = await poll(async () => {
      const names = await page.evaluate(() => caches.keys());
      return names.length === 1 && names;
    }, 30, 100);
    check(left && left[0] === cacheOf(nextSite), `the old copy gone (${cacheOf(site)} → ${cacheOf(nextSite)}): ${left}`);
    next.close();
    next.closeAllConnections();
  }

  check(elsewhere.size === 0, `requests to other origins: ${[...elsewhere].join(' ')}`);
  await browser.close();
}

run(main);
