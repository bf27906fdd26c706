// A static server for the browser edition's site on 127.0.0.1, as a plain web host serves it,
// with one thing a good host adds: a file's brotli or gzip copy (FILE.br, FILE.gz, made by the
// build) goes to a browser that takes it, with Content-Encoding. For `./setup.sh web`, the
// browser tests and the figures:
//
//   node serve-site.mjs SITE_FOLDER [PORT]
//
// `serveSite(folder, options)` answers {url, close()}. With `isolated` it also sends the headers
// that make a page cross-origin isolated, which gives performance.now() a finer grain (5 µs
// instead of 100 µs in Chromium) for measuring frame times.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';
import {pathToFileURL} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
};

// The copy to send: the first encoding the browser takes that the site has a copy in.
async function bodyFor(file, accepted) {
  for (const [encoding, suffix] of [['br', '.br'], ['gzip', '.gz']]) {
    if (!accepted.includes(encoding)) continue;
    try {
      return {body: await readFile(file + suffix), encoding};
    } catch {
      // no copy in this encoding
    }
  }
  return {body: await readFile(file)};
}

export function serveSite(folder, {port = 0, isolated = false} = {}) {
  const isolation = isolated ? {'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp'} : {};
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    } catch {  // an address that does not decode
      response.writeHead(400, {'Content-Type': 'text/plain'});
      response.end('bad request');
      return;
    }
    const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
    try {
      const {body, encoding} = await bodyFor(file, String(request.headers['accept-encoding'] || ''));
      response.writeHead(200, {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Vary': 'Accept-Encoding',
        ...(encoding ? {'Content-Encoding': encoding} : {}),
        ...isolation,
      });
      response.end(body);
    } catch {
      response.writeHead(404, {'Content-Type': 'text/plain'});
      response.end('not found');
    }
  });
  return new Promise((resolve) => {
    server.listen(port, '127.0.0.1', () => {
      resolve({url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done))});
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8000'] = process.argv.slice(2);
  const site = await serveSite(folder, {port: Number(port)});
  console.log(`the game is on ${site.url} (Ctrl+C stops it)`);
}
