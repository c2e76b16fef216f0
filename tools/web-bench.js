// node tools/web-bench.js SITE FLOOR: the page's start against a floor's, in Debian's Chromium,
// headless: FLOOR is the same Qt, options and loader with one label on aqua (app/floor.cpp,
// written beside the page by make web). Prints the times to the first picture and their ratios;
// a measurement, not a test: nothing in it fails but a page that never shows a picture.
'use strict';
const path = require('path');
const { serve } = require('./serve-web.js');
const { check, poll, run, decodePng, aqua, launchChromium } = require('./web-test-support.js');

const site = path.resolve(process.argv[2] || 'build/web/site');
const floorSite = path.resolve(process.argv[3] || 'build/web/site-floor');

// The first picture against the floor's: the program's page and the floor's (the same Qt,
// options and loader, one label on aqua), alternately in one browser, each from a server of its
// own (an origin, so a cache, of its own), on a first visit and on return visits. A picture is
// there when a screenshot shows aqua: the example's bars, the label. Prints the times and the
// ratios.
async function againstTheFloor(browser, returns = 5) {
  const context = await browser.createBrowserContext();
  const servers = await Promise.all([site, floorSite].map((folder) => new Promise((resolve) => {
    const s = serve(folder, 0, (port) => resolve({ s, url: `http://127.0.0.1:${port}/` }));
  })));
  const firstPicture = async (url, what) => {
    const page = await context.newPage();
    await page.setViewport({ width: 1366, height: 620 });
    const started = Date.now();
    await page.goto(url);
    const clip = { x: 0, y: 0, width: 1366, height: 620, scale: 0.25 };
    const seen = await poll(async () => {
      const shot = decodePng(Buffer.from(await page.screenshot({ type: 'png', clip })));
      let n = 0;
      for (let y = 0; y < shot.height; ++y)
        for (let x = 0; x < shot.width; ++x)
          n += aqua(shot.rgb(x, y)) ? 1 : 0;
      return n >= 100;
    }, 60);
    const ms = Date.now() - started;
    check(seen, `${what}: its first picture`);
    await page.evaluate(() => navigator.serviceWorker.ready); // the offline copy made, for the next visit
    await page.close();
    return ms;
  };
  const times = [[], []];
  for (let visit = 0; visit <= returns; ++visit)
    for (const [i, { url }] of servers.entries())
      times[i].push(await firstPicture(url, `${['the program', 'the floor'][i]}, visit ${visit + 1}`));
  const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
  const [program, floor] = times;
  const ratio = (a, b) => (a / b).toFixed(2);
  console.log(`web: first picture, the program / the floor: first visit ${program[0]} / ${floor[0]} ms = ` +
              `${ratio(program[0], floor[0])}x; return visits (median of ${returns}) ` +
              `${median(program.slice(1))} / ${median(floor.slice(1))} ms = ` +
              `${ratio(median(program.slice(1)), median(floor.slice(1)))}x (goal 1.25x); ` +
              `each visit: ${program.join(' ')} / ${floor.join(' ')} ms`);
  for (const { s } of servers) {
    s.close();
    s.closeAllConnections();
  }
  await context.close();
}

run(async () => {
  const browser = await launchChromium();
  await againstTheFloor(browser);
  await browser.close();
});
