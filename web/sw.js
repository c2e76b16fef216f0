// Keeps the page and the program for visits without a network (forty pupils on one school
// Wi-Fi). Each build has a cache of its own: a new build's worker fetches every file afresh,
// takes over, and removes the caches of older builds.
'use strict';
const BUILD = '@BUILD@';
const FILES = [@FILES@];
const CACHE = 'yamaruka-' + BUILD;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
                    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
                    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
                    .then((names) => Promise.all(names.filter((n) => n.startsWith('yamaruka-') && n !== CACHE)
                                                   .map((n) => caches.delete(n))))
                    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET')
    return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request))));
});
