// node tools/web-browser-test.js SITE [NEXT]: the page played in Debian's Chromium, headless, as
// pupils play it, one scenario of node's test runner on a page of its own, from a server on this
// machine: a whole game of each puzzle by clicks on a Chromebook's tab, by taps on an iPad turned
// in the middle of a game, by the keyboard, and by a screen reader's words and presses alone;
// every box the program opens; "終了"; the program cut short; the page again with the server
// stopped, and NEXT, a next build of the page, served in its place. The controls are found
// through the page's mirror; what a screen reader hears of them is read in Chromium's
// accessibility tree through the DevTools protocol; what the screen shows is read off
// screenshots: the revealed bars' aqua columns and slants, the count. Prints the time from
// navigation to the first frame with the example.
'use strict';
const assert = require('assert/strict');
const fs = require('fs');
const path = require('path');
const { after, before, test } = require('node:test');
const { serving, until, decodePng, white, aqua, launchChromium, chromiumPage, mirrorOf, find, boxOpen, countIn,
  onElement, pressElement, focusByTab, closeByEnter, barOf, player, climber, playGame } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const nextSite = process.argv[3] && path.resolve(process.argv[3]);
const buildOf = (folder) => /data-build="([0-9a-f]+)"/.exec(fs.readFileSync(path.join(folder, 'index.html'), 'utf8'))[1];
const shots = path.join(site, '..', 'screenshots');
const chromebook = { width: 1366, height: 620 };
const iPad = { width: 1080, height: 740, hasTouch: true, isMobile: true };
const itemNames = ['１（傾斜つき）', '２（傾斜なし）'];

let browser;
before(async () => { browser = await launchChromium(); });
after(() => browser.close());

// A scenario on a page of its own, in a browser context of its own (so an offline copy of its
// own), from a server of its own; the page says no error and asks nothing of another origin.
function scenario(name, viewport, play, options = {}) {
  test(name, { timeout: 300000, ...options }, async () => {
    const context = await browser.createBrowserContext();
    const server = await serving(site);
    const faults = [];
    try {
      const tab = await context.newPage();
      await tab.setViewport(viewport);
      tab.on('pageerror', (error) => faults.push(`page error: ${error.message}`));
      tab.on('console', (message) => message.type() === 'error' && faults.push(`console error: ${message.text()}`));
      tab.on('request', (request) => request.url().startsWith(server.url) || request.url().startsWith('data:') ||
                                     faults.push(`a request to another origin: ${request.url()}`));
      const cdp = await tab.createCDPSession();
      await cdp.send('Accessibility.enable');
      await cdp.send('DOM.enable');
      const page = { ...chromiumPage(tab), puppeteer: tab, cdp };
      await play(page, server).catch(async (error) => {
        error.message += ` (the page: ${await page.state().catch((e) => e.message)})`;
        throw error;
      });
      assert.deepEqual(faults, []);
    } finally {
      server.stop();
      await context.close();
    }
  });
}

// The page's accessibility tree as Chromium gives it to a screen reader: each node's role, name,
// description, value and states.
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
const boxIn = (tree) => tree.find((node) => node.role === 'alertdialog');
const untilTree = (page, test, what) => until(async () => { const t = await axTree(page.cdp); return test(t) && t; }, what);

// Where the controls stand, from their elements' rectangles: the surface, each bar button (over
// its bar's column), the count; k, the pixels from one bar to the next.
function layoutOf(mirror) {
  const at = (role, name) => {
    const { left, top, right, bottom, x, y } = find(mirror, role, name) || assert.fail(`no ${role} "${name}" in the mirror`);
    return { left, top, right, bottom, x, y };
  };
  const bars = [null, ...Array.from({ length: 31 }, (_, i) => at('button', String(i + 1)))];
  const { left, top, bottom } = at('img', '棒グラフ'); // bottom: the first row below
  return { k: Math.round((bars[31].left - bars[1].left) / 30), surface: { left, top, bottom }, bars,
           count: at('textbox', '回数') };
}

