// Keeps the page and the program for visits without a network (forty pupils on one school
// Wi-Fi). Each build has a cache of its own: a new build's worker fetches every file afresh and
// takes over at once. A page of the old build still loading finds its files in the old cache,
// which goes when a page is next opened with no newer build on its way in.
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
  event.waitUntil(self.clients.claim());
});

function dropOlderBuilds() {
  return caches.keys().then((names) => Promise.all(names.filter((n) => n.startsWith('yamaruka-') && n !== CACHE)
                                                      .map((n) => caches.delete(n))));
}

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET')
    return;
  const options = { ignoreSearch: true };
  event.respondWith(caches.open(CACHE)
                      .then((cache) => cache.match(event.request, options))
                      .then((hit) => hit || caches.match(event.request, options))
                      .then((hit) => hit || fetch(event.request)));
  if (event.request.mode === 'navigate' && !self.registration.installing && !self.registration.waiting)
    event.waitUntil(dropOlderBuilds());
});
