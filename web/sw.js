// The served page's service worker: every file the page needs is kept at the first visit, so
// that the page opens and plays without a network afterwards. The network comes first (a new
// version shows as soon as it is there); the kept copy answers when there is none.
'use strict';
const CACHE = 'morvane';
const FILES = [
  './',
  'index.html',
  'style.css',
  'narration.js',
  'board.js',
  'worker.js',
  'page.js',
  'morvane.js',
  'morvane.wasm',
  'morvane.svg',
  'manifest.webmanifest',
];

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(FILES))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) {
          const copy = response.clone();
          event.waitUntil(caches.open(CACHE).then((cache) => cache.put(request, copy)));
        }
        return response;
      })
      // Offline: the kept copy, whatever the address's query (?seed=…, ?odds).
      .catch(() =>
        caches.match(request, { ignoreSearch: true }).then((kept) => kept ?? Response.error()),
      ),
  );
});
