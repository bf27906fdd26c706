// The site kept for play without a network: this build's files, each checked against its SHA-256,
// in a cache of the build's own. A second visit is served from it; a newer build (this file
// changes with every file) installs into a cache of its own beside the old one and takes over
// only once no page of the old one is open, or when a page that has not started its game asks
// for it and is the site's only page; its activation drops the old cache. A page is therefore
// always served one build whole.
// The finer media sets are kept once a page fetches them (a phone fetches only the one its screen
// needs), checked the same way. The build fills in the version and the files.
'use strict';

const version = '@SITE_VERSION@';
const files = [  // [name, SHA-256, kept only once fetched]
@SITE_FILES@];
const byName = new Map(files.map(([name, hash]) => [name, hash]));
const cacheName = `boules-${version}`;
const cachePrefix = 'boules-';

async function sha256(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Each file as this build made it, or the install fails (and is tried again at the next visit):
// a server midway through an update must not leave a mix. The request revalidates what the
// browser holds from the page's own loading: a server that sends validators answers "not
// modified", and the first visit does not download the site twice.
async function fetchChecked(name, hash, address = name) {
  const response = await fetch(address, {cache: 'no-cache'});
  if (!response.ok) throw new Error(`${name}: ${response.status}`);
  const bytes = await response.arrayBuffer();
  if ((await sha256(bytes)) !== hash) throw new Error(`${name} is not of build ${version}`);
  const type = response.headers.get('Content-Type');
  return new Response(bytes, {headers: type ? {'Content-Type': type} : {}});
}

// The page, at the folder's address the visit loaded it from; where the host answers that with
// something else, under its own name.
const fetchPage = (hash) => fetchChecked('index.html', hash, './').catch(() => fetchChecked('index.html', hash));

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const now = files.filter(([, , later]) => !later);
    const checked = await Promise.all(now.map(([name, hash]) => name === 'index.html' ? fetchPage(hash) : fetchChecked(name, hash)));
    const cache = await caches.open(cacheName);
    await Promise.all(now.map(([name], i) => cache.put(name, checked[i])));
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith(cachePrefix) && name !== cacheName) await caches.delete(name);
  })());
});

// A page that has not started its game yet may take the new build at once (it reloads), when it
// is the site's only page: another one may be in a game, served the build it started with. The
// pages counted are all of the site's, those the old build serves too (a waiting worker serves
// none). The page hears the answer on the port it sent.
self.addEventListener('message', (event) => {
  if (event.data !== 'take over') return;
  event.waitUntil((async () => {
    const pages = await self.clients.matchAll({type: 'window', includeUncontrolled: true});
    const takingOver = pages.filter((page) => page.url.startsWith(self.registration.scope)).length <= 1;
    event.ports[0]?.postMessage({takingOver});
    if (takingOver) await self.skipWaiting();
  })());
});

// The site's own files from the cache, whatever the address's options; the page itself for any
// navigation in the site's folder; a file of the build not kept yet from the network, and kept
// when it checks (the program checks a finer set against the media too). Anything else goes to
// the network as usual.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    const cached = request.mode === 'navigate' ? await cache.match('index.html')
                                               : await cache.match(request, {ignoreSearch: true});
    if (cached) return cached;
    const name = url.pathname.slice(url.pathname.lastIndexOf('/') + 1);
    if (!byName.has(name)) return fetch(request);
    // The page reads the file as it comes (its progress shows); the copy is kept once it is whole
    // and checked.
    const response = await fetch(name, {cache: 'no-cache'});
    if (!response.ok) return response;
    const type = response.headers.get('Content-Type');
    const headers = type ? {'Content-Type': type} : {};
    const [toPage, toKeep] = response.body.tee();
    event.waitUntil((async () => {
      const bytes = await new Response(toKeep).arrayBuffer();
      if ((await sha256(bytes)) === byName.get(name)) await cache.put(name, new Response(bytes, {headers}));
    })());
    return new Response(toPage, {headers});
  })());
});
