// The site installed for play without a network (service_worker.js keeps this build's files).
// Registered once the game is up, so that installing never competes with the first frame. A newer
// build installed meanwhile waits while any page of the site is open, so that a page never mixes
// two builds; the next page takes it over at once, before its game starts, and reloads into it,
// when it is the site's only page.

// A newer build that an earlier visit found and installed, at once when the service worker finds
// this page the site's only one. Answers a promise that settles once the page stays on its build
// (no newer one, or other pages are open); the page reloads instead when the newer one takes over.
export function takeNewerBuild(gameStarted) {
  // A page that is not secure has no service worker; a page none serves keeps no build.
  if (!('serviceWorker' in navigator) || !navigator.serviceWorker.controller) return Promise.resolve();
  return navigator.serviceWorker.getRegistration().then((registration) => {
    const waiting = registration && registration.waiting;
    if (!waiting) return undefined;
    return new Promise((stay) => {
      navigator.serviceWorker.addEventListener('controllerchange', () => {
        if (!gameStarted()) location.reload();
      }, {once: true});
      const answer = new MessageChannel();
      answer.port1.onmessage = (event) => {
        if (!event.data.takingOver) stay();
      };
      waiting.postMessage('take over', [answer.port2]);
      setTimeout(stay, 5000);  // a worker that never answers (replaced meanwhile) holds no game back
    });
  }, () => {});
}

export function keepOffline() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('service_worker.js').catch(() => {});  // no worker: the page still plays, only not offline
}
