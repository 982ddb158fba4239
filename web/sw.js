// The page's service worker: keeps every file of one build of the site, so that after one visit
// the game starts with no network. Written into site/ by web/ServiceWorker.cmake, which names the
// cache after the build (the version and a hash of the site's files) and lists the files.
'use strict';

const CACHE = '@TARNYX_CACHE_NAME@';
const FILES = [@TARNYX_SITE_FILES@];
const OURS = 'tarnyx-';  // the prefix of every cache a build of the page makes

// A new build takes over as soon as it holds all its files: the files of a build only ever come
// from that build's cache, and the page loads them all at its start, so a page already running
// keeps what it loaded. No reload is asked of anyone.
self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // From the server, not from the browser's HTTP cache, which may hold an older build's file.
    await cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith(OURS) && name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The build's own files come from its cache (the page under any query: ?seed=, ?demo=); anything
// else (a demo beside the page, say) goes to the network as if there were no worker.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  let file = url.pathname.slice(scope.pathname.length);
  if (file === '' && request.mode === 'navigate') file = 'index.html';
  if (!FILES.includes(file)) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(file);
    return kept || fetch(request);
  })());
});
