// Offline play: the first visit keeps every file of this build in the browser's cache;
// later starts take them from there, with or without a network. A new build has a new
// version, so its worker fetches the new files and drops the old ones.
'use strict';

var VERSION = '@BUILD@';
// Stamped by the site build: every file of the site but the large rest of the font,
// which is kept when a name first needs it.
var FILES = ['./'];
var CACHE = 'burrowbop-' + VERSION;

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) {
    // Checked with the server: an old copy of a file must not enter the new version,
    // while a file the page has just loaded costs no second download.
    return cache.addAll(FILES.map(function (f) { return new Request(f, { cache: 'no-cache' }); }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (n) {
      return n.indexOf('burrowbop-') === 0 && n !== CACHE;
    }).map(function (n) { return caches.delete(n); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  var key = request.mode === 'navigate' ? new URL('./', self.registration.scope).href : request;
  event.respondWith(caches.open(CACHE).then(function (cache) {
    return cache.match(key, { ignoreSearch: true }).then(function (hit) {
      if (hit) return hit;
      return fetch(request).then(function (response) {
        if (response.ok && response.type === 'basic') {
          cache.put(request.url.replace(/[?#].*$/, ''), response.clone());
        }
        return response;
      });
    });
  }));
});
