// node tools/node-run.js PROGRAM.js ARGUMENT...: runs a program built for the browser under node
// and exits with its status. Qt's link options make every such program a module factory, whose
// main runs when the factory is called.
'use strict';
const path = require('path');
const create = require(path.resolve(process.argv[2]));
create({
  arguments: process.argv.slice(3),
  onExit: (status) => process.exit(status),
}).catch((error) => {
  console.error(error);
  process.exit(1);
});
