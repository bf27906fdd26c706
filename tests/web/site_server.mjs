// A static server for the site folder on 127.0.0.1, as any static host would serve it, for the
// browser tests and the figures. `serveSite(folder)` answers {url, close()}. With `isolated` it
// sends the headers that make a page cross-origin isolated, which gives performance.now() a
// finer grain (5 µs instead of 100 µs in Chromium) for measuring frame times.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.json': 'application/json',
};

export function serveSite(folder, {port = 0, isolated = false} = {}) {
  const isolation = isolated ? {'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp'} : {};
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
    try {
      const body = await readFile(file);
      response.writeHead(200, {'Content-Type': types[extname(file)] || 'application/octet-stream', 'Content-Length': body.length, ...isolation});
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
