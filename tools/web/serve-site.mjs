// A static server for the browser edition's site on 127.0.0.1, as a plain web host serves it,
// with what a good host adds: a file's brotli or gzip copy (FILE.br, FILE.gz, made by the build)
// goes to a browser that takes it, with Content-Encoding; and every answer carries validators
// (ETag, Last-Modified), so that a browser checking a file it has (the service worker's install
// does) gets "304 Not Modified" instead of the file again. For `./setup.sh web`, the browser
// tests and the figures:
//
//   node serve-site.mjs SITE_FOLDER [PORT]
//
// `serveSite(folder, options)` answers {url, close()}. With `isolated` it also sends the headers
// that make a page cross-origin isolated, which gives performance.now() a finer grain (5 µs
// instead of 100 µs in Chromium) for measuring frame times. `sent(file, status, bytes)`, when
// given, hears of every answer: the site's file asked for ("/index.html" for "/"), its status and
// the length of its body.
import {createServer} from 'node:http';
import {readFile, stat} from 'node:fs/promises';
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

// The copy to send: the first encoding the browser takes that the site has a copy in. Its
// validators come from the copy's own size and time, so that each encoding has its own ETag.
async function copyFor(file, accepted) {
  for (const [encoding, suffix] of [['br', '.br'], ['gzip', '.gz']]) {
    if (!accepted.includes(encoding)) continue;
    try {
      return {path: file + suffix, facts: await stat(file + suffix), encoding};
    } catch {
      // no copy in this encoding
    }
  }
  const facts = await stat(file);
  if (!facts.isFile()) throw new Error(`${file} is not a file`);
  return {path: file, facts};
}

// Whether the browser's copy, named by its validators, is the one the server has.
function stillFresh(request, etag, modified) {
  const tags = request.headers['if-none-match'];
  if (tags !== undefined) return tags.split(',').some((tag) => tag.trim().replace(/^W\//, '') === etag || tag.trim() === '*');
  const since = Date.parse(request.headers['if-modified-since'] || '');
  return !Number.isNaN(since) && Math.floor(modified / 1000) <= Math.floor(since / 1000);
}

export function serveSite(folder, {port = 0, isolated = false, sent = () => {}} = {}) {
  const isolation = isolated ? {'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp'} : {};
  const server = createServer(async (request, response) => {
    let name = request.url;
    const answer = (status, headers, body = '') => {
      response.writeHead(status, headers);
      response.end(body);
      sent(name, status, body.length);
    };
    try {
      name = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    } catch {  // an address that does not decode
      answer(400, {'Content-Type': 'text/plain'}, 'bad request');
      return;
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = join(folder, name);
    try {
      const copy = await copyFor(file, String(request.headers['accept-encoding'] || ''));
      const etag = `"${copy.facts.size.toString(16)}-${Math.floor(copy.facts.mtimeMs).toString(16)}${copy.encoding ? '-' + copy.encoding : ''}"`;
      const headers = {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'ETag': etag,
        'Last-Modified': copy.facts.mtime.toUTCString(),
        'Vary': 'Accept-Encoding',
        ...(copy.encoding ? {'Content-Encoding': copy.encoding} : {}),
        ...isolation,
      };
      if (stillFresh(request, etag, copy.facts.mtimeMs)) {
        answer(304, headers);
        return;
      }
      const body = await readFile(copy.path);
      answer(200, {...headers, 'Content-Length': body.length}, body);
    } catch {
      answer(404, {'Content-Type': 'text/plain'}, 'not found');
    }
  });
  return new Promise((resolve) => {
    server.listen(port, '127.0.0.1', () => {
      resolve({url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => {
        server.close(done);
        server.closeAllConnections();  // a browser's idle keep-alive connections too
      })});
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8000'] = process.argv.slice(2);
  const site = await serveSite(folder, {port: Number(port)});
  console.log(`the game is on ${site.url} (Ctrl+C stops it)`);
}