// The layout once the window has settled at a new page size: the same twice running, and new.
async function settledLayout(page, before, what) {
  let last = null;
  return until(async () => {
    await page.script('await new Promise(requestAnimationFrame);');
    const L = JSON.stringify(layoutOf(await mirrorOf(page)));
    const settled = L === last && L !== JSON.stringify(before);
    last = L;
    return settled && layoutOf(await mirrorOf(page));
  }, `${what}: the controls' elements moved and settled`, 20);
}

// The top row of the drawing in page column x, read up from the surface's bottom edge.
function top(shot, L, x) {
  let y = L.surface.bottom - 1;
  while (y > L.surface.top && !white(shot.rgb(x, y)))
    --y;
  return y + 1;
}
// Bar i's foot, above the middle of its button.
const foot = (shot, L, i) => shot.rgb(L.bars[i].x, L.surface.bottom - 3);
const aquaColumns = (shot, L) => Array.from({ length: 31 }, (_, i) => aqua(foot(shot, L, i + 1))).filter(Boolean).length;
const untilSeen = (page, test, what, seconds = 20) => until(async () => {
  const shot = await page.screenshot();
  return test(shot) && shot;
}, what, seconds);

// One bar as the pupil sees it: its height in pixels and, in puzzle 1, its slant.
function readBar(shot, L, i) {
  const left = top(shot, L, L.bars[i].left + 1);
  const right = top(shot, L, L.bars[i].right - 3);
  return { height: L.surface.bottom - top(shot, L, L.bars[i].x),
           slope: Math.abs(left - right) < 2 ? 0 : right < left ? 1 : -1 };
}

// What a sighted pupil sees after each probe (answered for playGame): the bar revealed, the
// count changed, and the bar's slant and height on the screen as its words tell them.
async function sighted(page, L) {
  let before = await page.screenshot();
  const seen = [];
  return async (i, probes, mirror) => {
    const shot = await untilSeen(page, (s) => aqua(foot(s, L, i)), `bar ${i} revealed`);
    assert.notEqual(shot.region(L.count), before.region(L.count), `the count shown after probe ${probes}`);
    before = shot;
    if (boxOpen(mirror))
      return;
    const words = find(mirror, 'button', String(i)).words;
    const bar = readBar(shot, L, i);
    const told = barOf(words);
    assert.equal(bar.slope, told.slope, `bar ${i}'s slant on the screen: ${words}`);
    // Taller on the screen where its words say taller: a pixel apart is the same height.
    for (const other of seen) {
      const apart = bar.height - other.height;
      assert.equal(Math.abs(apart) <= 1 ? 0 : Math.sign(apart), Math.sign(told.height - other.told),
                   `bar ${i} against one of ${other.told} on the screen: ${words}, ${bar.height} pixels`);
    }
    seen.push({ height: bar.height, told: told.height });
  };
}

// The example on the screen, watched through a strip along the bars' feet (a small screenshot is
// quick to take). Answers the layout.
async function shown(page, what) {
  const L = await until(async () => layoutOf(await mirrorOf(page)), `${what}: the controls in the mirror`, 60);
  const clip = { x: L.surface.left, y: L.surface.bottom - 3, width: L.bars[31].right - L.surface.left, height: 1 };
  await until(async () => {
    const strip = decodePng(Buffer.from(await page.puppeteer.screenshot({ type: 'png', clip })));
    return Array.from({ length: 31 }, (_, i) => aqua(strip.rgb(L.bars[i + 1].x - L.surface.left, 0))).every(Boolean);
  }, what, 60);
  return L;
}
// The page opened, until the first frame with the example; answers the layout and the time.
async function open(page, url) {
  const started = Date.now();
  await page.go(url);
  const L = await shown(page, 'the example');
  return { L, firstFrame: Date.now() - started };
}

