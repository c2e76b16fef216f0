// node tools/web-stacks-check.js STACKS LIST: every program function on the stacks the page
// logged at its waits (tools/web-stacks-hook.js, one "asyncify-stack" message each) against
// the names and patterns of app/asyncify-only.txt ('*': any run of characters), as the linker
// reads them. Prints the functions no line covers and fails if there are any.
'use strict';
const fs = require('fs');

const [stacksFile, listFile] = process.argv.slice(2);
const stacks = fs.readFileSync(stacksFile, 'utf8').split('asyncify-stack\n').slice(1);
// Emscripten reads '.' in a list as a blank, as it does on its command line.
const patterns = fs.readFileSync(listFile, 'utf8').split('\n').map((line) => line.trim())
  .filter((line) => line && !line.startsWith('#'))
  .map((line) => new RegExp(`^${line.replaceAll('.', ' ').split('*')
    .map((part) => part.replace(/[\\^$+?()[\]{}|]/g, '\\$&')).join('.*')}$`));
const functions = new Set();
for (const stack of stacks)
  for (const frame of stack.split('\n')) {
    // "    at NAME (wasm://wasm/...)": a function of the program; other frames are the page's
    const named = /^\s*at (.*) \(wasm:\/\//.exec(frame);
    if (named)
      functions.add(named[1]);
  }
const uncovered = [...functions].filter((name) => !patterns.some((pattern) => pattern.test(name)));
console.log(`web: ${stacks.length} waits seen, ${functions.size} functions on their stacks, ` +
            `${uncovered.length} not in ${listFile}`);
for (const name of uncovered)
  console.log(`  ${name}`);
process.exit(functions.size > 0 && uncovered.length === 0 ? 0 : 1);
