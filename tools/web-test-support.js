// What the browser tests share: their tally with its closing line "N passed, N failed", their
// polling, and what they read off the page's screenshots (the pixels, the colours of the bars and of the cleared
// surface).
'use strict';
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

module.exports = { check, poll, run, decodePng, white, aqua };
