// node tools/serve-web.js [FOLDER] [PORT]: serves the page for a trial on this machine only
// (127.0.0.1), as a school's server should: .wasm as application/wasm, compressed when the
// browser takes it. PORT 0 picks a free one; the address is printed on the first line.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.json': 'application/json',
  '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain; charset=utf-8',
};

function serve(root, port, onListening) {
  const server = http.createServer((request, response) => {
    let file = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (file.endsWith('/'))
      file += 'index.html';
    const full = path.join(root, path.normalize(file));
    if (!full.startsWith(root) || !fs.existsSync(full) || !fs.statSync(full).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const headers = { 'Content-Type': types[path.extname(full)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache' };
    // Compressed as the build left it beside the file (file.br, file.gz), else on the way.
    const accepts = request.headers['accept-encoding'] || '';
    let body;
    for (const [encoding, suffix, compress] of [['br', '.br', zlib.createBrotliCompress],
                                                ['gzip', '.gz', zlib.createGzip]]) {
      if (body || !new RegExp(`\\b${encoding}\\b`).test(accepts))
        continue;
      headers['Content-Encoding'] = encoding;
      body = fs.existsSync(full + suffix) ? fs.createReadStream(full + suffix)
                                          : fs.createReadStream(full).pipe(compress());
    }
    body = body || fs.createReadStream(full);
    response.writeHead(200, headers);
    body.pipe(response);
  });
  server.listen(port, '127.0.0.1', () => onListening(server.address().port));
  return server;
}

module.exports = { serve };

if (require.main === module) {
  const root = path.resolve(process.argv[2] || 'build/web/site');
  serve(root, Number(process.argv[3] || 8080),
        (port) => console.log(`http://127.0.0.1:${port}/ (${root}); Ctrl+C stops it`));
}
