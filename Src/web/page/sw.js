'use strict';
// Keeps the page's files, so a game once visited plays with no network. pack-page.js names the
// cache after the build's version and what the files hold: a new build is a new worker, which
// takes the old one's place, and drops its files, as soon as a visit finds it.
const kept = 'vostrel-VERSION';
const files = [/* the files */];
const wordFile = 'WORDFILE';
const folder = new URL('./', location).pathname;

self.addEventListener('install', (event) => {
    // Asked again rather than taken from the browser's store, which may hold another build's;
    // one that fails (a picture missing) is simply not kept.
    event.waitUntil(
        caches.open(kept)
            .then(
                (cache) => Promise.all(files.map(
                    (name) => cache.add(new Request(name, {cache: 'no-cache'})).catch(() => {}))))
            .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
                        .then(
                            (names) => Promise.all(
                                names.filter((name) => name.startsWith('vostrel-') && name !== kept)
                                    .map((name) => caches.delete(name))))
                        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== location.origin ||
        !url.pathname.startsWith(folder))
        return;
    const name = url.pathname.slice(folder.length);
    // The word list from the network while there is one, so an edited list is played at the
    // next new game; kept for when there is none.
    if (name === wordFile) {
        event.respondWith(fetch(request).then((response) => {
            if (response.ok) {
                const copy = response.clone();
                event.waitUntil(caches.open(kept).then((cache) => cache.put(name, copy)));
            }
            return response;
        }, (failure) => caches.match(name, {
                                  cacheName: kept
                              }).then((held) => held ?? Promise.reject(failure))));
        return;
    }
    const page = name === '' ? 'index.html' : name;
    if (!files.includes(page))
        return;
    event.respondWith(caches.match(page, {cacheName: kept}).then((held) => held ?? fetch(request)));
});