const clickOn = async (page, role, name) => page.click(find(await mirrorOf(page), role, name));
const tapOn = async (page, role, name) => page.tap(find(await mirrorOf(page), role, name));
const untilClosed = (page, what) => until(async () => { const m = await mirrorOf(page); return !boxOpen(m) && m; }, what);

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
  assert.deepEqual(controls.filter(([role, name]) => !named(tree, role, name)), [], "controls missing in the page's tree");
  assert.ok(named(tree, 'radio', itemNames[item]).checked && !named(tree, 'radio', itemNames[1 - item]).checked,
            `puzzle ${item + 1} checked`);
  assert.equal(named(tree, 'textbox', '目標').value.trim(), item === 0 ? '5' : '7', 'the target in words');
  assert.match(named(tree, 'image', '棒グラフ').description, /^例：頂点は/, 'the example in words');
  assert.ok(named(tree, 'button', '16').disabled && named(tree, 'button', '16').description.startsWith('例：高さ'),
            'a locked bar button with its example bar in words');
  assert.ok(tree.some((n) => n.role === 'StaticText' && n.name.includes('７回クリツクして，見つけることができます。     ［閉じる］')),
            'the explanation as text');
  assert.ok(tree.some((n) => n.role === 'status' && n.live === 'polite'), 'the announcer, a polite live region');
}

// What a finger exploring the screen finds, or a reader's pointer: the page's accessibility hit
// test at the middle of each control finds that control.
async function checkTouchFinds(cdp, tree) {
  const lost = [];
  for (const [role, name] of controls.filter(([role]) => !groups.includes(role))) {
    const { model } = await cdp.send('DOM.getBoxModel', { backendNodeId: named(tree, role, name).backendNodeId });
    const [x1, y1, x2, , , y3] = model.border;
    const at = { x: Math.round((x1 + x2) / 2), y: Math.round((y1 + y3) / 2) };
    const { backendNodeId } = await cdp.send('DOM.getNodeForLocation', at);
    const { nodes } = await cdp.send('Accessibility.getAXNodeAndAncestors', { backendNodeId });
    const found = nodes.find((n) => !n.ignored) || {};
    if ((found.role || {}).value !== role || (found.name || {}).value !== name)
      lost.push(`${role} "${name}": ${(found.role || {}).value} "${(found.name || {}).value}"`);
  }
  assert.deepEqual(lost, [], 'each control found by touch at its middle');
}

scenario("a Chromebook's tab: the first frame with the example, every control in the page's tree and found by touch",
         chromebook, async (page, server) => {
  const { L, firstFrame } = await open(page, server.url);
  console.log(`web: first frame with the example ${firstFrame} ms after navigation, the browser just started (k = ${L.k})`);
  await page.save(path.join(shots, 'chromebook.png'));
  assert.equal(await page.puppeteer.title(), 'ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）');
  const tree = await axTree(page.cdp);
  const shortTree = tree.filter((n) => n.role !== 'generic' && n.role !== 'StaticText' && n.role !== 'none')
    .map((n) => `${n.role} "${n.name}"${n.description ? ` (${n.description})` : ''}${n.value ? ` = "${n.value.slice(0, 20)}"` : ''}`);
  console.log(`web: the page's accessibility tree, ${shortTree.length} nodes: ${shortTree.join('; ')}`);
  checkControls(tree, 0);
  await checkTouchFinds(page.cdp, tree);
  assert.equal(L.k, 29, "a Chromebook's tab at k = 29");
});

scenario("puzzle 1 by clicks on a Chromebook's tab in 5, to the box", chromebook, async (page, server) => {
  const { L } = await open(page, server.url);
  await clickOn(page, 'button', '開始');
  await untilSeen(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始');
  const { probes } = await playGame(page, player(true), (i, mirror) => page.click(find(mirror, 'button', String(i))),
                                    { answered: await sighted(page, L) });
  assert.equal(probes, 5);
  await page.save(path.join(shots, 'chromebook-end.png'));
  await closeByEnter(page);
});

scenario('puzzle 2 by taps on an iPad in 7 or fewer, to the box, turned mid-game and back', iPad, async (page, server) => {
  const { L } = await open(page, server.url);
  await tapOn(page, 'radio', itemNames[1]);
  await untilTree(page, (t) => named(t, 'radio', itemNames[1]).checked, 'puzzle 2 chosen by a tap');
  await untilSeen(page, (s) => aquaColumns(s, L) === 31, 'the flat example on an iPad');
  await tapOn(page, 'button', '開始');
  await untilSeen(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden after 開始 on an iPad');
  let turns = 0;
  const { probes } = await playGame(page, player(false), async (i, mirror) => {
    await page.tap(find(mirror, 'button', String(i)));
    if (turns++ > 0)
      return;
    // Turned after the first probe, and back: the bar stays, at each scale, under its button.
    await untilSeen(page, (s) => aquaColumns(s, L) === 1, `bar ${i} by a tap`);
    await page.puppeteer.setViewport({ ...iPad, width: 810, height: 1010 });
    const turned = await settledLayout(page, L, 'the turned iPad');
    const shot = await untilSeen(page, (s) => aquaColumns(s, turned) === 1 && aqua(foot(s, turned, i)),
                                 `bar ${i} kept on the turned iPad`);
    await page.save(path.join(shots, 'ipad-turned.png'));
    assert.ok(shot.width === 810 && turned.k === 21, `the turned iPad at k = ${turned.k}`);
    await page.puppeteer.setViewport(iPad);
    await settledLayout(page, turned, 'the iPad turned back');
  }, { answered: await sighted(page, L) });
  assert.ok(probes <= 7, `puzzle 2 on an iPad in ${probes} probes, to the box`);
  await page.save(path.join(shots, 'ipad.png'));
  await closeByEnter(page);
});

scenario("puzzle 1 by the keyboard in 5, to the box, the reader's focus on each bar", chromebook, async (page, server) => {
  const { L } = await open(page, server.url);
  await clickOn(page, 'button', '開始'); // the focus on "開始"; the game by keys from here
  await untilSeen(page, (s) => aquaColumns(s, L) === 0, 'the graph hidden for the keyboard game');
  const { probes } = await playGame(page, player(true), async (i) => {
    await focusByTab(page, 'button', String(i));
    await untilTree(page, (t) => named(t, 'button', String(i)).focused, `the reader's focus on bar ${i}`);
    await page.space();
  }, { answered: await sighted(page, L) });
  assert.equal(probes, 5);
  await closeByEnter(page);
});

// VoiceOver's double tap on an iPad: the pointer's events at the element's middle, then a click
// on it; one press.
const doubleTap = `function () {
  const r = this.getBoundingClientRect();
  const at = { clientX: r.x + r.width / 2, clientY: r.y + r.height / 2, bubbles: true, cancelable: true,
               pointerId: 1, pointerType: 'mouse', isPrimary: true, button: 0 };
  this.dispatchEvent(new PointerEvent('pointerdown', { ...at, buttons: 1 }));
  this.dispatchEvent(new MouseEvent('mousedown', { ...at, buttons: 1 }));
  this.dispatchEvent(new PointerEvent('pointerup', at));
  this.dispatchEvent(new MouseEvent('mouseup', at));
  this.click();
}`;
// A reader's move to the control named: the tree says it has the focus.
async function readerOn(page, role, name) {
  await onElement(page, role, name, 'function () { this.focus(); }');
  await untilTree(page, (t) => named(t, role, name).focused, `the reader on ${role} "${name}"`);
}

// A whole game by a screen reader alone: every press a click on an element, each bar read from
// its button's words, each answer heard in the live region; the first probe by a move of the
// reader to the element and Space, the second by VoiceOver's double tap. At the box: the tree
// shows only the box, a press behind it does nothing, its OK closes it.
for (const item of [0, 1]) {
  scenario(`puzzle ${item + 1} by a screen reader's words and presses alone in ${item === 0 ? 5 : '7 or fewer'}, to the box`,
           chromebook, async (page, server) => {
    await open(page, server.url);
    // The example of the puzzle chosen: "棒グラフの例" where it is chosen already.
    await pressElement(page, ...item === 0 ? ['button', '棒グラフの例'] : ['radio', itemNames[item]]);
    checkControls(await untilTree(page, (t) => named(t, 'radio', itemNames[item]).checked &&
                                                named(t, 'image', '棒グラフ').description.startsWith('例：'),
                                  `puzzle ${item + 1}'s example by its element`), item);
    await pressElement(page, 'button', '開始');
    await until(async () => !find(await mirrorOf(page), 'button', '1').disabled, '開始 by its element');
    const { probes, bar } = await playGame(page, player(item === 0), async (i) => {
      const turn = countIn(await mirrorOf(page));
      if (turn > 0)
        return onElement(page, 'button', String(i), turn === 1 ? doubleTap : 'function () { this.click(); }');
      await readerOn(page, 'button', String(i));
      await page.space();
    }, { async answered(i, n, mirror) {
      const tree = await untilTree(page, (t) => boxIn(t) || named(t, 'button', String(i)).description.startsWith(`${n}回目：`),
                                   `the answer to probe ${n} in the tree`);
      if (boxIn(tree))
        return;
      const words = named(tree, 'button', String(i)).description;
      assert.equal(words, find(mirror, 'button', String(i)).words, `bar ${i}'s words in the tree as in the mirror`);
      await until(() => page.script(`return document.getElementById('announcer').textContent === ${JSON.stringify(`${i}番，${words}`)};`),
                  `the answer to probe ${n} spoken by the live region`, 5);
    } });
    assert.ok(item === 0 ? probes === 5 : probes <= 7, `in ${probes}`);
    const tree = await untilTree(page, boxIn, 'the box in the tree');
    assert.ok(boxIn(tree).modal && boxIn(tree).description.includes('おめでとう'), `the success box in words: ${boxIn(tree).description}`);
    assert.ok(!named(tree, 'button', '開始'), 'nothing but the box in the tree while it is open');
    await pressElement(page, 'button', 'OK');
    await pressElement(page, 'button', String(bar)); // behind the box: nothing
    const closed = await untilClosed(page, 'the box closed by its OK');
    assert.ok(countIn(closed) === probes && find(closed, 'button', '1').disabled &&
              find(closed, 'button', String(bar)).words.startsWith(`${probes}回目：`),
              'the last bar in words, and nothing pressed behind the box');
  });
}

const readerPress = (page) => (i) => pressElement(page, 'button', String(i));

// Puzzle item begun by a reader's presses.
async function begin(page, item) {
  if (!find(await mirrorOf(page), 'radio', itemNames[item]).checked) {
    await pressElement(page, 'radio', itemNames[item]);
    await until(async () => find(await mirrorOf(page), 'radio', itemNames[item]).checked, `puzzle ${item + 1} chosen`);
  }
  await pressElement(page, 'button', '開始');
  await until(async () => { const m = await mirrorOf(page); return !find(m, 'button', '1').disabled && countIn(m) === 0; },
              `puzzle ${item + 1} begun`);
}

// The box open says words and waits, modal, the window behind it out of the tree, until
// close(its OK's element in the mirror). Answers the mirror once it has closed.
async function waited(page, words, close, what) {
  const tree = await untilTree(page, boxIn, `${what}: the box`);
  const box = boxIn(tree);
  assert.ok(box.modal && box.description.includes(words) && !named(tree, 'button', '開始'),
            `${what}: a box saying ${words}, alone in the tree: ${box.description}`);
  await close(find(await mirrorOf(page), 'button', 'OK'));
  return untilClosed(page, `${what}: the box closed`);
}

// A probe of bar i after a box counts.
async function probeAfter(page, i, what) {
  const before = countIn(await mirrorOf(page));
  await pressElement(page, 'button', String(i));
  const mirror = await until(async () => {
    const m = await mirrorOf(page);
    return (boxOpen(m) || countIn(m) === before + 1) && m;
  }, `${what}: the answer to a probe after the box`);
  assert.ok(!boxOpen(mirror) && countIn(mirror) === before + 1, `${what}: a probe after the box counts`);
}

// Every box the program opens waits for its OK, whichever way the press that opened it came,
// and the game goes on after it.
scenario("a wasted try's box waits for its OK, the try by a click, a tap, Space, Enter or a reader's press, each box " +
         'closed another way; nothing counted, and the game goes on', chromebook, async (page, server) => {
  await open(page, server.url);
  await begin(page, 1); // bar 16 then the best: a wasted try again, and bar 8 not
  await playGame(page, { next: () => 16, read() {} }, readerPress(page), { most: 1 });
  const bar = find(await mirrorOf(page), 'button', '16');
  const ways = [['a click', () => page.click(bar), (ok) => page.click(ok)],
                ['a tap', () => page.tap(bar), (ok) => page.tap(ok)],
                ['Space', () => readerOn(page, 'button', '16').then(page.space), () => page.enter()],
                ['Enter', () => readerOn(page, 'button', '16').then(page.enter), () => page.space()],
                ["a reader's press", () => pressElement(page, 'button', '16'), () => pressElement(page, 'button', 'OK')]];
  for (const [way, press, close] of ways) {
    await press();
    assert.equal(countIn(await waited(page, '無駄な試行です', close, `a wasted try by ${way}`)), 1,
                 `a wasted try by ${way}: not counted`);
  }
  await probeAfter(page, 8, 'the wasted tries');
});

scenario('the failure box of a pupil who tries each bar in turn waits for its OK, and the next game goes on',
         chromebook, async (page, server) => {
  await open(page, server.url);
  await begin(page, 0);
  let next = 0;
  await playGame(page, { next: () => ++next, read() {} }, readerPress(page), { most: 31 });
  await waited(page, '残念でした', () => pressElement(page, 'button', 'OK'), 'each bar in turn');
  await begin(page, 0);
  await probeAfter(page, 16, 'each bar in turn');
});

scenario('the height error of a pupil who climbs, within three games, waits for its OK, the too tall bar not counted',
         chromebook, async (page, server) => {
  await open(page, server.url);
  let error = false;
  for (let game = 1; game <= 3 && !error; ++game) {
    await begin(page, 1);
    const climb = await playGame(page, climber(), readerPress(page), { most: 31 });
    error = boxIn(await untilTree(page, boxIn, "the climber's box")).description.includes('範囲チェックエラー');
    const mirror = await waited(page, error ? '範囲チェックエラー' : '', () => pressElement(page, 'button', 'OK'), 'a climber');
    assert.ok(!error || countIn(mirror) === climb.probes - 1, 'the too tall bar not counted');
  }
  assert.ok(error, 'the height error within three climbs');
  await begin(page, 1);
  await probeAfter(page, 16, 'the height error');
});

scenario("the explanation's menu in Japanese by the menu key, closed by Escape", chromebook, async (page, server) => {
  await open(page, server.url);
  await readerOn(page, 'note', '説明');
  await page.puppeteer.keyboard.press('ContextMenu');
  const items = (t) => t.filter((n) => n.role === 'menuitem' && n.name).map((n) => n.name).join(' | ');
  const menu = await untilTree(page, (t) => t.some((n) => n.role === 'menu'), "the explanation's menu by the menu key");
  assert.equal(items(menu), 'コピー(C) | すべてを選択', "the explanation's menu in Japanese");
  await page.puppeteer.keyboard.press('Escape');
  await untilTree(page, (t) => !t.some((n) => n.role === 'menu'), "the explanation's menu closed by Escape");
  await focusByTab(page, 'button', '終了'); // the keys still reach the program
});

// A press on the explanation's chosen text starts a new choice, never a drag of the text out,
// which would need a loop of its own; the release hides the explanation.
scenario("a drag from the explanation's chosen text drags nothing out, and the game goes on", chromebook,
         async (page, server) => {
  await open(page, server.url);
  const note = find(await mirrorOf(page), 'note', '説明');
  const plain = await page.screenshot();
  await readerOn(page, 'note', '説明');
  await page.puppeteer.keyboard.down('Control');
  await page.puppeteer.keyboard.press('a'); // all of it chosen
  await page.puppeteer.keyboard.up('Control');
  await untilSeen(page, (s) => s.region(note) !== plain.region(note), 'the explanation chosen by Ctrl+A', 5);
  // From the middle of the first line's letters, as the screen shows them.
  const dark = (x, y) => Math.max(...plain.rgb(x, y)) < 80;
  const columns = Array.from({ length: Math.round(note.right - note.left) }, (_, x) => Math.round(note.left) + x);
  let y = Math.round(note.top);
  while (!columns.some((x) => dark(x, y)))
    ++y;
  const letters = columns.filter((x) => dark(x, y));
  const from = { x: (letters[0] + letters[letters.length - 1]) / 2, y };
  await page.puppeteer.mouse.move(from.x, from.y);
  await page.puppeteer.mouse.down();
  for (let step = 1; step <= 10; ++step)
    await page.puppeteer.mouse.move(from.x + 10 * step, from.y + 20 * step);
  await page.puppeteer.mouse.up();
  await until(async () => find(await mirrorOf(page), 'button', '説明を見る'), 'the explanation hidden by the release');
  await begin(page, 1);
  await probeAfter(page, 16, 'the drag');
});

const pageSays = (page) => page.script("return document.getElementById('status').textContent;");
const offersAgain = (page, what) => until(() => page.script("return !document.getElementById('again').hidden;"), what, 20);

scenario('"終了": the page says so, in Japanese, and offers to start again', chromebook, async (page, server) => {
  await open(page, server.url);
  await clickOn(page, 'button', '終了');
  await offersAgain(page, 'the page after "終了"');
  assert.equal(await pageSays(page), 'ヤマルカを終了しました。');
});

scenario('a program that arrives cut short (a dropped connection): the page says so, in Japanese, and offers to ' +
         'start again', chromebook, async (page, server) => {
  await page.puppeteer.setRequestInterception(true);
  page.puppeteer.on('request', (request) => {
    if (!request.url().endsWith('.wasm'))
      return request.continue();
    const whole = fs.readFileSync(path.join(site, new URL(request.url()).pathname));
    return request.respond({ status: 200, contentType: 'application/wasm', body: whole.subarray(0, whole.length / 2) });
  });
  await page.go(server.url);
  await offersAgain(page, 'the page with its program cut short');
  assert.equal(await pageSays(page), 'ヤマルカを読み込めませんでした。ネットワークにつないで、もう一度お試しください。');
});

scenario("without a network: the service worker's copy, the licences too", chromebook, async (page, server) => {
  await open(page, server.url);
  await page.script('await navigator.serviceWorker.ready;');
  server.stop();
  await page.refresh();
  await shown(page, 'the example with the server stopped');
  await page.save(path.join(shots, 'offline.png'));
  const licences = await page.go(await page.puppeteer.$eval('#licences a', (a) => a.href));
  assert.ok(licences.ok() && await page.puppeteer.title() === 'ヤマルカ ライセンス', 'the licences with the server stopped');
});

scenario('a next build on the server: the visit with a network fetches it, and the next visit is the next build, ' +
         'with the old copy gone', chromebook, async (page, server) => {
  await open(page, server.url);
  await page.script('await navigator.serviceWorker.ready;');
  server.stop();
  const next = await serving(nextSite, server.port);
  const cacheOf = (folder) => `yamaruka-${buildOf(folder)}`;
  try {
    await page.go(server.url);
    await shown(page, 'the example on the visit that finds the next build');
    await until(() => page.script(`const worker = await navigator.serviceWorker.getRegistration();
      return !worker.installing && !worker.waiting && (await caches.keys()).includes(${JSON.stringify(cacheOf(nextSite))});`),
                'the next build fetched for the offline copy');
    await page.refresh();
    await shown(page, "the next build's example");
    assert.equal(await page.script('return document.documentElement.dataset.build;'), buildOf(nextSite),
                 'the next visit shows the next build');
    const left = await until(async () => { const names = await page.script('return caches.keys();'); return names.length === 1 && names; },
                             'one offline copy left');
    assert.deepEqual(left, [cacheOf(nextSite)], `the old copy gone (${cacheOf(site)} → ${cacheOf(nextSite)})`);
  } finally {
    next.stop();
  }
}, { skip: !nextSite && 'no next build named' });
